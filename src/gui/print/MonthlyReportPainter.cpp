#include "MonthlyReportPainter.h"

#include "PrintoutPainter.h"

namespace MonthlyReportPainter {

bool writePdf(const MonthlyReportLayout::Content& content, const QString& path)
{
    return PrintoutPainter::writePdf(
        QStringLiteral("Kavex - Monatsbericht"),
        [&content](QSize size, const PrintTextWidth& width) {
            return MonthlyReportLayout::pages(content, size, width);
        },
        path);
}

} // namespace MonthlyReportPainter
