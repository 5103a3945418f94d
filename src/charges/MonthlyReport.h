#pragma once

#include <QDate>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// One month of charges: for each present extension the units its counter gained (from the history
// "WinKavex.dat") and their cost at the price per unit, and its outgoing calls of the month (from
// "WinKavex.out"); then the dialled numbers that cost the most. A call belongs to the month and the
// day it started, also when it ended after midnight. Every text from the files is cut to its column
// and has its control characters escaped.
struct MonthlyReport
{
    static constexpr int TopCount = 20;

    struct Extension
    {
        int number = 0; // 21..28; 0 for the sum
        QString name;   // section "Bezeichnungen"
        qint64 units = 0;
        double cost = 0.0;
        qint64 calls = 0;
        qint64 callUnits = 0;
        double callCost = 0.0;
        qint64 seconds = 0;
    };

    struct DialledNumber
    {
        QString number;
        QString name; // the last name the log gave the number in the month
        qint64 calls = 0;
        qint64 units = 0;
        double cost = 0.0;
        qint64 seconds = 0;
    };

    QDate month; // its first day
    double pricePerUnit = 0.0;
    std::vector<Extension> extensions;
    std::vector<DialledNumber> topNumbers; // at most TopCount, the highest cost first

    Extension total() const;

    struct Inputs
    {
        QString historyPath;
        QString outgoingPath;
        QDate month; // any day of it
        double pricePerUnit = 0.0;
        QStringList names; // index 0 for extension 21
        // The exchange's count (3 or 8); 0 when unknown: 8 when the files show any of 24..28.
        int extensionCount = 0;
    };
    static struct MonthlyReportResult read(const Inputs& inputs);

    // "JJJJ-MM" as a month's first day; invalid for anything else.
    static QDate parseMonth(const QString& text);
    // "November 2026".
    static QString monthText(const QDate& month);
};

struct MonthlyReportResult
{
    std::optional<MonthlyReport> report;
    QString error; // German, naming the file, when there is no report
};
