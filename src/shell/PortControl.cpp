#include "shell/PortControl.h"

#include "link/PbxLink.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"

PortControl::PortControl(Settings& settings, PbxLink& link, StatusLine& status, QString deviceOverride)
    : m_settings(settings), m_link(link), m_status(status), m_deviceOverride(std::move(deviceOverride))
{}

QString PortControl::devicePath(const QString& portName) const
{
    return m_deviceOverride.isEmpty() ? m_settings.devicePath(portName) : m_deviceOverride;
}

bool PortControl::open(const QString& portName)
{
    m_portName = portName;
    return m_link.openPort(devicePath(portName), portName);
}

void PortControl::change(int number)
{
    if (number < 1 || number > 4)
        return;
    const QString name = QStringLiteral("COM%1").arg(number);
    m_settings.setPort(name);
    m_link.closePort();
    open(name);
}

bool PortControl::setStartWaitText(const QString& text)
{
    bool numeric = false;
    const int seconds = text.trimmed().toInt(&numeric);
    if (!numeric || !Settings::isValidStartWaitSeconds(seconds)) {
        m_status.showStatus(Msg::InvalidStartWait, StatusLevel::Error);
        return false;
    }
    // Cleared first, so that a refused write stays visible.
    m_status.showStatus(Msg::Clear);
    m_settings.setStartWaitSeconds(seconds);
    m_link.setStartWaitMs(seconds * 1000);
    return true;
}
