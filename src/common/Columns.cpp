#include "common/Columns.h"

#include <algorithm>

namespace Columns {

QString padded(const QString& text, int width)
{
    const qsizetype blanks = std::max<qsizetype>(1, width - text.size());
    return text + QString(blanks, QLatin1Char(' '));
}

QString rightAligned(const QString& text, int width)
{
    return text.rightJustified(width, QLatin1Char(' '), false);
}

QString cut(const QString& text, int maxLength)
{
    return text.left(std::max(0, maxLength));
}

} // namespace Columns
