#include "ExchangeReply.h"
#include "FakeTransport.h"
#include "Golden.h"
#include "MapSpeedDialStore.h"
#include "MockClock.h"
#include "charges/ChargeUpdate.h"
#include "charges/OutgoingCallLog.h"
#include "charges/PendingCall.h"
#include "common/FormatPicture.h"
#include "link/PbxLink.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// One state event as the exchange sends it: kind 221, sub, p1 in the first cell, p2, p3 in the second.
QByteArray event(int sub, int p1, int p2, int p3)
{
    QByteArray chunk = QByteArray::fromHex("03DD");
    chunk += static_cast<char>(sub);
    chunk += static_cast<char>(p1);
    chunk += static_cast<char>(0x83);
    chunk += static_cast<char>(p2);
    chunk += static_cast<char>(p3);
    chunk += '\0';
    return chunk;
}

// Extension index `e` dials `digits` and the exchange connects it (the Int1 lamp on, then off).
QByteArray dialOut(int e, const QString& digits)
{
    QByteArray chunk;
    for (const QChar digit : digits)
        chunk += event(5, e, 0, digit == QLatin1Char('0') ? 10 : digit.digitValue());
    return chunk + event(2, 2, e, 1) + event(2, 2, e, 0);
}

const QByteArray TrunkReleased = event(2, 0, 0, 0);

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QString money(double value, int width)
{
    return FormatPicture::fixed(value, width);
}

struct Rig
{
    QTemporaryDir dir;
    MockClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0))};
    FakeTransport transport{clock};
    ConfigImage image;
    PbxLink link{transport, clock, image};
    PendingCall call{link.stateEvents(), link, clock};
    ChargeUpdate update{image, call, clock, dir.filePath(QStringLiteral("WinKavex.dat"))};
    MapSpeedDialStore speedDials;
    OutgoingCallLog log{call, update, clock, speedDials, dir.filePath(QStringLiteral("WinKavex.out"))};
    Units units{};
    QStringList status;

    Rig()
    {
        image[2] = 8;
        image[4] = 2;
        ChargePrices prices;
        prices.pricePerUnit = 0.12;
        update.setPrices(prices);
        QObject::connect(&link, &PbxLink::chargesReceived, &update, &ChargeUpdate::run);
        QObject::connect(&log, &OutgoingCallLog::statusText, [this](StatusLevel level, const QString& text) {
            status << QString::number(int(level)) + text;
        });
        link.openPort(QStringLiteral("/dev/null"), QStringLiteral("COM1"));
        replyCharges(); // the reading at start: the history then gives the previous units
    }
    // The exchange's answer to a charge request, with the counters of `units`.
    void replyCharges()
    {
        QByteArray payload(168, '\0');
        payload[0] = 21;
        for (int i = 0; i < 8; ++i) {
            payload[1 + 2 * i] = static_cast<char>(units[i] & 0xFF);
            payload[2 + 2 * i] = static_cast<char>(units[i] >> 8);
        }
        transport.inject(ExchangeReply::region(21, 224, payload));
        clock.advance(100); // decoded a moment after it arrived
    }
    QStringList records() const
    {
        return QString::fromLatin1(fileBytes(log.path())).split(QStringLiteral("\r\n")).mid(3);
    }
};

} // namespace

// The columns after the begin (1..85) and the completion (86..109), durations below and above an
// hour and across midnight, which the times of day alone would make negative.
TEST(OutgoingCallLog, ACallIsLoggedInItsColumnsAndListedWithUnitsCostAndDuration)
{
    struct Case
    {
        QTime start;
        qint64 seconds;
        int units;
        const char* logDuration;
        const char* listDuration;
    };
    const Case cases[] = {
        {QTime(10, 0, 0), 125, 4, "    2:05", "2:05"},
        {QTime(10, 0, 0), 3600, 30, " 1:00:00", "1:00:00"},
        {QTime(23, 59, 30), 90, 1, "    1:30", "1:30"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.clock.setNow(QDateTime(QDate(2026, 3, 2), c.start));
        rig.transport.inject(dialOut(2, QStringLiteral("0301234")));
        rig.clock.advance(c.seconds * 1000);
        rig.transport.inject(TrunkReleased);
        rig.clock.advance(PendingCall::ChargeReadDelayMs);
        rig.units[2] = c.units;
        rig.replyCharges();

        const QString record = rig.records().value(1);
        // The number as the display shows it: the line-access digit set off for an extension
        // without spontaneous trunk access.
        const QString expected =
            QStringLiteral("02.03.2026 %1        23       0-301234").arg(c.start.toString(u"HH:mm:ss")) +
            QString(14 + 27, QLatin1Char(' ')) + QStringLiteral("%1").arg(c.units, 6) + money(c.units * 0.12, 10) +
            QLatin1String(c.logDuration);
        EXPECT_EQ(record.toStdString(), expected.toStdString()) << c.seconds;
        ASSERT_EQ(rig.log.list().rowCount(), 1);
        EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::UnitsColumn), QString::number(c.units));
        EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::CostColumn), money(c.units * 0.12, 1));
        EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::DurationColumn), QLatin1String(c.listDuration));
    }
}

