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

Form form(const Settings& settings)
{
    Form form;
    form.server = settings.readText(Section, QStringLiteral("Server"), QString()).trimmed();
    form.tls = on(settings, QStringLiteral("TLS"), false);
    const std::optional<int> port =
        Settings::parseInteger(settings.readText(Section, QStringLiteral("Port"), QString()).trimmed());
    form.port = port && *port > 0 && *port < 65536 ? *port : 0;
    form.caFile = settings.readText(Section, QStringLiteral("CA-Datei"), QString()).trimmed();
    form.user = settings.readText(Section, QStringLiteral("Benutzer"), QString()).trimmed();
    form.passwordFile = settings.readText(Section, QStringLiteral("Kennwortdatei"), QString()).trimmed();
    form.prefix = settings.readText(Section, QStringLiteral("Präfix"), QStringLiteral("winkavex")).trimmed();
    form.homeAssistant = on(settings, QStringLiteral("HomeAssistant"), true);
    form.commands = on(settings, QStringLiteral("Befehle"), false);
    return form;
}

bool write(Settings& settings, const Form& form)
{
    const auto flag = [](bool value) { return value ? QStringLiteral("1") : QStringLiteral("0"); };
    const QList<std::pair<QString, QString>> entries = {
        {QStringLiteral("Server"), form.server.trimmed()},
        {QStringLiteral("Port"), form.port > 0 ? QString::number(form.port) : QString()},
        {QStringLiteral("TLS"), flag(form.tls)},
        {QStringLiteral("CA-Datei"), form.caFile.trimmed()},
        {QStringLiteral("Benutzer"), form.user.trimmed()},
        {QStringLiteral("Kennwortdatei"), form.passwordFile.trimmed()},
        {QStringLiteral("Präfix"), form.prefix.trimmed()},
        {QStringLiteral("HomeAssistant"), flag(form.homeAssistant)},
        {QStringLiteral("Befehle"), flag(form.commands)},
    };
    bool ok = true;
    for (const auto& [key, value] : entries)
        ok = settings.writeText(Section, key, value) && ok;
    return ok;
}

Read fromForm(const Form& form)
{
    Read result;
    MqttConfig& config = result.config;
    config.server = form.server.trimmed();
    config.tls = form.tls;
    config.port = form.port > 0 && form.port < 65536 ? form.port : (config.tls ? 8883 : 1883);
    config.caFile = form.caFile.trimmed();
    config.user = form.user.trimmed();
    const QString prefix = form.prefix.trimmed();
    if (isPrefix(prefix))
        config.prefix = prefix;
    else
        result.problem = QStringLiteral("MQTT-Präfix \"%1\" ungültig, es gilt \"winkavex\"").arg(prefix.left(64));
    config.homeAssistant = form.homeAssistant;
    config.commands = form.commands;
    if (!form.passwordFile.trimmed().isEmpty()) {
        QString problem;
        config.password = readPassword(form.passwordFile.trimmed(), problem);
        if (!problem.isEmpty())
            result.problem = problem;
    }
    return result;
}

Read read(const Settings& settings)
{
    return fromForm(form(settings));
}

} // namespace MqttSettings
