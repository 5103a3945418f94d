#include "IniFileTest.h"
#include "charges/CallLogReader.h"
#include "shell/Settings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

class SettingsTest : public IniFileTest
{};

// One stored line of section "Allgemein" and what a getter makes of it.
struct ReadCase
{
    const char* line;
    std::function<double(const Settings&)> read;
    double expected;
};

class SettingsReadRule : public SettingsTest, public testing::WithParamInterface<ReadCase>
{};

} // namespace

TEST_P(SettingsReadRule, AppliesTheEncodingsRule)
{
    put(QByteArray("[Allgemein]\r\n") + GetParam().line + "\r\n");
    const Settings settings(iniPath());
    EXPECT_DOUBLE_EQ(GetParam().read(settings), GetParam().expected) << GetParam().line;
}

namespace {
double timeOut(const Settings& s)
{
    return s.timeOutSeconds();
}
double cost(const Settings& s)
{
    return s.unitCost();
}
double volume(const Settings& s)
{
    return s.standardVolume();
}
double action(const Settings& s)
{
    return s.diagnosisAction();
}
double face(const Settings& s)
{
    return s.fontFaceIndex();
}
double page(const Settings& s)
{
    return s.startPage();
}
double startWait(const Settings& s)
{
    return s.startWaitMs();
}
double days(const Settings& s)
{
    return s.displayDays();
}
} // namespace

INSTANTIATE_TEST_SUITE_P(
    Encodings, SettingsReadRule,
    testing::Values(ReadCase{"TimeOut=3", timeOut, 10}, ReadCase{"TimeOut=25", timeOut, 25},
                    ReadCase{"TimeOut=0x14", timeOut, 20}, ReadCase{"TimeOut=zehn", timeOut, 10},
                    ReadCase{"TimeOut=12s", timeOut, 10}, ReadCase{"Kosten=0,125", cost, 0.125},
                    ReadCase{"Kosten=12", cost, 0}, ReadCase{"Kosten=-0,5", cost, 0},
                    ReadCase{"Kosten=9.99", cost, 9.99}, ReadCase{"Kosten=  1,5  ", cost, 1.5},
                    ReadCase{"Kosten=0,12345678901", cost, 0.12345678}, ReadCase{"Kosten=teuer", cost, 0},
                    ReadCase{"Kosten=1,2,3", cost, 0}, ReadCase{"Standardlautst\xE4rke=ja", volume, 1},
                    ReadCase{"Standardlautst\xE4rke=1", volume, 0}, ReadCase{"Standardlautst\xE4rke=Nein", volume, 0},
                    ReadCase{"STANDARDLAUTST\xC4RKE=JA", volume, 1},
                    ReadCase{"AktionDiagnose=Verbindung zeigen", action, 4},
                    ReadCase{"AktionDiagnose=Keine", action, 0}, ReadCase{"AktionDiagnose=keine", action, 5},
                    ReadCase{"AktionDiagnose=Laut", action, 5}, ReadCase{"Schriftart=Arial", face, -1},
                    ReadCase{"Schriftart=Tahoma", face, 1}, ReadCase{"Startseite=8", page, 8},
                    ReadCase{"STARTSEITE=12", page, 0}, ReadCase{"StartWartezeit=5", startWait, 5000},
                    ReadCase{"Startwartezeit=30", startWait, 30000}, ReadCase{"Startwartezeit=31", startWait, 31},
                    ReadCase{"Startwartezeit=lang", startWait, 1000}, ReadCase{"Anzeigezeitraum=0x1E", days, 30}));