TEST(OutgoingCallLog, AMissingLogIsCreatedWithItsHeaderAfterTheMessage)
{
    Rig rig;
    rig.transport.inject(dialOut(0, QStringLiteral("0301234")));
    const QByteArray expected =
        QByteArray("   Datum     Zeit     Nebenstelle   Rufnummer             Name                "
                   "       Einheiten  Kosten  Dauer\r\n") +
        QByteArray(110, '=') + "\r\n\r\n\r\n02.03.2026 10:00:00        21       0-301234" + QByteArray(14 + 27, ' ');
    EXPECT_EQ(fileBytes(rig.log.path()).toStdString(), expected.toStdString());
    EXPECT_EQ(rig.status, QStringList{QStringLiteral("0Öffnen der OUT-Datei brachte Fehler 2")});
}

// A log that exists but cannot be opened is reported and never created anew over its records.
TEST(OutgoingCallLog, ALogThatCannotBeOpenedIsReportedAndLeftAlone)
{
    Rig rig;
    ASSERT_TRUE(QDir().mkdir(rig.log.path()));
    rig.transport.inject(dialOut(0, QStringLiteral("0301234")));
    ASSERT_EQ(rig.status.size(), 1);
    EXPECT_TRUE(rig.status[0].startsWith(QStringLiteral("2Öffnen der OUT-Datei brachte Fehler 21 (")))
        << rig.status[0].toStdString();
    EXPECT_TRUE(QFileInfo(rig.log.path()).isDir());
}

// A second call replaces the pending one, whose record stays incomplete on its own line; sub 4 (the
// handset) ends a call; a reading during a call completes it with the time so far.
TEST(OutgoingCallLog, TheEndOfACallAndItsCompletion)
{
    Rig rig;
    rig.transport.inject(dialOut(0, QStringLiteral("0301")));
    rig.clock.advance(5000);
    rig.transport.inject(dialOut(1, QStringLiteral("0302")));
    rig.clock.advance(65000);
    rig.transport.inject(event(4, 1, 0, 0));
    rig.clock.advance(10000);
    rig.units[1] = 2;
    rig.replyCharges(); // a reading from elsewhere: the end is the handset's

    rig.transport.inject(dialOut(3, QStringLiteral("0303")));
    rig.clock.advance(30000);
    rig.replyCharges(); // during the call

    const QStringList records = rig.records();
    ASSERT_EQ(records.size(), 4);
    EXPECT_EQ(records[1].size(), 85);
    EXPECT_TRUE(records[1].startsWith(QStringLiteral("02.03.2026 10:00:00        21       0-301 ")))
        << records[1].toStdString();
    EXPECT_EQ(records[2].size(), 109);
    EXPECT_TRUE(records[2].startsWith(QStringLiteral("02.03.2026 10:00:05        22       0-302 ")));
    EXPECT_TRUE(records[2].endsWith(QStringLiteral("    1:05")));
    EXPECT_TRUE(records[3].endsWith(QStringLiteral("     0") + money(0, 10) + QStringLiteral("    0:30")));
    EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::DurationColumn), QString());
}

TEST(OutgoingCallLog, TheLiveDurationRunsUntilTheCallEnds)
{
    Rig rig;
    rig.transport.inject(dialOut(0, QStringLiteral("0301")));
    rig.clock.advance(61000);
    rig.log.onSecond();
    EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::DurationColumn), QStringLiteral("1:01"));
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(1000);
    rig.log.onSecond();
    EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::DurationColumn), QStringLiteral("1:01"));
}

