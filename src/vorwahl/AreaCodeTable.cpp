#include "AreaCodeTable.h"

#include <algorithm>
#include <array>
#include <cstdint>

namespace {

struct Row
{
    std::uint32_t key;
    std::string_view text;
};

constexpr Row rows[] = {
#include "AreaCodeRows.inc"
};

// A lookup reads one entry, chosen by the number's first four digits, and the one text it names; a
// fifth digit may lead to a five-digit code in a block of ten beside the entries. Codes of two to
// four digits are entries 10-9999 themselves, so a number with fewer digits has its entry too.
constexpr std::size_t entryDigits = 4;
constexpr std::size_t maxKeyDigits = entryDigits + 1;
constexpr std::uint32_t entryCount = 10000;
constexpr std::size_t blockSize = 10;
constexpr std::size_t cacheLine = 64;

// A text among the packed texts, with the digits of its key: offset << 11 | length << 3 | digits;
// 0 is none.
using TextRef = std::uint32_t;
constexpr unsigned lengthShift = 3;
constexpr unsigned offsetShift = 11;
constexpr TextRef digitsMask = 0x7;
constexpr TextRef lengthMask = 0xFF;

// An entry: the text of the longest code of up to four digits that the entry's digits start with
// (bits 0-31), the fifth digits that continue to a five-digit code (one bit each from bit 32) and
// the block holding those codes (from bit 42).
using Entry = std::uint64_t;
constexpr unsigned fifthDigitShift = 32;
constexpr unsigned blockShift = 42;

constexpr std::size_t digitCount(std::uint32_t key)
{
    std::size_t n = 1;
    for (; key >= 10; key /= 10)
        ++n;
    return n;
}

// Texts end to end, but none that fits in a cache line lies across two: one text costs one line.
constexpr std::size_t textOffset(std::size_t end, std::size_t length)
{
    const std::size_t room = cacheLine - end % cacheLine;
    return length <= cacheLine && length > room ? end + room : end;
}

constexpr std::size_t textBytes()
{
    std::size_t end = 0;
    for (const Row& row : rows)
        end = textOffset(end, row.text.size()) + row.text.size();
    return end;
}

constexpr std::size_t blockCount()
{
    std::array<bool, entryCount> used{};
    std::size_t count = 0;
    for (const Row& row : rows) {
        if (digitCount(row.key) == maxKeyDigits && !used[row.key / 10]) {
            used[row.key / 10] = true;
            ++count;
        }
    }
    return count;
}

struct Layout
{
    alignas(cacheLine) std::array<char, textBytes()> texts{};
    alignas(cacheLine) std::array<Entry, entryCount> entries{};
    alignas(cacheLine) std::array<TextRef, blockCount() * blockSize> blocks{};
};

constexpr TextRef textRef(std::size_t offset, std::size_t length, std::size_t digits)
{
    if (length == 0 || length > lengthMask || offset >= (std::size_t{1} << (32 - offsetShift)))
        throw "an area-code text does not fit its reference";
    return static_cast<TextRef>(offset << offsetShift | length << lengthShift | digits);
}

constexpr unsigned fifthDigits(Entry entry)
{
    return static_cast<unsigned>(entry >> fifthDigitShift) & 0x3FF;
}

constexpr std::size_t blockOf(Entry entry)
{
    return static_cast<std::size_t>(entry >> blockShift);
}

constexpr void addFiveDigitCode(Layout& layout, std::size_t& blocks, std::uint32_t key, TextRef ref)
{
    Entry& entry = layout.entries[key / 10];
    if (fifthDigits(entry) == 0)
        entry |= Entry{blocks++} << blockShift;
    entry |= Entry{1} << (fifthDigitShift + key % 10);
    layout.blocks[blockOf(entry) * blockSize + key % 10] = ref;
}

constexpr Layout build()
{
    Layout layout;
    std::array<TextRef, entryCount> own{};
    std::size_t end = 0;
    std::size_t blocks = 0;
    for (const Row& row : rows) {
        const std::size_t offset = textOffset(end, row.text.size());
        end = offset + row.text.size();
        std::copy(row.text.begin(), row.text.end(), layout.texts.begin() + static_cast<std::ptrdiff_t>(offset));
        const std::size_t digits = digitCount(row.key);
        const TextRef ref = textRef(offset, row.text.size(), digits);
        // A one-digit code is never tried: an area code has two digits at least.
        if (digits >= 2 && digits <= entryDigits)
            own[row.key] = ref;
        else if (digits == maxKeyDigits)
            addFiveDigitCode(layout, blocks, row.key, ref);
        else if (digits > maxKeyDigits)
            throw "an area code has at most five digits";
    }
    // Shorter entries first, so an entry without a code of its own takes the one of its first digits.
    for (std::uint32_t e = 10; e < entryCount; ++e) {
        const TextRef shorter = e >= 100 ? static_cast<TextRef>(layout.entries[e / 10]) : 0;
        layout.entries[e] |= own[e] != 0 ? own[e] : shorter;
    }
    return layout;
}

constexpr Layout layout = build();

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

AreaCodeTable::Match match(TextRef ref)
{
    if (ref == 0)
        return {};
    return {ref & digitsMask, {layout.texts.data() + (ref >> offsetShift), (ref >> lengthShift) & lengthMask}};
}

} // namespace

namespace AreaCodeTable {

Match longestPrefix(std::string_view number)
{
    if (number.empty() || number[0] == '0')
        return {};
    std::uint32_t key = 0;
    std::size_t digits = 0;
    while (digits < entryDigits && digits < number.size() && isDigit(number[digits])) {
        key = key * 10 + static_cast<std::uint32_t>(number[digits] - '0');
        ++digits;
    }
    if (digits < 2)
        return {};
    const Entry entry = layout.entries[key];
    if (digits == entryDigits && number.size() > entryDigits && isDigit(number[entryDigits])) {
        const auto fifth = static_cast<unsigned>(number[entryDigits] - '0');
        if (fifthDigits(entry) >> fifth & 1)
            return match(layout.blocks[blockOf(entry) * blockSize + fifth]);
    }
    return match(static_cast<TextRef>(entry));
}

} // namespace AreaCodeTable
