#pragma once

#include "diagnosis/ToneOutput.h"

#include <QObject>

#include <memory>

class QAudioSink;
class SquareWave;

// The PC speaker's tones as generated audio, for a desktop where the speaker device may not be
// opened: a square wave of the tone's frequency on the default audio output.
class GeneratedTone : public QObject, public ToneOutput
{
    Q_OBJECT

public:
    explicit GeneratedTone(QObject* parent = nullptr);
    ~GeneratedTone() override;

    bool start(int frequency, quint16 divisor) override;
    void stop() override;

private:
    QAudioSink* m_sink = nullptr;
    std::unique_ptr<SquareWave> m_wave;
};
