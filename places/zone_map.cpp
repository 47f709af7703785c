#include "places/zone_map.h"

#include "places/zone_map_data.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kColumns = 48;
constexpr int kRows = 24;
constexpr std::size_t kCells = kColumns * kRows;

bool IsSeaZone(std::string_view zone) {
    return zone.substr(0, 7) == "Etc/GMT" || zone == "Etc/UTC";
}

} // namespace

std::string NauticalZone(double longitude) {
    const int hours = std::clamp(static_cast<int>(std::lround(longitude / 15.0)), -12, 12);
    if (hours == 0)
        return "Etc/GMT";
    // The IANA names of these zones have the sign of the offset reversed.
    return std::string("Etc/GMT") + (hours > 0 ? "-" : "+") + std::to_string(std::abs(hours));
}

PointZone ZoneAtPoint(double latitude, double longitude) {
    if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0))
        return {"Etc/UTC", true};
    if (latitude >= 90.0)
        return {NauticalZone(longitude), true};
    // Position inside the 7.5 degree cell, then inside each quarter in turn.
    double x = kColumns * (180.0 + longitude) / 360.0;
    double y = kRows * (90.0 - latitude) / 180.0;
    const int column = std::min(static_cast<int>(x), kColumns - 1);
    const int row = std::min(static_cast<int>(y), kRows - 1);
    x -= column;
    y -= row;
    std::size_t entry = kZoneMapEntries[static_cast<std::size_t>(row * kColumns + column)];
    // A map of N entries has fewer than N levels; the bound only guards the loop.
    for (std::size_t depth = 0; entry >= kZoneMapNames.size() && depth < kZoneMapEntries.size();
         ++depth) {
        x *= 2.0;
        y *= 2.0;
        const int east = x >= 1.0 ? 1 : 0;
        const int south = y >= 1.0 ? 1 : 0;
        x -= east;
        y -= south;
        const std::size_t node = entry - kZoneMapNames.size();
        entry = kZoneMapEntries[kCells + 4 * node + static_cast<std::size_t>(2 * south + east)];
    }
    const std::string_view zone = kZoneMapNames[entry];
    if (IsSeaZone(zone))
        return {NauticalZone(longitude), true};
    return {std::string(zone), false};
}
