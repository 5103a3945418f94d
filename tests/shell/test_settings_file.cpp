#include "IniFileTest.h"
#include "KillPoints.h"
#include "shell/SettingsFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

namespace {

class SettingsFileTest : public IniFileTest
{};

} // namespace

TEST_F(SettingsFileTest, NamesCompareCaseInsensitivelyWithUmlauts)
{
    put("[Allgemein]\r\n"
        "  Anschlu\xDF =  COM2  \r\n"
        "StartSeite=3\r\n"
        "[\xDC"
        "berwachung]\r\n"
        "MSN3=0\r\n");
    const SettingsFile ini(iniPath());
    EXPECT_EQ(ini.value(QStringLiteral("ALLGEMEIN"), QStringLiteral("ANSCHLUß")), QStringLiteral("COM2"));
    EXPECT_EQ(ini.value(QStringLiteral("allgemein"), QStringLiteral("Startseite")), QStringLiteral("3"));
    EXPECT_EQ(ini.value(QStringLiteral("ÜBERWACHUNG"), QStringLiteral("msn3")), QStringLiteral("0"));
    EXPECT_EQ(ini.value(QStringLiteral("überwachung"), QStringLiteral("MSN3")), QStringLiteral("0"));
    EXPECT_FALSE(ini.value(QStringLiteral("Ueberwachung"), QStringLiteral("MSN3")).has_value());
    EXPECT_FALSE(ini.value(QStringLiteral("Allgemein"), QStringLiteral("MSN3")).has_value());
}

TEST_F(SettingsFileTest, ReadRulesOfTheProfileFunctions)
{
    put("Anschluss=COM4\r\n" // before any section: belongs to none
        "[Zeitpunkt1]\n"
        "; Datei=commented.kvx\n"
        "Datei=\"C:\\Kavex\\Nacht.kvx\"\n"
        "Leer=\n"
        "ohne Gleichheitszeichen\n"
        "Zeit=0730\n"
        "[Zeitpunkt2]\n"
        "Zeit=0800\n"
        "[zeitpunkt1]\n"
        "Zeit=2200"); // a later section of the same name is never read
    const SettingsFile ini(iniPath());
    EXPECT_EQ(ini.value(QStringLiteral("Zeitpunkt1"), QStringLiteral("Datei")), QStringLiteral("C:\\Kavex\\Nacht.kvx"));
    EXPECT_EQ(ini.value(QStringLiteral("Zeitpunkt1"), QStringLiteral("Leer")), QStringLiteral(""));
    EXPECT_EQ(ini.value(QStringLiteral("Zeitpunkt1"), QStringLiteral("Zeit")), QStringLiteral("0730"));
    EXPECT_EQ(ini.value(QStringLiteral("Zeitpunkt2"), QStringLiteral("Zeit")), QStringLiteral("0800"));
    EXPECT_FALSE(ini.contains(QStringLiteral("Zeitpunkt2"), QStringLiteral("Datei")));
    EXPECT_FALSE(ini.contains(QString(), QStringLiteral("Anschluss")));
    EXPECT_EQ(ini.readString(QStringLiteral("Wecken"), QStringLiteral("Dauer"), QStringLiteral("10")),
              QStringLiteral("10"));
}

TEST_F(SettingsFileTest, AMissingFileReadsAsDefaults)
{
    const SettingsFile ini(iniPath());
    EXPECT_FALSE(ini.value(QStringLiteral("Allgemein"), QStringLiteral("Anschluß")).has_value());
    EXPECT_EQ(ini.readString(QStringLiteral("Allgemein"), QStringLiteral("Anschluß"), QStringLiteral("COMx")),
              QStringLiteral("COMx"));
}

