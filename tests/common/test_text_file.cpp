#include "common/Cancellation.h"
#include "common/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <optional>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

QByteArray bytesOf(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<unreadable>");
}

void put(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class TextFileTest : public testing::Test
{
protected:
    QString path(const char* name) const { return m_dir.filePath(QString::fromLatin1(name)); }
    QTemporaryDir m_dir;
};

} // namespace

TEST_F(TextFileTest, AppendWritesWindowsBytesWithCrLf)
{
    const QString log = path("WinKavex.out");
    ASSERT_TRUE(TextFile::appendLine(log, QStringLiteral("Gebühren")));
    ASSERT_TRUE(TextFile::appendText(log, QStringLiteral("01.02.2003 04:05:06 ")));
    ASSERT_TRUE(TextFile::appendText(log, QStringLiteral("€ 1,00")));
    ASSERT_TRUE(TextFile::appendLine(log, QString()));
    EXPECT_EQ(bytesOf(log), QByteArray("Geb\xFChren\r\n01.02.2003 04:05:06 \x80 1,00\r\n"));
}

TEST_F(TextFileTest, AppendIsOneWriteAtTheEndEvenWithAnotherWriterOpen)
{
    const QString log = path("shared.in");
    put(log, "head\r\n");
    QFile other(log);
    ASSERT_TRUE(other.open(QIODevice::WriteOnly | QIODevice::Append));
    ASSERT_TRUE(TextFile::appendLine(log, QStringLiteral("one")));
    other.write("two\r\n");
    other.close();
    EXPECT_EQ(bytesOf(log), QByteArray("head\r\none\r\ntwo\r\n"));
}

TEST_F(TextFileTest, AppendFailsWhereNoFileCanBe)
{
    const QString plain = path("plain");
    put(plain, "x");
    EXPECT_FALSE(TextFile::appendLine(plain + QStringLiteral("/under-a-file.out"), QStringLiteral("a")));
    EXPECT_FALSE(TextFile::appendText(m_dir.path(), QStringLiteral("a"))); // a directory
    EXPECT_EQ(bytesOf(plain), QByteArray("x"));
}

TEST_F(TextFileTest, ReadLinesSplitsCutsAndDecodes)
{
    const QString file = path("WinKavex.dat");
    put(file, "kurz\r\n\r\nGeb\xFChrenzeile\nlast");
    const auto lines = TextFile::readLines(file, 8);
    ASSERT_TRUE(lines.has_value());
    EXPECT_EQ(*lines, QStringList({"kurz", "", "Gebühren", "last"}));

    put(file, "a\r\nb\r\n");
    EXPECT_EQ(TextFile::readLines(file, 128), QStringList({"a", "b"}));
    put(file, "");
    EXPECT_EQ(TextFile::readLines(file, 128), QStringList());
    // A CR ends a line only with its LF: an unended last line keeps its stray CRs.
    put(file, "a\r\r\nb\r\r");
    EXPECT_EQ(TextFile::readLines(file, 128), QStringList({"a\r", "b\r\r"}));
}

// Lines that cross the ends of the read buffer and of the blocks read backwards come out whole.
TEST_F(TextFileTest, TheLastLineIsTheOneTheWholeReadEndsWith)
{
    const QByteArray longLine(70000, 'x');
    const QByteArray cases[] = {"",
                                "\n",
                                "one",
                                "one\r\n",
                                "one\r\ntwo",
                                "one\r\ntwo\r",
                                "one\r\ntwo\r\n\r\n",
                                "header\r\n" + longLine + "\r\nGeb\xFChr",
                                "header\r\n" + QByteArray(4095, 'y') + "\r\n" + QByteArray(4100, 'z') + "\r\n",
                                longLine + "\n" + longLine,
                                "a\r\n" + QByteArray(100, 'x') + "\r\n",
                                "a\r\n" + QByteArray(99, 'x') + "\r",
                                "a\r\n" + QByteArray(100, 'x') + "\r",
                                "a\r\n" + QByteArray(101, 'x') + "\r\n"};
    const QString file = path("WinKavex.dat");
    for (const QByteArray& content : cases) {
        put(file, content);
        std::optional<QString> whole;
        ASSERT_EQ(TextFile::forEachLine(file, 100, [&](const QString& line) { whole = line; }), 0);
        std::optional<QString> last;
        EXPECT_EQ(TextFile::lastLine(file, 100, last), 0);
        EXPECT_EQ(last, whole) << content.left(20).toHex().constData() << " size " << content.size();
        EXPECT_EQ(TextFile::readLines(file, 100)->size(),
                  content.count('\n') + (content.isEmpty() || content.endsWith('\n') ? 0 : 1));
    }
    std::optional<QString> last;
    EXPECT_EQ(TextFile::lastLine(path("missing.dat"), 100, last), ENOENT);
    EXPECT_EQ(TextFile::lastLine(m_dir.path(), 100, last), EISDIR);
    EXPECT_FALSE(last.has_value());
}

