#include "shell/MqttSettings.h"

#include "common/TextFile.h"
#include "shell/Settings.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString Section = QStringLiteral("MQTT");

bool on(const Settings& settings, const QString& key, bool defaultValue)
{
    const QString text = settings.readText(Section, key, defaultValue ? QStringLiteral("1") : QStringLiteral("0"));
    return text.trimmed() == QLatin1String("1");
}

// A topic level of ours: no wildcard, no empty level, no leading or trailing "/".
bool isPrefix(const QString& prefix)
{
    if (prefix.isEmpty() || prefix.size() > 64 || prefix.contains(QLatin1Char('+')) ||
        prefix.contains(QLatin1Char('#')))
        return false;
    for (const QString& level : prefix.split(QLatin1Char('/'))) {
        if (level.isEmpty())
            return false;
    }
    for (const QChar c : prefix) {
        if (c.category() == QChar::Other_Control)
            return false;
    }
    return true;
}

} // namespace

namespace MqttSettings {

QString readPassword(const QString& path, QString& problem)
{
    const QByteArray name = path.toLocal8Bit();
    struct stat info {};
    if (::lstat(name.constData(), &info) != 0) {
        problem = QStringLiteral("Kennwortdatei %1 nicht lesbar: %2").arg(path, QString::fromLocal8Bit(std::strerror(errno)));
        return {};
    }
    if (!S_ISREG(info.st_mode) || info.st_uid != ::getuid() || (info.st_mode & 077) != 0) {
        problem = QStringLiteral("Kennwortdatei %1 abgelehnt: nur ihr Besitzer darf sie lesen").arg(path);
        return {};
    }
    QByteArray bytes;
    const int error = TextFile::readAll(path, 4096, bytes);
    if (error != 0) {
        problem = QStringLiteral("Kennwortdatei %1 nicht lesbar: %2").arg(path, QString::fromLocal8Bit(std::strerror(error)));
        return {};
    }
    const qsizetype end = bytes.indexOf('\n');
    QByteArray line = end < 0 ? bytes : bytes.left(end);
    if (line.endsWith('\r'))
        line.chop(1);
    return QString::fromUtf8(line);
}

Read read(const Settings& settings)
{
    Read result;
    MqttConfig& config = result.config;
    config.server = settings.readText(Section, QStringLiteral("Server"), QString()).trimmed();
    config.tls = on(settings, QStringLiteral("TLS"), false);
    const std::optional<int> port =
        Settings::parseInteger(settings.readText(Section, QStringLiteral("Port"), QString()).trimmed());
    config.port = port && *port > 0 && *port < 65536 ? *port : (config.tls ? 8883 : 1883);
    config.caFile = settings.readText(Section, QStringLiteral("CA-Datei"), QString()).trimmed();
    config.user = settings.readText(Section, QStringLiteral("Benutzer"), QString()).trimmed();
    const QString prefix = settings.readText(Section, QStringLiteral("Präfix"), QStringLiteral("winkavex")).trimmed();
    if (isPrefix(prefix)) {
        config.prefix = prefix;
    } else {
        result.problem = QStringLiteral("MQTT-Präfix \"%1\" ungültig, es gilt \"winkavex\"").arg(prefix.left(64));
    }
    config.homeAssistant = on(settings, QStringLiteral("HomeAssistant"), true);
    config.commands = on(settings, QStringLiteral("Befehle"), false);
    const QString passwordFile = settings.readText(Section, QStringLiteral("Kennwortdatei"), QString()).trimmed();
    if (!passwordFile.isEmpty()) {
        QString problem;
        config.password = readPassword(passwordFile, problem);
        if (!problem.isEmpty())
            result.problem = problem;
    }
    return result;
}

} // namespace MqttSettings