TEST_F(SettingsFileTest, WritingKeepsEverythingElseByteForByte)
{
    put("; Einstellungen von Hand\r\n"
        "\r\n"
        "[allgemein]\r\n"
        "STARTSEITE = 2\r\n"
        "Kosten=0,12\r\n"
        "; Ende Allgemein\r\n"
        "\r\n"
        "[Bezeichnungen]\n"
        "21=K\xFC"
        "che\t\n"
        "\n"
        "[Schnittstellen]\r\n"
        "COM1=/dev/ttyUSB0");
    SettingsFile ini(iniPath());
    ASSERT_TRUE(ini.writeString(QStringLiteral("Allgemein"), QStringLiteral("Startseite"), QStringLiteral("8")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("ALLGEMEIN"), QStringLiteral("Anschluß"), QStringLiteral("COM3")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Schnittstellen"), QStringLiteral("COM2"), QStringLiteral("/dev/x")));
    ASSERT_TRUE(ini.writeString(QStringLiteral("Überwachung"), QStringLiteral("Alle"), QStringLiteral("0")));
    EXPECT_EQ(bytes(), QByteArray("; Einstellungen von Hand\r\n"
                                  "\r\n"
                                  "[allgemein]\r\n"
                                  "STARTSEITE=8\r\n"
                                  "Kosten=0,12\r\n"
                                  "Anschlu\xDF=COM3\r\n"
                                  "; Ende Allgemein\r\n"
                                  "\r\n"
                                  "[Bezeichnungen]\n"
                                  "21=K\xFC"
                                  "che\t\n"
                                  "\n"
                                  "[Schnittstellen]\r\n"
                                  "COM1=/dev/ttyUSB0\r\n"
                                  "COM2=/dev/x\r\n"
                                  "\r\n"
                                  "[\xDC"
                                  "berwachung]\r\n"
                                  "Alle=0\r\n"));
}

TEST_F(SettingsFileTest, ANewFileIsWindowsTextWithCrLf)
{
    SettingsFile ini(iniPath());
    ASSERT_TRUE(ini.write({{QStringLiteral("Allgemein"), QStringLiteral("Anschluß"), QStringLiteral("COM1")},
                           {QStringLiteral("Loeschen"), QStringLiteral("Kostenlose Gespräche"), QStringLiteral("1")},
                           {QStringLiteral("Allgemein"), QStringLiteral("AktionDiagnose"), QStringLiteral("Keine")}}));
    EXPECT_EQ(bytes(), QByteArray("[Allgemein]\r\n"
                                  "Anschlu\xDF=COM1\r\n"
                                  "AktionDiagnose=Keine\r\n"
                                  "\r\n"
                                  "[Loeschen]\r\n"
                                  "Kostenlose Gespr\xE4"
                                  "che=1\r\n"));
}

TEST_F(SettingsFileTest, AValueStaysOnItsLine)
{
    SettingsFile ini(iniPath());
    ASSERT_TRUE(ini.writeString(QStringLiteral("Kurzwahlen"), QStringLiteral("301"), QStringLiteral("a\r\n[X]\nb")));
    EXPECT_EQ(bytes(), QByteArray("[Kurzwahlen]\r\n301=a  [X] b\r\n"));
}

TEST_F(SettingsFileTest, EraseAndReplaceASection)
{
    put("[Wecken]\r\n"
        "; alte Zeiten\r\n"
        "Nebenstelle 21, MoFr-Zeit=0630\r\n"
        "Dauer=20\r\n"
        "\r\n"
        "[Fenster]\r\n"
        "X-Position=10\r\n"
        "[WECKEN]\r\n"
        "Dauer=30\r\n");
    SettingsFile ini(iniPath());
    ASSERT_TRUE(ini.replaceSection(QStringLiteral("wecken"),
                                   {{QStringLiteral("Wecken"), QStringLiteral("Dauer"), QStringLiteral("15")}}));
    EXPECT_EQ(bytes(), QByteArray("[Fenster]\r\n"
                                  "X-Position=10\r\n"
                                  "\r\n"
                                  "[Wecken]\r\n"
                                  "Dauer=15\r\n"));
    ASSERT_TRUE(ini.eraseSection(QStringLiteral("WECKEN")));
    EXPECT_EQ(bytes(), QByteArray("[Fenster]\r\n"
                                  "X-Position=10\r\n"
                                  "\r\n"));
}

TEST_F(SettingsFileTest, ARefusedWriteIsReportedAndChangesNothing)
{
    // A directory where the file should be: no user, not even the superuser, can write it.
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("WinKavex.INI")));
    SettingsFile blocked(iniPath());
    EXPECT_FALSE(blocked.writeString(QStringLiteral("Allgemein"), QStringLiteral("Anschluß"), QStringLiteral("COM1")));
    EXPECT_FALSE(blocked.eraseSection(QStringLiteral("Allgemein")));

    // A parent that is a regular file.
    const QString plain = m_dir.filePath(QStringLiteral("plain"));
    QFile file(plain);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SettingsFile nowhere(plain + QStringLiteral("/WinKavex.INI"));
    EXPECT_FALSE(nowhere.writeString(QStringLiteral("Allgemein"), QStringLiteral("Kosten"), QStringLiteral("1")));
}