// The list at start: the header skipped, lines older than the window left out (but kept in the
// file), a line of exactly the window's age listed, a line without a date skipped.
TEST(OutgoingCallLog, TheListHoldsTheRecordsOfTheDisplayWindow)
{
    Rig rig;
    const auto line = [](const char* date, const char* number, const char* name) {
        return QByteArray(date) + " 09:00:00        22       " + QByteArray(number).leftJustified(22) +
               QByteArray(name).leftJustified(27) + "     3      0,36    1:10";
    };
    const QByteArray content = QByteArray("h\r\n=\r\n\r\n") + line("22.02.2026", "0301", "Alt") + "\r\n" +
                               line("23.02.2026", "0302", "Grenze") + "\r\n" + line("xx.02.2026", "0303", "") + "\r\n" +
                               line("02.03.2026", "0304", "Heute") + "\r\n";
    QFile file(rig.log.path());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly) && file.write(content) == content.size());
    file.close();

    rig.log.load(7);
    const CallList& list = rig.log.list();
    ASSERT_EQ(list.rowCount(), 2);
    const QStringList first = {QStringLiteral("23.02.2026 09:00:00"),
                               QStringLiteral("22"),
                               QStringLiteral("0302"),
                               QStringLiteral("Grenze"),
                               QStringLiteral("3"),
                               QStringLiteral("0,36"),
                               QStringLiteral("1:10")};
    for (int column = 0; column < first.size(); ++column)
        EXPECT_EQ(list.text(0, column), first[column]) << column;
    EXPECT_EQ(list.text(1, OutgoingCallLog::NameColumn), QStringLiteral("Heute"));
    EXPECT_EQ(fileBytes(rig.log.path()), content);
}

// The name of a call: a speed-dial code (with the "0-" of an extension without spontaneous trunk
// access), else an equal stored number, then the area-code lookup.
TEST(OutgoingRecord, TheNameOfADialledNumber)
{
    MapSpeedDialStore store;
    store.numbers[5] = QStringLiteral("0301234567");
    store.names[5] = QStringLiteral("Mutti");
    store.numbers[60] = QStringLiteral("08912345");
    store.names[60] = QStringLiteral("Büro");
    const OutgoingRecord::AreaLookup lookup = [](const QString& number) {
        return std::optional(std::pair(QStringLiteral("(%1)").arg(number), QStringLiteral("Ort ") + number.left(3)));
    };
    struct Case
    {
        const char* display;
        bool spontaneous;
        bool library;
        const char* number;
        const char* name;
    };
    const Case cases[] = {
        {"305", false, false, "0-301234567", "Mutti"},
        {"3059", true, false, "03012345679", "Mutti"},
        {"0-301234567", false, false, "0-301234567", "Mutti"},
        {"0-4711", false, false, "0-4711", ""},
        {"361", true, false, "361", ""},
        {"3071", false, false, "3071", ""}, // no number known for 307: the code as dialled
        {"0-4711", false, true, "(4711)", "Ort 471"},
        {"360", true, true, "(08912345)", "Büro"},
    };
    for (const Case& c : cases) {
        const OutgoingRecord::Named named = OutgoingRecord::name(QString::fromUtf8(c.display), c.spontaneous, store,
                                                                 c.library ? lookup : OutgoingRecord::AreaLookup());
        EXPECT_EQ(named, (OutgoingRecord::Named{QString::fromUtf8(c.number), QString::fromUtf8(c.name)})) << c.display;
    }
    // Without a name the number column is 22 wide and 27 blanks follow; a long name is cut to 20.
    const QDateTime start(QDate(2026, 3, 2), QTime(10, 0, 0));
    EXPECT_EQ(OutgoingRecord::beginColumns(start, 21, QStringLiteral("0-4711"), {}),
              QStringLiteral("02.03.2026 10:00:00        21       0-4711") + QString(43, QLatin1Char(' ')));
    EXPECT_EQ(OutgoingRecord::beginColumns(start, 21, QStringLiteral("0471"), QString(25, QLatin1Char('x'))).mid(58),
              QString(20, QLatin1Char('x')) + QString(7, QLatin1Char(' ')));
}

