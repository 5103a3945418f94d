#pragma once

#include <QWidget>

class CallList;
class CallListFilter;
class QLabel;
class QLineEdit;
class QHBoxLayout;
class QPushButton;
class QTableView;

// A call list as the user works with it: a search field that filters on every column as one
// types, the table (model/view, so that 100,000 rows stay quick), a footer with the shown rows'
// count, units and cost, and "Exportieren..." for the shown rows as CSV.
class CallListView : public QWidget
{
    Q_OBJECT

public:
    CallListView(CallList& list, QWidget* parent = nullptr);

    CallListFilter& filter() const { return *m_filter; }
    QTableView* table() const { return m_table; }
    QLineEdit* searchField() const { return m_search; }
    QLabel* footer() const { return m_footer; }
    QPushButton* exportButton() const { return m_export; }
    void setLocked(bool locked);
    // A button of the page beside "Exportieren...".
    void addButton(QPushButton* button);
    // The selected row in the list (not in the view), -1 for none.
    int currentListRow() const;
    // The end comes into view and stays there: after a load, and while the list is unsorted and
    // the user has not scrolled away from it, as rows arrive.
    void scrollToEnd();
    // Writes the shown rows; the status text says where, or why not.
    bool exportTo(const QString& path);

Q_SIGNALS:
    // A double click on a row: its row in the list (not in the view).
    void rowActivated(int listRow);
    void exported(bool ok, const QString& path);

private:
    void updateFooter();
    void chooseExportFile();
    void followEnd(int maximum);

    CallList& m_list;
    CallListFilter* m_filter;
    QLineEdit* m_search;
    QTableView* m_table;
    QLabel* m_footer;
    QPushButton* m_export;
    QHBoxLayout* m_buttons;
    bool m_atEnd = true;
};
