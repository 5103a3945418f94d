#include "GeneratedTone.h"

#include <QAudioFormat>
#include <QAudioSink>
#include <QIODevice>
#include <QMediaDevices>

namespace {

constexpr int SampleRate = 22050;
constexpr qint16 Amplitude = 6000;
constexpr double TimerHz = 1193181.0;

} // namespace

// An endless square wave, read by the audio sink as it needs it.
class SquareWave : public QIODevice
{
public:
    explicit SquareWave(double frequency) : m_halfPeriod(SampleRate / (2.0 * frequency)) { open(ReadOnly); }

    qint64 readData(char* data, qint64 maxSize) override
    {
        const qint64 samples = maxSize / static_cast<qint64>(sizeof(qint16));
        auto* out = reinterpret_cast<qint16*>(data);
        for (qint64 i = 0; i < samples; ++i) {
            out[i] = static_cast<qint64>(m_position / m_halfPeriod) % 2 == 0 ? Amplitude : -Amplitude;
            m_position += 1.0;
        }
        return samples * static_cast<qint64>(sizeof(qint16));
    }
    qint64 writeData(const char*, qint64) override { return -1; }
    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return 4096 + QIODevice::bytesAvailable(); }

private:
    double m_halfPeriod;
    double m_position = 0.0;
};

GeneratedTone::GeneratedTone(QObject* parent) : QObject(parent) {}

GeneratedTone::~GeneratedTone()
{
    stop();
}

// The frequency the speaker would really sound: the timer's, divided.
bool GeneratedTone::start(int, quint16 divisor)
{
    stop();
    const QAudioDevice device = QMediaDevices::defaultAudioOutput();
    if (device.isNull() || divisor == 0)
        return false;
    QAudioFormat format;
    format.setSampleRate(SampleRate);
    format.setChannelCount(1);
    format.setSampleFormat(QAudioFormat::Int16);
    if (!device.isFormatSupported(format))
        return false;
    m_wave = std::make_unique<SquareWave>(TimerHz / divisor);
    m_sink = new QAudioSink(device, format, this);
    m_sink->start(m_wave.get());
    return m_sink->error() == QAudio::NoError;
}

void GeneratedTone::stop()
{
    if (m_sink) {
        m_sink->stop();
        delete m_sink;
        m_sink = nullptr;
    }
    m_wave.reset();
}