TEST_F(SettingsTest, DefaultsWithoutAFile)
{
    const Settings settings(iniPath());
    EXPECT_EQ(settings.port(), QStringLiteral("COMx"));
    EXPECT_FALSE(Settings::isValidPort(settings.port()));
    EXPECT_EQ(settings.startWaitMs(), 1000);
    EXPECT_EQ(settings.startWaitSeconds(), 1);
    EXPECT_EQ(settings.displayDays(), 7);
    EXPECT_EQ(settings.timeOutSeconds(), 10);
    EXPECT_TRUE(settings.standardVolume());
    EXPECT_EQ(settings.diagnosisAction(), 0);
    EXPECT_TRUE(settings.printWithBorder());
    EXPECT_EQ(settings.startPage(), 0);
    EXPECT_EQ(settings.unitCost(), 0.0);
    EXPECT_EQ(settings.fontFace(), QStringLiteral("MS Sans Serif"));
    EXPECT_EQ(settings.fontFaceIndex(), 0);
    EXPECT_EQ(settings.windowX(), 261);
    EXPECT_EQ(settings.windowY(), 272);
    for (int msn = 0; msn < Settings::kMsnCount; ++msn)
        EXPECT_TRUE(settings.watchMsn(msn));
    EXPECT_TRUE(settings.loadCapi());
    EXPECT_TRUE(settings.recordOutgoing());
    EXPECT_TRUE(settings.watchAll());
    EXPECT_FALSE(settings.deleteFreeCalls());
    EXPECT_EQ(settings.extensionName(21), QString());
    EXPECT_EQ(settings.oldUnits(28), 0);
    EXPECT_EQ(settings.oldCosts(21), 0.0);
    const Settings::TimePoint point = settings.timePoint(6);
    EXPECT_EQ(point.time, QStringLiteral("9999"));
    EXPECT_TRUE(point.file.isEmpty());
    EXPECT_TRUE(point.weekdays);
    EXPECT_TRUE(point.weekend);
    const Settings::WakeUpTimes wake = settings.wakeUpTimes();
    EXPECT_EQ(wake.weekdays[0], QStringLiteral("9999"));
    EXPECT_EQ(wake.weekend[7], QStringLiteral("9999"));
    EXPECT_EQ(wake.durationSeconds, 10);
    EXPECT_EQ(settings.speedDialName(301), QString());
    for (int com = 1; com <= 4; ++com)
        EXPECT_EQ(settings.devicePath(QStringLiteral("COM%1").arg(com)), QStringLiteral("/dev/ttyS%1").arg(com - 1));
    EXPECT_EQ(settings.devicePath(QStringLiteral("COM5")), QString());
    EXPECT_FALSE(QFile::exists(iniPath()));
}

TEST_F(SettingsTest, PortMustBeExactlyOneOfFour)
{
    for (const char* valid : {"COM1", "COM2", "COM3", "COM4"})
        EXPECT_TRUE(Settings::isValidPort(QString::fromLatin1(valid)));
    for (const char* invalid : {"COM0", "COM5", "com1", " COM1", "COMx", "", "/dev/ttyS0"})
        EXPECT_FALSE(Settings::isValidPort(QString::fromLatin1(invalid))) << invalid;
}

