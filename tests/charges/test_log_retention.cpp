#include "Golden.h"
#include "charges/CallLogReader.h"
#include "charges/HistoryFile.h"
#include "charges/LogRetention.h"
#include "charges/PeriodList.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size();
}

QByteArray record(const char* start, int extension, const char* number, const char* name, const char* completion)
{
    return QByteArray(start) + "        " + QByteArray::number(extension) + "       " +
           QByteArray(number).leftJustified(22) + QByteArray(name).leftJustified(27) + completion;
}

const QByteArray Header = "   Datum     Zeit     Nebenstelle   Rufnummer             Name                       "
                          "Einheiten  Kosten  Dauer\r\n" +
                          QByteArray(110, '=') + "\r\n\r\n";

// Internal calls (a two-digit number beginning with 2), a free call, two calls of the same second,
// an empty line, and at the end a record still waiting for its completion (no line break yet).
QByteArray logBeforeCleanUp()
{
    return Header + "\r\n" + record("01.03.2026 09:00:00", 21, "030 1234567", "Berlin", "     4      0,48    2:05") +
           "\r\n" + record("01.03.2026 09:05:00", 21, "22", "", "     0      0,00    0:12") + "\r\n" +
           record("01.03.2026 09:06:00", 23, "2345", "", "     1      0,12    0:40") + "\r\n" +
           record("01.03.2026 09:07:00", 22, "0800 123456", "Hotline", "     0      0,00    3:00") + "\r\n\r\n" +
           record("01.03.2026 09:10:00", 22, "089 987", "M\xfcnchen", "     2      0,24    1:00") + "\r\n" +
           record("01.03.2026 09:10:00", 24, "0301", "", "   123     14,76 1:00:00") + "\r\n" +
           record("02.03.2026 11:00:00", 25, "0221 55", "K\xf6ln", "");
}

struct Files
{
    QTemporaryDir dir;
    QString log = dir.filePath(QStringLiteral("WinKavex.out"));
    // New logs being written beside the old one, under whatever name.
    QStringList leftovers() const { return QDir(dir.path()).entryList({QStringLiteral("*.new*")}, QDir::Files); }
};

} // namespace

TEST(LogRetention, TheCleanUpDropsInternalCallsAndOnRequestFreeCalls)
{
    Files files;
    ASSERT_TRUE(writeFile(files.log, logBeforeCleanUp()));
    LogRetention::Outcome outcome = LogRetention::rewriteOutgoing(files.log, {}, {}, false);
    ASSERT_TRUE(outcome.rewritten);
    EXPECT_TRUE(fileBytes(files.log).contains("0800 123456"));
    EXPECT_FALSE(fileBytes(files.log).contains("21       22 "));
    EXPECT_EQ(fileBytes(LogRetention::oldVersionPath(files.log)), logBeforeCleanUp());

    outcome = LogRetention::rewriteOutgoing(files.log, {}, {}, true);
    ASSERT_TRUE(outcome.rewritten);
    EXPECT_TRUE(Golden::matches(QStringLiteral("outgoing-after-cleanup.out"), fileBytes(files.log)));
    EXPECT_EQ(files.leftovers(), QStringList());
}

TEST(LogRetention, ARenameSetsTheNameOfEveryRecordOfThatSecondAndKeepsTheRest)
{
    Files files;
    ASSERT_TRUE(writeFile(files.log, logBeforeCleanUp()));
    ASSERT_TRUE(LogRetention::rewriteOutgoing(files.log, QStringLiteral("01.03.2026 09:10:00"),
                                              QStringLiteral("Oma Müller"), false)
                    .rewritten);
    EXPECT_TRUE(Golden::matches(QStringLiteral("outgoing-after-rename.out"), fileBytes(files.log)));

    // The name column is 30 wide; from character 89 on the record is kept.
    const QString line =
        QStringLiteral("x").repeated(58) + QStringLiteral("y").repeated(30) + QStringLiteral("  2      0,24    1:00");
    EXPECT_EQ(LogRetention::renamedOutgoing(line, QStringLiteral("Kurz")),
              line.left(58) + QStringLiteral("Kurz").leftJustified(30) + line.mid(88));
    EXPECT_EQ(LogRetention::renamedIncoming(QStringLiteral("a").repeated(90), QStringLiteral("Neu")),
              QStringLiteral("a").repeated(76) + QStringLiteral("Neu"));
}

