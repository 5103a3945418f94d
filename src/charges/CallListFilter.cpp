#include "charges/CallListFilter.h"

#include "charges/CallList.h"
#include "common/FormatPicture.h"

#include <algorithm>

namespace {

int unitsValue(const QString& text)
{
    bool numeric = false;
    const int value = text.trimmed().toInt(&numeric);
    return numeric ? value : -1;
}

double costValue(const QString& text)
{
    QString normal = text.trimmed();
    normal.replace(QLatin1Char(','), QLatin1Char('.'));
    bool numeric = false;
    const double value = normal.toDouble(&numeric);
    return numeric ? value : 0.0;
}

} // namespace

CallListFilter::SortKey CallListFilter::makeKey(const QString& text, bool units)
{
    return units ? SortKey{{}, unitsValue(text)} : SortKey{text.toCaseFolded(), -1};
}

CallListFilter::CallListFilter(CallList& list, QObject* parent) : QSortFilterProxyModel(parent), m_list(list)
{
    // Connected before the proxy connects its own handlers, so that a changed row is sorted anew
    // with its new key. Rows are only ever appended, and the keys of new rows are made as they are
    // asked for.
    connect(&list, &CallList::dataChanged, this, &CallListFilter::onDataChanged);
    connect(&list, &CallList::modelAboutToBeReset, this, [this] { m_sortKeys.clear(); });
    setSourceModel(&list);
    setDynamicSortFilter(true);
}

void CallListFilter::setSearch(const QString& text)
{
    if (m_search == text)
        return;
    m_search = text;
    // One layout change for the whole list: filtering anew reports each run of rows that comes or
    // goes on its own, and a view that handles thousands of those takes seconds on a long list.
    invalidate();
}

void CallListFilter::clickColumn(int column)
{
    const int number = column + 1;
    m_signedColumn = m_signedColumn == number ? -number : number;
    sort(column, m_signedColumn > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
}

bool CallListFilter::filterAcceptsRow(int sourceRow, const QModelIndex&) const
{
    if (m_search.isEmpty())
        return true;
    for (int column = 0; column < m_list.columnCount(); ++column) {
        if (m_list.text(sourceRow, column).contains(m_search, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

bool CallListFilter::lessThan(const QModelIndex& left, const QModelIndex& right) const
{
    const SortKey& a = sortKey(left.row(), left.column());
    const SortKey& b = sortKey(right.row(), right.column());
    if (left.column() == m_list.columns().units)
        return a.units < b.units;
    return a.folded < b.folded;
}

const CallListFilter::SortKey& CallListFilter::sortKey(int row, int column) const
{
    if (column != m_sortKeysColumn) {
        m_sortKeys.clear();
        m_sortKeysColumn = column;
    }
    const bool units = column == m_list.columns().units;
    for (int next = static_cast<int>(m_sortKeys.size()); next <= row; ++next)
        m_sortKeys.push_back(makeKey(m_list.text(next, column), units));
    return m_sortKeys[static_cast<std::size_t>(row)];
}

void CallListFilter::onDataChanged(const QModelIndex& topLeft, const QModelIndex& bottomRight)
{
    if (m_sortKeysColumn < topLeft.column() || m_sortKeysColumn > bottomRight.column())
        return;
    const int end = std::min(bottomRight.row() + 1, static_cast<int>(m_sortKeys.size()));
    for (int row = topLeft.row(); row < end; ++row) {
        const QString& text = m_list.text(row, m_sortKeysColumn);
        m_sortKeys[static_cast<std::size_t>(row)] = makeKey(text, m_sortKeysColumn == m_list.columns().units);
    }
}

CallListFilter::Totals CallListFilter::totals() const
{
    Totals totals;
    const CallList::Columns& columns = m_list.columns();
    for (int shown = 0; shown < rowCount(); ++shown) {
        const int row = sourceRow(shown);
        ++totals.calls;
        if (columns.units >= 0)
            totals.units += std::max(0, unitsValue(m_list.text(row, columns.units)));
        if (columns.cost >= 0)
            totals.cost += costValue(m_list.text(row, columns.cost));
    }
    return totals;
}

QString CallListFilter::footerText() const
{
    const Totals sum = totals();
    QString text = sum.calls == 1 ? QStringLiteral("1 Gespräch") : QStringLiteral("%1 Gespräche").arg(sum.calls);
    if (m_list.columns().units >= 0)
        text += QStringLiteral(" · %1 Einheiten").arg(sum.units);
    if (m_list.columns().cost >= 0)
        text += QStringLiteral(" · Kosten %1").arg(FormatPicture::fixed(sum.cost, 0));
    return text;
}

int CallListFilter::sourceRow(int shownRow) const
{
    const QModelIndex source = mapToSource(index(shownRow, 0));
    return source.isValid() ? source.row() : -1;
}
