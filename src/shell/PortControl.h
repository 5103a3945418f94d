#pragma once

#include <QString>

class PbxLink;
class Settings;
class StatusLine;

// The serial port the link works on: "COM1".."COM4" of the settings, mapped to a device (or the
// device of --port, whatever port is chosen), and the start wait of the program-parameter page.
class PortControl
{
public:
    PortControl(Settings& settings, PbxLink& link, StatusLine& status, QString deviceOverride);

    bool open(const QString& portName);         // message 24; message 5 on failure
    void change(int number);                    // "COM 1".."COM 4" -> 1..4: store, close, reopen
    bool setStartWaitText(const QString& text); // 1..30 seconds, else message 56
    // "COM1".."COM4", or the invalid stored text after a failed start-up.
    QString portName() const { return m_portName; }

private:
    QString devicePath(const QString& portName) const;

    Settings& m_settings;
    PbxLink& m_link;
    StatusLine& m_status;
    QString m_deviceOverride;
    QString m_portName;
};
