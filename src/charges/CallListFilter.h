#pragma once

#include <QSortFilterProxyModel>

#include <vector>

class CallList;

// A call list as shown: the rows that hold the search text in any column, in the order of the last
// column click. The units column compares as numbers (a text that is no number counts as -1),
// every other column as text without regard to case, so dates and costs sort as text.
class CallListFilter : public QSortFilterProxyModel
{
    Q_OBJECT

public:
    struct Totals
    {
        int calls = 0;
        qint64 units = 0;
        double cost = 0.0;
    };

    explicit CallListFilter(CallList& list, QObject* parent = nullptr);

    void setSearch(const QString& text);
    QString search() const { return m_search; }
    // A header click: sorts by the column, the same column again reverses the order.
    void clickColumn(int column);
    // The column clicked last, from 1, negative when reversed; 0 before the first click.
    int signedColumn() const { return m_signedColumn; }

    Totals totals() const;
    // "3 Gespräche · 12 Einheiten · 1,44 Kosten", for the shown rows.
    QString footerText() const;
    // The source row of a shown row, -1 when there is none.
    int sourceRow(int shownRow) const;

protected:
    bool filterAcceptsRow(int sourceRow, const QModelIndex& sourceParent) const override;
    bool lessThan(const QModelIndex& left, const QModelIndex& right) const override;

private:
    struct SortKey
    {
        QString folded; // the text case-folded as a case-insensitive comparison folds it
        int units = -1;
    };
    static SortKey makeKey(const QString& text, bool units);
    const SortKey& sortKey(int row, int column) const;
    void onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight);

    CallList& m_list;
    QString m_search;
    int m_signedColumn = 0;
    // The sorted column's keys, made once and kept up to date: a sort of n rows compares each
    // row about log2(n) times, and folding its text each time took most of a long list's sort.
    mutable std::vector<SortKey> m_sortKeys;
    mutable int m_sortKeysColumn = -1;
};
