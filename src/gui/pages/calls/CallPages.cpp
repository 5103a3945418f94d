#include "CallPages.h"

#include "DiagnosisPage.h"
#include "IncomingCallsPage.h"
#include "NavigationTable.h"
#include "OutgoingCallsPage.h"
#include "PageRegistry.h"

void registerCallPages(PageRegistry& registry)
{
    registry.setFactory(PageKey::Diagnosis,
                        [](AppCore& core, QWidget* parent) { return new DiagnosisPage(core, parent); });
    registry.setFactory(PageKey::IncomingCalls,
                        [](AppCore& core, QWidget* parent) { return new IncomingCallsPage(core, parent); });
    registry.setFactory(PageKey::OutgoingCalls,
                        [](AppCore& core, QWidget* parent) { return new OutgoingCallsPage(core, parent); });
}
