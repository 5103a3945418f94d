#pragma once

#include <QString>
#include <QStringList>

// The texts of every choice list of the configuration pages, in the order the pages list them.
// Pages fill their combo boxes from here and pass the chosen index back to the models.
namespace ConfigChoices {
// MSN page, MSN choice: "MSN 1" .. "MSN 9", "MSN10".
QStringList msns();
// Hold choice: "Intern (Musik)", "Aus", "Nebenstelle 21" .. "Nebenstelle 20 + count".
QStringList hold(int extensionCount);
// Ring-rhythm choice of the MSN page and of the speed-dial editor:
// "Keiner", "Standard", "Rhytmus 1", "Rhytmus 2", "Rhytmus 3" (stored as 3, 0, 1, 2, 4).
QStringList rhythms();
int rhythmByteForChoice(int choice); // -1 for an index outside the list
int choiceForRhythmByte(int value);  // -1 for a value no choice stands for
// Extension page: permission "Vollamt", "Inland", "Ortsgespräch", "Ankommend", "Keine" (index = byte).
QStringList permissions();
// Service "Telefon", "Fax G3", "Daten", "T-Online", "Anrufbeantworter", "Kombidienst" (index = byte).
QStringList services();
// Forwarding mode: "sofort", "wenn besetzt", "nach drei Rufen" .. "nach zehn Rufen"
// (index k >= 2 means k + 1 rings).
QStringList forwardingModes();
// Extension choice: "21" or "21 - Name" for extensions 21 .. 20 + count; `names` holds the texts
// of section "Bezeichnungen", index 0 for extension 21.
QStringList extensions(int extensionCount, const QStringList& names);
} // namespace ConfigChoices
