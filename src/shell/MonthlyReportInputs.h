#pragma once

#include "charges/MonthlyReport.h"

class Settings;

// What a monthly report reads: the history and the outgoing log of the program directory, the
// price per unit and the extension names of the settings.
namespace MonthlyReportInputs {
// `extensionCount` 0: the count follows from the files.
MonthlyReport::Inputs of(const QString& programDir, const Settings& settings, const QDate& month,
                         int extensionCount = 0);
} // namespace MonthlyReportInputs
