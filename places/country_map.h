#pragma once

// The country and the large region of any point on land, from Natural Earth's
// country outlines at 1:50m on a quadtree (places/country_map_data.h, cells of
// 7.5 / 64 degrees at the finest, about 13 km). Parts of a country far from its main
// land take the region they lie in (French Guiana: South America).

#include <cstddef>
#include <string_view>

// An area is one country in one region; area 0 is the sea.
struct MapArea {
    std::string_view country;    // "United States"; empty at sea
    std::string_view region;     // "North America", "Europe (west)"; empty at sea
    std::size_t regionIndex = 0; // its place in the list of regions (MapRegionName)
};

// latitude -90..90, longitude -180..180 degrees (east positive); the sea (0) out of
// range or not finite.
std::size_t MapAreaAt(double latitude, double longitude);

MapArea MapAreaOf(std::size_t area);

// The number of areas, the sea included.
std::size_t MapAreaCount();

// A point (degrees) inside an area, for sampling areas smaller than a grid.
struct MapAreaPoint {
    double latitude = 0.0;
    double longitude = 0.0;
};
MapAreaPoint MapAreaSamplePoint(std::size_t area);

// The regions of the map, America's first, then Europe's, Africa's, Asia's, Oceania's
// and the Antarctic.
std::size_t MapRegionCount();
std::string_view MapRegionName(std::size_t region);
