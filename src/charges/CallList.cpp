#include "charges/CallList.h"

CallList::CallList(Columns columns, QObject* parent) : QAbstractTableModel(parent), m_columns(std::move(columns)) {}

int CallList::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CallList::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(m_columns.headers.size());
}

QVariant CallList::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::DisplayRole)
        return text(index.row(), index.column());
    if (role == Qt::TextAlignmentRole && m_columns.rightAligned.contains(index.column()))
        return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
    return {};
}

QVariant CallList::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 && section < m_columns.headers.size())
        return m_columns.headers.at(section);
    return QAbstractTableModel::headerData(section, orientation, role);
}

int CallList::append(QStringList fields)
{
    const int row = rowCount();
    fields.resize(m_columns.headers.size());
    beginInsertRows({}, row, row);
    m_rows.push_back(std::move(fields));
    endInsertRows();
    return row;
}

void CallList::replaceAll(std::vector<QStringList> rows)
{
    beginResetModel();
    m_rows = std::move(rows);
    for (QStringList& fields : m_rows)
        fields.resize(m_columns.headers.size());
    endResetModel();
}

const QString& CallList::text(int row, int column) const
{
    static const QString none;
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return none;
    return m_rows[static_cast<std::size_t>(row)].at(column);
}

void CallList::setText(int row, int column, const QString& text)
{
    if (row < 0 || row >= rowCount() || column < 0 || column >= columnCount())
        return;
    QString& field = m_rows[static_cast<std::size_t>(row)][column];
    if (field == text)
        return;
    field = text;
    Q_EMIT dataChanged(index(row, column), index(row, column), {Qt::DisplayRole});
}

void CallList::setTextWhere(int keyColumn, const QString& key, int column, const QString& text)
{
    for (int row = 0; row < rowCount(); ++row) {
        if (this->text(row, keyColumn) == key)
            setText(row, column, text);
    }
}