TEST_F(SettingsTest, PerKeySectionsAreRead)
{
    put("[Bezeichnungen]\r\n"
        "21=B\xFCro\r\n"
        "22=0123456789012345678901234567890123456789xyz\r\n"
        "[AlteEinheiten]\r\n"
        "21=  42  \r\n"
        "22=12345678901\r\n"
        "[AlteKosten]\r\n"
        "23=3,75\r\n"
        "[\xFC"
        "berwachung]\r\n"
        "MSN4=0\r\n"
        "Alle=2\r\n"
        "CAPI-Laden=aus\r\n"
        "[Kurzwahlen]\r\n"
        "301=Mutter\r\n"
        "[Kurzwahlen-Rufnummer]\r\n"
        "301=0711123456789012345678\r\n"
        "[Kurzwahlen-Sound]\r\n"
        "301=/usr/share/sounds/mutter.wav\r\n"
        "[Schnittstellen]\r\n"
        "COM2=/dev/ttyUSB0\r\n"
        "[Zeitpunkt3]\r\n"
        "Zeit=2200\r\n"
        "Datei=/home/k/nacht.KVX\r\n"
        "Mo-Fr=nein\r\n"
        "[Wecken]\r\n"
        "Nebenstelle 23, SaSo-Zeit=0915\r\n"
        "Dauer=45\r\n");
    const Settings settings(iniPath());
    EXPECT_EQ(settings.extensionName(21), QStringLiteral("Büro"));
    EXPECT_EQ(settings.extensionName(22), QStringLiteral("0123456789012345678901234567890123456789"));
    EXPECT_EQ(settings.extensionName(29), QString());
    EXPECT_EQ(settings.oldUnits(21), 42);
    EXPECT_EQ(settings.oldUnits(22), 1234567890); // only the first ten characters count
    EXPECT_DOUBLE_EQ(settings.oldCosts(23), 3.75);
    EXPECT_FALSE(settings.watchMsn(4));
    EXPECT_TRUE(settings.watchMsn(5));
    EXPECT_TRUE(settings.watchAll());
    EXPECT_TRUE(settings.loadCapi()); // not a number: the default
    EXPECT_EQ(settings.speedDialName(301), QStringLiteral("Mutter"));
    EXPECT_EQ(settings.speedDialNumber(301), QStringLiteral("07111234567890123456"));
    EXPECT_EQ(settings.speedDialSound(301), QStringLiteral("/usr/share/sounds/mutter.wav"));
    EXPECT_EQ(settings.speedDialName(300), QString());
    EXPECT_EQ(settings.devicePath(QStringLiteral("COM2")), QStringLiteral("/dev/ttyUSB0"));
    const Settings::TimePoint point = settings.timePoint(3);
    EXPECT_EQ(point.time, QStringLiteral("2200"));
    EXPECT_EQ(point.file, QStringLiteral("/home/k/nacht.KVX"));
    EXPECT_FALSE(point.weekdays);
    EXPECT_TRUE(point.weekend);
    const Settings::WakeUpTimes wake = settings.wakeUpTimes();
    EXPECT_EQ(wake.weekend[2], QStringLiteral("0915"));
    EXPECT_EQ(wake.weekdays[2], QStringLiteral("9999"));
    EXPECT_EQ(wake.durationSeconds, 45);
}

TEST_F(SettingsTest, WritesStoreTheEncodedValues)
{
    Settings settings(iniPath());
    ASSERT_TRUE(settings.setPort(QStringLiteral("COM3")));
    ASSERT_TRUE(settings.setStartWaitSeconds(5));
    ASSERT_TRUE(settings.setDisplayDays(60));
    ASSERT_TRUE(settings.setStandardVolume(false));
    ASSERT_TRUE(settings.setDiagnosisAction(3));
    ASSERT_TRUE(settings.setPrintWithBorder(true));
    ASSERT_TRUE(settings.setStartPage(8));
    ASSERT_TRUE(settings.setFontFace(QStringLiteral("Tahoma")));
    ASSERT_TRUE(settings.setWindowPosition(-5, 300));
    ASSERT_TRUE(settings.setWatchMsn(9, false));
    ASSERT_TRUE(settings.setLoadCapi(false));
    ASSERT_TRUE(settings.setRecordOutgoing(true));
    ASSERT_TRUE(settings.setWatchAll(false));
    ASSERT_TRUE(settings.setDeleteFreeCalls(true));
    EXPECT_EQ(bytes(), QByteArray("[Allgemein]\r\n"
                                  "Anschlu\xDF=COM3\r\n"
                                  "StartWartezeit=5\r\n"
                                  "Anzeigezeitraum=60\r\n"
                                  "Standardlautst\xE4rke=Nein\r\n"
                                  "AktionDiagnose=Akustisch und Diagnose zeigen\r\n"
                                  "DruckenMitRand=Ja\r\n"
                                  "Startseite=8\r\n"
                                  "Schriftart=Tahoma\r\n"
                                  "\r\n"
                                  "[Fenster]\r\n"
                                  "X-Position=-5\r\n"
                                  "Y-Position=300\r\n"
                                  "\r\n"
                                  "[\xDC"
                                  "berwachung]\r\n"
                                  "MSN9=0\r\n"
                                  "CAPI-Laden=0\r\n"
                                  "Abgehende Rufe=1\r\n"
                                  "Alle=0\r\n"
                                  "\r\n"
                                  "[Loeschen]\r\n"
                                  "Kostenlose Gespr\xE4"
                                  "che=1\r\n"));
    EXPECT_EQ(settings.port(), QStringLiteral("COM3"));
    EXPECT_EQ(settings.startWaitMs(), 5000);
    EXPECT_EQ(settings.startWaitSeconds(), 5);
    EXPECT_EQ(settings.diagnosisAction(), 3);
    EXPECT_EQ(settings.fontFaceIndex(), 1);
    EXPECT_FALSE(settings.watchMsn(9));
}

