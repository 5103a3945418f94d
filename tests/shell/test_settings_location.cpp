#include "shell/ProgramDirs.h"
#include "shell/SettingsLocation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class SettingsLocationTest : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("config")));
        ASSERT_TRUE(QDir(m_root.path()).mkpath(QStringLiteral("program")));
    }

    QString configHome() const { return m_root.filePath(QStringLiteral("config")); }
    QString programDir() const { return m_root.filePath(QStringLiteral("program")); }
    QString firstFile() const { return configHome() + QStringLiteral("/WinKavex.INI"); }
    QString secondFile() const { return programDir() + QStringLiteral("/WinKavex.INI"); }

    static void put(const QString& path, const QByteArray& bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }

    QTemporaryDir m_root;
};

} // namespace

TEST_F(SettingsLocationTest, NoFileAnywhereUsesTheProgramDirectory)
{
    EXPECT_EQ(SettingsLocation::resolve(configHome(), programDir()), secondFile());
}

TEST_F(SettingsLocationTest, AConfigHomeFileNamingAPortWins)
{
    put(firstFile(), "[ALLGEMEIN]\r\nANSCHLU\xDF=  COM2 \r\n");
    put(secondFile(), "[Allgemein]\r\nAnschlu\xDF=COM1\r\n");
    EXPECT_EQ(SettingsLocation::resolve(configHome(), programDir()), firstFile());
}

TEST_F(SettingsLocationTest, AConfigHomeFileWithoutAPortIsIgnored)
{
    put(secondFile(), "[Allgemein]\r\nAnschlu\xDF=COM1\r\n");
    for (const QByteArray& first :
         {QByteArray("[Allgemein]\r\nKosten=0,12\r\n"), QByteArray("[Allgemein]\r\nAnschlu\xDF= COMx \r\n"),
          QByteArray("[Fenster]\r\nAnschlu\xDF=COM3\r\n")}) {
        put(firstFile(), first);
        EXPECT_EQ(SettingsLocation::resolve(configHome(), programDir()), secondFile()) << first.constData();
    }
}

TEST_F(SettingsLocationTest, ResolvesFromTheProgramDirectories)
{
    ProgramDirs::Environment env;
    env.home = m_root.path();
    env.xdgConfigHome = configHome();
    env.winkavexDir = programDir();
    EXPECT_EQ(SettingsLocation::resolve(ProgramDirs({}, env)), secondFile());
    put(firstFile(), "[Allgemein]\r\nAnschlu\xDF=COM4\r\n");
    EXPECT_EQ(SettingsLocation::resolve(ProgramDirs({}, env)), firstFile());
}

TEST(ProgramDirs, OptionThenVariableThenDataHome)
{
    ProgramDirs::Environment env;
    env.home = QStringLiteral("/home/k");
    env.xdgDataHome = QStringLiteral("/data");
    env.xdgConfigHome = QStringLiteral("/cfg");
    env.winkavexDir = QStringLiteral("/srv/kavex/");

    EXPECT_EQ(ProgramDirs(QStringLiteral("/opt/wk"), env).programDir(), QStringLiteral("/opt/wk"));
    EXPECT_EQ(ProgramDirs({}, env).programDir(), QStringLiteral("/srv/kavex"));
    env.winkavexDir.clear();
    EXPECT_EQ(ProgramDirs({}, env).programDir(), QStringLiteral("/data/WinKavex"));
    EXPECT_EQ(ProgramDirs({}, env).configHome(), QStringLiteral("/cfg"));
    EXPECT_EQ(ProgramDirs({}, env).programFile(QStringLiteral("WinKavex.out")),
              QStringLiteral("/data/WinKavex/WinKavex.out"));

    // Empty or relative base directories fall back to the home directory.
    env.xdgDataHome = QStringLiteral("relative/data");
    env.xdgConfigHome.clear();
    EXPECT_EQ(ProgramDirs({}, env).programDir(), QStringLiteral("/home/k/.local/share/WinKavex"));
    EXPECT_EQ(ProgramDirs({}, env).configHome(), QStringLiteral("/home/k/.config"));
}

TEST(ProgramDirs, ARelativeOptionIsMadeAbsolute)
{
    ProgramDirs::Environment env;
    env.home = QStringLiteral("/home/k");
    EXPECT_EQ(ProgramDirs(QStringLiteral("wk"), env).programDir(), QDir::current().absoluteFilePath("wk"));
}

TEST(ProgramDirs, TheProgramDirectoryIsCreatedOnFirstUse)
{
    QTemporaryDir root;
    ProgramDirs::Environment env;
    env.home = root.path();
    const ProgramDirs dirs({}, env);
    EXPECT_FALSE(QFileInfo::exists(dirs.programDir()));
    ASSERT_TRUE(dirs.ensureProgramDir());
    EXPECT_TRUE(QFileInfo(root.filePath(QStringLiteral(".local/share/WinKavex"))).isDir());
    EXPECT_TRUE(dirs.ensureProgramDir());

    QFile plain(root.filePath(QStringLiteral("plain")));
    ASSERT_TRUE(plain.open(QIODevice::WriteOnly));
    plain.close();
    EXPECT_FALSE(ProgramDirs(root.filePath(QStringLiteral("plain/WinKavex")), env).ensureProgramDir());
}

// A program directory that another user could write, or one below such a folder, is refused by
// name; the user's own is not, and neither is one below a sticky folder such as /tmp.
TEST(ProgramDirs, AFolderOthersMayWriteIsRefused)
{
    QTemporaryDir dir;
    const QString open = dir.filePath(QStringLiteral("offen"));
    const QString below = open + QStringLiteral("/WinKavex");
    QDir().mkpath(below);
    const ProgramDirs::Environment env;
    for (const mode_t mode : {mode_t(0777), mode_t(0775), mode_t(0755)}) {
        ::chmod(QFile::encodeName(open).constData(), mode);
        for (const QString& programDir : {open, below}) {
            const std::optional<QString> refusal = ProgramDirs(programDir, env).refusal();
            if (mode == 0755)
                EXPECT_FALSE(refusal.has_value()) << programDir.toStdString();
            else
                EXPECT_EQ(refusal, QStringLiteral("Programmverzeichnis %1 wird nicht benutzt: Ordner für andere "
                                                  "beschreibbar")
                                       .arg(programDir));
        }
    }
    ProgramDirs created(dir.filePath(QStringLiteral("neu/WinKavex")), env);
    const mode_t umask = ::umask(0);
    EXPECT_TRUE(created.ensureProgramDir());
    ::umask(umask);
    EXPECT_FALSE(created.refusal().has_value()) << "made 0700 whatever the umask";
}
