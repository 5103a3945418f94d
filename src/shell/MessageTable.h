#pragma once

#include <QString>

// The program's numbered German messages. Texts are raw, with their "%s"/"%d" placeholders;
// numbers without a text (and 0) give the empty text.
namespace MessageTable {
QString text(int number);
// Highest number that has a text.
int highestNumber();
} // namespace MessageTable
