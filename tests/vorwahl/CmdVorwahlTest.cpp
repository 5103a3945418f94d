#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

struct CtlRun
{
    int exitCode = -1;
    QByteArray out;
    QByteArray err;
};

CtlRun kavexctl(const QString& program, const QStringList& args)
{
    QProcess process;
    process.start(program, args);
    CtlRun run;
    if (!process.waitForFinished(60000))
        return run;
    run.exitCode = process.exitCode();
    run.out = process.readAllStandardOutput();
    run.err = process.readAllStandardError();
    return run;
}

QString builtKavexctl()
{
    return QDir(qEnvironmentVariable("KAVEX_BIN_DIR")).filePath(QStringLiteral("kavexctl"));
}

} // namespace

TEST(CmdVorwahl, PrintsOneUtf8LinePerNumber)
{
    const CtlRun run = kavexctl(builtKavexctl(), {QStringLiteral("vorwahl"), QStringLiteral("0101908912345"),
                                                  QStringLiteral(" 03303912 "), QStringLiteral("0033123456")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("(089) 12345\t[M\xc3\xbcnchen (Mobilcom)]\n"
                                  "(033039) 12\t[Gro\xc3\x9f Behnitz]\n"
                                  "0033123456\t\n"));
    EXPECT_EQ(run.err, QByteArray());
}

TEST(CmdVorwahl, WantsAtLeastOneNumber)
{
    const CtlRun run = kavexctl(builtKavexctl(), {QStringLiteral("vorwahl")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.out, QByteArray());
    EXPECT_TRUE(run.err.startsWith("Aufruf: kavexctl vorwahl"));
}

// A copy of the program in a directory without the library: numbers come back as given, silently.
TEST(CmdVorwahl, RunsWithoutTheLibrary)
{
    QTemporaryDir dir;
    const QString copy = dir.filePath(QStringLiteral("kavexctl"));
    ASSERT_TRUE(QFile::copy(builtKavexctl(), copy));
    const CtlRun run = kavexctl(copy, {QStringLiteral("vorwahl"), QStringLiteral("0301234567")});
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out, QByteArray("0301234567\t\n"));
    EXPECT_EQ(run.err, QByteArray());
}