TEST_F(TextFileTest, ReadLinesOfAMissingFileIsNothing)
{
    EXPECT_FALSE(TextFile::readLines(path("missing.out"), 128).has_value());
    EXPECT_FALSE(TextFile::readLines(m_dir.path(), 128).has_value());
}

TEST_F(TextFileTest, RewriteReplacesContentAndKeepsPermissions)
{
    const QString file = path("WinKavex.INI");
    put(file, "old content\r\n");
    ASSERT_TRUE(QFile::setPermissions(file, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup));
    ASSERT_TRUE(TextFile::rewrite(file, "new\r\n"));
    EXPECT_EQ(bytesOf(file), QByteArray("new\r\n"));
    struct stat info
    {};
    ASSERT_EQ(stat(QFile::encodeName(file).constData(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"WinKavex.INI"}));
}

TEST_F(TextFileTest, RewriteIntoAReadOnlyDirectoryLeavesTheOldFile)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "directory permissions do not bind the superuser; the full-disk case covers the failure";
    const QString file = path("WinKavex.dat");
    put(file, "old\r\n");
    ASSERT_TRUE(QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::ExeOwner));
    const bool written = TextFile::rewrite(file, "new\r\n");
    QFile::setPermissions(m_dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), QByteArray("old\r\n"));
}

TEST_F(TextFileTest, RewriteOnAFullDiskLeavesTheOldFile)
{
    const QString file = path("WinKavex.dat");
    put(file, "old\r\n");
    // A file-size limit makes every write past it fail as a full disk would, for any user.
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = TextFile::rewrite(file, QByteArray(4096, 'x'));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), QByteArray("old\r\n"));
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList({"WinKavex.dat"}));
}

TEST_F(TextFileTest, AppendOnAFullDiskLeavesNoPartialRecord)
{
    const QString file = path("WinKavex.out");
    put(file, "first\r\n");
    rlimit saved{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 16;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    const bool written = TextFile::appendLine(file, QStringLiteral("a record longer than the limit"));
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, savedHandler);
    EXPECT_FALSE(written);
    EXPECT_EQ(bytesOf(file), QByteArray("first\r\n"));
}

TEST_F(TextFileTest, RewriteUnderARegularFileFails)
{
    const QString plain = path("plain");
    put(plain, "x");
    EXPECT_FALSE(TextFile::rewrite(plain + QStringLiteral("/WinKavex.INI"), "data"));
    EXPECT_EQ(bytesOf(plain), QByteArray("x"));
}

