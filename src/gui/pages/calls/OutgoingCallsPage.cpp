#include "OutgoingCallsPage.h"

#include "CallListView.h"
#include "RenameDialog.h"
#include "charges/OutgoingCallLog.h"
#include "shell/AppCore.h"
#include "shell/StatusLine.h"
#include "common/FileMessages.h"

#include <QTableView>
#include <QVBoxLayout>

OutgoingCallsPage::OutgoingCallsPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_view(new CallListView(core.outgoingCalls().list(), this))
{
    setObjectName(QStringLiteral("PanelVerbindungen"));
    m_view->table()->setObjectName(QStringLiteral("VerbindungsListView"));
    m_view->table()->setAccessibleName(QStringLiteral("Abgehende Gespräche"));
    m_view->table()->setWhatsThis(QStringLiteral(
        "Die abgehenden Gespräche der letzten Tage mit Einheiten, Kosten und Dauer. Ein Klick auf eine Spalte "
        "sortiert, ein zweiter kehrt die Reihenfolge um; ein Doppelklick ändert den Namen."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    const QList<int> widths{140, 44, 150, 190, 50, 64, 60};
    for (int column = 0; column < widths.size(); ++column)
        m_view->table()->setColumnWidth(column, widths.at(column));
    connect(m_view, &CallListView::rowActivated, this, &OutgoingCallsPage::rename);
    connect(m_view, &CallListView::exported, this, [this](bool ok, const QString& path) {
        StatusLine& status = this->core().statusLine();
        ok ? status.showText(StatusLevel::Normal, QStringLiteral("Gespräche nach %1 exportiert").arg(path))
           : status.showText(StatusLevel::Error, FileMessages::cannotWrite(path));
    });
}

void OutgoingCallsPage::setTransferLock(bool locked)
{
    m_view->setLocked(locked);
}

void OutgoingCallsPage::rename(int listRow)
{
    CallList& list = core().outgoingCalls().list();
    const std::optional<QString> name = RenameDialog::ask(list.text(listRow, OutgoingCallLog::NameColumn), window());
    if (name)
        core().renameOutgoingCall(listRow, *name);
}
