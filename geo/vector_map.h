#pragma once

// The base map's outlines as the program carries them: Natural Earth land rings and
// country borders at two levels of detail, in one compact binary resource that
// tools/mapgen writes and the map reads. No Qt here.
//
// Format (little-endian): the 8 bytes "KVMAP\0\0\1", then a u32 count of layers; each
// layer is a u8 kind, a u8 detail, two zero bytes and a u32 count of lines; each line is
// a u32 count of points and the points as pairs of i16 (longitude, latitude) in units of
// 1/kVectorMapUnitsPerDegree degree. Longitudes run on continuously along a line, so a
// ring across the antimeridian may reach past ±180 degrees.

#include "geo/path_layer.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

inline constexpr int kVectorMapUnitsPerDegree = 150; // 1/150 degree, about 740 m

enum class MapLineKind : std::uint8_t {
    Land = 0,   // a closed ring of land (coast), filled
    Border = 1, // a land border between two countries
};

enum class MapDetail : std::uint8_t {
    Coarse = 0, // 1:110 million
    Medium = 1, // 1:50 million
};

struct MapLineSet {
    MapLineKind kind = MapLineKind::Land;
    MapDetail detail = MapDetail::Coarse;
    std::vector<std::vector<MapPlace>> lines;
};

struct VectorMap {
    std::vector<MapLineSet> layers;
};

struct VectorMapRead {
    std::optional<VectorMap> map; // none when the bytes are not a whole vector map
    std::string error;
};

// Reads a vector map; every count is checked against the bytes that remain.
VectorMapRead ReadVectorMap(std::span<const unsigned char> bytes);

// The bytes of a vector map, each coordinate rounded to the nearest unit; none (with the
// reason in error) when a coordinate lies beyond what an i16 holds.
std::optional<std::vector<unsigned char>> WriteVectorMap(const VectorMap& map, std::string& error);
