#include "CallWaitingList.h"

#include <QKeyEvent>

CallWaitingList::CallWaitingList(QWidget* parent) : QListWidget(parent)
{
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QListWidget::itemClicked, this, &CallWaitingList::onClicked);
}

void CallWaitingList::setEntries(const QStringList& entries)
{
    const int selected = currentRow();
    clear();
    for (const QString& entry : entries) {
        auto* item = new QListWidgetItem(entry.mid(1), this);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
        item->setData(Qt::CheckStateRole, entry.startsWith(QLatin1Char('1')) ? Qt::Checked : Qt::Unchecked);
    }
    if (selected >= 0 && selected < count())
        setCurrentRow(selected);
}

QStringList CallWaitingList::entries() const
{
    QStringList result;
    for (int row = 0; row < count(); ++row) {
        const QListWidgetItem* entry = item(row);
        const bool on = entry->data(Qt::CheckStateRole).toInt() == Qt::Checked;
        result << (on ? QStringLiteral("1") : QStringLiteral("0")) + entry->text();
    }
    return result;
}

void CallWaitingList::onClicked(QListWidgetItem* clicked)
{
    if (clicked)
        Q_EMIT entryToggled(row(clicked));
}

void CallWaitingList::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space && currentItem()) {
        onClicked(currentItem());
        return;
    }
    QListWidget::keyPressEvent(event);
}
