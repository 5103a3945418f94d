#pragma once

#include <QAbstractTableModel>
#include <QStringList>

#include <vector>

// The rows of a call list ("Abgehende Gespräche", "Ankommende Gespräche"): texts only, as the log
// lines give them, in the order they were added. Views sort and filter through CallListFilter.
class CallList : public QAbstractTableModel
{
    Q_OBJECT

public:
    struct Columns
    {
        QStringList headers;
        int units = -1;          // compared as numbers, summed in the footer
        int cost = -1;           // summed in the footer
        QList<int> rightAligned; // units, cost, duration
        int name = -1;           // the column a rename changes
    };

    explicit CallList(Columns columns, QObject* parent = nullptr);

    const Columns& columns() const { return m_columns; }
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    int append(QStringList fields); // the new row's index
    void replaceAll(std::vector<QStringList> rows);
    // The field itself, not a copy: sorting and filtering read it for every comparison.
    const QString& text(int row, int column) const;
    void setText(int row, int column, const QString& text);
    // Every row whose `keyColumn` reads `key` gets `text` in `column` (a rename of one second's calls).
    void setTextWhere(int keyColumn, const QString& key, int column, const QString& text);

private:
    Columns m_columns;
    std::vector<QStringList> m_rows;
};
