#include "MapSpeedDialStore.h"
#include "MockClock.h"
#include "charges/IncomingCallLog.h"
#include "shell/CallHooks.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>
#include <gtest/gtest.h>

#include <unistd.h>

// The hooks are real scripts run by /bin/sh of their own "#!" line; their time limit runs on the
// mock clock, and only their start and end are waited for in real time, with wide margins.
namespace {

constexpr int WaitMs = 20000;
constexpr quint8 National = 0x21;

QStringList traced;

void captureTrace(QtMsgType, const QMessageLogContext& context, const QString& text)
{
    if (context.category && QByteArray(context.category) == "kavex.hooks")
        traced << text;
}

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

struct Rig
{
    Rig()
    {
        QDir().mkpath(hooksDir());
        QFile::setPermissions(hooksDir(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QObject::connect(&log, &IncomingCallLog::logged, &hooks, &CallHooks::onIncomingCall);
        QObject::connect(&hooks, &CallHooks::statusText,
                         [this](StatusLevel, const QString& text) { statuses << text; });
        traced.clear();
        qInstallMessageHandler(captureTrace);
    }
    ~Rig() { qInstallMessageHandler(nullptr); }

    QString hooksDir() const { return dir.filePath(QStringLiteral("WinKavex/hooks")); }
    QString out(const char* name) const { return dir.filePath(QString::fromLatin1(name)); }
    // An incoming-call hook with this body, executable by its owner alone unless `mode` says otherwise.
    void writeHook(const QByteArray& body,
                   QFile::Permissions mode = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner) const
    {
        QFile file(hooksDir() + QStringLiteral("/incoming-call"));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\n" + body + "\n");
        file.close();
        file.setPermissions(mode);
    }
    void call(const QString& digits) { log.onIncomingCall(digits, QStringLiteral("4711"), National); }
    bool waitUntilIdle() const
    {
        return QTest::qWaitFor([this] { return hooks.runningCount() == 0; }, WaitMs);
    }

    QTemporaryDir dir;
    MockClock clock{QDateTime(QDate(2026, 3, 2), QTime(10, 0, 0))};
    MapSpeedDialStore speedDials;
    IncomingCallLog log{clock, speedDials, dir.filePath(QStringLiteral("WinKavex.in"))};
    CallHooks hooks{clock, hooksDir()};
    QStringList statuses;
};

} // namespace

TEST(CallHooks, AHookGetsTheCallsFieldsInItsEnvironmentAndItsResultIsTraced)
{
    Rig rig;
    rig.log.setAreaLookup([](const QString&) {
        return std::optional(std::pair(QStringLiteral("(030) 1234567"), QStringLiteral("Berlin")));
    });
    qputenv("KAVEX_EXTENSION", "99"); // the program's own environment passes no stale field
    rig.writeHook("env > '" + rig.out("env.txt").toUtf8() + "'\necho erste\necho zweite\nexit 3");
    rig.call(QStringLiteral("301234567"));
    qunsetenv("KAVEX_EXTENSION");
    ASSERT_TRUE(rig.waitUntilIdle());

    QStringList fields;
    for (const QString& line : QString::fromUtf8(fileBytes(rig.out("env.txt"))).split(QLatin1Char('\n'))) {
        if (line.startsWith(QLatin1String("KAVEX_")))
            fields << line;
    }
    fields.sort();
    EXPECT_EQ(fields, QStringList({"KAVEX_BLOCKED=0", "KAVEX_CALLER=0301234567", "KAVEX_FORMATTED=(030) 1234567",
                                   "KAVEX_MSN=4711",
                                   "KAVEX_NAME=Berlin", "KAVEX_PLACE=Berlin", "KAVEX_TIME=02.03.2026 10:00:00"}));
    EXPECT_TRUE(traced.contains(QStringLiteral("incoming-call> erste")));
    EXPECT_TRUE(traced.contains(QStringLiteral("incoming-call> zweite")));
    EXPECT_TRUE(traced.contains(QStringLiteral("incoming-call: exit status 3"))) << traced.join('\n').toStdString();
    EXPECT_TRUE(rig.statuses.isEmpty());
}

TEST(CallHooks, TheFieldsOfACompletedOutgoingCall)
{
    OutgoingCallLog::Logged call{QDateTime(QDate(2026, 3, 2), QTime(9, 58, 0)),
                                 23,
                                 QStringLiteral("0-0301234567"),
                                 QStringLiteral("Mutti"),
                                 4,
                                 QStringLiteral("0,48"),
                                 125};
    EXPECT_EQ(CallHooks::completedFields(call), (CallHooks::Fields{{"KAVEX_TIME", "02.03.2026 09:58:00"},
                                                                   {"KAVEX_EXTENSION", "23"},
                                                                   {"KAVEX_NUMBER", "0-0301234567"},
                                                                   {"KAVEX_NAME", "Mutti"},
                                                                   {"KAVEX_UNITS", "4"},
                                                                   {"KAVEX_COST", "0,48"},
                                                                   {"KAVEX_DURATION", "125"}}));
}

// A number that a shell would run never reaches the hook: only digits, "+", "*" and "#" are kept,
// so these callers are withheld; and nothing else happens: no file made, the (sandboxed) home
// left alone.
TEST(CallHooks, ACallersNumberNeverBecomesACommand)
{
    Rig rig;
    const QString home = rig.dir.filePath(QStringLiteral("home"));
    QDir().mkpath(home);
    QFile(home + QStringLiteral("/canary")).open(QIODevice::WriteOnly);
    const QByteArray realHome = qgetenv("HOME");
    qputenv("HOME", QFile::encodeName(home));
    rig.writeHook("printf '%s\\n' \"$KAVEX_CALLER\" >> '" + rig.out("callers.txt").toUtf8() + "'");
    for (const char* digits : {"$(touch pwned)", "; rm -rf ~", "`touch pwned`"}) {
        rig.call(QString::fromLatin1(digits));
        ASSERT_TRUE(rig.waitUntilIdle());
    }
    qputenv("HOME", realHome);

    EXPECT_EQ(QString::fromUtf8(fileBytes(rig.out("callers.txt"))), QStringLiteral("\n\n\n"));
    for (const QString& dir : {rig.hooksDir(), home, QDir::currentPath(), rig.dir.path()})
        EXPECT_FALSE(QFile::exists(dir + QStringLiteral("/pwned"))) << dir.toStdString();
    EXPECT_TRUE(QFile::exists(home + QStringLiteral("/canary")));
}

// The log goes on while a hook sleeps; the limit (on the mock clock) ends the hook and whatever
// it started, and not a moment before.
TEST(CallHooks, ASleepingHookHoldsNothingUpAndIsEndedAtTheLimit)
{
    Rig rig;
    rig.writeHook("sleep 60");
    rig.call(QStringLiteral("301111111"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return traced.size() == 1; }, WaitMs)) << "started";
    rig.call(QStringLiteral("302222222"));
    EXPECT_EQ(QString::fromLatin1(fileBytes(rig.log.path())).count(QStringLiteral("\r\n")), 3 + 2)
        << "the header and both calls, the first hook still running";
    EXPECT_EQ(rig.hooks.runningCount(), 2);

