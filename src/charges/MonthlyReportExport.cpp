#include "charges/MonthlyReportExport.h"

#include "charges/CallListExport.h"
#include "charges/OutgoingRecord.h"
#include "common/Columns.h"
#include "common/FormatPicture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QString money(double value, QChar point = QLatin1Char('.'))
{
    return FormatPicture::fixed(value, 0, 2, point);
}

double cents(double value)
{
    return static_cast<double>(qRound64(value * 100)) / 100.0;
}

QString csvLine(const QStringList& fields)
{
    return fields.join(QLatin1Char(',')) + QLatin1String("\r\n");
}

QString csvExtension(const MonthlyReport::Extension& e, const QString& label)
{
    return csvLine({label, CallListExport::csvField(e.name), QString::number(e.units), money(e.cost),
                    QString::number(e.calls), QString::number(e.callUnits), money(e.callCost),
                    QString::number(e.seconds)});
}

QJsonObject jsonExtension(const MonthlyReport::Extension& e)
{
    QJsonObject object{{QStringLiteral("units"), e.units},
                       {QStringLiteral("cost"), cents(e.cost)},
                       {QStringLiteral("calls"), e.calls},
                       {QStringLiteral("call_units"), e.callUnits},
                       {QStringLiteral("call_cost"), cents(e.callCost)},
                       {QStringLiteral("seconds"), e.seconds}};
    if (e.number != 0) {
        object.insert(QStringLiteral("extension"), e.number);
        object.insert(QStringLiteral("name"), e.name);
    }
    return object;
}

// A line of the readable table: a left-aligned label, a name, then right-aligned figures.
QString textRow(const QString& label, int labelWidth, const QString& name, int nameWidth, const QStringList& figures,
                const QList<int>& widths)
{
    QString line = Columns::padded(label, labelWidth) + Columns::padded(Columns::cut(name, nameWidth - 1), nameWidth);
    for (qsizetype i = 0; i < figures.size(); ++i)
        line += Columns::rightAligned(figures[i], widths.value(i));
    while (line.endsWith(QLatin1Char(' ')))
        line.chop(1);
    return line + QLatin1Char('\n');
}

const QList<int> ExtensionWidths = {10, 11, 11, 14, 15, 10};
const QList<int> NumberWidths = {11, 11, 11, 10};

QString textExtension(const MonthlyReport::Extension& e, const QString& label)
{
    const QChar point = FormatPicture::systemDecimalPoint();
    return textRow(label, 13, e.name, 22,
                   {QString::number(e.units), money(e.cost, point), QString::number(e.calls),
                    QString::number(e.callUnits), money(e.callCost, point), OutgoingRecord::listDuration(e.seconds)},
                   ExtensionWidths);
}

} // namespace

namespace MonthlyReportExport {

QString text(const MonthlyReport& report)
{
    const QChar point = FormatPicture::systemDecimalPoint();
    QString out = QStringLiteral("Monatsbericht %1, Preis pro Einheit %2\n\n")
                      .arg(MonthlyReport::monthText(report.month), money(report.pricePerUnit, point));
    out += textRow(QStringLiteral("Nebenstelle"), 13, QStringLiteral("Bezeichnung"), 22,
                   {QStringLiteral("Einheiten"), QStringLiteral("Kosten"), QStringLiteral("Gespräche"),
                    QStringLiteral("Gespr.-Einh."), QStringLiteral("Gespr.-Kosten"), QStringLiteral("Dauer")},
                   ExtensionWidths);
    for (const MonthlyReport::Extension& e : report.extensions)
        out += textExtension(e, QString::number(e.number));
    out += textExtension(report.total(), QStringLiteral("Summe"));
    out += QStringLiteral("\nDie %1 Rufnummern mit den höchsten Kosten\n").arg(MonthlyReport::TopCount);
    out += textRow(
        QStringLiteral("Rufnummer"), 24, QStringLiteral("Name"), 32,
        {QStringLiteral("Gespräche"), QStringLiteral("Einheiten"), QStringLiteral("Kosten"), QStringLiteral("Dauer")},
        NumberWidths);
    for (const MonthlyReport::DialledNumber& n : report.topNumbers) {
        out += textRow(n.number, 24, n.name, 32,
                       {QString::number(n.calls), QString::number(n.units), money(n.cost, point),
                        OutgoingRecord::listDuration(n.seconds)},
                       NumberWidths);
    }
    return out;
}

QByteArray csv(const MonthlyReport& report)
{
    QString out = csvLine({QStringLiteral("Nebenstelle"), QStringLiteral("Bezeichnung"), QStringLiteral("Einheiten"),
                           QStringLiteral("Kosten"), QStringLiteral("Gespräche"), QStringLiteral("Gesprächseinheiten"),
                           QStringLiteral("Gesprächskosten"), QStringLiteral("Dauer (s)")});
    for (const MonthlyReport::Extension& e : report.extensions)
        out += csvExtension(e, QString::number(e.number));
    out += csvExtension(report.total(), QStringLiteral("Summe"));
    out += QLatin1String("\r\n");
    out += csvLine({QStringLiteral("Rang"), QStringLiteral("Rufnummer"), QStringLiteral("Name"),
                    QStringLiteral("Gespräche"), QStringLiteral("Einheiten"), QStringLiteral("Kosten"),
                    QStringLiteral("Dauer (s)")});
    int rank = 0;
    for (const MonthlyReport::DialledNumber& n : report.topNumbers) {
        out += csvLine({QString::number(++rank), CallListExport::csvField(n.number), CallListExport::csvField(n.name),
                        QString::number(n.calls), QString::number(n.units), money(n.cost), QString::number(n.seconds)});
    }
    return out.toUtf8();
}

QByteArray json(const MonthlyReport& report)
{
    QJsonArray extensions, numbers;
    for (const MonthlyReport::Extension& e : report.extensions)
        extensions.append(jsonExtension(e));
    int rank = 0;
    for (const MonthlyReport::DialledNumber& n : report.topNumbers) {
        numbers.append(QJsonObject{{QStringLiteral("rank"), ++rank},
                                   {QStringLiteral("number"), n.number},
                                   {QStringLiteral("name"), n.name},
                                   {QStringLiteral("calls"), n.calls},
                                   {QStringLiteral("units"), n.units},
                                   {QStringLiteral("cost"), cents(n.cost)},
                                   {QStringLiteral("seconds"), n.seconds}});
    }
    const QJsonObject object{{QStringLiteral("month"), report.month.toString(QStringLiteral("yyyy-MM"))},
                             {QStringLiteral("price_per_unit"), report.pricePerUnit},
                             {QStringLiteral("extensions"), extensions},
                             {QStringLiteral("total"), jsonExtension(report.total())},
                             {QStringLiteral("top_numbers"), numbers}};
    return QJsonDocument(object).toJson(QJsonDocument::Indented);
}

} // namespace MonthlyReportExport
