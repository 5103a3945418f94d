#include "FuzzSupport.h"
#include "contacts/AddressBook.h"
#include "contacts/PhoneNumber.h"
#include "contacts/VCardReader.h"

// Any file chosen as the address book: parsed, loaded, every number looked up by its own text.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const VCardReader::Result parsed = VCardReader::parse(bytes);
    FuzzSupport::check(parsed.skipped >= 0);

    AddressBook book;
    const AddressBook::Report report = book.load(FuzzSupport::writeFile(QStringLiteral("book.vcf"), data, size));
    FuzzSupport::check(report.cards == parsed.cards.size() && report.skipped == parsed.skipped);
    (void)AddressBook::reportText(report);
    for (const VCardReader::Card& card : parsed.cards) {
        FuzzSupport::check(!card.name.isEmpty());
        for (const QString& number : card.numbers) {
            // A number that normalises to digits names someone: the first card that has it.
            if (!PhoneNumber::normalised(number).isEmpty())
                FuzzSupport::check(!book.nameFor(number).isEmpty());
        }
    }
    return 0;
}
