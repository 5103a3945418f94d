#include "config/ConfigChoices.h"

#include "common/MessageTable.h"
#include "image/Extensions.h"

#include <array>

namespace {
// Choice index -> rhythm byte: "Keiner", "Standard", "Rhytmus 1", "Rhytmus 2", "Rhytmus 3".
constexpr std::array<int, 5> kRhythmBytes{3, 0, 1, 2, 4};

QStringList messages(int first, int last)
{
    QStringList list;
    for (int n = first; n <= last; ++n)
        list << MessageTable::text(n);
    return list;
}
} // namespace

namespace ConfigChoices {

QStringList msns()
{
    QStringList list;
    for (int m = 1; m <= 10; ++m)
        list << QStringLiteral("MSN%1").arg(m, 2);
    return list;
}

QStringList hold(int extensionCount)
{
    QStringList list{QStringLiteral("Intern (Musik)"), QStringLiteral("Aus")};
    for (int i = 1; i <= extensionCount; ++i)
        list << QStringLiteral("Nebenstelle %1").arg(20 + i);
    return list;
}

QStringList rhythms()
{
    return {QStringLiteral("Keiner"), QStringLiteral("Standard"), QStringLiteral("Rhytmus 1"),
            QStringLiteral("Rhytmus 2"), QStringLiteral("Rhytmus 3")};
}

int rhythmByteForChoice(int choice)
{
    return choice >= 0 && choice < static_cast<int>(kRhythmBytes.size()) ? kRhythmBytes.at(choice) : -1;
}

int choiceForRhythmByte(int value)
{
    for (std::size_t k = 0; k < kRhythmBytes.size(); ++k) {
        if (kRhythmBytes.at(k) == value)
            return static_cast<int>(k);
    }
    return -1;
}

QStringList permissions()
{
    return messages(11, 15);
}

QStringList services()
{
    return messages(16, 21);
}

QStringList forwardingModes()
{
    QStringList list{QStringLiteral("sofort"), QStringLiteral("wenn besetzt")};
    for (const char* rings : {"drei", "vier", "fünf", "sechs", "sieben", "acht", "neun", "zehn"})
        list << QStringLiteral("nach %1 Rufen").arg(QString::fromUtf8(rings));
    return list;
}

QStringList extensions(int extensionCount, const QStringList& names)
{
    QStringList list;
    for (int i = 0; i < extensionCount; ++i) {
        const QString number = Extensions::numberText(i);
        const QString name = names.value(i);
        list << (name.isEmpty() ? number : QStringLiteral("%1 - %2").arg(number, name));
    }
    return list;
}

} // namespace ConfigChoices
