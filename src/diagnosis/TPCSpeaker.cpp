#include "diagnosis/TPCSpeaker.h"

#include "common/Clock.h"
#include "diagnosis/ToneOutput.h"

#include <array>

namespace {

constexpr std::array<int, 3> AlarmTones{800, 500, 800};

} // namespace

TPCSpeaker::TPCSpeaker(Clock& clock, QObject* parent) : QObject(parent), m_clock(clock) {}

std::optional<quint16> TPCSpeaker::divisor(int frequency)
{
    if (frequency <= 18 || frequency > 0xFFFF)
        return std::nullopt;
    return static_cast<quint16>(TimerHz / frequency);
}

void TPCSpeaker::SoundOn(int frequency)
{
    const std::optional<quint16> value = divisor(frequency);
    if (!value || !m_output)
        return;
    m_on = m_output->start(frequency, *value);
}

void TPCSpeaker::SoundOff()
{
    if (m_output && m_on)
        m_output->stop();
    m_on = false;
}

void TPCSpeaker::PlayTone(int frequency, int milliseconds)
{
    SoundOn(frequency);
    m_clock.callAfter(milliseconds, this, [this] { SoundOff(); });
}

void TPCSpeaker::playAlarm()
{
    if (isPlaying())
        return;
    m_step = 0;
    playStep();
}

void TPCSpeaker::playStep()
{
    if (m_step >= static_cast<int>(AlarmTones.size())) {
        m_step = -1;
        return;
    }
    PlayTone(AlarmTones[static_cast<std::size_t>(m_step++)], ToneMs);
    m_clock.callAfter(ToneMs + PauseMs, this, [this] { playStep(); });
}
