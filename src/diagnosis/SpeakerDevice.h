#pragma once

#include "diagnosis/ToneOutput.h"

#include <QString>

#include <memory>

// The kernel's PC speaker: the evdev device of the pcspkr driver (EV_SND / SND_TONE, which takes
// the frequency), else the console's KIOCSOUND (which takes the timer divisor). Both need the
// right to open the device; without it open() finds none.
class SpeakerDevice : public ToneOutput
{
public:
    enum class Kind
    {
        Evdev,
        Console
    };

    ~SpeakerDevice() override;
    static std::unique_ptr<SpeakerDevice> open();
    static std::unique_ptr<SpeakerDevice> openPath(const QString& path, Kind kind);

    Kind kind() const { return m_kind; }
    bool start(int frequency, quint16 divisor) override;
    void stop() override;

private:
    SpeakerDevice(int fd, Kind kind) : m_fd(fd), m_kind(kind) {}
    int m_fd;
    Kind m_kind;
};
