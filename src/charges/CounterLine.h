#pragma once

#include "image/Extensions.h"

#include <QString>

#include <array>

// The eight unit counters of extensions 21..28, index 0..7.
using Units = std::array<int, Extensions::Max>;

// A line that carries the eight counters: a history data line or the overview line of a reading.
// In both, the number of extension index i ends at character 8(i + 1) + 18 (counted from 1), so one
// column rule reads both.
namespace CounterLine {

// 18 blanks and the eight counters right-aligned in 8 characters each.
QString overview(const Units& units);
// The digits among the five characters that end at the counter's position; 0 without a digit.
int column(const QString& line, int index);
Units columns(const QString& line);
// Sum of the eight columns.
int total(const QString& line);

} // namespace CounterLine
