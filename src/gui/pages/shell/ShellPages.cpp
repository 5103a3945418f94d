#include "ShellPages.h"

#include "InfoPage.h"
#include "MqttPage.h"
#include "NavigationTable.h"
#include "PageRegistry.h"
#include "PasswordPage.h"
#include "ProgramParameterPage.h"
#include "TimeControlPage.h"
#include "WakeUpPage.h"

void registerShellPages(PageRegistry& registry)
{
    registry.setFactory(PageKey::ProgramParameters,
                        [](AppCore& core, QWidget* parent) { return new ProgramParameterPage(core, parent); });
    registry.setFactory(PageKey::Password,
                        [](AppCore& core, QWidget* parent) { return new PasswordPage(core, parent); });
    registry.setFactory(PageKey::TimeControl,
                        [](AppCore& core, QWidget* parent) { return new TimeControlPage(core, parent); });
    registry.setFactory(PageKey::WakeUp, [](AppCore& core, QWidget* parent) { return new WakeUpPage(core, parent); });
    registry.setFactory(PageKey::Mqtt, [](AppCore& core, QWidget* parent) { return new MqttPage(core, parent); });
    registry.setFactory(PageKey::Info, [](AppCore& core, QWidget* parent) { return new InfoPage(core, parent); });
}