    rig.clock.advance(CallHooks::DefaultTimeLimitMs - 10);
    EXPECT_EQ(rig.hooks.runningCount(), 2);
    rig.clock.advance(10);
    ASSERT_TRUE(rig.waitUntilIdle());
    EXPECT_EQ(traced.filter(QStringLiteral("incoming-call: ended after 30000 ms")).size(), 2)
        << traced.join('\n').toStdString();
}

TEST(CallHooks, AHookOthersMayChangeIsSkippedWithAMessage)
{
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    struct Case
    {
        QFile::Permissions file;
        QFile::Permissions folder;
        const char* status; // empty: the hook is not a hook, and nothing is said
    };
    const Case cases[] = {
        {owner | QFile::WriteGroup | QFile::ExeGroup, owner,
         "Hook incoming-call übersprungen: für andere beschreibbar"},
        {owner | QFile::WriteOther, owner, "Hook incoming-call übersprungen: für andere beschreibbar"},
        {owner, owner | QFile::WriteGroup | QFile::ExeGroup,
         "Hook incoming-call übersprungen: Ordner für andere beschreibbar"},
        {QFile::ReadOwner | QFile::WriteOwner, owner, ""}, // switched off
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.writeHook("touch '" + rig.out("ran").toUtf8() + "'", c.file);
        QFile::setPermissions(rig.hooksDir(), c.folder);
        rig.call(QStringLiteral("301234567"));
        ASSERT_TRUE(rig.waitUntilIdle());
        EXPECT_FALSE(QFile::exists(rig.out("ran"))) << c.status;
        EXPECT_EQ(rig.statuses, c.status[0] ? QStringList{QString::fromUtf8(c.status)} : QStringList());
    }
}

TEST(CallHooks, AHookThatCannotStartIsReported)
{
    Rig rig;
    QFile file(rig.hooksDir() + QStringLiteral("/incoming-call"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("#!/nonexistent/interpreter\n");
    file.close();
    file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    rig.call(QStringLiteral("301234567"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !rig.statuses.isEmpty(); }, WaitMs));
    EXPECT_TRUE(rig.statuses.constFirst().startsWith(QStringLiteral("Hook incoming-call nicht gestartet: ")))
        << rig.statuses.constFirst().toStdString();
}

namespace {

// Whether the process is gone (a zombie no one reaps counts as gone).
bool processGone(pid_t pid)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray text = stat.readAll();
    const qsizetype close = text.lastIndexOf(')');
    return close < 0 || text.mid(close + 2, 1) == "Z";
}

pid_t pidIn(const QString& path)
{
    return static_cast<pid_t>(QString::fromLatin1(fileBytes(path)).trimmed().toInt());
}

} // namespace

// What may run is decided on the file itself and on every folder above it; a link is never followed.
TEST(CallHooks, ALinkedHookOrOneBelowAFolderOthersMayWriteIsRefused)
{
    const QFile::Permissions owner = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner;
    struct Case
    {
        bool linked;                   // the hook a link to a script in a folder anyone may write
        QFile::Permissions programDir; // the folder above the hooks folder
        const char* status;
    };
    const Case cases[] = {
        {true, owner, "Hook incoming-call übersprungen: symbolischer Link"},
        {false, owner | QFile::WriteGroup | QFile::ExeGroup,
         "Hook incoming-call übersprungen: Ordner für andere beschreibbar"},
    };
    for (const Case& c : cases) {
        Rig rig;
        rig.writeHook("touch '" + rig.out("ran").toUtf8() + "'");
        if (c.linked) {
            const QString open = rig.dir.filePath(QStringLiteral("open"));
            QDir().mkpath(open);
            QFile::setPermissions(open, QFile::Permissions(0x7777));
            const QString hook = rig.hooksDir() + QStringLiteral("/incoming-call");
            ASSERT_TRUE(QFile::rename(hook, open + QStringLiteral("/script")));
            ASSERT_TRUE(QFile::link(open + QStringLiteral("/script"), hook));
        }
        QFile::setPermissions(rig.dir.filePath(QStringLiteral("WinKavex")), c.programDir);
        rig.call(QStringLiteral("301234567"));
        ASSERT_TRUE(rig.waitUntilIdle());
        EXPECT_FALSE(QFile::exists(rig.out("ran"))) << c.status;
        EXPECT_EQ(rig.statuses, QStringList{QString::fromUtf8(c.status)});
    }
}

// A file put in the hook's place after its check is not what runs: the checked file is.
TEST(CallHooks, AFileSwappedInAfterTheCheckDoesNotRun)
{
    Rig rig;
    rig.writeHook("echo checked > '" + rig.out("ran").toUtf8() + "'");
    rig.hooks.setAfterCheck([&rig](const QString& path) {
        const QString other = rig.dir.filePath(QStringLiteral("other"));
        QFile file(other);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\necho swapped > '" + rig.out("ran").toUtf8() + "'\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        ASSERT_EQ(::rename(QFile::encodeName(other).constData(), QFile::encodeName(path).constData()), 0);
    });
    rig.call(QStringLiteral("301234567"));
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return QFile::exists(rig.out("ran")) && rig.hooks.runningCount() == 0; }, WaitMs));
    EXPECT_EQ(fileBytes(rig.out("ran")), "checked\n");
}

