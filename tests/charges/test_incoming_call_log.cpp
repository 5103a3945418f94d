#include "Golden.h"
#include "MapSpeedDialStore.h"
#include "MockClock.h"
#include "charges/IncomingCallLog.h"
#include "charges/IncomingRecord.h"
#include "contacts/AddressBook.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A stand-in for the area-code library: Berlin and Köln, nothing abroad.
std::optional<std::pair<QString, QString>> lookup(const QString& number)
{
    if (number.startsWith(QLatin1String("030")))
        return std::pair{QStringLiteral("(030) ") + number.mid(3), QStringLiteral("Berlin")};
    if (number.startsWith(QLatin1String("0221")))
        return std::pair{QStringLiteral("(0221) ") + number.mid(4), QStringLiteral("Köln")};
    return std::nullopt;
}

constexpr quint8 Unknown = 0x00;
constexpr quint8 National = 0x21;
constexpr quint8 International = 0x11;

struct Rig
{
    Rig()
    {
        QObject::connect(&log, &IncomingCallLog::statusText, [this](StatusLevel level, const QString& text) {
            statuses << QString::number(static_cast<int>(level)) + text;
        });
        QObject::connect(&log, &IncomingCallLog::playSound, [this](const QString& file) { sounds << file; });
        log.setAreaLookup(lookup);
    }
    QString path() const { return dir.filePath(QStringLiteral("WinKavex.in")); }

    QTemporaryDir dir;
    MockClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0))};
    MapSpeedDialStore speedDials;
    IncomingCallLog log{clock, speedDials, dir.filePath(QStringLiteral("WinKavex.in"))};
    QStringList statuses;
    QStringList sounds;
};

} // namespace