TEST_F(SettingsFileTest, AReadOnlyFileIsNotReplaced)
{
    if (geteuid() == 0)
        GTEST_SKIP() << "file permissions do not bind the superuser; the refused-write test covers the report";
    put("[Allgemein]\r\nKosten=0,12\r\n");
    ASSERT_TRUE(QFile::setPermissions(iniPath(), QFile::ReadOwner));
    SettingsFile ini(iniPath());
    EXPECT_FALSE(ini.writeString(QStringLiteral("Allgemein"), QStringLiteral("Kosten"), QStringLiteral("0,20")));
    QFile::setPermissions(iniPath(), QFile::ReadOwner | QFile::WriteOwner);
    EXPECT_EQ(bytes(), QByteArray("[Allgemein]\r\nKosten=0,12\r\n"));
}

// Killed at any byte of a write, the settings file is the old one or the new one, whole.
TEST_F(SettingsFileTest, AWriteKilledAtAnyByteLeavesTheOldFileOrTheNew)
{
    const QByteArray before = "; von Hand\r\n[Allgemein]\r\nAnschlu\xdf=COM2\r\nTimeOut=10\r\n\r\n[Bezeichnungen]\r\n"
                              "21=B\xfcro\r\n22=K\xfc"
                              "che\r\n";
    const QList<SettingsFile::Entry> entries{{"Allgemein", "TimeOut", "25"}, {"Bezeichnungen", "23", "Flur"}};
    put(before);
    ASSERT_TRUE(SettingsFile(iniPath()).write(entries));
    const QByteArray after = bytes();
    ASSERT_NE(after, before);
    int killed = 0;
    for (qint64 limit = 0; limit <= after.size(); ++limit) {
        put(before);
        const int status = KillPoints::runWithFileSizeLimit(limit, [&] { SettingsFile(iniPath()).write(entries); });
        killed += KillPoints::killedByTheLimit(status) ? 1 : 0;
        ASSERT_TRUE(bytes() == before || bytes() == after) << "killed at byte " << limit;
    }
    EXPECT_EQ(bytes(), after);
    EXPECT_GT(killed, 0);
}

// A FIFO in the settings file's place reads as no file and is never replaced; nothing waits on it.
TEST_F(SettingsFileTest, AFifoInPlaceOfTheFileIsNeitherWaitedOnNorReplaced)
{
    ASSERT_EQ(::mkfifo(QFile::encodeName(iniPath()).constData(), 0600), 0);
    ::alarm(10);
    SettingsFile file(iniPath());
    EXPECT_FALSE(file.value(QStringLiteral("Allgemein"), QStringLiteral("Anschluß")).has_value());
    EXPECT_FALSE(file.writeString(QStringLiteral("Allgemein"), QStringLiteral("Anschluß"), QStringLiteral("COM1")));
    ::alarm(0);
    struct stat info
    {};
    ASSERT_EQ(::lstat(QFile::encodeName(iniPath()).constData(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
}
