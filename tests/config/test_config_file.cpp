#include "KillPoints.h"
#include "TestImages.h"

#include "config/ConfigFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QByteArray bytes(int size, int seed)
{
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>((i * 13 + seed) & 0xFF);
    return data;
}

bool writeFile(const QString& path, const QByteArray& data)
{
    QFile f(path);
    return f.open(QIODevice::WriteOnly) && f.write(data) == data.size();
}

QByteArray readFile(const QString& path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

TEST(ConfigFile, ProposedNameAndExtension)
{
    EXPECT_EQ(ConfigFile::proposedName(QDate(1999, 1, 24)), QStringLiteral("WinKavex_990124.KVX"));
    EXPECT_EQ(ConfigFile::proposedName(QDate(2026, 12, 9)), QStringLiteral("WinKavex_261209.KVX"));
    EXPECT_EQ(ConfigFile::withExtension(QStringLiteral("/tmp/abend")), QStringLiteral("/tmp/abend.kvx"));
    EXPECT_EQ(ConfigFile::withExtension(QStringLiteral("/tmp/abend.KVX")), QStringLiteral("/tmp/abend.KVX"));
}

TEST(ConfigFile, SaveWritesTheImageByteForByte)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.KVX"));
    const ConfigImage image = TestImages::firmware200();
    ASSERT_TRUE(writeFile(path, bytes(2000, 1))); // an older, longer file is replaced whole
    EXPECT_EQ(ConfigFile::save(path, image), std::nullopt);
    EXPECT_EQ(readFile(path), image.toByteArray());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"a.KVX"});
}

TEST(ConfigFile, FailedSaveIsReportedAndLeavesNothingBehind)
{
    QTemporaryDir dir;
    const QString blocker = dir.filePath(QStringLiteral("file"));
    ASSERT_TRUE(writeFile(blocker, "x"));
    const QString path = blocker + QStringLiteral("/a.KVX"); // its folder is a file, even for root
    EXPECT_EQ(ConfigFile::save(path, ConfigImage()), QStringLiteral("Kann nicht nach %1 schreiben").arg(path));
    EXPECT_EQ(readFile(blocker), "x");
}

TEST(ConfigFile, LoadKeepsTheChargeDataOfTheImage)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("long.kvx"));
    const QByteArray file = bytes(1500, 7);
    ASSERT_TRUE(writeFile(path, file));
    ConfigImage image = TestImages::firmware200();
    const ConfigImage before = image;
    ASSERT_TRUE(ConfigFile::load(path, image));
    for (int i = 0; i < ConfigImage::Size; ++i) {
        const bool kept = i >= 800 && i < 976;
        ASSERT_EQ(image[i], kept ? before[i] : static_cast<std::uint8_t>(file[i])) << i;
    }
    const auto read = ConfigFile::read(path);
    ASSERT_TRUE(read.has_value());
    EXPECT_EQ(read->toByteArray(), file.left(1024));
}

TEST(ConfigFile, ShortOrMissingFilesLeaveTheImage)
{
    QTemporaryDir dir;
    const QString shortFile = dir.filePath(QStringLiteral("short.kvx"));
    ASSERT_TRUE(writeFile(shortFile, bytes(1000, 3)));
    const QString directory = dir.filePath(QStringLiteral("folder.kvx"));
    ASSERT_TRUE(QDir().mkpath(directory));
    for (const QString& path : {shortFile, dir.filePath(QStringLiteral("missing.kvx")), directory}) {
        ConfigImage image = TestImages::firmware200();
        EXPECT_FALSE(ConfigFile::load(path, image)) << path.toStdString();
        EXPECT_EQ(image, TestImages::firmware200());
    }
}

// Killed at any byte of a save, the file is the old configuration or the new one, whole.
TEST(ConfigFile, ASaveKilledAtAnyByteLeavesTheOldFileOrTheNew)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("a.KVX"));
    const QByteArray before = bytes(ConfigImage::Size, 5);
    const ConfigImage image = TestImages::firmware200();
    int killed = 0;
    for (qint64 limit = 0; limit <= ConfigImage::Size; limit += limit < 8 || limit > 1016 ? 1 : 61) {
        ASSERT_TRUE(writeFile(path, before));
        const int status = KillPoints::runWithFileSizeLimit(limit, [&] { ConfigFile::save(path, image); });
        killed += KillPoints::killedByTheLimit(status) ? 1 : 0;
        const QByteArray now = readFile(path);
        ASSERT_TRUE(now == before || now == image.toByteArray()) << "killed at byte " << limit;
        EXPECT_EQ(now == image.toByteArray(), limit == ConfigImage::Size) << limit;
    }
    EXPECT_GT(killed, 20);
}

} // namespace
