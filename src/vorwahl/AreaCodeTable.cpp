#include "AreaCodeTable.h"

#include <algorithm>
#include <array>

namespace {

struct Row
{
    std::uint32_t key;
    std::string_view text;
};

constexpr Row rows[] = {
#include "AreaCodeRows.inc"
};

constexpr std::size_t rowCount = std::size(rows);

constexpr std::uint32_t maxKey =
    std::max_element(std::begin(rows), std::end(rows), [](const Row& a, const Row& b) { return a.key < b.key; })->key;

// Direct index from key to row number + 1 (0: no row); keys are small, so a lookup is one array access.
using Index = std::array<std::uint16_t, maxKey + 1>;
static_assert(rowCount < 0xFFFF);

constexpr Index buildIndex()
{
    Index index{};
    for (std::size_t i = 0; i < rowCount; ++i)
        index[rows[i].key] = static_cast<std::uint16_t>(i + 1);
    return index;
}

constexpr Index index = buildIndex();

} // namespace

namespace AreaCodeTable {

std::string_view text(std::uint32_t key)
{
    if (key > maxKey || index[key] == 0)
        return {};
    return rows[index[key] - 1].text;
}

std::size_t size()
{
    return rowCount;
}

} // namespace AreaCodeTable