TEST_F(SettingsTest, RejectedValuesWriteNothing)
{
    put("[Allgemein]\r\nStartwartezeit=1000\r\nAnzeigezeitraum=7\r\n");
    Settings settings(iniPath());
    QSignalSpy failed(&settings, &Settings::writeFailed);
    for (int seconds : {0, -1, 31, 1000})
        EXPECT_FALSE(settings.setStartWaitSeconds(seconds)) << seconds;
    EXPECT_FALSE(settings.setDisplayDays(0));
    EXPECT_FALSE(settings.setDisplayDays(61));
    EXPECT_FALSE(settings.setPort(QStringLiteral("COM5")));
    EXPECT_FALSE(settings.setStartPage(10));
    EXPECT_FALSE(settings.setDiagnosisAction(6));
    EXPECT_FALSE(settings.setWatchMsn(10, false));
    EXPECT_FALSE(settings.setSpeedDial(361, QStringLiteral("x"), QString(), QString()));
    EXPECT_EQ(failed.count(), 0);
    EXPECT_EQ(bytes(), QByteArray("[Allgemein]\r\nStartwartezeit=1000\r\nAnzeigezeitraum=7\r\n"));
    EXPECT_EQ(settings.startWaitMs(), 1000);

    // An accepted value replaces the line under the spelling the file already uses.
    ASSERT_TRUE(settings.setStartWaitSeconds(30));
    EXPECT_EQ(bytes(), QByteArray("[Allgemein]\r\nStartwartezeit=30\r\nAnzeigezeitraum=7\r\n"));
}

TEST_F(SettingsTest, TimePointsAreWrittenTogether)
{
    Settings settings(iniPath());
    std::array<Settings::TimePoint, Settings::kTimePointCount> points;
    points[0] = {QStringLiteral("0730"), QStringLiteral("/k/tag.KVX"), true, false};
    points[5] = {QStringLiteral("2200"), QString(), false, true};
    ASSERT_TRUE(settings.setTimePoints(points));
    QByteArray expected;
    for (int i = 1; i <= 6; ++i) {
        if (i > 1)
            expected += "\r\n";
        expected += "[Zeitpunkt" + QByteArray::number(i) + "]\r\n";
        if (i == 1)
            expected += "Zeit=0730\r\nDatei=/k/tag.KVX\r\nMo-Fr=Ja\r\nSa-So=Nein\r\n";
        else if (i == 6)
            expected += "Zeit=2200\r\nDatei=\r\nMo-Fr=Nein\r\nSa-So=Ja\r\n";
        else
            expected += "Zeit=9999\r\nDatei=\r\nMo-Fr=Ja\r\nSa-So=Ja\r\n";
    }
    EXPECT_EQ(bytes(), expected);

    ASSERT_TRUE(settings.setTimePointFile(6, QStringLiteral("/k/nacht.KVX")));
    EXPECT_EQ(settings.timePoint(6).file, QStringLiteral("/k/nacht.KVX"));
    EXPECT_EQ(settings.timePoint(6).time, QStringLiteral("2200"));
    EXPECT_FALSE(settings.setTimePointFile(7, QStringLiteral("x")));
}

