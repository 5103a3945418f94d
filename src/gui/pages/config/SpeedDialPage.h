#pragma once

#include "Page.h"

class QTreeWidget;
class QTreeWidgetItem;
class SpeedDialEditorBox;

// "Kurzwahlen": the list `KurzwahlListe` of the 60 speed dials and its editor. The entries are read
// from the exchange the first time the page is entered in a run (firmware 2.00 and later only).
class SpeedDialPage : public Page
{
    Q_OBJECT
public:
    explicit SpeedDialPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void setTransferLock(bool locked) override;
    void entered() override;

    QTreeWidget* list() const { return m_list; }
    SpeedDialEditorBox* editorBox() const { return m_editor; }

private:
    void fillList();
    void onColumnClicked(int section);
    void onRowClicked(QTreeWidgetItem* item);
    void onSave();
    void beginRead();
    void onEntryRead(int entry);

    bool m_locked = false;
    QTreeWidget* m_list;
    SpeedDialEditorBox* m_editor;
};
