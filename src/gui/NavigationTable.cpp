#include "NavigationTable.h"

const QList<NavigationEntry>& NavigationTable::entries()
{
    static const QList<NavigationEntry> table = {
        {0, 0, QStringLiteral("Grundkonfiguration"), QStringLiteral("Grundkonfiguration"), PageKey::Overview, 0},
        {0, 1, QStringLiteral("Zuordnung"), QStringLiteral("Zuordnung"), PageKey::Assignment, 0},
        {0, 2, QStringLiteral("Berechtigungen"), QStringLiteral("Berechtigungen"), PageKey::Permissions, 0},
        {0, 3, QStringLiteral("Anklopfen"), QStringLiteral("Anklopfen"), PageKey::CallWaiting, 0},
        {1, 0, QStringLiteral("Übersicht"), QStringLiteral("Gebührenübersicht"), PageKey::ChargeOverview, 0},
        {1, 1, QStringLiteral("Aufteilung"), QStringLiteral("Gebührenaufteilung"), PageKey::ChargeSplit, 0},
        {1, 2, QStringLiteral("Histogramm"), QStringLiteral("Gebührenhistogramm"), PageKey::ChargeHistogram, 0},
        {2, 0, QStringLiteral("Kurzwahlliste"), QStringLiteral("Kurzwahlen"), PageKey::SpeedDials, 0},
        {3, 0, QStringLiteral("Diagnose"), QStringLiteral("Diagnosemodus"), PageKey::Diagnosis, 0},
        {3, 1, QStringLiteral("Abgehende Gespräche"), QStringLiteral("Abgehende Gespräche"), PageKey::OutgoingCalls, 0},
        {3, 2, QStringLiteral("Ankommende Gespräche"), QStringLiteral("Ankommende Gespräche"), PageKey::IncomingCalls,
         0},
        {3, 3, QStringLiteral("Sperrliste"), QStringLiteral("Sperrliste"), PageKey::BlockList, 0},
        {4, 0, QStringLiteral("Weckzeiten"), QStringLiteral("Weckzeiten"), PageKey::WakeUp, 0},
        {5, 0, QStringLiteral("Grundparameter"), QStringLiteral("Grundparametrierung"), PageKey::Parameters, 0},
        {5, 1, QStringLiteral("Nebenstellen"), QStringLiteral("Nebenstellenparametrierung"), PageKey::Parameters, 1},
        {5, 2, QStringLiteral("Zeitsteuerung"), QStringLiteral("Zeitsteuerung"), PageKey::TimeControl, 0},
        {5, 3, QStringLiteral("Paßwort"), QStringLiteral("Parametrierungspaßwort"), PageKey::Password, 0},
        {6, 0, QStringLiteral("Programmparameter"), QStringLiteral("Programmparameter"), PageKey::ProgramParameters, 0},
        {6, 1, QStringLiteral("MQTT"), QStringLiteral("MQTT"), PageKey::Mqtt, 0},
        {7, 0, QStringLiteral("Programminformationen"), QStringLiteral("Info"), PageKey::Info, 0},
    };
    return table;
}

QStringList NavigationTable::groupCaptions()
{
    return {QStringLiteral("Konfiguration"),      QStringLiteral("Gebühren"),     QStringLiteral("Kurzwahlen"),
            QStringLiteral("Verbindungen"),       QStringLiteral("Weckfunktion"), QStringLiteral("Anlagenparameter"),
            QStringLiteral("Sonstige Parameter"), QStringLiteral("Info")};
}

int NavigationTable::indexOf(int group, int entry)
{
    const auto& table = entries();
    for (int i = 0; i < table.size(); ++i) {
        if (table[i].group == group && table[i].entry == entry)
            return i;
    }
    return -1;
}

int NavigationTable::indexOfHeading(const QString& heading)
{
    const auto& table = entries();
    for (int i = 0; i < table.size(); ++i) {
        if (table[i].heading == heading)
            return i;
    }
    return -1;
}

std::optional<int> NavigationTable::startPageIndex(int position)
{
    static const int groupEntry[10][2] = {{0, 0}, {0, 1}, {0, 2}, {0, 3}, {1, 0},
                                          {1, 1}, {1, 2}, {3, 0}, {3, 1}, {3, 2}};
    if (position < 0 || position > 9)
        return std::nullopt;
    return indexOf(groupEntry[position][0], groupEntry[position][1]);
}

QStringList NavigationTable::trayMenuTexts()
{
    const QString separator;
    return {QStringLiteral("Grundkonfiguration"),
            QStringLiteral("Zuordnung"),
            QStringLiteral("Berechtigungen"),
            QStringLiteral("Anklopfen"),
            separator,
            QStringLiteral("Gebührenübersicht"),
            QStringLiteral("Gebührenaufteilung"),
            QStringLiteral("Gebührenhistogramm"),
            separator,
            QStringLiteral("Kurzwahlen"),
            separator,
            QStringLiteral("Diagnosemodus"),
            QStringLiteral("Abgehende Gespräche"),
            QStringLiteral("Ankommende Gespräche"),
            separator,
            QStringLiteral("Wecker"),
            separator,
            QStringLiteral("Grundparametrierung"),
            QStringLiteral("Nebenstellenparametrierung"),
            QStringLiteral("Zeitsteuerung"),
            QStringLiteral("Parametrierungspaßwort"),
            separator,
            QStringLiteral("Programmparameter"),
            separator,
            QStringLiteral("Info"),
            separator,
            QStringLiteral("Schließen")};
}