// Four run at once, the others wait in the order of their calls and start as places come free.
TEST(CallHooks, AtMostFourRunAtOnceAndTheOthersWaitInOrder)
{
    Rig rig;
    rig.writeHook("echo \"$KAVEX_CALLER\" >> '" + rig.out("order").toUtf8() + "'\nsleep 60");
    for (int i = 1; i <= 6; ++i)
        rig.call(QStringLiteral("30%1").arg(i));
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileBytes(rig.out("order")).count('\n') == 4; }, WaitMs));
    EXPECT_EQ(rig.hooks.runningCount(), 4);
    EXPECT_EQ(rig.hooks.waitingCount(), 2);
    EXPECT_EQ(QString::fromLatin1(fileBytes(rig.log.path())).count(QStringLiteral("\r\n")), 3 + 6)
        << "every call logged while hooks wait";

    rig.clock.advance(CallHooks::DefaultTimeLimitMs);
    ASSERT_TRUE(QTest::qWaitFor([&] { return fileBytes(rig.out("order")).count('\n') == 6; }, WaitMs));
    // Hooks that start together write in any order: the first four calls first, then the two that waited.
    QList<QByteArray> lines = fileBytes(rig.out("order")).split('\n');
    std::sort(lines.begin(), lines.begin() + 4);
    std::sort(lines.begin() + 4, lines.begin() + 6);
    EXPECT_EQ(lines, (QList<QByteArray>{"0301", "0302", "0303", "0304", "0305", "0306", ""}));
    EXPECT_EQ(rig.hooks.waitingCount(), 0);
    rig.clock.advance(CallHooks::DefaultTimeLimitMs);
    EXPECT_TRUE(rig.waitUntilIdle());
}

// A hook that leaves a child behind and exits: the child ends at the time limit, or when the
// program ends before it.
TEST(CallHooks, AHooksBackgroundChildEndsAtTheLimitAndWithTheProgram)
{
    for (const bool programEnds : {false, true}) {
        auto rig = std::make_unique<Rig>();
        rig->writeHook("sleep 60 &\necho $! > '" + rig->out("child").toUtf8() + "'");
        rig->call(QStringLiteral("301234567"));
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return pidIn(rig->out("child")) > 0 && rig->hooks.runningCount() == 0; }, WaitMs));
        const pid_t child = pidIn(rig->out("child"));
        EXPECT_FALSE(processGone(child)) << "the child outlives its hook";
        if (programEnds)
            rig.reset();
        else
            rig->clock.advance(CallHooks::DefaultTimeLimitMs);
        EXPECT_TRUE(QTest::qWaitFor([&] { return processGone(child); }, WaitMs)) << programEnds;
    }
}
