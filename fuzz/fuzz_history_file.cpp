#include "FuzzSupport.h"
#include "charges/HistoryFile.h"
#include "charges/Histogram.h"
#include "charges/PeriodList.h"
#include "charges/PieChart.h"

#include <QFile>

// Any "WinKavex.dat": the periods and both charts built from it, then a reading recorded. The
// reading must keep the old content whole, ahead of its new line, and back it up first.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QString path = FuzzSupport::writeFile(QStringLiteral("WinKavex.dat"), data, size);
    const QByteArray before = FuzzSupport::readFile(path);

    PeriodList periods = PeriodList::fromHistory(path);
    periods.applyReading(CounterLine::overview(Units{1, 2, 3, 4, 5, 6, 7, 8}), QDate(2026, 12, 9));
    (void)Histogram::layout(periods);
    const QStringList names{QStringLiteral("Büro"), QStringLiteral("Küche")};
    for (int i = 0; i < periods.size(); ++i) {
        const QList<PieChart::Item> items = PieChart::forPeriod(periods, i, names);
        const PieChart::Layout layout = PieChart::layout(items, QSize(400, 300), 10, 30);
        (void)PieChart::itemAt(layout, QPoint(200, 150));
    }

    HistoryFile history(path);
    QFile::remove(history.backupPath());
    HistoryFile::Last last;
    const HistoryFile::Outcome outcome = history.update(Units{}, -1, QDateTime(QDate(2026, 12, 9), QTime(8, 0)), last);
    FuzzSupport::check(outcome.read && outcome.appended);
    const QByteArray after = FuzzSupport::readFile(path);
    FuzzSupport::check(after.startsWith(before) && after.size() > before.size());
    FuzzSupport::check(FuzzSupport::readFile(history.backupPath()) == before);
    return 0;
}
