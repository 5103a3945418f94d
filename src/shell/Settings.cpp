#include "shell/Settings.h"

#include <QDir>
#include <cstring>

#include "common/FormatPicture.h"
#include "common/FileMessages.h"

#include <QDir>

#include <algorithm>
#include <cmath>

namespace {

const QString kGeneral = QStringLiteral("Allgemein");
const QString kWindow = QStringLiteral("Fenster");
const QString kMonitoring = QStringLiteral("Überwachung");
const QString kDeletion = QStringLiteral("Loeschen");
const QString kNames = QStringLiteral("Bezeichnungen");
const QString kOldUnits = QStringLiteral("AlteEinheiten");
const QString kOldCosts = QStringLiteral("AlteKosten");
const QString kWakeUp = QStringLiteral("Wecken");
const QString kPorts = QStringLiteral("Schnittstellen");
const QString kSpeedDialNames = QStringLiteral("Kurzwahlen");
const QString kSpeedDialNumbers = QStringLiteral("Kurzwahlen-Rufnummer");
const QString kSpeedDialSounds = QStringLiteral("Kurzwahlen-Sound");
const QString kUnsetTime = QStringLiteral("9999");

constexpr int kTextLimit = 40;
constexpr int kPhoneLimit = 20;
constexpr int kNumberTextLimit = 10;
constexpr int kStartWaitSecondsMax = 30;
constexpr int kDisplayDaysMin = 1;
constexpr int kDisplayDaysMax = 60;
constexpr int kTimeOutSecondsMin = 10;
// No upper limit is documented; an hour is more than any exchange takes, and keeps the
// milliseconds within range.
constexpr int kTimeOutSecondsMax = 3600;
// Far beyond any screen, and far from overflowing the window geometry.
constexpr int kWindowCoordinateMax = 32767;

bool isExtension(int extension)
{
    return Extensions::isNumber(extension);
}

bool isSpeedDial(int number)
{
    return number >= Settings::kFirstSpeedDial && number <= Settings::kLastSpeedDial;
}

QString speedDialKey(int number)
{
    return QStringLiteral("%1").arg(number, 3, 10, QLatin1Char('0'));
}

QString timePointSection(int index)
{
    return QStringLiteral("Zeitpunkt%1").arg(index);
}

QString wakeUpKey(int extension, bool weekend)
{
    return QStringLiteral("Nebenstelle %1, %2").arg(extension).arg(weekend ? u"SaSo-Zeit" : u"MoFr-Zeit");
}

QString yesNoText(bool on)
{
    return on ? QStringLiteral("Ja") : QStringLiteral("Nein");
}

QString overlayKey(const QString& section, const QString& key)
{
    return section.toCaseFolded() + QLatin1Char('\n') + key.toCaseFolded();
}

bool allOf(QStringView text, bool (*pred)(QChar))
{
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), pred);
}