// The address book names a dialled number that no speed dial names, before the place; it is asked
// for the number without the line-access digit.
TEST(OutgoingRecord, TheAddressBookNamesAfterTheSpeedDials)
{
    MapSpeedDialStore store;
    store.numbers[5] = QStringLiteral("0301234567");
    store.names[5] = QStringLiteral("Mutti");
    const OutgoingRecord::NameLookup book = [](const QString& number) {
        return number == QLatin1String("0301234567") ? QStringLiteral("Hans Müller") : QString();
    };
    const OutgoingRecord::AreaLookup places = [](const QString& number) {
        return std::optional(std::pair(number, QStringLiteral("Berlin")));
    };
    struct Case
    {
        const char* display;
        const char* name;
    };
    const Case cases[] = {
        {"305", "Mutti"},
        {"0301234567", "Mutti"},
        {"0-0301234567", "Hans Müller"},
        {"0-0309999999", "Berlin"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(OutgoingRecord::name(QString::fromUtf8(c.display), false, store, places, book).name,
                  QString::fromUtf8(c.name))
            << c.display;
}

TEST(OutgoingCallLog, ARecordNamedFromTheAddressBook)
{
    Rig rig;
    rig.log.setNameLookup([](const QString& number) {
        return number == QLatin1String("0301234567") ? QStringLiteral("Hans Müller") : QString();
    });
    rig.transport.inject(dialOut(2, QStringLiteral("00301234567")));
    EXPECT_EQ(rig.records().value(1),
              QStringLiteral("02.03.2026 10:00:00        23       0-0301234567          Hans Müller") +
                  QString(16, QLatin1Char(' ')));
}

// A call renamed while it is still open keeps its 85 columns, so that its completion lands in the
// units, cost and duration columns; after a restart the list reads them back, and the clean-up
// recognises a renamed free call.
TEST(OutgoingCallLog, ACallRenamedWhileOpenIsCompletedInItsColumns)
{
    Rig rig;
    rig.transport.inject(dialOut(2, QStringLiteral("0301234")));
    ASSERT_TRUE(rig.log.rename(0, QStringLiteral("Tante Erna aus der Hauptstadt, Mitte"), false));
    rig.clock.advance(125'000);
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(PendingCall::ChargeReadDelayMs);
    rig.units[2] = 4;
    rig.replyCharges();

    rig.clock.advance(60'000);
    rig.transport.inject(dialOut(3, QStringLiteral("0800123")));
    ASSERT_TRUE(rig.log.rename(1, QStringLiteral("Hotline"), false));
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(PendingCall::ChargeReadDelayMs);
    rig.replyCharges(); // no units: a free call

    OutgoingCallLog restarted{rig.call, rig.update, rig.clock, rig.speedDials, rig.log.path()};
    restarted.cleanUp(true);
    restarted.load(7);
    QByteArray bytes = fileBytes(rig.log.path());
    bytes.replace(money(0.48, 10).toLatin1(), "      0,48"); // the golden file has the decimal comma
    EXPECT_TRUE(Golden::matches(QStringLiteral("outgoing-renamed-while-open.out"), bytes));
    const CallList& list = restarted.list();
    ASSERT_EQ(list.rowCount(), 1);
    EXPECT_EQ(list.text(0, OutgoingCallLog::NameColumn), QStringLiteral("Tante Erna aus der Hauptsta"));
    EXPECT_EQ(list.text(0, OutgoingCallLog::UnitsColumn), QStringLiteral("4"));
    EXPECT_EQ(list.text(0, OutgoingCallLog::CostColumn), money(0.48, 1));
    EXPECT_EQ(list.text(0, OutgoingCallLog::DurationColumn), QStringLiteral("2:05"));
}

// Without the history's counters a call's units are unknown: its record stays incomplete, and the
// user is told.
TEST(OutgoingCallLog, ACallCompletedWithoutTheHistoryStaysIncomplete)
{
    Rig rig;
    rig.transport.inject(dialOut(2, QStringLiteral("0301234")));
    ASSERT_TRUE(QFile::remove(rig.dir.filePath(QStringLiteral("WinKavex.dat"))));
    ASSERT_TRUE(QDir().mkdir(rig.dir.filePath(QStringLiteral("WinKavex.dat"))));
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(PendingCall::ChargeReadDelayMs);
    rig.units[2] = 4;
    rig.replyCharges();

    EXPECT_EQ(rig.records().value(1).size(), 85);
    EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::UnitsColumn), QString());
    EXPECT_TRUE(rig.status.contains(QStringLiteral("2Gespräch vom 02.03.2026 10:00:00 ohne Einheiten: %1 nicht lesbar")
                                        .arg(rig.dir.filePath(QStringLiteral("WinKavex.dat")))))
        << rig.status.join(QLatin1Char('|')).toStdString();
    EXPECT_FALSE(rig.call.isPending());
}

// While "Abgehende Rufe" is off a reading completes nothing; the pending call waits for the first
// reading after it is on again.
TEST(OutgoingCallLog, APendingCallWaitsWhileCallsAreNotLogged)
{
    Rig rig;
    rig.transport.inject(dialOut(2, QStringLiteral("0301234")));
    rig.log.setRecording(false);
    rig.transport.inject(TrunkReleased);
    rig.clock.advance(PendingCall::ChargeReadDelayMs);
    rig.units[2] = 4;
    rig.replyCharges();
    EXPECT_TRUE(rig.call.isPending());
    EXPECT_EQ(rig.records().value(1).size(), 85);

    rig.log.setRecording(true);
    rig.units[2] = 5;
    rig.replyCharges();
    EXPECT_FALSE(rig.call.isPending());
    EXPECT_EQ(rig.records().value(1).mid(85, 6), QStringLiteral("     1"));
    EXPECT_EQ(rig.log.list().text(0, OutgoingCallLog::UnitsColumn), QStringLiteral("1"));
}
