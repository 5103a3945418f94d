#include "BlockLog.h"
#include "CellReassembler.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(BlockLog, LineIsTimeThenUpperCaseHexBytes)
{
    EXPECT_EQ(BlockLog::formatLine(QTime(7, 5, 3, 9), QByteArray::fromHex("830a0000")),
              QStringLiteral("07:05:03.009 83 0A 00 00"));
    EXPECT_EQ(BlockLog::formatLine(QTime(23, 59, 59, 999), QByteArray::fromHex("03dd")),
              QStringLiteral("23:59:59.999 03 DD"));
}

TEST(BlockLog, RecordsOneLinePerCellWithTheTimeOfItsFirstByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("sim.log"));
    {
        QFile old(path);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("from an earlier run\n");
    }
    BlockLog log;
    ASSERT_TRUE(log.open(path));
    CellReassembler cells;
    const QTime base(10, 0, 0);
    cells.setCellSink([&](const QByteArray& cell, qint64 firstByteUs) {
        log.record(base.addMSecs(static_cast<int>(firstByteUs / 1000)), cell);
    });
    // Two blocks of a request 40 ms apart, then a payload sent byte by byte, then a torn cell.
    cells.feed(QByteArray::fromHex("03CC0603"), 0);
    cells.feed(QByteArray::fromHex("8201FF00"), 40'000);
    qint64 t = 100'000;
    for (char b : QByteArray::fromHex("810C0000")) {
        cells.feed(QByteArray(1, b), t);
        t += 50'000;
    }
    cells.feed(QByteArray::fromHex("8306"), 1'000'000);
    cells.expire(1'600'000);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray("10:00:00.000 03 CC 06 03\n"
                                         "10:00:00.040 82 01 FF 00\n"
                                         "10:00:00.100 81 0C 00 00\n"
                                         "10:00:01.000 83 06\n"));
}

TEST(BlockLog, UnwritablePathIsReported)
{
    BlockLog log;
    EXPECT_FALSE(log.open(QStringLiteral("/nonexistent-dir/sim.log")));
    EXPECT_FALSE(log.errorString().isEmpty());
    log.record(QTime(1, 0), QByteArray("x")); // no file: nothing happens
}