bool isDecimalDigit(QChar c)
{
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool isHexDigit(QChar c)
{
    return isDecimalDigit(c) || (c >= QLatin1Char('a') && c <= QLatin1Char('f')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F'));
}

} // namespace

Settings::Settings(const QString& filePath, QObject* parent) : QObject(parent), m_file(filePath) {}

std::optional<int> Settings::parseInteger(const QString& text)
{
    const QString t = text.trimmed();
    bool ok = false;
    int value = 0;
    if (t.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        // Beyond INT_MAX a hex text is no integer of ours (it would turn negative).
        if (allOf(QStringView(t).mid(2), isHexDigit))
            value = t.mid(2).toInt(&ok, 16);
    } else {
        const QStringView digits =
            t.startsWith(QLatin1Char('-')) || t.startsWith(QLatin1Char('+')) ? QStringView(t).mid(1) : QStringView(t);
        if (allOf(digits, isDecimalDigit))
            value = t.toInt(&ok, 10);
    }
    return ok ? std::optional<int>(value) : std::nullopt;
}

std::optional<double> Settings::parseDecimal(const QString& text)
{
    QString t = text.left(kNumberTextLimit);
    const qsizetype comma = t.indexOf(QLatin1Char(','));
    if (comma >= 0)
        t[comma] = QLatin1Char('.');
    bool ok = false;
    const double value = t.trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

bool Settings::parseYesNo(const QString& text)
{
    return text.toUpper() == QLatin1String("JA");
}

bool Settings::isTimeNow(const QString& stored, const QTime& now)
{
    return stored == FormatPicture::hhmm(now);
}

QString Settings::text(const QString& section, const QString& key, const QString& defaultValue) const
{
    const auto unsaved = m_unsaved.constFind(overlayKey(section, key));
    if (unsaved != m_unsaved.constEnd())
        return *unsaved;
    return m_file.readString(section, key, defaultValue);
}

int Settings::integer(const QString& section, const QString& key, int defaultValue) const
{
    const auto stored = parseInteger(text(section, key, QString()));
    return stored.value_or(defaultValue);
}

bool Settings::flag(const QString& section, const QString& key, bool defaultValue) const
{
    return integer(section, key, defaultValue ? 1 : 0) != 0;
}

bool Settings::yesNo(const QString& section, const QString& key, const QString& defaultValue) const
{
    return parseYesNo(text(section, key, defaultValue));
}

bool Settings::writeEntries(const QList<SettingsFile::Entry>& entries, const QString& replacedSection)
{
    const bool written =
        replacedSection.isEmpty() ? m_file.write(entries) : m_file.replaceSection(replacedSection, entries);
    if (written && !replacedSection.isEmpty()) {
        const QString prefix = overlayKey(replacedSection, QString());
        m_unsaved.removeIf([&prefix](const auto& item) { return item.key().startsWith(prefix); });
    }
    for (const SettingsFile::Entry& entry : entries) {
        if (written)
            m_unsaved.remove(overlayKey(entry.section, entry.key));
        else
            m_unsaved.insert(overlayKey(entry.section, entry.key), entry.value.trimmed());
    }
    if (!written)
        Q_EMIT writeFailed(FileMessages::cannotWrite(QDir::toNativeSeparators(filePath())));
    return written;
}

bool Settings::writeFlag(const QString& section, const QString& key, bool on)
{
    return writeEntries({{section, key, on ? QStringLiteral("1") : QStringLiteral("0")}});
}

bool Settings::writeYesNo(const QString& section, const QString& key, bool on)
{
    return writeEntries({{section, key, yesNoText(on)}});
}

QString Settings::readText(const QString& section, const QString& key, const QString& defaultValue) const
{
    return text(section, key, defaultValue);
}

bool Settings::writeText(const QString& section, const QString& key, const QString& value)
{
    return writeEntries({{section, key, value}});
}

QString Settings::port() const
{
    return text(kGeneral, QStringLiteral("Anschluß"), QStringLiteral("COMx")).trimmed();
}

bool Settings::setPort(const QString& port)
{
    return isValidPort(port) && writeText(kGeneral, QStringLiteral("Anschluß"), port);
}

bool Settings::isValidPort(const QString& port)
{
    static const QStringList ports = {QStringLiteral("COM1"), QStringLiteral("COM2"), QStringLiteral("COM3"),
                                      QStringLiteral("COM4")};
    return ports.contains(port);
}

std::optional<QString> Settings::readProblem() const
{
    const int error = m_file.readError();
    if (error == 0)
        return std::nullopt;
    return QStringLiteral("Einstellungsdatei %1 kann nicht gelesen werden: %2")
        .arg(QDir::toNativeSeparators(filePath()), QString::fromLocal8Bit(std::strerror(error)));
}

int Settings::startWaitMs() const
{
    // Up to 30 the number is seconds, as the page writes it; above, milliseconds as in older
    // files, at most the page's 30 seconds.
    const int stored = integer(kGeneral, QStringLiteral("Startwartezeit"), 1000);
    if (stored <= 0)
        return 0;
    return stored <= kStartWaitSecondsMax ? stored * 1000 : std::min(stored, kStartWaitSecondsMax * 1000);
}

int Settings::startWaitSeconds() const
{
    const int ms = startWaitMs();
    return std::clamp((ms + 999) / 1000, 1, kStartWaitSecondsMax);
}

bool Settings::isValidStartWaitSeconds(int seconds)
{
    return seconds >= 1 && seconds <= kStartWaitSecondsMax;
}

bool Settings::setStartWaitSeconds(int seconds)
{
    return isValidStartWaitSeconds(seconds) &&
           writeText(kGeneral, QStringLiteral("StartWartezeit"), QString::number(seconds));
}

int Settings::displayDays() const
{
    return std::clamp(integer(kGeneral, QStringLiteral("Anzeigezeitraum"), 7), kDisplayDaysMin, kDisplayDaysMax);
}

bool Settings::setDisplayDays(int days)
{
    return days >= kDisplayDaysMin && days <= kDisplayDaysMax &&
           writeText(kGeneral, QStringLiteral("Anzeigezeitraum"), QString::number(days));
}

int Settings::timeOutSeconds() const
{
    return std::clamp(integer(kGeneral, QStringLiteral("TimeOut"), 10), kTimeOutSecondsMin, kTimeOutSecondsMax);
}

bool Settings::standardVolume() const
{
    return yesNo(kGeneral, QStringLiteral("Standardlautstärke"), QStringLiteral("Ja"));
}

bool Settings::setStandardVolume(bool on)
{
    return writeYesNo(kGeneral, QStringLiteral("Standardlautstärke"), on);
}

namespace {

// Position by position: what the settings file holds, what the choice shows.
struct DiagnosisAction
{
    const char* stored;
    const char* shown;
};
constexpr DiagnosisAction kDiagnosisActions[] = {
    {"Keine", "Keine"},
    {"Akustisch", "Akustisches Signal"},
    {"Diagnose zeigen", "Diagnosemodus anzeigen"},
    {"Akustisch und Diagnose zeigen", "Diagnosemodus und akust. Signal"},
    {"Verbindung zeigen", "Verbindungsliste anzeigen"},
    {"Akustisch und Verbindung zeigen", "Verbindungsliste und akust. Signal"},
};

} // namespace

QStringList Settings::diagnosisActions()
{
    QStringList texts;
    for (const DiagnosisAction& action : kDiagnosisActions)
        texts << QString::fromUtf8(action.stored);
    return texts;
}

QStringList Settings::diagnosisActionTexts()
{
    QStringList texts;
    for (const DiagnosisAction& action : kDiagnosisActions)
        texts << QString::fromUtf8(action.shown);
    return texts;
}

int Settings::diagnosisAction() const
{
    const QStringList actions = diagnosisActions();
    const QString stored = text(kGeneral, QStringLiteral("AktionDiagnose"), actions.front()).left(kTextLimit);
    const qsizetype position = actions.indexOf(stored);
    return position >= 0 ? int(position) : int(actions.size() - 1);
}

bool Settings::setDiagnosisAction(int position)
{
    const QStringList actions = diagnosisActions();
    return position >= 0 && position < actions.size() &&
           writeText(kGeneral, QStringLiteral("AktionDiagnose"), actions.at(position));
}

bool Settings::printWithBorder() const
{
    return yesNo(kGeneral, QStringLiteral("DruckenMitRand"), QStringLiteral("Ja"));
}

bool Settings::setPrintWithBorder(bool on)
{
    return writeYesNo(kGeneral, QStringLiteral("DruckenMitRand"), on);
}

int Settings::startPage() const
{
    const int page = integer(kGeneral, QStringLiteral("StartSeite"), 0);
    return page >= 0 && page <= 9 ? page : 0;
}

bool Settings::setStartPage(int position)
{
    return position >= 0 && position <= 9 &&
           writeText(kGeneral, QStringLiteral("Startseite"), QString::number(position));
}

double Settings::unitCost() const
{
    const double cost = parseDecimal(text(kGeneral, QStringLiteral("Kosten"), QStringLiteral("0,00"))).value_or(0.0);
    return cost >= 0.0 && cost <= 9.99 ? cost : 0.0;
}

QStringList Settings::offeredFontFaces()
{
    return {QStringLiteral("MS Sans Serif"), QStringLiteral("Tahoma")};
}

QString Settings::fontFace() const
{
    return text(kGeneral, QStringLiteral("Schriftart"), offeredFontFaces().front()).left(kTextLimit);
}

int Settings::fontFaceIndex() const
{
    return int(offeredFontFaces().indexOf(fontFace()));
}

bool Settings::setFontFace(const QString& face)
{
    return writeText(kGeneral, QStringLiteral("Schriftart"), face.left(kTextLimit));
}

int Settings::windowX() const
{
    return std::clamp(integer(kWindow, QStringLiteral("X-Position"), 261), -kWindowCoordinateMax, kWindowCoordinateMax);
}

int Settings::windowY() const
{
    return std::clamp(integer(kWindow, QStringLiteral("Y-Position"), 272), -kWindowCoordinateMax, kWindowCoordinateMax);
}

bool Settings::setWindowPosition(int x, int y)
{
    return writeEntries({{kWindow, QStringLiteral("X-Position"), QString::number(x)},
                         {kWindow, QStringLiteral("Y-Position"), QString::number(y)}});
}

bool Settings::watchMsn(int position) const
{
    return flag(kMonitoring, QStringLiteral("MSN%1").arg(position), true);
}

bool Settings::setWatchMsn(int position, bool on)
{
    return position >= 0 && position < kMsnCount && writeFlag(kMonitoring, QStringLiteral("MSN%1").arg(position), on);
}

bool Settings::loadCapi() const
{
    return flag(kMonitoring, QStringLiteral("CAPI-Laden"), true);
}

bool Settings::setLoadCapi(bool on)
{
    return writeFlag(kMonitoring, QStringLiteral("CAPI-Laden"), on);
}

bool Settings::notifyCalls() const
{
    return flag(kMonitoring, QStringLiteral("Benachrichtigung"), true);
}

bool Settings::setNotifyCalls(bool on)
{
    return writeFlag(kMonitoring, QStringLiteral("Benachrichtigung"), on);
}

QString Settings::addressBookFile() const
{
    return text(kMonitoring, QStringLiteral("Telefonbuch"), QString());
}

bool Settings::setAddressBookFile(const QString& path)
{
    return writeText(kMonitoring, QStringLiteral("Telefonbuch"), path);
}

bool Settings::recordOutgoing() const
{
    return flag(kMonitoring, QStringLiteral("Abgehende Rufe"), true);
}

bool Settings::setRecordOutgoing(bool on)
{
    return writeFlag(kMonitoring, QStringLiteral("Abgehende Rufe"), on);
}

bool Settings::watchAll() const
{
    return flag(kMonitoring, QStringLiteral("Alle"), true);
}

bool Settings::setWatchAll(bool on)
{
    return writeFlag(kMonitoring, QStringLiteral("Alle"), on);
}

bool Settings::deleteFreeCalls() const
{
    return flag(kDeletion, QStringLiteral("Kostenlose Gespräche"), false);
}

bool Settings::setDeleteFreeCalls(bool on)
{
    return writeFlag(kDeletion, QStringLiteral("Kostenlose Gespräche"), on);
}

QString Settings::extensionName(int extension) const
{
    return isExtension(extension) ? text(kNames, QString::number(extension), QString()).left(kTextLimit) : QString();
}

int Settings::oldUnits(int extension) const
{
    if (!isExtension(extension))
        return 0;
    const QString stored = text(kOldUnits, QString::number(extension), QStringLiteral("0"));
    return parseInteger(stored.left(kNumberTextLimit)).value_or(0);
}

double Settings::oldCosts(int extension) const
{
    if (!isExtension(extension))
        return 0.0;
    return parseDecimal(text(kOldCosts, QString::number(extension), QStringLiteral("0,00"))).value_or(0.0);
}

Settings::TimePoint Settings::timePoint(int index) const
{
    const QString section = timePointSection(index);
    TimePoint point;
    point.time = text(section, QStringLiteral("Zeit"), kUnsetTime);
    point.file = text(section, QStringLiteral("Datei"), QString());
    point.weekdays = yesNo(section, QStringLiteral("Mo-Fr"), QStringLiteral("JA"));
    point.weekend = yesNo(section, QStringLiteral("Sa-So"), QStringLiteral("JA"));
    return point;
}

std::array<Settings::TimePoint, Settings::kTimePointCount> Settings::timePoints() const
{
    std::array<TimePoint, kTimePointCount> points;
    for (int i = 0; i < kTimePointCount; ++i)
        points[i] = timePoint(i + 1);
    return points;
}

bool Settings::setTimePoints(const std::array<TimePoint, kTimePointCount>& points)
{
    QList<SettingsFile::Entry> entries;
    for (int i = 0; i < kTimePointCount; ++i) {
        const QString section = timePointSection(i + 1);
        entries.append({section, QStringLiteral("Zeit"), points[i].time});
        entries.append({section, QStringLiteral("Datei"), points[i].file});
        entries.append({section, QStringLiteral("Mo-Fr"), yesNoText(points[i].weekdays)});
        entries.append({section, QStringLiteral("Sa-So"), yesNoText(points[i].weekend)});
    }
    return writeEntries(entries);
}

bool Settings::setTimePointFile(int index, const QString& file)
{
    return index >= 1 && index <= kTimePointCount && writeText(timePointSection(index), QStringLiteral("Datei"), file);
}

Settings::WakeUpTimes Settings::wakeUpTimes() const
{
    WakeUpTimes times;
    for (int i = 0; i < Extensions::Max; ++i) {
        times.weekdays[i] = text(kWakeUp, wakeUpKey(Extensions::number(i), false), kUnsetTime);
        times.weekend[i] = text(kWakeUp, wakeUpKey(Extensions::number(i), true), kUnsetTime);
    }
    times.durationSeconds = integer(kWakeUp, QStringLiteral("Dauer"), 10);
    return times;
}

bool Settings::setWakeUpTimes(const WakeUpTimes& times)
{
    QList<SettingsFile::Entry> entries;
    for (int i = 0; i < Extensions::Max; ++i) {
        entries.append({kWakeUp, wakeUpKey(Extensions::number(i), false), times.weekdays[i]});
        entries.append({kWakeUp, wakeUpKey(Extensions::number(i), true), times.weekend[i]});
    }
    entries.append({kWakeUp, QStringLiteral("Dauer"), QString::number(times.durationSeconds)});
    return writeEntries(entries, kWakeUp);
}

QString Settings::speedDialName(int number) const
{
    return isSpeedDial(number) ? text(kSpeedDialNames, speedDialKey(number), QString()).left(kTextLimit) : QString();
}

QString Settings::speedDialNumber(int number) const
{
    return isSpeedDial(number) ? text(kSpeedDialNumbers, speedDialKey(number), QString()).left(kPhoneLimit) : QString();
}

QStringList Settings::speedDialNumbers() const
{
    QStringList numbers(kLastSpeedDial - kFirstSpeedDial + 1);
    QList<bool> seen(numbers.size(), false);
    for (const SettingsFile::Entry& entry : m_file.sectionValues(kSpeedDialNumbers)) {
        bool numeric = false;
        const int at = entry.key.toInt(&numeric) - kFirstSpeedDial;
        // The first of a key that occurs twice counts, as for a single read.
        if (!numeric || entry.key != speedDialKey(at + kFirstSpeedDial) || at < 0 || at >= numbers.size() || seen[at])
            continue;
        seen[at] = true;
        numbers[at] = entry.value;
    }
    for (int at = 0; at < numbers.size(); ++at) {
        if (!m_unsaved.isEmpty()) {
            const auto unsaved = m_unsaved.constFind(overlayKey(kSpeedDialNumbers, speedDialKey(at + kFirstSpeedDial)));
            if (unsaved != m_unsaved.constEnd())
                numbers[at] = *unsaved;
        }
        numbers[at] = numbers[at].left(kPhoneLimit);
    }
    return numbers;
}

QString Settings::speedDialSound(int number) const
{
    return isSpeedDial(number) ? text(kSpeedDialSounds, speedDialKey(number), QString()) : QString();
}

bool Settings::setSpeedDial(int number, const QString& name, const QString& phoneNumber, const QString& sound)
{
    if (!isSpeedDial(number))
        return false;
    const QString key = speedDialKey(number);
    return writeEntries({{kSpeedDialNames, key, name.left(kTextLimit)},
                         {kSpeedDialNumbers, key, phoneNumber.left(kPhoneLimit)},
                         {kSpeedDialSounds, key, sound}});
}

QString Settings::devicePath(const QString& port) const
{
    if (!isValidPort(port))
        return {};
    const QString fallback = QStringLiteral("/dev/ttyS%1").arg(port.back().digitValue() - 1);
    const QString device = m_file.readString(kPorts, port, QString());
    return device.isEmpty() ? fallback : device;
}
