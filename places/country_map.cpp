#include "places/country_map.h"

#include "places/country_map_data.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kColumns = 48;
constexpr int kRows = 24;
constexpr std::size_t kCells = kColumns * kRows;

} // namespace

std::size_t MapAreaAt(double latitude, double longitude) {
    if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0))
        return 0;
    double x = kColumns * (180.0 + longitude) / 360.0;
    double y = kRows * (90.0 - latitude) / 180.0;
    const int column = std::min(static_cast<int>(x), kColumns - 1);
    const int row = std::min(static_cast<int>(y), kRows - 1);
    x -= column;
    y -= row;
    std::size_t entry = kCountryMapEntries[static_cast<std::size_t>(row * kColumns + column)];
    for (int depth = 0; entry >= kCountryMapAreas.size() && depth < kCountryMapDepth; ++depth) {
        x *= 2.0;
        y *= 2.0;
        const int east = x >= 1.0 ? 1 : 0;
        const int south = y >= 1.0 ? 1 : 0;
        x -= east;
        y -= south;
        const std::size_t node = entry - kCountryMapAreas.size();
        entry = kCountryMapEntries[kCells + 4 * node + static_cast<std::size_t>(2 * south + east)];
    }
    return entry < kCountryMapAreas.size() ? entry : 0;
}

MapArea MapAreaOf(std::size_t area) {
    if (area == 0 || area >= kCountryMapAreas.size())
        return {};
    const CountryMapArea& a = kCountryMapAreas[area];
    return {kCountryMapCountries[static_cast<std::size_t>(a.country)],
            kCountryMapRegions[static_cast<std::size_t>(a.region)],
            static_cast<std::size_t>(a.region)};
}

std::size_t MapAreaCount() {
    return kCountryMapAreas.size();
}

MapAreaPoint MapAreaSamplePoint(std::size_t area) {
    if (area >= kCountryMapAreas.size())
        return {};
    return {kCountryMapAreas[area].latitude, kCountryMapAreas[area].longitude};
}

std::size_t MapRegionCount() {
    return kCountryMapRegions.size();
}

std::string_view MapRegionName(std::size_t region) {
    return region < kCountryMapRegions.size() ? kCountryMapRegions[region] : std::string_view();
}
