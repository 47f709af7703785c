#pragma once

// The point maps' common form (time zones, countries), written by the converters in
// tools/gazetteer: the Earth in 48 x 24 cells of 7.5 degrees, row 0 at the north pole
// and column 0 at 180 degrees west. An entry below `leaves` is a leaf (a value for the
// whole square); one above is node (entry - leaves), whose four quarters (north-west,
// north-east, south-west, south-east) follow the cells at 4 * node. No Qt here.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>

namespace cell_map {

inline constexpr int kColumns = 48;
inline constexpr int kRows = 24;
inline constexpr std::size_t kCells = std::size_t{kColumns} * kRows;

// The leaf under a point (latitude within [-90, 90], longitude within [-180, 180]),
// descending at most maxDepth quarters; leaves when the map ends in a node there.
inline std::size_t LeafAt(std::span<const std::uint16_t> entries, std::size_t leaves,
                          std::size_t maxDepth, double latitude, double longitude) {
    double x = kColumns * (180.0 + longitude) / 360.0;
    double y = kRows * (90.0 - latitude) / 180.0;
    const int column = std::min(static_cast<int>(x), kColumns - 1);
    const int row = std::min(static_cast<int>(y), kRows - 1);
    x -= column;
    y -= row;
    std::size_t entry = entries[static_cast<std::size_t>(row * kColumns + column)];
    for (std::size_t depth = 0; entry >= leaves && depth < maxDepth; ++depth) {
        x *= 2.0;
        y *= 2.0;
        const int east = x >= 1.0 ? 1 : 0;
        const int south = y >= 1.0 ? 1 : 0;
        x -= east;
        y -= south;
        const std::size_t node = entry - leaves;
        const std::size_t at = kCells + 4 * node + static_cast<std::size_t>(2 * south + east);
        if (at >= entries.size())
            return leaves;
        entry = entries[at];
    }
    return entry < leaves ? entry : leaves;
}

} // namespace cell_map
