#include "ConfigReport.h"

#include "CtlCommand.h"

#include "common/Columns.h"
#include "config/BaseCodec.h"
#include "config/ExtensionCodec.h"
#include "config/SpeedDialList.h"
#include "image/Extensions.h"
#include "image/ImageLayout.h"
#include "shell/ProgramDirs.h"
#include "shell/Settings.h"
#include "shell/SettingsLocation.h"

#include <QJsonArray>
#include <QJsonDocument>

#include <vector>

namespace {

std::size_t at(int k)
{
    return static_cast<std::size_t>(k);
}

struct Decoded
{
    BaseSettings base;
    std::vector<ExtensionSettings> extensions;
    std::vector<int> units; // eight values, 0 beyond the count
};

Decoded decodeAll(const ConfigImage& image)
{
    Decoded d;
    d.base = BaseCodec::decode(image);
    for (int g = 0; g < d.base.extensionCount; ++g)
        d.extensions.push_back(ExtensionCodec::decode(image, d.base, g));
    for (int g = 0; g < Extensions::Max; ++g)
        d.units.push_back(g < d.base.extensionCount ? ImageLayout::units(image, g) : 0);
    return d;
}

QList<int> ringing(const BaseSettings& base, int m)
{
    QList<int> list;
    for (int i = 0; i < base.extensionCount; ++i) {
        if (base.rings(m, i))
            list << 21 + i;
    }
    return list;
}

// What the two call-waiting matrices of the overview show for extension g.
QList<int> waitingMsns(const ExtensionSettings& s)
{
    QList<int> list;
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        if ((s.msnMask >> m) & 1)
            list << m + 1;
    }
    return list;
}

QList<int> waitingExtensions(const ExtensionSettings& s, int g, int count)
{
    QList<int> list;
    for (int j = 0; j < count; ++j) {
        if (j != g && ((s.extensionMask >> j) & 1))
            list << 21 + j;
    }
    return list;
}

QString rhythmOf(const BaseSettings& base, int m)
{
    return BaseCodec::rhythmText(base.version, base.hasNumber(m), base.rhythm.at(at(m)));
}

// A tiny writer that keeps the keys in the order they are written.
class JsonWriter
{
public:
    JsonWriter& begin(char bracket)
    {
        separate();
        m_out += bracket;
        m_first = true;
        return *this;
    }
    JsonWriter& end(char bracket)
    {
        m_out += bracket;
        m_first = false;
        return *this;
    }
    JsonWriter& key(const char* name)
    {
        separate();
        m_out += '"';
        m_out += name;
        m_out += "\": ";
        m_first = true; // the value follows without a separator
        return *this;
    }
    JsonWriter& value(const QString& text)
    {
        separate();
        const QByteArray quoted = QJsonDocument(QJsonArray{text}).toJson(QJsonDocument::Compact);
        m_out += quoted.mid(1, quoted.size() - 2);
        return *this;
    }
    JsonWriter& value(qint64 number)
    {
        separate();
        m_out += QByteArray::number(number);
        return *this;
    }
    JsonWriter& value(bool flag)
    {
        separate();
        m_out += flag ? "true" : "false";
        return *this;
    }
    JsonWriter& numbers(const QList<int>& list)
    {
        begin('[');
        for (const int n : list)
            value(qint64{n});
        return end(']');
    }
    QByteArray result() const { return m_out; }

private:
    void separate()
    {
        if (!m_first)
            m_out += ", ";
        m_first = false;
    }

    QByteArray m_out;
    bool m_first = true;
};

QString joined(const QList<int>& numbers)
{
    QStringList texts;
    for (const int n : numbers)
        texts << QString::number(n);
    return texts.join(QLatin1String(", "));
}

// A line of columns without the blanks that pad its last, empty columns.
QString endLine(QString text)
{
    while (text.endsWith(QLatin1Char(' ')))
        text.chop(1);
    return text + QLatin1Char('\n');
}

QString yesNo(bool on)
{
    return on ? QStringLiteral("Ja") : QStringLiteral("Nein");
}

} // namespace

namespace ConfigReport {

QByteArray json(const ConfigImage& image)
{
    const Decoded d = decodeAll(image);
    const BaseSettings& b = d.base;
    JsonWriter w;
    w.begin('{');
    w.key("firmware").begin('{');
    w.key("major").value(qint64{b.major}).key("minor").value(qint64{b.minor}).key("version").value(qint64{b.version});
    w.end('}');
    w.key("protocol").value(BaseCodec::protocolText(b.protocol));
    w.key("connection").value(BaseCodec::connectionText(b.connection));
    w.key("extensions").value(qint64{b.extensionCount});
    w.key("internal_s0").value(qint64{b.internalS0});
    w.key("external_s0").value(qint64{b.externalS0});
    w.key("music_on_hold").value(BaseCodec::musicOnHoldText(b.musicOnHold));
    w.key("message_on_hold").value(BaseCodec::messageOnHoldText(b.musicOnHold, b.messageOnHold));
    w.key("msn").begin('[');
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        w.begin('{');
        w.key("msn").value(qint64{m + 1});
        w.key("number").value(b.numbers.at(at(m)));
        w.key("rhythm").value(rhythmOf(b, m));
        w.key("ring").numbers(ringing(b, m));
        w.end('}');
    }
    w.end(']');
    w.key("extension").begin('[');
    for (int g = 0; g < b.extensionCount; ++g) {
        const ExtensionSettings& s = d.extensions.at(at(g));
        w.begin('{');
        w.key("number").value(qint64{21 + g});
        w.key("permission").value(ExtensionCodec::permissionText(s.permission));
        w.key("service").value(ExtensionCodec::serviceText(s.service));
        w.key("forwarding").value(s.target);
        w.key("forwarding_mode").value(s.modeText);
        w.key("charge_pulse").value(s.chargePulse);
        w.key("trunk_access").value(s.trunkAccess);
        w.key("pin").value(s.pin);
        w.key("waiting_msn").numbers(waitingMsns(s));
        w.key("waiting_extension").numbers(waitingExtensions(s, g, b.extensionCount));
        w.end('}');
    }
    w.end(']');
    w.key("units").numbers(QList<int>(d.units.begin(), d.units.end()));
    w.end('}');
    return w.result();
}

