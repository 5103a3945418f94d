#include "CallLogPage.h"

#include "CallListView.h"
#include "RenameDialog.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "common/FileMessages.h"
#include "shell/AppCore.h"
#include "shell/StatusLine.h"

#include <QTableView>
#include <QVBoxLayout>

namespace {

struct Look
{
    QString page; // object names, as the original program's
    QString table;
    QString heading;
    QString whatsThis;
    QList<int> widths;
};

Look lookOf(CallLogPage::Kind kind)
{
    const QString sorting = QStringLiteral(" Ein Klick auf eine Spalte sortiert, ein zweiter kehrt die Reihenfolge "
                                           "um; ein Doppelklick ändert den Namen.");
    if (kind == CallLogPage::Kind::Incoming)
        return {QStringLiteral("PanelAnkommend"),
                QStringLiteral("ListViewAnkommend"),
                QStringLiteral("Ankommende Gespräche"),
                QStringLiteral("Die ankommenden Anrufe der letzten Tage: Zeit, gerufene Nummer, Anrufer und Name.") +
                    sorting,
                {140, 120, 200, 240}};
    return {QStringLiteral("PanelVerbindungen"),
            QStringLiteral("VerbindungsListView"),
            QStringLiteral("Abgehende Gespräche"),
            QStringLiteral("Die abgehenden Gespräche der letzten Tage mit Einheiten, Kosten und Dauer.") + sorting,
            {140, 44, 150, 190, 50, 64, 60}};
}

} // namespace

CallLogPage::CallLogPage(AppCore& core, Kind kind, QWidget* parent)
    : Page(core, parent), m_kind(kind), m_view(new CallListView(list(), this))
{
    const Look look = lookOf(kind);
    setObjectName(look.page);
    m_view->table()->setObjectName(look.table);
    m_view->table()->setAccessibleName(look.heading);
    m_view->table()->setWhatsThis(look.whatsThis);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    for (int column = 0; column < look.widths.size(); ++column)
        m_view->table()->setColumnWidth(column, look.widths.at(column));
    connect(m_view, &CallListView::rowActivated, this, &CallLogPage::rename);
    connect(m_view, &CallListView::exported, this, [this](bool ok, const QString& path) {
        StatusLine& status = this->core().statusLine();
        ok ? status.showText(StatusLevel::Normal, QStringLiteral("Gespräche nach %1 exportiert").arg(path))
           : status.showText(StatusLevel::Error, FileMessages::cannotWrite(path));
    });
}

CallList& CallLogPage::list() const
{
    return m_kind == Kind::Incoming ? core().incomingCalls().list() : core().outgoingCalls().list();
}

void CallLogPage::setTransferLock(bool locked)
{
    m_view->setLocked(locked);
}

void CallLogPage::rename(int listRow)
{
    const int column = m_kind == Kind::Incoming ? IncomingCallLog::NameColumn : OutgoingCallLog::NameColumn;
    const std::optional<QString> name = RenameDialog::ask(list().text(listRow, column), window());
    if (!name)
        return;
    if (m_kind == Kind::Incoming)
        core().renameIncomingCall(listRow, *name);
    else
        core().renameOutgoingCall(listRow, *name);
}
