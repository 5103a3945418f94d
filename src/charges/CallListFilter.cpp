#include "charges/CallListFilter.h"

#include "charges/CallList.h"
#include "common/FormatPicture.h"

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

CallListFilter::CallListFilter(CallList& list, QObject* parent) : QSortFilterProxyModel(parent), m_list(list)
{
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
    const QString a = m_list.text(left.row(), left.column());
    const QString b = m_list.text(right.row(), right.column());
    if (left.column() == m_list.columns().units)
        return unitsValue(a) < unitsValue(b);
    return QString::compare(a, b, Qt::CaseInsensitive) < 0;
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
