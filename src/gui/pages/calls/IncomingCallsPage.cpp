#include "IncomingCallsPage.h"

#include "CallListView.h"
#include "RenameDialog.h"
#include "charges/IncomingCallLog.h"
#include "shell/AppCore.h"
#include "shell/StatusLine.h"
#include "common/FileMessages.h"

#include <QTableView>
#include <QVBoxLayout>

IncomingCallsPage::IncomingCallsPage(AppCore& core, QWidget* parent)
    : Page(core, parent), m_view(new CallListView(core.incomingCalls().list(), this))
{
    setObjectName(QStringLiteral("PanelAnkommend"));
    m_view->table()->setObjectName(QStringLiteral("ListViewAnkommend"));
    m_view->table()->setAccessibleName(QStringLiteral("Ankommende Gespräche"));
    m_view->table()->setWhatsThis(QStringLiteral(
        "Die ankommenden Anrufe der letzten Tage: Zeit, gerufene Nummer, Anrufer und Name. Ein Klick auf eine "
        "Spalte sortiert, ein zweiter kehrt die Reihenfolge um; ein Doppelklick ändert den Namen."));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    const QList<int> widths{140, 120, 200, 240};
    for (int column = 0; column < widths.size(); ++column)
        m_view->table()->setColumnWidth(column, widths.at(column));
    connect(m_view, &CallListView::rowActivated, this, &IncomingCallsPage::rename);
    connect(m_view, &CallListView::exported, this, [this](bool ok, const QString& path) {
        StatusLine& status = this->core().statusLine();
        ok ? status.showText(StatusLevel::Normal, QStringLiteral("Gespräche nach %1 exportiert").arg(path))
           : status.showText(StatusLevel::Error, FileMessages::cannotWrite(path));
    });
}

void IncomingCallsPage::setTransferLock(bool locked)
{
    m_view->setLocked(locked);
}

void IncomingCallsPage::rename(int listRow)
{
    CallList& list = core().incomingCalls().list();
    const std::optional<QString> name = RenameDialog::ask(list.text(listRow, IncomingCallLog::NameColumn), window());
    if (name)
        core().renameIncomingCall(listRow, *name);
}
