#include "SpeedDialPage.h"

#include "SpeedDialEditorBox.h"
#include "config/BaseConfig.h"
#include "config/SpeedDialList.h"
#include "config/SpeedDialTransfer.h"
#include "shell/AppCore.h"
#include "shell/StatusLine.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

SpeedDialPage::SpeedDialPage(AppCore& core, QWidget* parent) : Page(core, parent)
{
    m_list = new QTreeWidget(this);
    m_list->setObjectName(QStringLiteral("KurzwahlListe"));
    m_list->setAccessibleName(QStringLiteral("Kurzwahlen"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setAllColumnsShowFocus(true);
    m_list->setHeaderLabels({QStringLiteral("Kurzwahl"), QStringLiteral("Bezeichnung"), QStringLiteral("Rufnummer"),
                             QStringLiteral("Attribute")});
    m_list->header()->setSectionsClickable(true);
    m_list->header()->setSortIndicatorShown(false);
    m_list->setWhatsThis(QStringLiteral("Die 60 Kurzwahlen der Anlage (301 bis 360). Ein Klick auf eine Zeile "
                                        "bearbeitet sie, ein Klick auf eine Spaltenüberschrift sortiert die Liste. "
                                        "Eine Rufnummer in spitzen Klammern weicht von der im Programm "
                                        "gespeicherten ab."));
    m_editor = new SpeedDialEditorBox(this);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list, 1);
    layout->addWidget(m_editor);

    connect(m_list->header(), &QHeaderView::sectionClicked, this, &SpeedDialPage::onColumnClicked);
    connect(m_list, &QTreeWidget::itemClicked, this, &SpeedDialPage::onRowClicked);
    connect(m_editor, &SpeedDialEditorBox::saveRequested, this, &SpeedDialPage::onSave);
    connect(&core.speedDialTransfer(), &SpeedDialTransfer::entryRead, this, &SpeedDialPage::onEntryRead);
    connect(&core.speedDialTransfer(), &SpeedDialTransfer::finished, this, [this] {
        m_list->resizeColumnToContents(1);
        m_list->resizeColumnToContents(2);
        m_list->resizeColumnToContents(3);
    });
    fillList();
    refresh();
}

void SpeedDialPage::refresh()
{
    m_editor->setExtensionCount(core().baseConfig().extensionCount());
}

void SpeedDialPage::fillList()
{
    const SpeedDialList& dials = core().speedDials();
    const int selected = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    QString selectedEntry = selected >= 0 ? m_list->topLevelItem(selected)->text(0) : QString();
    m_list->clear();
    QList<QTreeWidgetItem*> items;
    for (int r = 0; r < dials.rowCount(); ++r) {
        const SpeedDialRow& row = dials.row(r);
        items << new QTreeWidgetItem(QStringList{row.entryText, row.name, row.number, row.attributesText});
    }
    m_list->addTopLevelItems(items);
    for (int c = 0; c < 4; ++c)
        m_list->resizeColumnToContents(c);
    for (QTreeWidgetItem* item : items) {
        if (!selectedEntry.isEmpty() && item->text(0) == selectedEntry)
            m_list->setCurrentItem(item);
    }
}

void SpeedDialPage::onColumnClicked(int section)
{
    if (m_locked)
        return;
    core().speedDials().sortByColumn(section + SpeedDialList::EntryColumn);
    fillList();
}

void SpeedDialPage::onRowClicked(QTreeWidgetItem* item)
{
    const int row = item ? m_list->indexOfTopLevelItem(item) : -1;
    if (m_locked || row < 0 || !core().speedDialTransfer().isEditable())
        return;
    m_editor->setEditor(core().speedDials().rowClicked(row));
}

void SpeedDialPage::onSave()
{
    if (m_locked || !m_editor->hasEntry())
        return;
    if (core().speedDialTransfer().save(m_editor->editor()))
        fillList();
}

void SpeedDialPage::setTransferLock(bool locked)
{
    m_locked = locked;
    m_editor->setTransferLock(locked);
    if (!locked)
        fillList(); // a finished read has filled the rows
}

void SpeedDialPage::entered()
{
    // The reader shows message 51 itself below firmware 2.00 and reads at most once per run.
    beginRead();
}

void SpeedDialPage::beginRead()
{
    core().speedDialTransfer().start();
}

void SpeedDialPage::onEntryRead(int entry)
{
    const SpeedDialRow& row = core().speedDials().rowOfEntry(entry);
    for (int r = 0; r < m_list->topLevelItemCount(); ++r) {
        QTreeWidgetItem* item = m_list->topLevelItem(r);
        if (item->text(0) == row.entryText) {
            item->setText(1, row.name);
            item->setText(2, row.number);
            item->setText(3, row.attributesText);
        }
    }
}