TEST_F(SettingsTest, WakeUpRewritesTheWholeSection)
{
    put("[Wecken]\r\n"
        "; von Hand\r\n"
        "Nebenstelle 21, MoFr-Zeit=0600\r\n"
        "Veraltet=1\r\n"
        "[Fenster]\r\n"
        "X-Position=1\r\n");
    Settings settings(iniPath());
    Settings::WakeUpTimes times = settings.wakeUpTimes();
    EXPECT_EQ(times.weekdays[0], QStringLiteral("0600"));
    times.weekdays[0] = QStringLiteral("0645");
    times.weekend[7] = QStringLiteral("0900");
    times.durationSeconds = 30;
    ASSERT_TRUE(settings.setWakeUpTimes(times));
    QByteArray expected = "[Fenster]\r\nX-Position=1\r\n\r\n[Wecken]\r\n";
    for (int ext = 21; ext <= 28; ++ext) {
        const QByteArray n = QByteArray::number(ext);
        expected += "Nebenstelle " + n + ", MoFr-Zeit=" + (ext == 21 ? "0645" : "9999") + "\r\n";
        expected += "Nebenstelle " + n + ", SaSo-Zeit=" + (ext == 28 ? "0900" : "9999") + "\r\n";
    }
    expected += "Dauer=30\r\n";
    EXPECT_EQ(bytes(), expected);
}

TEST_F(SettingsTest, SpeedDialKeysAreThreeDigitsAndCut)
{
    Settings settings(iniPath());
    ASSERT_TRUE(settings.setSpeedDial(305, QStringLiteral("Praxis Dr. Müller"), QStringLiteral("0221987654"),
                                      QStringLiteral("/s/arzt.wav")));
    ASSERT_TRUE(settings.setSpeedDial(360, QString(41, QLatin1Char('n')), QString(21, QLatin1Char('1')), QString()));
    EXPECT_EQ(bytes(), QByteArray("[Kurzwahlen]\r\n"
                                  "305=Praxis Dr. M\xFCller\r\n"
                                  "360=" +
                                  QByteArray(40, 'n') +
                                  "\r\n"
                                  "\r\n"
                                  "[Kurzwahlen-Rufnummer]\r\n"
                                  "305=0221987654\r\n"
                                  "360=" +
                                  QByteArray(20, '1') +
                                  "\r\n"
                                  "\r\n"
                                  "[Kurzwahlen-Sound]\r\n"
                                  "305=/s/arzt.wav\r\n"
                                  "360=\r\n"));
}

// All numbers in one read give what sixty single reads give: the first section and the first of a
// doubled key, blanks and quotes removed, the 20-character cut, a key of another spelling ignored,
// and a value whose write failed still in force.
TEST_F(SettingsTest, AllSpeedDialNumbersAtOnceReadAsEachAlone)
{
    put("[Kurzwahlen-Rufnummer]\r\n"
        "301 = 0301234567 \r\n"
        "302=\"0897\"\r\n"
        "301=0999\r\n"
        "0303=0111\r\n"
        "360=" +
        QByteArray(25, '5') +
        "\r\n"
        "[kurzwahlen-rufnummer]\r\n"
        "304=0404\r\n");
    Settings settings(iniPath());
    const auto compare = [&settings](const char* when) {
        const QStringList all = settings.speedDialNumbers();
        ASSERT_EQ(all.size(), 60) << when;
        for (int n = 301; n <= 360; ++n)
            EXPECT_EQ(all[n - 301], settings.speedDialNumber(n)) << when << " " << n;
    };
    compare("as stored");
    EXPECT_EQ(settings.speedDialNumber(301), QStringLiteral("0301234567"));
    EXPECT_EQ(settings.speedDialNumber(302), QStringLiteral("0897"));
    EXPECT_EQ(settings.speedDialNumber(304), QString());
    EXPECT_EQ(settings.speedDialNumber(360), QString(20, QLatin1Char('5')));

    ASSERT_TRUE(QFile::remove(iniPath()));
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("WinKavex.INI")));
    EXPECT_FALSE(settings.setSpeedDial(307, QStringLiteral("Neu"), QStringLiteral("0707"), QString()));
    compare("after a refused write");
    EXPECT_EQ(settings.speedDialNumbers()[6], QStringLiteral("0707"));
}

