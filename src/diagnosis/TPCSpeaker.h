#pragma once

#include <QObject>

#include <optional>

class Clock;
class ToneOutput;

// The PC speaker with the timer arithmetic of the hardware: the divisor 1193181 div frequency,
// nothing at 18 Hz or less (the divisor would not fit 16 bits). The alarm is three tones, each
// followed by a pause, played without holding up the program.
class TPCSpeaker : public QObject
{
    Q_OBJECT

public:
    static constexpr int TimerHz = 1193181;
    static constexpr int ToneMs = 150;
    static constexpr int PauseMs = 30;

    TPCSpeaker(Clock& clock, QObject* parent = nullptr);

    static std::optional<quint16> divisor(int frequency);
    // No output: the tones go nowhere (a machine without speaker and sound).
    void setOutput(ToneOutput* output) { m_output = output; }

    void SoundOn(int frequency);
    void SoundOff();
    void PlayTone(int frequency, int milliseconds);
    // 800 Hz, 500 Hz, 800 Hz of 150 ms, each followed by 30 ms of silence.
    void playAlarm();
    bool isPlaying() const { return m_step >= 0; }

private:
    void playStep();

    Clock& m_clock;
    ToneOutput* m_output = nullptr;
    bool m_on = false;
    int m_step = -1;
};
