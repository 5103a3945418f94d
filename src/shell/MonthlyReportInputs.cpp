#include "shell/MonthlyReportInputs.h"

#include "image/Extensions.h"
#include "shell/ChargeSettings.h"
#include "shell/Settings.h"

namespace MonthlyReportInputs {

MonthlyReport::Inputs of(const QString& programDir, const Settings& settings, const QDate& month, int extensionCount)
{
    MonthlyReport::Inputs inputs;
    inputs.historyPath = programDir + QStringLiteral("/WinKavex.dat");
    inputs.outgoingPath = programDir + QStringLiteral("/WinKavex.out");
    inputs.month = month;
    inputs.pricePerUnit = ChargeSettings::read(settings).pricePerUnit;
    for (int i = 0; i < Extensions::Max; ++i)
        inputs.names << settings.extensionName(Extensions::number(i));
    inputs.extensionCount = extensionCount;
    return inputs;
}

} // namespace MonthlyReportInputs
