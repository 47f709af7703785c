#include "places/zone_map.h"

#include "places/cell_map.h"
#include "places/zone_map_data.h"

#include <algorithm>
#include <cmath>

namespace {

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
    // A map of N entries has fewer than N levels; the bound only guards the loop.
    const std::size_t entry = cell_map::LeafAt(kZoneMapEntries, kZoneMapNames.size(),
                                               kZoneMapEntries.size(), latitude, longitude);
    if (entry >= kZoneMapNames.size())
        return {NauticalZone(longitude), true};
    const std::string_view zone = kZoneMapNames[entry];
    if (IsSeaZone(zone))
        return {NauticalZone(longitude), true};
    return {std::string(zone), false};
}
