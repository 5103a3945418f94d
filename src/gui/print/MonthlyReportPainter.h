#pragma once

#include "charges/MonthlyReportLayout.h"

#include <QString>

// The monthly report as a PDF file in the printout's look (A4 landscape).
namespace MonthlyReportPainter {
// False when the file cannot be written; then nothing of it is left behind.
bool writePdf(const MonthlyReportLayout::Content& content, const QString& path);
} // namespace MonthlyReportPainter