TEST(LogRetention, NoLogNoFile)
{
    Files files;
    const LogRetention::Outcome outcome = LogRetention::rewriteOutgoing(files.log, {}, {}, true);
    EXPECT_TRUE(outcome.missing);
    EXPECT_EQ(outcome.error, 0);
    EXPECT_FALSE(QFile::exists(files.log));
}

// Killed at any point of a rewrite, or stopped by a full disk, the log is the old one or the new one,
// whole; no record is ever lost.
TEST(LogRetention, ARewriteInterruptedAnywhereLosesNoRecord)
{
    Files files;
    QByteArray before = Header;
    for (int i = 0; i < 100000; ++i) {
        const QByteArray start = QStringLiteral("%1.03.2026 %2:%3:%4")
                                     .arg(1 + i / 10000, 2, 10, QLatin1Char('0'))
                                     .arg(i / 3600 % 24, 2, 10, QLatin1Char('0'))
                                     .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
                                     .arg(i % 60, 2, 10, QLatin1Char('0'))
                                     .toLatin1();
        // As a rewrite leaves it: no empty line between the header and the first record.
        if (i > 0)
            before += "\r\n";
        before += record(start.constData(), 21 + i % 8, "030 1234567", "Berlin", "     4      0,48    2:05");
    }
    before += "\r\n";
    const QString key = QStringLiteral("05.03.2026 11:06:40");
    const QString name = QStringLiteral("Umbenannt");

    const QString reference = files.dir.filePath(QStringLiteral("reference.out"));
    ASSERT_TRUE(writeFile(reference, before));
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(LogRetention::rewriteOutgoing(reference, key, name, false).rewritten);
    const qint64 rewriteUs = std::max<qint64>(timer.nsecsElapsed() / 1000, 1000);
    const QByteArray after = fileBytes(reference);
    ASSERT_NE(after, before);
    ASSERT_EQ(after.size(), before.size());

    const auto run = [&](auto&& child) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            child();
            ::_exit(0);
        }
        return pid;
    };
    for (int point = 0; point <= 12; ++point) {
        ASSERT_TRUE(writeFile(files.log, before));
        const pid_t pid = run([&] { LogRetention::rewriteOutgoing(files.log, key, name, false); });
        ASSERT_GT(pid, 0);
        ::usleep(static_cast<useconds_t>(rewriteUs * point / 10));
        ::kill(pid, SIGKILL);
        int status = 0;
        ::waitpid(pid, &status, 0);
        const QByteArray now = fileBytes(files.log);
        ASSERT_TRUE(now == before || now == after) << "point " << point << ": " << now.size() << " bytes";
        LogRetention::removeLeftover(files.log);
    }

    // A full disk: the file size limit is hit half way through the new log.
    ASSERT_TRUE(writeFile(files.log, before));
    const pid_t pid = run([&] {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{static_cast<rlim_t>(before.size() / 2), static_cast<rlim_t>(before.size() / 2)};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        ::_exit(LogRetention::rewriteOutgoing(files.log, key, name, false).error);
    });
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), EFBIG);
    EXPECT_EQ(fileBytes(files.log), before);
    EXPECT_EQ(files.leftovers(), QStringList());
}

