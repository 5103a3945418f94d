#pragma once

#include <QString>

// Telephone numbers as the address book compares them: written with blanks, dashes, slashes or
// brackets, with "+" or "00" in front, a German number and its national form are one number.
namespace PhoneNumber {

// Digits only, in the form the call logs use: "+" becomes "00", the German country code becomes
// the trunk prefix "0" ("+49 30 123-4567" and "0049301234567" give "0301234567"), other countries
// keep "00" and their code ("+33 1 …" gives "00331…"). The "(0)" written after a country code is
// dropped; a "tel:" address loses its scheme and parameters. No digit at all gives an empty text.
QString normalised(const QString& text);

} // namespace PhoneNumber
