#include "CpuTime.h"
#include "E2eHarness.h"
#include "link/Cells.h"
#include "link/TComm32.h"

#include <QFile>
#include <QThread>
#include <gtest/gtest.h>
#include <sys/resource.h>

namespace {

QByteArray expectedRegion(const ConfigImage& image, ConfigImage::Region region)
{
    const int length = ConfigImage::length(region);
    return Cells::compacted(Cells::regionLineBytes(image.region(region), length), length);
}

} // namespace

TEST(EndToEnd, ReadSavesTheExchangesRegions)
{
    SimulatedExchange sim;
    const ConfigImage image = sampleImage(2, 0, 8);
    ASSERT_TRUE(writeImageFile(sim.path(QStringLiteral("exchange.kvx")), image));
    ASSERT_TRUE(sim.start({QStringLiteral("--image"), sim.path(QStringLiteral("exchange.kvx"))}));

    const QString saved = sim.path(QStringLiteral("saved.KVX"));
    const CtlRun run = runKavexctl({QStringLiteral("--port"), sim.device(), QStringLiteral("--timeout"),
                                    QStringLiteral("10"), QStringLiteral("read"), QStringLiteral("--save"), saved},
                                   sim.dir());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_TRUE(run.out.contains("Firmware\t2.00")) << run.out.constData();

    QFile file(saved);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_EQ(bytes.size(), ConfigImage::Size);
    ConfigImage read;
    read.copyIntoRegion(ConfigImage::Region::Base, bytes.mid(0, 300));
    read.copyIntoRegion(ConfigImage::Region::Extensions, bytes.mid(300, 500));
    read.copyIntoRegion(ConfigImage::Region::Charges, bytes.mid(800, 224));
    for (auto region : {ConfigImage::Region::Base, ConfigImage::Region::Extensions, ConfigImage::Region::Charges})
        EXPECT_EQ(read.region(region), expectedRegion(image, region)) << ConfigImage::offset(region);

    sim.stop();
    QList<QByteArray> blocks;
    for (const auto& cell : sim.cells())
        blocks.append(cell.bytes);
    EXPECT_EQ(blocks, (QList<QByteArray>{QByteArray::fromHex("830A0000"), QByteArray::fromHex("83080000"),
                                         QByteArray::fromHex("83060000")}));
}

TEST(EndToEnd, ChargesListsUnitsPerExtension)
{
    SimulatedExchange sim;
    ConfigImage image = sampleImage(2, 0, 3);
    image[801] = 0x34;
    image[802] = 0x12;
    image[803] = 7;
    image[804] = 0;
    image[805] = 0;
    image[806] = 1;
    ASSERT_TRUE(writeImageFile(sim.path(QStringLiteral("exchange.kvx")), image));
    ASSERT_TRUE(sim.start({QStringLiteral("--image"), sim.path(QStringLiteral("exchange.kvx"))}));
    const CtlRun run = runKavexctl({QStringLiteral("--port"), sim.device(), QStringLiteral("charges")}, sim.dir());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.err.constData();
    EXPECT_EQ(run.out, QByteArray("21\t4660\n22\t7\n23\t256\n"));
}

TEST(EndToEnd, SimulatorKilledDuringAReadIsReportedWithoutHangingOrSpinning)
{
    SimulatedExchange sim;
    // At 300 baud the 300-byte base reply takes ten seconds, so the kill lands inside it.
    ASSERT_TRUE(sim.start({QStringLiteral("--baud"), QStringLiteral("300")}));
    QProcess ctl;
    ctl.setProgram(binary(QStringLiteral("kavexctl")));
    ctl.setArguments({QStringLiteral("--dir"), sim.dir(), QStringLiteral("--port"), sim.device(),
                      QStringLiteral("--timeout"), QStringLiteral("10"), QStringLiteral("read")});
    const double cpuBefore = CpuTime::children();
    ctl.start();
    for (int i = 0; i < 200 && sim.cells().isEmpty(); ++i)
        QThread::msleep(50);
    ASSERT_FALSE(sim.cells().isEmpty()) << "the read request never reached the simulator";
    QThread::msleep(300);
    sim.kill();
    ASSERT_TRUE(ctl.waitForFinished(40000)) << "kavexctl hangs after the simulator died";
    EXPECT_EQ(ctl.exitCode(), 2);
    EXPECT_TRUE(QString::fromUtf8(ctl.readAllStandardError())
                    .contains(QStringLiteral("Kommunikationsfehler auf Schnittstelle")));
    // Both children together: far below a second of CPU, where a spinning thread would burn all of it.
    EXPECT_LT(CpuTime::children() - cpuBefore, 1.5);
}

// --record does what the program does after a reading: a history line when the total changed.
TEST(EndToEnd, ChargesAsJsonWithCostsAndRecordedInTheHistory)
{
    SimulatedExchange sim;
    ConfigImage image = sampleImage(2, 0, 3);
    const quint8 counters[] = {0x34, 0x12, 7, 0, 0, 1};
    for (int i = 0; i < 16; ++i)
        image[801 + i] = i < 6 ? counters[i] : 0;
    ASSERT_TRUE(writeImageFile(sim.path(QStringLiteral("exchange.kvx")), image));
    QFile ini(sim.path(QStringLiteral("WinKavex.INI")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Allgemein]\r\nKosten=0,10\r\n[AlteEinheiten]\r\n22=10\r\n");
    ini.close();
    ASSERT_TRUE(sim.start({QStringLiteral("--image"), sim.path(QStringLiteral("exchange.kvx"))}));
    const QStringList args = {QStringLiteral("--port"), sim.device(), QStringLiteral("charges"),
                              QStringLiteral("--json"), QStringLiteral("--record")};
    for (int run = 0; run < 2; ++run) {
        const CtlRun ctl = runKavexctl(args, sim.dir());
        ASSERT_TRUE(ctl.finished);
        EXPECT_EQ(ctl.exitCode, 0) << ctl.err.constData();
        EXPECT_EQ(ctl.out, QByteArray(R"({"costs":[466,0.7,25.6],"total_cost":492.3,"total_units":4923,)"
                                      R"("units":[4660,7,256,0,0,0,0,0]})"
                                      "\n"));
    }
    QFile history(sim.path(QStringLiteral("WinKavex.dat")));
    ASSERT_TRUE(history.open(QIODevice::ReadOnly));
    const QList<QByteArray> lines = history.readAll().split('\n');
    ASSERT_EQ(lines.size(), 5); // header, one reading (the second changed nothing), the end
    EXPECT_TRUE(lines[3].endsWith("|  4660 |     7 |   256 |     0 |     0 |     0 |     0 |     0 |  4923 |\r"));
}

TEST(EndToEnd, APortHeldByTheProgramIsRefusedWithExit1)
{
    SimulatedExchange sim;
    ASSERT_TRUE(sim.start());
    TComm32 program; // in place of the desktop program
    ASSERT_TRUE(program.open(sim.device()));
    const CtlRun run = runKavexctl(
        {QStringLiteral("--port"), sim.device(), QStringLiteral("charges"), QStringLiteral("--record")}, sim.dir());
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_TRUE(run.err.contains("wird von einem anderen Programm benutzt")) << run.err.constData();
    EXPECT_FALSE(QFile::exists(sim.path(QStringLiteral("WinKavex.dat"))));
    program.close();
}
