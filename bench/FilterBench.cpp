// Filtering the outgoing list as the page does it: 100,000 rows loaded from a log in its fixed
// columns, the search field of the list view given a text, until the table and the footer with
// its sums are up to date. In the log's order (the budget), then sorted by a click on "Name". Run it from a Release
// build with QT_QPA_PLATFORM=offscreen: bench_filter [ROWS]

#include "BenchReport.h"
#include "LogGenerator.h"

#include "charges/CallList.h"
#include "charges/CallListFilter.h"
#include "charges/OutgoingCallLog.h"
#include "pages/calls/CallListView.h"
#include "shell/AppCore.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <QTemporaryDir>

#include <algorithm>
#include <clocale>
#include <cstdio>

namespace {

// One search text typed into the field: the filter, the view and the footer, with the events
// they post.
double searchSeconds(CallListView& view, const QString& text)
{
    QApplication::processEvents();
    const double start = Bench::monotonicSeconds();
    view.searchField()->setText(text);
    QApplication::processEvents();
    return Bench::monotonicSeconds() - start;
}

} // namespace

int main(int argc, char** argv)
{
    // The costs in the logs as a German user's program writes them, with a decimal comma.
    qputenv("LC_ALL", "de_DE.UTF-8");
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    const int rows = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100000;
    QTemporaryDir dir;
    LogGenerator::Sizes sizes;
    sizes.outgoing = rows;
    sizes.incoming = 0;
    sizes.historyLines = 0;
    sizes.spanDays = 6; // all inside the display window
    if (!LogGenerator::generate(dir.path(), sizes, QDateTime::currentDateTime().addSecs(-3600)))
        return 1;
    AppCore::Options options;
    options.programDir = dir.path();
    options.configHome = dir.path();
    AppCore core(std::move(options), CommandLine{});
    core.loadCallLogs();
    CallList& list = core.outgoingCalls().list();
    CallListView view(list);
    view.resize(1000, 700);
    view.show();
    QApplication::processEvents();
    std::printf("outgoing list: %d rows\n", list.rowCount());

    // Letters of a place, a whole place, a part of a number, a text nothing holds.
    const QStringList texts = {QStringLiteral("M"),      QStringLiteral("Mü"),   QStringLiteral("Mün"),
                               QStringLiteral("Berlin"), QStringLiteral("0301"), QStringLiteral("xyz")};
    double worst = 0;
    for (int sorted = 0; sorted < 2; ++sorted) {
        if (sorted)
            view.table()->horizontalHeader()->sectionClicked(OutgoingCallLog::NameColumn);
        for (const QString& text : texts) {
            // Typed from the full list, and cleared again.
            double best = 1e300, cleared = 1e300;
            int shown = 0;
            QString footer;
            for (int run = 0; run < 3; ++run) {
                best = std::min(best, searchSeconds(view, text));
                shown = view.filter().rowCount();
                footer = view.footer()->text();
                cleared = std::min(cleared, searchSeconds(view, QString()));
            }
            std::printf("  %-8s \"%s\": %6.1f ms, %d rows shown, footer \"%s\"; cleared again: %.1f ms\n",
                        sorted ? "sorted" : "unsorted", qPrintable(text), best * 1000, shown, qPrintable(footer),
                        cleared * 1000);
            // The budget is the list as it opens, in the order of the log; sorted is shown beside it.
            if (!sorted)
                worst = std::max({worst, best, cleared});
        }
    }
    return Bench::budget("filter-100k-rows", worst * 1000, 100, "ms") ? 0 : 1;
}
