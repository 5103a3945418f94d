#pragma once

#include "charges/MonthlyReport.h"

#include <QByteArray>
#include <QString>

// A monthly report for people and for other programs. The readable table uses the locale's decimal
// separator; CSV and JSON always a point, and durations in seconds. The CSV (UTF-8, CR LF) holds
// two tables, the extensions with their sum and, after an empty line, the dialled numbers.
namespace MonthlyReportExport {
QString text(const MonthlyReport& report);
QByteArray csv(const MonthlyReport& report);
QByteArray json(const MonthlyReport& report);
} // namespace MonthlyReportExport
