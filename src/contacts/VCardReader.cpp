#include "contacts/VCardReader.h"

#include "common/Cp1252.h"
#include "common/TextFile.h"

#include <cerrno>
#include <cstring>
#include <optional>

namespace {

constexpr qint64 MaxFileBytes = 32 * 1024 * 1024;

bool isQuotedPrintable(const QByteArray& line)
{
    const qsizetype colon = line.indexOf(':');
    return colon > 0 && line.left(colon).toUpper().contains("QUOTED-PRINTABLE");
}

// Folding inserts a line break followed by one blank or tab; joining works on the bytes, so that a
// fold inside a UTF-8 sequence is joined before the text is decoded. A quoted-printable value of
// vCard 2.1 goes on after a line that ends in "=" (a soft line break), whatever the next one holds.
QList<QByteArray> unfoldedLines(QByteArray bytes)
{
    if (bytes.startsWith("\xEF\xBB\xBF"))
        bytes.remove(0, 3);
    bytes.replace("\r\n", "\n");
    bytes.replace('\r', '\n');
    QList<QByteArray> lines;
    bool softBreak = false;
    for (const QByteArray& raw : bytes.split('\n')) {
        if (!lines.isEmpty() && softBreak) {
            lines.last().chop(1);
            lines.last() += raw;
        } else if (!lines.isEmpty() && (raw.startsWith(' ') || raw.startsWith('\t'))) {
            lines.last() += raw.mid(1);
        } else {
            lines << raw;
        }
        softBreak = lines.last().endsWith('=') && isQuotedPrintable(lines.last());
    }
    return lines;
}

// "=XX" is the byte XX; an "=" without two hex digits after it is dropped.
QByteArray quotedPrintableDecoded(const QByteArray& value)
{
    QByteArray bytes;
    for (qsizetype i = 0; i < value.size(); ++i) {
        if (value.at(i) != '=') {
            bytes += value.at(i);
            continue;
        }
        bool ok = false;
        const int code = value.mid(i + 1, 2).toInt(&ok, 16);
        if (ok && i + 2 < value.size()) {
            bytes += static_cast<char>(code);
            i += 2;
        }
    }
    return bytes;
}

struct Property
{
    QString name;   // upper case, without a group
    QString params; // upper case, ";"-separated, as written
    QString value;
};

// A vCard 2.1 value may be quoted-printable, in a character set of its own (UTF-8 unless said).
QString decodedValue(const Property& p)
{
    if (!p.params.contains(QLatin1String("QUOTED-PRINTABLE")))
        return p.value;
    const QByteArray bytes = quotedPrintableDecoded(p.value.toLatin1());
    const bool western = p.params.contains(QLatin1String("CHARSET=ISO-8859")) ||
                         p.params.contains(QLatin1String("CHARSET=WINDOWS-1252"));
    return western ? Cp1252::toUnicode(bytes) : QString::fromUtf8(bytes);
}

// NAME[;PARAM…]:VALUE, with an optional "group." in front; a colon inside a quoted parameter
// value does not end the name.
std::optional<Property> property(const QString& line)
{
    bool quoted = false;
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line.at(i);
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (c == QLatin1Char(':') && !quoted) {
            const QString head = line.left(i);
            QString name = head.section(QLatin1Char(';'), 0, 0).trimmed();
            name = name.section(QLatin1Char('.'), -1).toUpper();
            if (name.isEmpty())
                return std::nullopt;
            return Property{name, head.section(QLatin1Char(';'), 1).toUpper(), line.mid(i + 1)};
        }
    }
    return std::nullopt;
}

QString unescaped(const QString& value)
{
    QString text;
    for (qsizetype i = 0; i < value.size(); ++i) {
        QChar c = value.at(i);
        if (c == QLatin1Char('\\') && i + 1 < value.size()) {
            c = value.at(++i);
            if (c == QLatin1Char('n') || c == QLatin1Char('N'))
                c = QLatin1Char(' ');
        }
        text += c;
    }
    return text.simplified();
}

// N is "Family;Given;Additional;Prefix;Suffix"; the name reads "Given Family".
QString nameFromParts(const QString& value)
{
    const QStringList parts = value.split(QLatin1Char(';'));
    QStringList words;
    for (int i : {3, 1, 2, 0, 4}) {
        const QString word = unescaped(parts.value(i));
        if (!word.isEmpty())
            words << word;
    }
    return words.join(QLatin1Char(' '));
}

class CardBuilder
{
public:
    // False when the line is no property: the card is broken.
    bool add(const QString& line)
    {
        const std::optional<Property> p = property(line);
        if (!p)
            return false;
        const QString value = decodedValue(*p);
        if (p->name == QLatin1String("FN"))
            m_formatted = unescaped(value);
        else if (p->name == QLatin1String("N"))
            m_parts = nameFromParts(value);
        else if (p->name == QLatin1String("TEL") && !value.trimmed().isEmpty())
            m_card.numbers << value.trimmed();
        return true;
    }

    std::optional<VCardReader::Card> finished()
    {
        m_card.name = m_formatted.isEmpty() ? m_parts : m_formatted;
        if (m_card.name.isEmpty())
            return std::nullopt;
        return m_card;
    }

private:
    VCardReader::Card m_card;
    QString m_formatted;
    QString m_parts;
};

bool isLine(const QString& line, const char* text)
{
    return line.trimmed().compare(QLatin1String(text), Qt::CaseInsensitive) == 0;
}

} // namespace

namespace VCardReader {

Result parse(const QByteArray& bytes)
{
    Result result;
    std::optional<CardBuilder> card;
    bool broken = false;
    for (const QByteArray& raw : unfoldedLines(bytes)) {
        const QString line = QString::fromUtf8(raw);
        if (isLine(line, "BEGIN:VCARD")) {
            if (card) // the previous card never ended
                ++result.skipped;
            card.emplace();
            broken = false;
        } else if (!card) {
            continue; // text between cards belongs to none
        } else if (isLine(line, "END:VCARD")) {
            const std::optional<Card> done = broken ? std::nullopt : card->finished();
            if (done)
                result.cards << *done;
            else
                ++result.skipped;
            card.reset();
        } else if (!line.trimmed().isEmpty() && !card->add(line)) {
            broken = true;
        }
    }
    if (card)
        ++result.skipped;
    return result;
}

Result read(const QString& path)
{
    Result result;
    // The bound holds for what is read, not for what the file says of its size: only a regular
    // file is read, and no more of it than the limit.
    QByteArray bytes;
    const int error = TextFile::readAll(path, MaxFileBytes, bytes);
    if (error == EFBIG)
        result.error = QStringLiteral("größer als %1 MB").arg(MaxFileBytes / (1024 * 1024));
    else if (error == EINVAL)
        result.error = QStringLiteral("keine gewöhnliche Datei");
    else if (error != 0)
        result.error = QString::fromLocal8Bit(std::strerror(error));
    if (error != 0)
        return result;
    return parse(bytes);
}

} // namespace VCardReader
