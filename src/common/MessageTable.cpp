#include "common/MessageTable.h"

#include <array>

namespace {

struct Entry
{
    int number;
    const char* text;
};

constexpr auto kMessages = std::to_array<Entry>({
    {1, "Gebühreninformationen werden gelesen"},
    {2, "Grundkonfiguration wird gelesen"},
    {3, "Endgerätekonfiguration wird gelesen"},
    {4, "Kommunikationsfehler auf Schnittstelle %s"},
    {5, "Schnittstelle %s kann nicht geöffnet werden"},
    {7, "1TR6"},
    {8, "DSS1"},
    {9, "Mehrgeräteanschluß"},
    {10, "Anlagenanschluß"},
    {11, "Vollamt"},
    {12, "Inland"},
    {13, "Ortsgespräch"},
    {14, "Ankommend"},
    {15, "Keine"},
    {16, "Telefon"},
    {17, "Fax G3"},
    {18, "Daten"},
    {19, "T-Online"},
    {20, "Anrufbeantworter"},
    {21, "Kombidienst"},
    {22, "Portadresse '%s' ist ungültig"},
    {24, "Schnittstelle %s wird geöffnet"},
    {26, "Grundkonfiguration wird übertragen"},
    {27, "Anschluß %s wird konfiguriert"},
    {28, "Nein"},
    {29, "Ja"},
    {31, "WinKavex ist nur für Firmware-Versionen ab 1.93 geeignet"},
    {32, "Datei %s konnte nicht geöffnet werden"},
    {33, "Nein"},
    {34, "Anschluß %d"},
    {35, "Gebühreneinheiten werden übertragen"},
    {36, "Schnittstelle %s kann nicht beschrieben werden"},
    {39, "Falsches Paßwort"},
    {40, "Paßwort-Wiederholung stimmt nicht"},
    {41, "Standard"},
    {42, "Rhythmus 1"},
    {43, "Rhythmus 2"},
    {44, "Keiner"},
    {45, "Rhythmus 3"},
    {46, "n.v."},
    {47, "(besetzt)"},
    {48, "(sofort)"},
    {49, "(%d Rufe)"},
    {50, "Kurzwahl %s wird gelesen"},
    {51, "Kurzwahlen bei dieser Firmware-Version nicht verfügbar"},
    {52, "Wahlsperre"},
    {53, "Kurzwahl"},
    {54, "Babyruf"},
    {56, "Ungültige Wartezeit"},
});

} // namespace

namespace MessageTable {

QString text(int number)
{
    for (const Entry& e : kMessages) {
        if (e.number == number)
            return QString::fromUtf8(e.text);
    }
    return {};
}

QString text(int number, const QString& arg)
{
    return text(number).replace(QLatin1String("%s"), arg);
}

int highestNumber()
{
    return kMessages.back().number;
}

} // namespace MessageTable
