#include "contacts/AddressBook.h"

#include "contacts/PhoneNumber.h"
#include "contacts/VCardReader.h"

AddressBook::Report AddressBook::load(const QString& path)
{
    m_names.clear();
    Report report;
    report.path = path;
    if (path.isEmpty())
        return report;
    const VCardReader::Result read = VCardReader::read(path);
    report.error = read.error;
    report.skipped = read.skipped;
    report.cards = static_cast<int>(read.cards.size());
    for (const VCardReader::Card& card : read.cards) {
        for (const QString& number : card.numbers) {
            const QString key = PhoneNumber::normalised(number);
            if (!key.isEmpty() && !m_names.contains(key))
                m_names.insert(key, card.name);
        }
    }
    return report;
}

QString AddressBook::nameFor(const QString& number) const
{
    const QString key = PhoneNumber::normalised(number);
    return key.isEmpty() ? QString() : m_names.value(key);
}

QString AddressBook::reportText(const Report& report)
{
    if (!report.error.isEmpty())
        return QStringLiteral("Telefonbuch %1 nicht lesbar: %2").arg(report.path, report.error);
    QString text = QStringLiteral("Telefonbuch: %1 Karten gelesen").arg(report.cards);
    if (report.skipped > 0)
        text += QStringLiteral(", %1 fehlerhafte Karten übersprungen").arg(report.skipped);
    return text;
}
