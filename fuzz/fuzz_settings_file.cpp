#include "FuzzSupport.h"
#include "common/Cp1252.h"
#include "shell/Settings.h"
#include "shell/SettingsFile.h"

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

} // namespace

// Any "WinKavex.INI": read through every accessor, then one key written. The write must keep
// every other value as it read before, and the written value must read back.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzSupport::app();
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = FuzzSupport::writeFile(QStringLiteral("WinKavex.INI"), data, size);
    readAll(Settings(path));

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
