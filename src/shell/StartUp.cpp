#include "shell/StartUp.h"

#include "charges/HistoryFile.h"
#include "common/TextFile.h"

#include "config/BaseConfig.h"
#include "config/ConfigFile.h"
#include "image/Extensions.h"
#include "link/PbxLink.h"
#include "shell/AppCore.h"
#include "shell/PasswordStore.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/TimeControl.h"
#include "shell/VorwahlLibrary.h"
#include "shell/WakeUp.h"

#include <QDir>
#include <QFileInfo>

#include <array>
#include <sys/resource.h>

StartUp::StartUp(AppCore& core, StartUpView& view) : m_core(core), m_view(view) {}

StartUp::Outcome StartUp::run()
{
    raisePriority();
    m_view.showFirstPageOnly();
    m_core.vorwahl().load();
    m_view.buildPages();
    m_core.loadPassword();
    m_core.startPublication();
    m_core.statusLine().showStatus(Msg::Clear);
    m_core.startMqtt();

    // Before any early end: a page that saves them must never write defaults over the stored rows.
    m_core.timeControl().loadSettings();
    m_core.wakeUp().loadSettings();

    Settings& settings = m_core.settings();
    const QString port = settings.port();
    if (!Settings::isValidPort(port)) {
        m_view.selectPort(0);
        // A file that cannot be read has no port to name: its own reason is the one to show.
        if (const std::optional<QString> problem = settings.readProblem())
            m_core.statusLine().showText(StatusLevel::Error, *problem);
        else
            m_core.statusLine().showStatus(Msg::InvalidPort, StatusLevel::Error, port);
        m_view.startInTray();
        return Outcome::InvalidPort;
    }
    m_view.selectPort(port.right(1).toInt() - 1);
    m_view.moveWindow(settings.windowX(), settings.windowY());
    readSettings();
    if (!m_core.openPort(port)) {
        m_view.startInTray();
        return Outcome::PortFailed;
    }

    m_view.applyFontFace();
    m_view.showStartPage(settings.startPage());
    m_core.setTransferUnits(false);
    m_core.loadCharges();
    if (m_core.commandLine().startInTray)
        m_view.startInTray();
    else
        m_view.showWindow();
    m_core.loadAddressBook();
    m_core.loadCallLogs();
    m_core.startCallMonitor();
    m_core.link().startUp();
    return Outcome::Reading;
}

void StartUp::readSettings()
{
    Settings& settings = m_core.settings();
    PbxLink& link = m_core.link();
    link.setStartWaitMs(settings.startWaitMs());
    link.setTimeoutSeconds(settings.timeOutSeconds());
    std::array<bool, Settings::kMsnCount> watched{};
    for (int m = 0; m < Settings::kMsnCount; ++m)
        watched[static_cast<std::size_t>(m)] = settings.watchMsn(m);
    m_core.baseConfig().setWatchFlags(watched);
}

void StartUp::raisePriority()
{
    // Best effort: an unprivileged user may not raise it, which is no error.
    setpriority(PRIO_PROCESS, 0, -5);
}

void StartUp::prepareDemoSettings(Settings& settings, const QString& programDir, const QTime& now)
{
    if (settings.port() != QLatin1String("COMx"))
        return;
    settings.setPort(QStringLiteral("COM1"));
    settings.writeText(QStringLiteral("Allgemein"), QStringLiteral("Kosten"), QStringLiteral("0,12"));
    // A fresh demo directory looks like a household that has used the program for a while: names
    // for the extensions and for the simulated exchange's speed dials (the exchange stores none).
    static const char* const extensionNames[] = {"Wohnzimmer", "Büro",  "Anrufbeantworter", "Fax", "Küche",
                                                 "Kinder",     "Modem", "Werkstatt"};
    for (int i = 0; i < Extensions::Max; ++i)
        settings.writeText(QStringLiteral("Bezeichnungen"), QString::number(Extensions::number(i)),
                           QString::fromUtf8(extensionNames[i]));
    struct DemoSpeedDial
    {
        int number;
        const char* name;
        const char* phoneNumber;
    };
    static const DemoSpeedDial speedDials[] = {
        {301, "Büro Berlin", "0301234567"},   {302, "Lieferant München", "0897654321"},
        {303, "Werkstatt Köln", "022112345"}, {304, "Handy Anna", "01701234567"},
        {305, "Oma Hamburg", "040445566"},    {306, "Gesperrt (0190)", "0190123456"},
        {307, "Stuttgart", "07111234567"},    {308, "Hannover", "05111234"},
    };
    for (const DemoSpeedDial& d : speedDials)
        settings.setSpeedDial(d.number, QString::fromUtf8(d.name), QString::fromLatin1(d.phoneNumber), QString());
    prepareDemoTimes(settings, programDir, now);
}

// Something to watch in the first minutes: the office extension rings two minutes after the
// start, and a minute later time control writes back the configuration saved at the first read.
void StartUp::prepareDemoTimes(Settings& settings, const QString& programDir, const QTime& now)
{
    const QString wakeUpTime = now.addSecs(2 * 60).toString(QStringLiteral("HHmm"));
    Settings::WakeUpTimes times = settings.wakeUpTimes();
    times.weekdays[Extensions::index(22)] = wakeUpTime;
    times.weekend[Extensions::index(22)] = wakeUpTime;
    settings.setWakeUpTimes(times);
    std::array<Settings::TimePoint, Settings::kTimePointCount> points = settings.timePoints();
    points[0].time = now.addSecs(3 * 60).toString(QStringLiteral("HHmm"));
    points[0].file = demoConfigurationPath(programDir);
    settings.setTimePoints(points);
}

QString StartUp::demoConfigurationPath(const QString& programDir)
{
    return QDir(programDir).filePath(QStringLiteral("Demo.KVX"));
}

void StartUp::saveDemoConfiguration(AppCore& core)
{
    const QString path = demoConfigurationPath(core.programDir());
    if (QFileInfo::exists(path))
        return;
    if (const auto error = ConfigFile::save(path, core.image()))
        core.statusLine().showText(StatusLevel::Error, *error);
}

void StartUp::prepareDemoHistory(const QString& programDir, const QDate& today)
{
    const QString path = programDir + QStringLiteral("/WinKavex.dat");
    if (QFileInfo::exists(path))
        return;
    // The simulated exchange's counters, reached a little at a time over the months.
    static constexpr std::array<int, Extensions::Max> reached = {1100, 500, 80, 10, 300, 0, 60, 8};
    QString text = HistoryFile::headerText();
    constexpr int Months = 5, PerMonth = 3;
    Units units{};
    for (int step = 1; step <= Months * PerMonth; ++step) {
        const int month = (step - 1) / PerMonth;
        const QDate day = today.addMonths(month - Months).addDays(-today.day() + 1 + 9 * ((step - 1) % PerMonth));
        int total = 0;
        for (int i = 0; i < Extensions::Max; ++i) {
            // Uneven months: each extension has its busier and its quieter ones.
            const auto k = static_cast<std::size_t>(i);
            units[k] += reached[k] * (7 + 2 * ((i + month) % 4)) / (Months * PerMonth * 13);
            total += units[k];
        }
        text += HistoryFile::dataLine(QDateTime(day, QTime(19, 5 * step % 60)), units, total) +
                QLatin1String(TextFile::kLineEnd);
    }
    TextFile::appendText(path, text);
}
