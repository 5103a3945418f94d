#pragma once

#include "Page.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTableWidget;

// "Sperrliste": the callers taken off before the phones ring on. Each change is written to the
// file at once; entering the page reads it again, so that entries kavexctl added show.
class BlockListPage : public Page
{
    Q_OBJECT

public:
    explicit BlockListPage(AppCore& core, QWidget* parent = nullptr);

    void refresh() override;
    void entered() override { refresh(); }

    QTableWidget* table() const { return m_table; }
    QLineEdit* numberField() const { return m_number; }
    QLineEdit* noteField() const { return m_note; }
    QPushButton* addButton() const { return m_add; }
    QPushButton* changeButton() const { return m_change; }
    QPushButton* removeButton() const { return m_remove; }
    QCheckBox* withheldBox() const { return m_withheld; }

private:
    void fillFields();
    void updateButtons();
    QString selectedNumber() const;
    // Shows the result of a change: the list again, or why the file was not written.
    void changed(bool ok);

    QTableWidget* m_table;
    QLineEdit* m_number;
    QLineEdit* m_note;
    QPushButton* m_add;
    QPushButton* m_change;
    QPushButton* m_remove;
    QCheckBox* m_withheld;
};
