#pragma once

// The path of the shadow as the map draws it: the central line, the limits of the
// path and of the partial eclipse, the sunrise and sunset curves and the point of
// greatest eclipse, as lines of places cut where they leave the map's latitudes or
// cross the antimeridian, so that no piece runs across the map. No Qt here.

#include "eclipse/path.h"

#include <optional>
#include <vector>

enum class PathLineKind {
    CentralLine,  // bold, in the umbra's colour
    PathLimit,    // thin, in the umbra's colour
    PartialLimit, // thin, in the penumbra's colour
    RiseSetCurve, // thin, in the penumbra's colour
};

struct PathLine {
    PathLineKind kind = PathLineKind::CentralLine;
    std::vector<GeoPoint> points; // never crossing the antimeridian or the latitude range
};

struct PathLayer {
    std::vector<PathLine> lines;
    std::optional<GeoPoint> greatest; // within the latitude range, or none
    bool umbral = false; // the umbra reaches the Earth: the marker takes the umbra's colour
    bool empty() const { return lines.empty() && !greatest; }
};

// The lines of path cut to latitudes [south, north] (the screen map's -60..75).
PathLayer MakePathLayer(const EclipsePath& path, double south, double north);

// A line cut into pieces that stay within [south, north] and do not cross the
// antimeridian; each cut ends on the boundary at the interpolated place.
std::vector<std::vector<GeoPoint>> CutForMap(const std::vector<GeoPoint>& line, double south,
                                             double north);