// Lines nobody of ours wrote: an impossible date, a line far beyond any record, bytes that are no
// Windows-1252 character or are UTF-8, a NUL and a stray CR. Each log lists what it can, and its
// rewrite keeps every line as it was, an over-long one included; the history takes its next reading behind them without
// touching them.
TEST(LogRetention, CorruptLongAndForeignLinesAreListedOrSkippedButNeverLost)
{
    const QByteArray good1 = record("01.03.2026 09:00:00", 21, "030 1234567", "Berlin", "     4      0,48    2:05");
    const QByteArray good2 = record("02.03.2026 10:00:00", 22, "089 987", "M\xfcnchen", "     2      0,24    1:00");
    const QByteArray impossible = "31.02.2026 09:00:00 kein Datum";
    const QByteArray overLong = "03.03.2026 08:00:00 " + QByteArray(400, 'L');
    QByteArray foreign = record("04.03.2026 07:00:00", 23, "0221 55", "@", "");
    foreign.replace('@', QByteArray("\x81\x8d\x8f\x90\x9d") + '\0' + "M\xc3\xbcller\r!");
    const QByteArray records[] = {good1, impossible, overLong, foreign, good2};
    QByteArray content = Header;
    for (const QByteArray& r : records)
        content += r + "\r\n";

    Files files;
    for (const bool outgoing : {true, false}) {
        SCOPED_TRACE(outgoing ? "WinKavex.out" : "WinKavex.in");
        ASSERT_TRUE(writeFile(files.log, content));
        const auto layout = outgoing ? CallLogReader::outgoing() : CallLogReader::incoming();
        const CallLogReader::Result listed = CallLogReader::load(files.log, layout, QDate());
        ASSERT_EQ(listed.rows.size(), 4u); // all but the impossible date
        EXPECT_EQ(listed.rows[2][0], QStringLiteral("04.03.2026 07:00:00"));

        const LogRetention::Outcome outcome = outgoing ? LogRetention::rewriteOutgoing(files.log, {}, {}, false)
                                                       : LogRetention::rewriteIncoming(files.log, {}, {});
        ASSERT_TRUE(outcome.rewritten);
        EXPECT_EQ(fileBytes(files.log), content);
    }

    const QString history = files.dir.filePath(QStringLiteral("WinKavex.dat"));
    const QByteArray dat = HistoryFile::headerText().toLatin1() + impossible + "\r\n" + overLong + "\r\n" + foreign;
    ASSERT_TRUE(writeFile(history, dat));
    HistoryFile::Last last;
    const QDateTime now(QDate(2026, 12, 9), QTime(8, 0));
    EXPECT_TRUE(HistoryFile(history).update({1, 2}, 3, now, last).appended);
    // The last line had no line break: the new one must still be a line of its own.
    const QByteArray line = HistoryFile::dataLine(now, {1, 2}, 3).toLatin1();
    EXPECT_EQ(fileBytes(history), dat + "\r\n" + line + "\r\n");
    const PeriodList periods = PeriodList::fromHistory(history);
    ASSERT_GT(periods.size(), 0);
    EXPECT_EQ(periods.entries().last().line, QString::fromLatin1(line));
}

// An incoming record is up to 136 characters (a 60-character name from the address book): a rename
// of another call keeps it whole. A line beyond any record stops the rewrite, which then changes
// nothing.
TEST(LogRetention, AnIncomingRenameKeepsEveryLineWhole)
{
    const QByteArray header = "   Datum     Zeit     gerufene Nummer  Anrufer                              Name\r\n" +
                              QByteArray(98, '=') + "\r\n\r\n";
    const auto line = [](const char* time, const char* caller, const QByteArray& name) {
        return QByteArray(time) + "   " + QByteArray("4711").leftJustified(17) + QByteArray(caller).leftJustified(37) +
               name + "\r\n";
    };
    const QByteArray longName = "Gemeinschaftspraxis Dr. med. M\xfcller-L\xfc"
                                "denscheid und Kollegen";
    ASSERT_EQ(longName.size(), 60);
    const QByteArray before = header + line("01.03.2026 09:00:00", "(030) 1234567", longName) +
                              line("01.03.2026 09:05:00", "(0221) 445566", "K\xf6ln") +
                              line("01.03.2026 09:06:00", "(089) 987", longName.left(45));
    Files files;
    const QString log = files.dir.filePath(QStringLiteral("WinKavex.in"));
    ASSERT_TRUE(writeFile(log, before));
    const LogRetention::Outcome outcome =
        LogRetention::rewriteIncoming(log, QStringLiteral("01.03.2026 09:05:00"), QStringLiteral("Tante K\u00e4the"));
    ASSERT_TRUE(outcome.rewritten);
    EXPECT_EQ(outcome.renamed, 1);
    EXPECT_TRUE(Golden::matches(QStringLiteral("incoming-after-rename.in"), fileBytes(log)));

    const QByteArray huge = before + line("02.03.2026 10:00:00", "0301", QByteArray(70000, 'x'));
    ASSERT_TRUE(writeFile(log, huge));
    EXPECT_NE(LogRetention::rewriteIncoming(log, QStringLiteral("01.03.2026 09:05:00"), QStringLiteral("Neu")).error,
              0);
    EXPECT_EQ(fileBytes(log), huge);
}

