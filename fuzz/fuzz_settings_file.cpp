#include "FuzzSupport.h"
#include "charges/CallLogReader.h"
#include "charges/ChargeCosts.h"
#include "common/Cp1252.h"
#include "image/ConfigImage.h"
#include "shell/ChargeSettings.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

#include <QDate>

#include <algorithm>

#include <QList>
#include <QPair>

#include <optional>

namespace {

using Name = QPair<QString, QString>; // section, key

// The section and key names that the file seems to hold, for asking about them (the reader's own
// answers are compared, so this guess need not agree with its parsing).
QList<Name> namesIn(const QByteArray& bytes)
{
    QList<Name> names;
    QString section;
    for (const QByteArray& raw : bytes.split('\n')) {
        const QString line = Cp1252::toUnicode(raw).trimmed();
        if (line.startsWith(QLatin1Char('[')))
            section = line.mid(1, line.indexOf(QLatin1Char(']')) - 1).trimmed();
        else if (line.contains(QLatin1Char('=')) && names.size() < 16)
            names.append({section, line.left(line.indexOf(QLatin1Char('='))).trimmed()});
    }
    return names;
}

// Every typed accessor: each reads and converts its key with its own rule.
void readAll(const Settings& s)
{
    (void)s.port();
    (void)s.startWaitMs();
    (void)s.startWaitSeconds();
    (void)s.displayDays();
    (void)s.timeOutSeconds();
    (void)s.standardVolume();
    (void)s.diagnosisAction();
    (void)s.printWithBorder();
    (void)s.startPage();
    (void)s.unitCost();
    (void)s.fontFace();
    (void)s.fontFaceIndex();
    (void)s.windowX();
    (void)s.windowY();
    (void)s.loadCapi();
    (void)s.recordOutgoing();
    (void)s.watchAll();
    (void)s.notifyCalls();
    (void)s.addressBookFile();
    (void)s.deleteFreeCalls();
    for (int m = 0; m < Settings::kMsnCount; ++m)
        (void)s.watchMsn(m);
    for (int e = 21; e <= 28; ++e) {
        (void)s.extensionName(e);
        (void)s.oldUnits(e);
        (void)s.oldCosts(e);
    }
    (void)s.timePoints();
    (void)s.wakeUpTimes();
    // Every read goes to the file: three speed dials stand for sixty.
    for (int n : {Settings::kFirstSpeedDial, 330, Settings::kLastSpeedDial}) {
        (void)s.speedDialName(n);
        (void)s.speedDialNumber(n);
        (void)s.speedDialSound(n);
    }
    (void)s.devicePath(QStringLiteral("COM2"));
}

// The values through the arithmetic that uses them, where an overflow is undefined behaviour for
// the sanitizer to find: the lists' window, the start wait and time-out as milliseconds, the
// costs of an exchange whose counters are all at their highest and all at zero.
void useAll(const Settings& s)
{
    (void)CallLogReader::windowStart(QDate(2026, 3, 2), s.displayDays());
    volatile int waitMs = s.startWaitMs() + s.startWaitSeconds() * 1000;
    volatile int timeOutMs = s.timeOutSeconds() * 1000;
    volatile int position = s.windowX() + s.windowY();
    (void)waitMs;
    (void)timeOutMs;
    (void)position;
    const ChargePrices prices = ChargeSettings::read(s);
    for (const std::uint8_t units : {std::uint8_t(0xFF), std::uint8_t(0)}) {
        ConfigImage image;
        std::fill(image.data() + 800, image.data() + ConfigImage::Size, units);
        image.data()[2] = 8;
        const ChargeCosts costs(image, prices);
        (void)costs.totalCost();
    }
}

} // namespace

// Any "WinKavex.INI": read through every accessor, then one key written. The write must keep
// every other value as it read before, and the written value must read back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSupport::app();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = FuzzSupport::writeFile(QStringLiteral("WinKavex.INI"), data, size);
    const Settings settings(path);
    readAll(settings);
    useAll(settings);

    SettingsFile file(path);
    const QList<Name> names = namesIn(bytes);
    QList<std::optional<QString>> before;
    for (const Name& n : names)
        before.append(file.value(n.first, n.second));

    const QString section = QStringLiteral("Allgemein");
    const QString key = QStringLiteral("Anschluß");
    FuzzSupport::check(file.writeString(section, key, QStringLiteral("COM3")));
    FuzzSupport::check(file.value(section, key) == QStringLiteral("COM3"));
    for (qsizetype i = 0; i < names.size(); ++i) {
        const bool written = names[i].first.compare(section, Qt::CaseInsensitive) == 0 &&
                             names[i].second.compare(key, Qt::CaseInsensitive) == 0;
        if (!written)
            FuzzSupport::check(file.value(names[i].first, names[i].second) == before[i]);
    }
    return 0;
}
