#include "E2eHarness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

bool copyData(const QString& name, const QString& to)
{
    return QFile::copy(qEnvironmentVariable("KAVEX_SOURCE_DIR") + QStringLiteral("/tests/data/") + name, to);
}

} // namespace

// The logs as scripts read them: filtered by date and search text, as CSV or tab-separated rows.
TEST(E2eCalls, TheLogsForScripts)
{
    QTemporaryDir dir;
    ASSERT_TRUE(copyData(QStringLiteral("outgoing-after-rename.out"), dir.filePath(QStringLiteral("WinKavex.out"))));
    ASSERT_TRUE(copyData(QStringLiteral("incoming-calls.in"), dir.filePath(QStringLiteral("WinKavex.in"))));

    CtlRun run = runKavexctl(
        {QStringLiteral("calls"), QStringLiteral("--search"), QStringLiteral("müller"), QStringLiteral("--csv")},
        dir.path());
    EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();
    EXPECT_EQ(run.out.toStdString(), "Zeit,NSt.,Rufnummer,Name,Einh.,Kosten,Dauer\r\n"
                                     "01.03.2026 09:10:00,22,089 987,Oma Müller,2,\"0,24\",1:00\r\n"
                                     "01.03.2026 09:10:00,24,0301,Oma Müller,123,\"14,76\",1:00:00\r\n");

    run = runKavexctl({QStringLiteral("calls"), QStringLiteral("--in"), QStringLiteral("--since"),
                       QStringLiteral("02.03.2026"), QStringLiteral("--search"), QStringLiteral("4712")},
                      dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_EQ(run.out.toStdString(), "02.03.2026 10:02:02\t4712\t089123456\tTante Erna\n"
                                     "02.03.2026 10:04:04\t4712\t(0221) 445566\tGemeinschaftspraxis Mustermann\n");

    run = runKavexctl({QStringLiteral("calls"), QStringLiteral("--since"), QStringLiteral("03.03.2026")}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());
}

TEST(E2eCalls, AnUnreadableLogIsAnErrorAMissingOneEmpty)
{
    QTemporaryDir dir;
    CtlRun run = runKavexctl({QStringLiteral("calls")}, dir.path());
    EXPECT_EQ(run.exitCode, 0);
    EXPECT_TRUE(run.out.isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkdir(QStringLiteral("WinKavex.in")));
    run = runKavexctl({QStringLiteral("calls"), QStringLiteral("--in")}, dir.path());
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.err.contains("WinKavex.in nicht lesbar")) << run.err.toStdString();

    run = runKavexctl({QStringLiteral("calls"), QStringLiteral("--since"), QStringLiteral("gestern")}, dir.path());
    EXPECT_EQ(run.exitCode, 1) << "a usage error";
    EXPECT_TRUE(run.err.contains("Kein Datum: gestern"));
}
