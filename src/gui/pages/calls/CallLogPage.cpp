#include "CallLogPage.h"

#include "CallListView.h"
#include "RenameDialog.h"
#include "charges/IncomingCallLog.h"
#include "charges/OutgoingCallLog.h"
#include "common/FileMessages.h"
#include "shell/AppCore.h"
#include "shell/CallBlocking.h"
#include "shell/StatusLine.h"

#include <QInputDialog>
#include <QItemSelectionModel>
#include <QPushButton>
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
    if (kind == Kind::Incoming) {
        m_block = new QPushButton(QStringLiteral("&Sperren..."), this);
        m_block->setAccessibleName(QStringLiteral("Sperren"));
        m_block->setWhatsThis(QStringLiteral("Setzt den Anrufer der gewählten Zeile auf die Sperrliste."));
        m_block->setEnabled(false);
        m_view->addButton(m_block);
        connect(m_block, &QPushButton::clicked, this, &CallLogPage::askBlock);
        connect(m_view->table()->selectionModel(), &QItemSelectionModel::selectionChanged, this, [this] {
            const int row = m_view->currentListRow();
            m_block->setEnabled(row >= 0 && !list().text(row, IncomingCallLog::CallerColumn).isEmpty());
        });
    }
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

void CallLogPage::askBlock()
{
    const int row = m_view->currentListRow();
    if (row < 0)
        return;
    const QString caller = list().text(row, IncomingCallLog::CallerColumn);
    bool ok = false;
    const QString note = QInputDialog::getText(window(), QStringLiteral("Sperren"),
                                               QStringLiteral("Notiz für %1:").arg(caller), QLineEdit::Normal,
                                               list().text(row, IncomingCallLog::NameColumn), &ok);
    if (ok)
        block(row, note);
}

bool CallLogPage::block(int listRow, const QString& note)
{
    CallBlocking& blocking = core().callBlocking();
    const QString caller = list().text(listRow, IncomingCallLog::CallerColumn);
    StatusLine& status = core().statusLine();
    if (!blocking.add({caller, note})) {
        status.showText(StatusLevel::Error, blocking.problem());
        return false;
    }
    status.showText(StatusLevel::Normal, QStringLiteral("%1 gesperrt").arg(caller));
    return true;
}
