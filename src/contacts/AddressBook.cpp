#include "contacts/AddressBook.h"

#include "contacts/PhoneNumber.h"

#include <QDir>
#include <QFileInfo>

QStringList AddressBook::folderFiles(const QString& folder, int* leftOut)
{
    QDir dir(folder);
    dir.setNameFilters({QStringLiteral("*.vcf"), QStringLiteral("*.VCF"), QStringLiteral("*.Vcf")});
    dir.setFilter(QDir::Files | QDir::Readable | QDir::Hidden);
    dir.setSorting(QDir::Name);
    QStringList files;
    const QStringList names = dir.entryList();
    for (const QString& name : names) {
        if (files.size() < MaxFolderFiles)
            files << dir.filePath(name);
    }
    if (leftOut)
        *leftOut = static_cast<int>(names.size() - files.size());
    return files;
}

void AddressBook::add(const VCardReader::Result& read, Report& report)
{
    report.skipped += read.skipped;
    report.cards += static_cast<int>(read.cards.size());
    for (const VCardReader::Card& card : read.cards) {
        for (const QString& number : card.numbers) {
            const QString key = PhoneNumber::normalised(number);
            if (!key.isEmpty() && !m_names.contains(key))
                m_names.insert(key, card.name);
        }
    }
}

AddressBook::Report AddressBook::load(const QString& path)
{
    m_names.clear();
    Report report;
    report.path = path;
    if (path.isEmpty())
        return report;
    if (QFileInfo(path).isDir()) {
        if (!QFileInfo(path).isReadable() || !QFileInfo(path).isExecutable()) {
            report.error = QStringLiteral("Ordner nicht lesbar");
            return report;
        }
        int leftOut = 0;
        for (const QString& file : folderFiles(path, &leftOut)) {
            const VCardReader::Result read = VCardReader::read(file);
            if (!read.error.isEmpty())
                ++report.skipped;
            else
                add(read, report);
        }
        report.skipped += leftOut;
    } else {
        const VCardReader::Result read = VCardReader::read(path);
        report.error = read.error;
        add(read, report);
    }
    report.numbers = static_cast<int>(m_names.size());
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
    QString text = QStringLiteral("Telefonbuch: %1 Karten mit %2 Nummern gelesen").arg(report.cards).arg(report.numbers);
    if (report.skipped > 0)
        text += QStringLiteral(", %1 fehlerhafte Karten übersprungen").arg(report.skipped);
    return text;
}
