#pragma once

#include <QString>

// Text from a log, a vCard or the network as a terminal may show it: control characters (C0, DEL
// and C1, tabs and line breaks included) become "\xHH", so that no escape sequence reaches the
// terminal and no field breaks its line.
namespace PrintableText {
QString escaped(const QString& text);
// A report of many lines: the same, except that its line breaks and column tabs stay as they are.
QString escapedLines(const QString& text);
} // namespace PrintableText
