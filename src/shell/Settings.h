#pragma once

#include "config/BaseCodec.h"
#include "image/Extensions.h"
#include "link/PbxRequests.h"
#include "shell/SettingsFile.h"

#include <QHash>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTime>

#include <array>
#include <optional>

// The program's settings in "WinKavex.INI": one typed accessor per key, with its default, limits and
// read rule. Nothing is cached: every read and write goes to the file. A write the system refuses
// emits writeFailed() and returns false; the refused value still reads back for the rest of the run,
// so the change stays in force in memory.
class Settings : public QObject
{
    Q_OBJECT

public:
    // One time point of the time control ("Zeitpunkt1" … "Zeitpunkt6").
    struct TimePoint
    {
        QString time = QStringLiteral("9999"); // "HHmm", "9999" unset
        QString file;
        bool weekdays = true;
        bool weekend = true;
    };

    // The wake-up section: times "HHmm" per extension 21 … 28 (index 0 … 7).
    struct WakeUpTimes
    {
        std::array<QString, Extensions::Max> weekdays;
        std::array<QString, Extensions::Max> weekend;
        int durationSeconds = 10;
    };

    static constexpr int kTimePointCount = 6;
    static constexpr int kFirstSpeedDial = PbxRequests::FirstSpeedDialCode;
    static constexpr int kLastSpeedDial = PbxRequests::LastSpeedDialCode;
    static constexpr int kMsnCount = BaseSettings::MsnCount;

    explicit Settings(const QString& filePath, QObject* parent = nullptr);

    QString filePath() const { return m_file.path(); }
    // The text for a settings file that exists but cannot be read; nothing when it was read.
    std::optional<QString> readProblem() const;

    // Section "Allgemein"
    // Trimmed; "COMx" when absent.
    QString port() const;
    bool setPort(const QString& port);
    static bool isValidPort(const QString& port);

    // The pause before the automatic repeat read. The page works in seconds (1–30); a stored number
    // above 30 is a pause in milliseconds (the default 1000 is one), at most 30 seconds of them.
    int startWaitMs() const;
    int startWaitSeconds() const;
    static bool isValidStartWaitSeconds(int seconds);
    // False without writing when `seconds` is outside 1–30 (the caller shows message 56), and on a
    // refused write.
    bool setStartWaitSeconds(int seconds);

    // 1–60: a stored value outside is taken to the nearer end.
    int displayDays() const;
    // Writes only 1–60; false otherwise.
    bool setDisplayDays(int days);

    // 10–3600: at least 10 as documented, at most an hour.
    int timeOutSeconds() const;

    bool standardVolume() const;
    bool setStandardVolume(bool on);

    // Position 0–5 of diagnosisActions(); an unknown text selects 5.
    int diagnosisAction() const;
    bool setDiagnosisAction(int position);
    static QStringList diagnosisActions();
    // The same positions as the choice shows them.
    static QStringList diagnosisActionTexts();

    bool printWithBorder() const;
    bool setPrintWithBorder(bool on);

    // List position 0–9; anything else gives 0.
    int startPage() const;
    bool setStartPage(int position);

    // Price of one unit, 0 when outside 0–9.99.
    double unitCost() const;

    // The stored face (at most 40 characters) and its index in offeredFontFaces(), -1 when not offered.
    QString fontFace() const;
    int fontFaceIndex() const;
    bool setFontFace(const QString& face);
    static QStringList offeredFontFaces();

    // Section "Fenster", each within ±32767.
    int windowX() const;
    int windowY() const;
    bool setWindowPosition(int x, int y);

    // Section "Überwachung"; `position` 0–9.
    bool watchMsn(int position) const;
    bool setWatchMsn(int position, bool on);
    bool loadCapi() const;
    bool setLoadCapi(bool on);
    bool recordOutgoing() const;
    bool setRecordOutgoing(bool on);
    bool watchAll() const;
    bool setWatchAll(bool on);
    // "Benachrichtigung bei Anruf": a desktop notification for each logged incoming call.
    bool notifyCalls() const;
    bool setNotifyCalls(bool on);
    // "Telefonbuch": the vCard file that names callers and dialled numbers; empty for none.
    QString addressBookFile() const;
    bool setAddressBookFile(const QString& path);

    // Section "Loeschen"
    bool deleteFreeCalls() const;
    bool setDeleteFreeCalls(bool on);

    // Per extension 21–28, read only; empty / 0 for other numbers.
    QString extensionName(int extension) const;
    int oldUnits(int extension) const;
    double oldCosts(int extension) const;

    // Time control, `index` 1–6.
    TimePoint timePoint(int index) const;
    std::array<TimePoint, kTimePointCount> timePoints() const;
    bool setTimePoints(const std::array<TimePoint, kTimePointCount>& points);
    bool setTimePointFile(int index, const QString& file);

    // Wake-up; the whole section is rewritten on every change.
    WakeUpTimes wakeUpTimes() const;
    bool setWakeUpTimes(const WakeUpTimes& times);

    // Speed dials 301–360.
    QString speedDialName(int number) const;
    QString speedDialNumber(int number) const;
    // The numbers of 301..360 (index 0 is 301) from one read of the file.
    QStringList speedDialNumbers() const;
    QString speedDialSound(int number) const;
    bool setSpeedDial(int number, const QString& name, const QString& phoneNumber, const QString& sound);

    // Section "Schnittstellen": the device behind "COM1" … "COM4"; empty for any other port.
    QString devicePath(const QString& port) const;

    // Generic access for keys outside the table.
    QString readText(const QString& section, const QString& key, const QString& defaultValue) const;
    bool writeText(const QString& section, const QString& key, const QString& value);

    // Read rules of the value encodings.
    static std::optional<int> parseInteger(const QString& text);
    static std::optional<double> parseDecimal(const QString& text);
    static bool parseYesNo(const QString& text);
    // A stored time "HHmm" fires in the minute it names; the unset "9999" never does.
    static bool isTimeNow(const QString& stored, const QTime& now);

Q_SIGNALS:
    // "Kann nicht nach <path> schreiben"
    void writeFailed(const QString& message);

private:
    QString text(const QString& section, const QString& key, const QString& defaultValue) const;
    int integer(const QString& section, const QString& key, int defaultValue) const;
    bool flag(const QString& section, const QString& key, bool defaultValue) const;
    bool yesNo(const QString& section, const QString& key, const QString& defaultValue) const;
    bool writeEntries(const QList<SettingsFile::Entry>& entries, const QString& replacedSection = {});
    bool writeFlag(const QString& section, const QString& key, bool on);
    bool writeYesNo(const QString& section, const QString& key, bool on);

    SettingsFile m_file;
    // Values whose write was refused, keyed by folded section and key name.
    QHash<QString, QString> m_unsaved;
};
