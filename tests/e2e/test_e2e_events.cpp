#include "E2eHarness.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QMap>
#include <QRegularExpression>
#include <gtest/gtest.h>

namespace {

// The demo's first call is an outgoing one with a long number for this seed; the fixed pause gives
// kavexctl time to switch the events on before it begins.
const QStringList DemoArgs = {QStringLiteral("--demo"), QStringLiteral("--seed"), QStringLiteral("4"),
                              QStringLiteral("--demo-interval"), QStringLiteral("2")};

QStringList eventsCommand(const SimulatedExchange& sim, const QStringList& args)
{
    return QStringList{QStringLiteral("--port"), sim.device(), QStringLiteral("events")} + args;
}

QList<QByteArray> outputLines(const CtlRun& run)
{
    QList<QByteArray> lines = run.out.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

// The digit that a sub 5 or 6 code stands for; 10 is the digit 0.
QChar digitOf(int code)
{
    return QChar(u'0' + code % 10);
}

// The extension (21..28) and column whose lamp a record switches, as the exchange's events define them.
struct Lamp
{
    int extension;
    int column;
};

std::optional<Lamp> lampOf(int sub, int p1, int p2, int p3)
{
    if (sub == 2)
        return Lamp{21 + p2, p1 + 1};
    if (sub == 3)
        return Lamp{21 + p1, 9};
    if (sub == 4 && p3 == 1)
        return Lamp{21 + p1, 0};
    return std::nullopt;
}

} // namespace

TEST(E2eEvents, StartUpSwitchesEventsOnThenReadsAndCountStopsAfterExactlyNRecords)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start(DemoArgs));
    const CtlRun run =
        runKavexctl(eventsCommand(sim, {QStringLiteral("--count"), QStringLiteral("5")}), sim.dir(), 40000);
    ASSERT_TRUE(run.finished) << "kavexctl did not stop after its records";
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();

    const QList<QByteArray> lines = outputLines(run);
    ASSERT_EQ(lines.size(), 5) << run.out.constData();
    static const QRegularExpression record(QStringLiteral("^sub \\d+ p1 \\d+ p2 \\d+ p3 \\d+  \\S"));
    for (const QByteArray& line : lines)
        EXPECT_TRUE(record.match(QString::fromUtf8(line)).hasMatch()) << line.constData();

    const QList<SimulatedExchange::Cell> cells = sim.cells();
    const QList<QByteArray> expected = {QByteArray::fromHex("03DD004E"), QByteArray::fromHex("832BC719"),
                                        QByteArray::fromHex("830A0000"), QByteArray::fromHex("83080000"),
                                        QByteArray::fromHex("83060000")};
    ASSERT_GE(cells.size(), expected.size());
    for (qsizetype i = 0; i < expected.size(); ++i)
        EXPECT_EQ(cells[i].bytes.toHex(' '), expected[i].toHex(' ')) << "cell " << i;
}

TEST(E2eEvents, JsonRecordsCarryTheirFieldsLampsAndAGrowingDisplayAndSecondsEndsTheRun)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start(DemoArgs));
    constexpr int Seconds = 12;
    const CtlRun run = runKavexctl(
        eventsCommand(sim, {QStringLiteral("--json"), QStringLiteral("--seconds"), QString::number(Seconds)}),
        sim.dir(), 60000);
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    // The seconds are counted once the start-up read is done, which takes about two seconds here.
    EXPECT_GE(run.elapsedMs, Seconds * 1000);
    EXPECT_LE(run.elapsedMs, (Seconds + 15) * 1000);

    QMap<int, QString> display; // what each extension has dialled so far
    int lamps = 0, digits = 0;
    for (const QByteArray& line : outputLines(run)) {
        SCOPED_TRACE(line.constData());
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(line, &error);
        ASSERT_EQ(error.error, QJsonParseError::NoError) << qPrintable(error.errorString());
        ASSERT_TRUE(document.isObject());
        const QJsonObject object = document.object();
        for (const char* field : {"sub", "p1", "p2", "p3"})
            ASSERT_TRUE(object.value(QLatin1String(field)).isDouble()) << field;
        const int sub = object.value(QLatin1String("sub")).toInt();
        const int p1 = object.value(QLatin1String("p1")).toInt();
        const int p2 = object.value(QLatin1String("p2")).toInt();
        const int p3 = object.value(QLatin1String("p3")).toInt();

        if (const auto lamp = lampOf(sub, p1, p2, p3)) {
            ++lamps;
            const QJsonObject shown = object.value(QLatin1String("lamp")).toObject();
            EXPECT_EQ(shown.value(QLatin1String("extension")).toInt(), lamp->extension);
            EXPECT_EQ(shown.value(QLatin1String("column")).toInt(), lamp->column);
            EXPECT_EQ(shown.value(QLatin1String("on")), QJsonValue(p3 == 1));
        }
        if (sub == 4)
            display.remove(21 + p1);
        if (sub == 5 && p3 >= 1 && p3 <= 10) {
            ++digits;
            const QJsonObject shown = object.value(QLatin1String("digit")).toObject();
            const int extension = 21 + p1;
            EXPECT_EQ(shown.value(QLatin1String("extension")).toInt(), extension);
            // One more digit each time; a lone trunk digit 0 of an extension without spontaneous
            // trunk access is shown as "0-".
            QString grown = display.value(extension) + digitOf(p3);
            const QString now = shown.value(QLatin1String("display")).toString();
            if (grown == QLatin1String("0") && now == QLatin1String("0-"))
                grown = now;
            EXPECT_EQ(now, grown);
            display[extension] = now;
        }
    }
    EXPECT_GE(lamps, 3);
    EXPECT_GE(digits, 5);
}

TEST(E2eEvents, BadArgumentsAreUsageErrorsBeforeTheLineIsTouched)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    const QList<QStringList> bad = {
        {QStringLiteral("--count"), QStringLiteral("0")},
        {QStringLiteral("--count"), QStringLiteral("-1")},
        {QStringLiteral("--count"), QStringLiteral("drei")},
        {QStringLiteral("--count")},
        {QStringLiteral("--seconds"), QStringLiteral("-1")},
        {QStringLiteral("--seconds"), QStringLiteral("9999999")},
        {QStringLiteral("--json"), QStringLiteral("--verbose")},
    };
    for (const QStringList& args : bad) {
        SCOPED_TRACE(qPrintable(args.join(u' ')));
        const CtlRun run = runKavexctl(eventsCommand(sim, args), sim.dir(), 15000);
        ASSERT_TRUE(run.finished);
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_TRUE(run.out.isEmpty()) << run.out.constData();
        EXPECT_TRUE(run.err.contains("Aufruf: kavexctl events")) << run.err.constData();
    }
    EXPECT_TRUE(sim.cells().isEmpty());
}
