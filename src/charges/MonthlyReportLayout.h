#pragma once

#include "charges/MonthlyReport.h"
#include "config/PrintLayout.h"

#include <QDateTime>
#include <QSize>

#include <vector>

// The monthly report as one page in the printout's look: the title bar and side bar of
// "DruckenMitRand", a box with the extensions (each with a bar of its units in the extension's
// colour of the charts) and their sum, a box with the dialled numbers that cost the most, and the
// footer with the price per unit.
namespace MonthlyReportLayout {

struct Content
{
    MonthlyReport report;
    bool withBars = true;
    QDateTime printedAt;
};

QString title(const QDate& month); // "Kavex K3/K8 - Monatsbericht November 2026"
std::vector<PrintPage> pages(const Content& content, QSize pageSize, const PrintTextWidth& width);

} // namespace MonthlyReportLayout