QString text(const ConfigImage& image, const QStringList& names)
{
    const Decoded d = decodeAll(image);
    const BaseSettings& b = d.base;
    QString out;
    auto line = [&out](const QString& label, const QString& value) {
        out += endLine(Columns::padded(label, 24) + value);
    };
    line(QStringLiteral("Protokoll"), BaseCodec::protocolText(b.protocol));
    line(QStringLiteral("Anschlußart"), BaseCodec::connectionText(b.connection));
    line(QStringLiteral("Externe S0-Anschlüsse"), QString::number(b.externalS0));
    line(QStringLiteral("Interne S0-Anschlüsse"), QString::number(b.internalS0));
    line(QStringLiteral("Nebenstellen"), QString::number(b.extensionCount));
    line(QStringLiteral("Firmware-Version"), BaseCodec::firmwareText(b.major, b.minor));
    line(QStringLiteral("Music on Hold"), BaseCodec::musicOnHoldText(b.musicOnHold));
    line(QStringLiteral("Message on Hold"), BaseCodec::messageOnHoldText(b.musicOnHold, b.messageOnHold));

    out += QLatin1Char('\n') + Columns::padded(QStringLiteral("MSN"), 7) +
           Columns::padded(QStringLiteral("Rufnummer"), 12) + Columns::padded(QStringLiteral("Rhythmus"), 12) +
           QStringLiteral("Nebenstellen\n");
    for (int m = 0; m < BaseSettings::MsnCount; ++m) {
        out += endLine(Columns::padded(QStringLiteral("MSN%1").arg(m + 1, 2), 7) +
                       Columns::padded(b.numbers.at(at(m)), 12) + Columns::padded(rhythmOf(b, m), 12) +
                       joined(ringing(b, m)));
    }

    for (int g = 0; g < b.extensionCount; ++g) {
        const ExtensionSettings& s = d.extensions.at(at(g));
        const QString name = names.value(g);
        out += QStringLiteral("\nNebenstelle %1").arg(21 + g) +
               (name.isEmpty() ? QString() : QStringLiteral(" - ") + name) + QLatin1Char('\n');
        QString forwarding = s.target;
        if (!s.modeText.isEmpty())
            forwarding += QLatin1Char(' ') + s.modeText;
        line(QStringLiteral("  Berechtigung"), ExtensionCodec::permissionText(s.permission));
        line(QStringLiteral("  Dienst"), ExtensionCodec::serviceText(s.service));
        line(QStringLiteral("  Rufumleitung"), forwarding);
        line(QStringLiteral("  Impuls"), yesNo(s.chargePulse));
        line(QStringLiteral("  Spontane Amtsholung"), yesNo(s.trunkAccess));
        line(QStringLiteral("  PIN"), s.pin);
        line(QStringLiteral("  Anklopfen MSN"), joined(waitingMsns(s)));
        line(QStringLiteral("  Anklopfen Nebenst."), joined(waitingExtensions(s, g, b.extensionCount)));
        line(QStringLiteral("  Einheiten"), QString::number(d.units.at(at(g))));
    }
    return out;
}

QStringList extensionNames(const CtlOptions& options)
{
    const ProgramDirs dirs(options.dir);
    const Settings settings(SettingsLocation::resolve(dirs));
    QStringList names;
    for (int extension = 21; extension <= 28; ++extension)
        names << settings.extensionName(extension);
    return names;
}

QByteArray speedDialsJson(const SpeedDialList& list)
{
    JsonWriter w;
    w.begin('[');
    for (int n = 1; n <= SpeedDialCodec::EntryCount; ++n) {
        const SpeedDialRow& r = list.rowOfEntry(n);
        w.begin('{');
        w.key("entry").value(qint64{300 + n});
        w.key("name").value(r.name);
        w.key("number").value(r.number);
        w.key("attributes").value(r.attributesText);
        w.key("value").value(qint64{r.attributes});
        w.end('}');
    }
    w.end(']');
    return w.result();
}

QString speedDialsText(const SpeedDialList& list)
{
    QString out = Columns::padded(QStringLiteral("Kurzwahl"), 9) + Columns::padded(QStringLiteral("Bezeichnung"), 41) +
                  Columns::padded(QStringLiteral("Rufnummer"), 23) + QStringLiteral("Attribute\n");
    for (int n = 1; n <= SpeedDialCodec::EntryCount; ++n) {
        const SpeedDialRow& r = list.rowOfEntry(n);
        out += endLine(Columns::padded(r.entryText, 9) + Columns::padded(r.name, 41) + Columns::padded(r.number, 23) +
                       r.attributesText);
    }
    return out;
}

} // namespace ConfigReport
