#pragma once

#include <QString>

// The analogue extensions 21..28: index 0..7 in the image and in every per-extension table.
// The exchange's own count (3 or 8) bounds the loops; `Max` bounds every array.
namespace Extensions {

inline constexpr int First = 21;
inline constexpr int Last = 28;
inline constexpr int Max = Last - First + 1;

constexpr int number(int index)
{
    return First + index;
}
constexpr int index(int number)
{
    return number - First;
}
constexpr bool isNumber(int number)
{
    return number >= First && number <= Last;
}
constexpr bool isIndex(int index)
{
    return index >= 0 && index < Max;
}
inline QString numberText(int index)
{
    return QString::number(number(index));
}

} // namespace Extensions