// A FIFO, a device or a socket in a file's place is refused at once, never waited on; the alarm
// ends the test if anything waits.
TEST_F(TextFileTest, OnlyRegularFilesAreOpenedAndNothingWaits)
{
    const QString fifo = path("WinKavex.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    ::alarm(10);
    for (const QString& file : {fifo, QStringLiteral("/dev/zero")}) {
        std::optional<QString> last;
        QByteArray content;
        EXPECT_EQ(TextFile::lastLine(file, 100, last), EINVAL);
        EXPECT_EQ(TextFile::forEachLine(file, 100, [](const QString&) {}), EINVAL);
        EXPECT_EQ(TextFile::readAll(file, 1024, content), EINVAL);
        EXPECT_EQ(TextFile::appendToExisting(file, QStringLiteral("x")), file == fifo ? ENXIO : EINVAL);
        EXPECT_FALSE(TextFile::copy(file, path("WinKavex.bak")));
    }
    ::alarm(0);
    EXPECT_FALSE(QFile::exists(path("WinKavex.bak")));
    QByteArray content;
    put(path("big"), QByteArray(2048, 'x'));
    EXPECT_EQ(TextFile::readAll(path("big"), 2047, content), EFBIG);
}

// Writes never go through a link at the file's name: the linked file keeps its bytes.
TEST_F(TextFileTest, NoWriteFollowsALink)
{
    const QString target = path("elsewhere");
    put(target, "kept\n");
    for (const char* name : {"WinKavex.dat", "WinKavex.bak", "WinKavex.INI"})
        ASSERT_TRUE(QFile::link(target, path(name)));
    EXPECT_FALSE(TextFile::appendLine(path("WinKavex.dat"), QStringLiteral("line")));
    std::optional<QString> last;
    EXPECT_EQ(TextFile::lastLine(path("WinKavex.dat"), 100, last), ELOOP);
    put(path("history"), "h\r\n");
    EXPECT_TRUE(TextFile::copy(path("history"), path("WinKavex.bak")));
    EXPECT_TRUE(TextFile::rewrite(path("WinKavex.INI"), "[Allgemein]\r\n"));
    EXPECT_EQ(bytesOf(target), "kept\n");
    EXPECT_EQ(bytesOf(path("WinKavex.bak")), "h\r\n");
    EXPECT_FALSE(QFileInfo(path("WinKavex.INI")).isSymLink());
}

// New files are the user's alone whatever the umask; a copy has the permissions of its original.
TEST_F(TextFileTest, NewFilesAre0600AndCopiesKeepTheirOriginalsMode)
{
    auto modeOf = [](const QString& file) {
        struct stat info
        {};
        return ::stat(QFile::encodeName(file).constData(), &info) == 0 ? info.st_mode & 07777 : 07777;
    };
    const mode_t umask = ::umask(022);
    ASSERT_TRUE(TextFile::appendLine(path("WinKavex.out"), QStringLiteral("x")));
    ASSERT_TRUE(TextFile::rewrite(path("WinKavex.INI"), "x"));
    EXPECT_EQ(modeOf(path("WinKavex.out")), 0600u);
    for (const mode_t mode : {mode_t(0600), mode_t(0640)}) {
        ::chmod(QFile::encodeName(path("WinKavex.out")).constData(), mode);
        ASSERT_TRUE(TextFile::copy(path("WinKavex.out"), path("WinKavex.bak")));
        EXPECT_EQ(modeOf(path("WinKavex.bak")), mode);
    }
    ::umask(umask);
    EXPECT_EQ(modeOf(path("WinKavex.INI")), 0600u);
    EXPECT_EQ(QDir(m_dir.path()).entryList({QStringLiteral("*.new*")}, QDir::Files), QStringList());
}

TEST_F(TextFileTest, AnEndRequestedStopsTheLineReaders)
{
    put(path("WinKavex.out"), "one\r\ntwo\r\n");
    Cancellation::request();
    std::optional<QString> last;
    int lines = 0;
    EXPECT_EQ(TextFile::forEachLine(path("WinKavex.out"), 100, [&](const QString&) { ++lines; }), ECANCELED);
    EXPECT_EQ(TextFile::lastLine(path("WinKavex.out"), 100, last), ECANCELED);
    Cancellation::reset();
    EXPECT_EQ(lines, 0);
    EXPECT_EQ(TextFile::forEachLine(path("WinKavex.out"), 100, [&](const QString&) { ++lines; }), 0);
    EXPECT_EQ(lines, 2);
}

// A whole file written out: a regular one is replaced in one go; a device is written to and its
// failure reported (a full disk), never renamed over.
TEST_F(TextFileTest, WriteOutReplacesAFileAndReportsAFailingDevice)
{
    put(path("print.pdf"), "old");
    EXPECT_EQ(TextFile::writeOut(path("print.pdf"), "%PDF new"), 0);
    EXPECT_EQ(bytesOf(path("print.pdf")), "%PDF new");
    EXPECT_EQ(TextFile::writeOut(QStringLiteral("/dev/full"), "%PDF"), ENOSPC);
    EXPECT_EQ(TextFile::writeOut(path("missing/print.pdf"), "%PDF"), ENOENT);
    struct stat info
    {};
    ASSERT_EQ(::stat("/dev/full", &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
}
