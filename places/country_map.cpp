#include "places/country_map.h"

#include "places/cell_map.h"
#include "places/country_map_data.h"

#include <algorithm>
#include <cmath>

std::size_t MapAreaAt(double latitude, double longitude) {
    if (!(std::fabs(latitude) <= 90.0) || !(std::fabs(longitude) <= 180.0))
        return 0;
    const std::size_t leaf =
        cell_map::LeafAt(kCountryMapEntries, kCountryMapAreas.size(),
                         static_cast<std::size_t>(kCountryMapDepth), latitude, longitude);
    return leaf < kCountryMapAreas.size() ? leaf : 0;
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