TEST_F(SettingsTest, ARefusedWriteIsReportedAndStaysInForceInMemory)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("WinKavex.INI")));
    Settings settings(iniPath());
    QSignalSpy failed(&settings, &Settings::writeFailed);
    EXPECT_FALSE(settings.setStartPage(4));
    ASSERT_EQ(failed.count(), 1);
    EXPECT_EQ(failed.at(0).at(0).toString(), QStringLiteral("Kann nicht nach %1 schreiben").arg(iniPath()));
    EXPECT_EQ(settings.startPage(), 4);

    Settings::WakeUpTimes times;
    times.weekdays.fill(QStringLiteral("0700"));
    times.weekend.fill(QStringLiteral("9999"));
    EXPECT_FALSE(settings.setWakeUpTimes(times));
    EXPECT_EQ(failed.count(), 2);
    EXPECT_EQ(settings.wakeUpTimes().weekdays[3], QStringLiteral("0700"));
}

TEST_F(SettingsTest, AFailedValueIsForgottenOnceAWriteSucceeds)
{
    ASSERT_TRUE(QDir(m_dir.path()).mkdir(QStringLiteral("WinKavex.INI")));
    Settings settings(iniPath());
    EXPECT_FALSE(settings.setDisplayDays(14));
    ASSERT_TRUE(QDir(m_dir.path()).rmdir(QStringLiteral("WinKavex.INI")));
    ASSERT_TRUE(settings.setDisplayDays(21));
    EXPECT_EQ(settings.displayDays(), 21);
    put("[Allgemein]\r\nAnzeigezeitraum=3\r\n"); // edited by hand afterwards
    EXPECT_EQ(settings.displayDays(), 3);
}

TEST(SettingsTime, AStoredTimeFiresOnlyInItsMinute)
{
    EXPECT_TRUE(Settings::isTimeNow(QStringLiteral("0730"), QTime(7, 30, 0)));
    EXPECT_TRUE(Settings::isTimeNow(QStringLiteral("0730"), QTime(7, 30, 59)));
    EXPECT_FALSE(Settings::isTimeNow(QStringLiteral("0730"), QTime(7, 31, 0)));
    EXPECT_FALSE(Settings::isTimeNow(QStringLiteral("730"), QTime(7, 30, 0)));
    EXPECT_FALSE(Settings::isTimeNow(QStringLiteral("07:30"), QTime(7, 30, 0)));
    for (int minute = 0; minute < 24 * 60; ++minute)
        ASSERT_FALSE(Settings::isTimeNow(QStringLiteral("9999"), QTime(minute / 60, minute % 60)));
}

// Values at the ends of an int, and hex beyond it: each is read into its range, and the code that
// uses it (the call lists' window, the start wait's seconds) runs without overflowing.
TEST_F(SettingsTest, IntegersAtTheEndsOfAnIntAreReadIntoTheirRanges)
{
    put("[Allgemein]\r\nAnzeigezeitraum=-2147483648\r\nStartwartezeit=2147483647\r\nTimeOut=2147483647\r\n"
        "[Fenster]\r\nX-Position=-2147483648\r\nY-Position=0x7FFFFFFF\r\n"
        "[AlteEinheiten]\r\n21=0x80000000\r\n22=0xFFFFFFFF\r\n23=0x7FFFFFFF\r\n");
    const Settings settings(iniPath());
    EXPECT_EQ(settings.displayDays(), 1);
    EXPECT_EQ(CallLogReader::windowStart(QDate(2026, 3, 2), settings.displayDays()), QDate(2026, 3, 1));
    EXPECT_EQ(settings.startWaitMs(), 30000);
    EXPECT_EQ(settings.startWaitSeconds(), 30);
    EXPECT_EQ(settings.timeOutSeconds(), 3600);
    EXPECT_EQ(settings.windowX(), -32767);
    EXPECT_EQ(settings.windowY(), 32767);
    EXPECT_EQ(settings.oldUnits(21), 0) << "hex beyond INT_MAX is no number";
    EXPECT_EQ(settings.oldUnits(22), 0);
    EXPECT_EQ(settings.oldUnits(23), 2147483647);

    put("[Allgemein]\r\nAnzeigezeitraum=2147483647\r\n");
    EXPECT_EQ(settings.displayDays(), 60) << "read again once the file changed";
}
