// Reading the country outlines of a TopoJSON topology (quantized, delta-encoded arcs).
#pragma once

#include <QString>

#include <optional>
#include <vector>

namespace mapgen {

struct GeoPoint {
    double lon; // degrees, east positive
    double lat; // degrees, north positive
};

using GeoLine = std::vector<GeoPoint>;

// A ring is a list of arc references: index i walks arc i forwards, ~i walks it backwards.
using ArcRing = std::vector<int>;
// The first ring of a polygon is its outer boundary, any further rings are holes.
using ArcPolygon = std::vector<ArcRing>;

struct Country {
    QString name;
    std::vector<ArcPolygon> polygons;
};

struct Topology {
    std::vector<GeoLine> arcs; // decoded to degrees
    std::vector<Country> countries;
};

// Reads the geometry collection objectName of a TopoJSON file. On failure returns nothing and
// puts the reason into error.
std::optional<Topology> ReadTopology(const QString& path, const QString& objectName,
                                     QString& error);

// Index of the arc a reference points to.
inline int ArcIndex(int ref) {
    return ref >= 0 ? ref : ~ref;
}

// The points of a ring, the arcs joined end to start (shared end points appear once).
GeoLine RingPoints(const Topology& topology, const ArcRing& ring);

} // namespace mapgen
