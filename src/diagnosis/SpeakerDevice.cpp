#include "diagnosis/SpeakerDevice.h"

#include <QDir>
#include <QFile>

#include <fcntl.h>
#include <linux/input.h>
#include <linux/kd.h>
#include <sys/ioctl.h>
#include <unistd.h>

namespace {

bool hasToneSound(int fd)
{
    unsigned long events = 0;
    unsigned long sounds = 0;
    if (::ioctl(fd, EVIOCGBIT(0, sizeof events), &events) < 0 || !(events & (1UL << EV_SND)))
        return false;
    return ::ioctl(fd, EVIOCGBIT(EV_SND, sizeof sounds), &sounds) >= 0 && (sounds & (1UL << SND_TONE));
}

} // namespace

SpeakerDevice::~SpeakerDevice()
{
    stop();
    ::close(m_fd);
}

std::unique_ptr<SpeakerDevice> SpeakerDevice::openPath(const QString& path, Kind kind)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd < 0)
        return nullptr;
    if (kind == Kind::Evdev ? !hasToneSound(fd) : ::ioctl(fd, KIOCSOUND, 0) != 0) {
        ::close(fd);
        return nullptr;
    }
    return std::unique_ptr<SpeakerDevice>(new SpeakerDevice(fd, kind));
}

std::unique_ptr<SpeakerDevice> SpeakerDevice::open()
{
    QStringList candidates = QDir(QStringLiteral("/dev/input/by-path")).entryList({QStringLiteral("*spkr*")});
    for (QString& name : candidates)
        name.prepend(QStringLiteral("/dev/input/by-path/"));
    for (const QString& name : QDir(QStringLiteral("/dev/input")).entryList({QStringLiteral("event*")}))
        candidates << QStringLiteral("/dev/input/") + name;
    for (const QString& path : candidates) {
        if (auto device = openPath(path, Kind::Evdev))
            return device;
    }
    for (const QString& path : {QStringLiteral("/dev/console"), QStringLiteral("/dev/tty0")}) {
        if (auto device = openPath(path, Kind::Console))
            return device;
    }
    return nullptr;
}

bool SpeakerDevice::start(int frequency, quint16 divisor)
{
    if (m_kind == Kind::Console)
        return ::ioctl(m_fd, KIOCSOUND, static_cast<unsigned long>(divisor)) == 0;
    input_event event{};
    event.type = EV_SND;
    event.code = SND_TONE;
    event.value = frequency;
    return ::write(m_fd, &event, sizeof event) == static_cast<ssize_t>(sizeof event);
}

void SpeakerDevice::stop()
{
    if (m_kind == Kind::Console) {
        ::ioctl(m_fd, KIOCSOUND, 0UL);
        return;
    }
    input_event event{};
    event.type = EV_SND;
    event.code = SND_TONE;
    event.value = 0;
    [[maybe_unused]] const ssize_t written = ::write(m_fd, &event, sizeof event);
}