// Links planted among the program's files are neither followed nor removed, and what a copy or
// rewrite makes keeps the permissions of the file it comes from.
TEST(LogRetention, PlantedLinksAreLeftAloneAndModesAreKept)
{
    Files files;
    const QString in = files.dir.filePath(QStringLiteral("WinKavex.in"));
    const QString dat = files.dir.filePath(QStringLiteral("WinKavex.dat"));
    const QString target = files.dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(writeFile(target, "kept\n"));
    ASSERT_TRUE(writeFile(in, Header + record("01.03.2026 09:00:00", 21, "030 1", "", "") + "\r\n"));
    ASSERT_TRUE(writeFile(dat, HistoryFile::headerText().toLatin1()));
    for (const QString& file : {in, dat})
        ASSERT_EQ(::chmod(QFile::encodeName(file).constData(), 0600), 0);
    ASSERT_TRUE(QFile::link(target, LogRetention::pendingPath(in)));
    ASSERT_TRUE(QFile::link(target, files.log));
    const mode_t umask = ::umask(022);

    EXPECT_TRUE(
        LogRetention::rewriteIncoming(in, QStringLiteral("01.03.2026 09:00:00"), QStringLiteral("Ina")).rewritten);
    EXPECT_EQ(LogRetention::rewriteOutgoing(files.log, {}, {}, false).error, ELOOP);
    LogRetention::removeLeftover(in);
    HistoryFile history(dat);
    HistoryFile::Last last;
    EXPECT_TRUE(history.update({1, 0, 0, 0, 0, 0, 0, 0}, 1, QDateTime(QDate(2026, 3, 2), QTime(9, 0)), last).appended);
    ::umask(umask);

    EXPECT_EQ(fileBytes(target), "kept\n");
    EXPECT_TRUE(QFileInfo(LogRetention::pendingPath(in)).isSymLink());
    EXPECT_TRUE(QFileInfo(files.log).isSymLink());
    EXPECT_TRUE(fileBytes(in).contains("Ina"));
    for (const QString& file : {in, LogRetention::oldVersionPath(in), history.backupPath()})
        EXPECT_EQ(QFileInfo(file).permissions(),
                  QFile::ReadOwner | QFile::WriteOwner | QFile::ReadUser | QFile::WriteUser)
            << file.toStdString();
}

// A history linked elsewhere is not written through.
TEST(LogRetention, ALinkedHistoryIsNotWrittenThrough)
{
    Files files;
    const QString target = files.dir.filePath(QStringLiteral("elsewhere"));
    ASSERT_TRUE(writeFile(target, HistoryFile::headerText().toLatin1()));
    const QString dat = files.dir.filePath(QStringLiteral("WinKavex.dat"));
    ASSERT_TRUE(QFile::link(target, dat));
    HistoryFile history(dat);
    HistoryFile::Last last;
    const HistoryFile::Outcome outcome =
        history.update({1, 0, 0, 0, 0, 0, 0, 0}, 1, QDateTime(QDate(2026, 3, 2), QTime(9, 0)), last);
    EXPECT_FALSE(outcome.appended);
    EXPECT_EQ(outcome.error, ELOOP);
    EXPECT_EQ(fileBytes(target), HistoryFile::headerText().toLatin1());
    EXPECT_FALSE(QFile::exists(history.backupPath()));
}