TEST(IncomingCallLog, LinesOfSeveralCallsAsLogged)
{
    Rig rig;
    rig.speedDials.names[5] = QStringLiteral("Tante Erna");
    rig.speedDials.numbers[5] = QStringLiteral("0089123456"); // with the line-access digit
    rig.speedDials.sounds[5] = QStringLiteral("/home/erna.wav");
    rig.speedDials.names[9] = QStringLiteral("Gemeinschaftspraxis Mustermanns"); // 31 characters
    rig.speedDials.numbers[9] = QStringLiteral("0221445566");

    struct Call
    {
        const char* digits;
        const char* msn;
        quint8 type;
    };
    const Call calls[] = {
        {"301234567", "4711", Unknown},         // a leading 0 added, then the place
        {"33142278000", "4711", International}, // never a German place
        {"89123456", "4712", National},         // the speed dial, through its line-access digit
        {"", "4711", Unknown},                  // withheld
        {"0221445566", "4712", National},       // a 31-character name
    };
    for (const Call& call : calls) {
        rig.log.onIncomingCall(QString::fromLatin1(call.digits), QString::fromLatin1(call.msn), call.type);
        rig.clock.advance(61'000);
    }
    rig.log.setAreaLookup({}); // the library not loaded: the caller unformatted, no place
    rig.log.onIncomingCall(QStringLiteral("0221998877"), QStringLiteral("4711"), National);

    EXPECT_TRUE(Golden::matches(QStringLiteral("incoming-calls.in"), fileBytes(rig.path())));
    ASSERT_GE(rig.statuses.size(), 2);
    EXPECT_EQ(rig.statuses.at(0), QStringLiteral("110:00:00: Anruf von (030) 1234567 Berlin"));
    EXPECT_EQ(rig.statuses.at(1), QStringLiteral("0Öffnen der Gebührendatei brachte Fehler 2"));
    EXPECT_EQ(rig.sounds, QStringList({"/home/erna.wav", "/home/erna.wav"}))
        << "a withheld caller replays the last match; a match without a sound clears it";

    CallList& list = rig.log.list();
    ASSERT_EQ(list.rowCount(), 6);
    EXPECT_EQ(list.text(1, IncomingCallLog::CallerColumn), QStringLiteral("0033142278000"));
    EXPECT_EQ(list.text(2, IncomingCallLog::NameColumn), QStringLiteral("Tante Erna"));
    EXPECT_EQ(list.text(4, IncomingCallLog::NameColumn).size(), 31);

    // After a restart the list shows what the columns hold: the name cut to 30 characters.
    IncomingCallLog restarted{rig.clock, rig.speedDials, rig.path()};
    restarted.load(7);
    ASSERT_EQ(restarted.list().rowCount(), 6);
    EXPECT_EQ(restarted.list().text(0, IncomingCallLog::TimeColumn), QStringLiteral("02.03.2026 10:00:00"));
    EXPECT_EQ(restarted.list().text(0, IncomingCallLog::CalledColumn), QStringLiteral("4711"));
    EXPECT_EQ(restarted.list().text(0, IncomingCallLog::CallerColumn), QStringLiteral("(030) 1234567"));
    EXPECT_EQ(restarted.list().text(3, IncomingCallLog::CallerColumn), QString());
    EXPECT_EQ(restarted.list().text(4, IncomingCallLog::NameColumn), QStringLiteral("Gemeinschaftspraxis Mustermann"));
}

TEST(IncomingCallLog, UnwatchedNumberLeavesNoTrace)
{
    Rig rig;
    rig.log.setFilter([](const QString& called) {
        return IncomingRecord::isWatched(called, false, {"4711", "4712"}, {true, false});
    });
    rig.log.onIncomingCall(QStringLiteral("0301234"), QStringLiteral("4712"), National);
    EXPECT_EQ(rig.log.list().rowCount(), 0);
    EXPECT_FALSE(QFile::exists(rig.path()));
    EXPECT_TRUE(rig.statuses.isEmpty());
    rig.log.onIncomingCall(QStringLiteral("0301234"), QStringLiteral(" 4711 "), National);
    EXPECT_EQ(rig.log.list().rowCount(), 1);
}

TEST(IncomingCallLog, WatchedNumbers)
{
    const QStringList msns{"4711", "4712", ""};
    struct Case
    {
        const char* called;
        bool all;
        QList<bool> watched;
        bool taken;
    };
    const Case cases[] = {
        {"9999", true, {false, false, false}, true}, // "Alle" takes every call
        {"4711", false, {true, false, false}, true},
        {"4712", false, {true, false, false}, false}, // its switch is off
        {"9999", false, {true, true, true}, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(IncomingRecord::isWatched(QString::fromLatin1(c.called), c.all, msns, c.watched), c.taken)
            << c.called;
}

TEST(IncomingCallLog, CallerPrefix)
{
    struct Case
    {
        const char* digits;
        quint8 type;
        const char* caller;
    };
    const Case cases[] = {
        {"301234", Unknown, "0301234"},  {"0301234", Unknown, "0301234"},
        {"301234", National, "0301234"}, {"33142278000", International, "0033142278000"},
        {"", International, ""},         {" 0301234 ", Unknown, "0301234"},
        {"301234", 0x41, "0301234"}, // subscriber number: as unknown
    };
    for (const Case& c : cases)
        EXPECT_EQ(IncomingRecord::normalisedCaller(QString::fromLatin1(c.digits), c.type),
                  QString::fromLatin1(c.caller))
            << c.digits;
}

// A log that exists but cannot be opened is reported and keeps its lines; nothing is created.
TEST(IncomingCallLog, UnopenableLogIsReportedNotReplaced)
{
    Rig rig;
    ASSERT_TRUE(QDir(rig.dir.path()).mkdir(QStringLiteral("WinKavex.in")));
    rig.log.onIncomingCall(QStringLiteral("0301234"), QStringLiteral("4711"), National);
    ASSERT_FALSE(rig.statuses.isEmpty());
    EXPECT_TRUE(rig.statuses.last().startsWith(QStringLiteral("2Öffnen der IN-Datei brachte Fehler 21 (")))
        << rig.statuses.last().toStdString();
    EXPECT_TRUE(QFileInfo(rig.path()).isDir());
    EXPECT_EQ(rig.log.list().rowCount(), 1) << "the call is still listed";
}

// A log whose last line has no line break: the next record still gets a line of its own.
TEST(IncomingCallLog, ARecordAfterALastLineWithoutLineBreakIsALineOfItsOwn)
{
    Rig rig;
    const QByteArray before = IncomingRecord::headerLines().join(QStringLiteral("\r\n")).toLatin1() +
                              "\r\n01.03.2026 09:00:00   4711   0301234   von Hand";
    {
        QFile file(rig.path());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(before);
    }
    rig.log.onIncomingCall(QStringLiteral("0301234"), QStringLiteral("4711"), National);
    const QByteArray after = fileBytes(rig.path());
    ASSERT_TRUE(after.startsWith(before + "\r\n02.03.2026 10:00:00")) << after.toStdString();
    IncomingCallLog restarted{rig.clock, rig.speedDials, rig.path()};
    restarted.load(7);
    ASSERT_EQ(restarted.list().rowCount(), 2);
    EXPECT_EQ(restarted.list().text(1, IncomingCallLog::TimeColumn), QStringLiteral("02.03.2026 10:00:00"));
}

TEST(IncomingCallLog, RenameRewritesEveryLineOfThatSecond)
{
    Rig rig;
    rig.log.onIncomingCall(QStringLiteral("0301234"), QStringLiteral("4711"), National);
    rig.clock.advance(5'000);
    rig.log.onIncomingCall(QStringLiteral("0221998877"), QStringLiteral("4711"), National);
    ASSERT_TRUE(rig.log.rename(0, QStringLiteral("Onkel Öskar aus der Hauptstadt, der Zweite")));
    EXPECT_EQ(rig.log.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Onkel Öskar aus der Hauptstadt"));
    EXPECT_EQ(rig.log.list().text(1, IncomingCallLog::NameColumn), QStringLiteral("Köln"));

    IncomingCallLog restarted{rig.clock, rig.speedDials, rig.path()};
    restarted.load(7);
    ASSERT_EQ(restarted.list().rowCount(), 2);
    EXPECT_EQ(restarted.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Onkel Öskar aus der Hauptstadt"));
    EXPECT_EQ(restarted.list().text(1, IncomingCallLog::NameColumn), QStringLiteral("Köln"));
    EXPECT_TRUE(QFile::exists(rig.dir.filePath(QStringLiteral("WinKavex.in_old"))));
}

// The address book names a caller after the speed dials and before the place; its numbers match
// however the card writes them.
TEST(IncomingCallLog, CallersNamedFromTheAddressBook)
{
    Rig rig;
    QFile cards(rig.dir.filePath(QStringLiteral("kontakte.vcf")));
    ASSERT_TRUE(cards.open(QIODevice::WriteOnly));
    cards.write("BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Hans M\xC3\xBCller\r\nTEL:+49 30 123-4567\r\n"
                "TEL:+33 1 42 27 80 00\r\nTEL:0221 44 55 66\r\nEND:VCARD\r\n");
    cards.close();
    AddressBook book;
    book.load(cards.fileName());
    rig.log.setNameLookup([&book](const QString& number) { return book.nameFor(number); });
    rig.speedDials.names[7] = QStringLiteral("Praxis");
    rig.speedDials.numbers[7] = QStringLiteral("00221445566");

    rig.log.onIncomingCall(QStringLiteral("301234567"), QStringLiteral("4711"), Unknown);
    rig.log.onIncomingCall(QStringLiteral("33142278000"), QStringLiteral("4711"), International);
    rig.log.onIncomingCall(QStringLiteral("221445566"), QStringLiteral("4711"), National);
    rig.log.onIncomingCall(QStringLiteral("309999999"), QStringLiteral("4711"), Unknown);

    const QStringList lines = QString::fromLatin1(fileBytes(rig.path())).split(QStringLiteral("\r\n")).mid(3);
    const QString start = QStringLiteral("02.03.2026 10:00:00   4711             ");
    EXPECT_EQ(lines.value(0), start + QStringLiteral("(030) 1234567                        Hans Müller"));
    EXPECT_EQ(lines.value(1), start + QStringLiteral("0033142278000                        Hans Müller"));
    EXPECT_EQ(lines.value(2), start + QStringLiteral("(0221) 445566                        Praxis"));
    EXPECT_EQ(lines.value(3), start + QStringLiteral("(030) 9999999                        Berlin"));
    EXPECT_EQ(rig.log.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Hans Müller"));
}

// The list row and the record share one time, even when a second ends while the call is named;
// a rename that finds no record of its second says so and leaves the list as it was.
TEST(IncomingCallLog, ARenameFindsTheRecordOfItsRow)
{
    Rig rig;
    rig.clock.setNow(QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0)).addMSecs(999));
    rig.log.setAreaLookup([&rig](const QString& number) {
        rig.clock.advance(10);
        return lookup(number);
    });
    rig.log.onIncomingCall(QStringLiteral("301234"), QStringLiteral("4711"), National);
    ASSERT_TRUE(rig.log.rename(0, QStringLiteral("Onkel Otto")));
    IncomingCallLog restarted{rig.clock, rig.speedDials, rig.path()};
    restarted.load(7);
    ASSERT_EQ(restarted.list().rowCount(), 1);
    EXPECT_EQ(restarted.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Onkel Otto"));

    ASSERT_TRUE(QFile::remove(rig.path()));
    rig.statuses.clear();
    EXPECT_FALSE(rig.log.rename(0, QStringLiteral("Tante Erna")));
    EXPECT_EQ(rig.log.list().text(0, IncomingCallLog::NameColumn), QStringLiteral("Onkel Otto"));
    EXPECT_EQ(rig.statuses, QStringList{QStringLiteral("2Name nicht geändert: kein Gespräch vom %1 in %2")
                                            .arg(rig.log.list().text(0, IncomingCallLog::TimeColumn), rig.path())});
}

// Whatever the network puts into a number, only what can be dialled reaches the file, the list and
// the listeners; a caller of nothing else is withheld.
TEST(IncomingCallLog, NumbersFromTheNetworkAreCleaned)
{
    struct Case
    {
        const char* digits;
        const char* called;
        const char* caller;
        const char* msn;
    };
    const Case cases[] = {
        {"30\r\n1234\x01", "47\t11", "0301234", "4711"},
        {"\x1b[J\x7f\x05", "4711", "", "4711"},
        {"+49 (30) 12-34", "*31#4711\xa0", "+49301234", "*31#4711"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.digits);
        Rig rig;
        rig.log.setAreaLookup({});
        QList<IncomingCallLog::Logged> heard;
        QObject::connect(&rig.log, &IncomingCallLog::logged,
                         [&heard](const IncomingCallLog::Logged& call) { heard << call; });
        rig.log.onIncomingCall(QString::fromLatin1(c.digits), QString::fromLatin1(c.called), Unknown);
        ASSERT_EQ(heard.size(), 1);
        EXPECT_EQ(heard[0].caller, QString::fromLatin1(c.caller));
        EXPECT_EQ(heard[0].called, QString::fromLatin1(c.msn));
        EXPECT_EQ(rig.log.list().text(0, IncomingCallLog::CallerColumn), QString::fromLatin1(c.caller));
        const QString record = QString::fromLatin1(fileBytes(rig.path())).split(QStringLiteral("\r\n")).value(3);
        EXPECT_EQ(record, IncomingRecord::line(heard[0].time, QString::fromLatin1(c.msn), QString::fromLatin1(c.caller),
                                               QString())
                              .chopped(2));
    }
}
