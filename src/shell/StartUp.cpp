#include "shell/StartUp.h"

#include "config/BaseConfig.h"
#include "link/PbxLink.h"
#include "shell/AppCore.h"
#include "shell/PasswordStore.h"
#include "shell/Settings.h"
#include "shell/StatusLine.h"
#include "shell/VorwahlLibrary.h"

#include <array>
#include <sys/resource.h>

StartUp::StartUp(AppCore& core, StartUpView& view) : m_core(core), m_view(view) {}

StartUp::Outcome StartUp::run()
{
    raisePriority();
    m_view.showFirstPageOnly();
    m_core.vorwahl().load();
    m_view.buildPages();
    m_core.passwordStore().load();
    m_core.statusLine().showStatus(0);

    Settings& settings = m_core.settings();
    const QString port = settings.port();
    if (!Settings::isValidPort(port)) {
        m_view.selectPort(0);
        m_core.statusLine().showStatus(22, 2, port);
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
    if (m_core.commandLine().startInTray)
        m_view.startInTray();
    else
        m_view.showWindow();
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

void StartUp::prepareDemoSettings(Settings& settings)
{
    if (settings.port() == QLatin1String("COMx"))
        settings.setPort(QStringLiteral("COM1"));
}
