// Every setting read once from a 5 MB settings file (a user's speed dials, names and comments),
// as a start-up or `kavexctl print` reads them: the file is decoded once, not once per key.
#include "BenchReport.h"
#include "shell/Settings.h"

#include <QFile>
#include <QTemporaryDir>

#include <cstdio>

namespace {

QByteArray largeIni()
{
    QByteArray ini = "[Allgemein]\r\nAnschlu\xdf=COM1\r\nAnzeigezeitraum=30\r\n";
    for (int section = 0; ini.size() < 5 * 1024 * 1024; ++section) {
        ini += "[Notizen" + QByteArray::number(section) + "]\r\n";
        for (int key = 0; key < 50; ++key)
            ini += "Eintrag" + QByteArray::number(key) + "=" + QByteArray(30, 'x') + "\r\n";
    }
    return ini + "[Kurzwahlen]\r\n301=Mutti\r\n";
}

} // namespace

int main()
{
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("WinKavex.INI")));
    const QByteArray ini = largeIni();
    if (!file.open(QIODevice::WriteOnly) || file.write(ini) != ini.size())
        return 2;
    file.close();
    const double start = Bench::monotonicSeconds();
    const Settings settings(file.fileName());
    int sum = settings.displayDays() + settings.timeOutSeconds() + settings.startPage() + settings.windowX();
    for (int extension = 21; extension <= 28; ++extension)
        sum += settings.oldUnits(extension) + int(settings.extensionName(extension).size());
    for (int number = Settings::kFirstSpeedDial; number <= Settings::kLastSpeedDial; ++number)
        sum += int(settings.speedDialName(number).size() + settings.speedDialNumber(number).size());
    (void)settings.timePoints();
    (void)settings.wakeUpTimes();
    const double seconds = Bench::monotonicSeconds() - start;
    std::printf("settings of a %.1f MB file, about 200 keys: %.3f s (%d)\n", double(ini.size()) / (1024 * 1024),
                seconds, sum);
    const bool read = settings.port() == QLatin1String("COM1") && settings.speedDialName(301) == QLatin1String("Mutti");
    const bool fast = Bench::budget("settings_5mb_all_keys", seconds, 1.0, "s");
    return read && fast ? 0 : 1;
}
