#include "CallPages.h"

#include "BlockListPage.h"
#include "CallLogPage.h"
#include "DiagnosisPage.h"
#include "NavigationTable.h"
#include "PageRegistry.h"

void registerCallPages(PageRegistry& registry)
{
    registry.setFactory(PageKey::Diagnosis,
                        [](AppCore& core, QWidget* parent) { return new DiagnosisPage(core, parent); });
    registry.setFactory(PageKey::IncomingCalls, [](AppCore& core, QWidget* parent) {
        return new CallLogPage(core, CallLogPage::Kind::Incoming, parent);
    });
    registry.setFactory(PageKey::OutgoingCalls, [](AppCore& core, QWidget* parent) {
        return new CallLogPage(core, CallLogPage::Kind::Outgoing, parent);
    });
    registry.setFactory(PageKey::BlockList,
                        [](AppCore& core, QWidget* parent) { return new BlockListPage(core, parent); });
}
