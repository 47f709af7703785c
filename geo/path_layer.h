#pragma once

// The path of the shadow as the map draws it: the central line, the limits of the
// path and of the partial eclipse, the sunrise and sunset curves and the point of
// greatest eclipse, as lines of places cut where they leave the map's latitudes or
// cross the antimeridian, so that no piece runs across the map. No Qt here.

#include <optional>
#include <string>
#include <vector>

// A place on the map: latitude and longitude east, degrees, longitude in [-180, 180].
struct MapPlace {
    double lat = 0.0;
    double lon = 0.0;
};

enum class PathLineKind {
    CentralLine,    // bold, in the umbra's colour
    PathLimit,      // thin, in the umbra's colour
    PartialLimit,   // thin, in the penumbra's colour
    RiseSetCurve,   // thin, in the penumbra's colour
    MaximumLine,    // maximum eclipse at one instant across the partial zone; label: its UT
    RiseSetMaximum, // maximum eclipse at sunrise or at sunset
    MagnitudeLine,  // equal magnitude at maximum eclipse; label: the magnitude
    MoonVisibility, // a lunar eclipse: the Moon on the horizon at a contact; label: P1..P4
};

struct PathLine {
    PathLineKind kind = PathLineKind::CentralLine;
    std::vector<MapPlace> points; // never crossing the antimeridian or the latitude range
    std::string label;            // drawn beside the line where it has one
};

struct PathLayer {
    std::vector<PathLine> lines;
    std::optional<MapPlace> greatest; // within the latitude range, or none
    // Where totality or annularity lasts longest on the central line (within the
    // latitude range), or none.
    std::optional<MapPlace> greatestDuration;
    bool umbral = false; // the umbra reaches the Earth: the marker takes the umbra's colour
    bool empty() const { return lines.empty() && !greatest; }
};

// A line cut into pieces that stay within [south, north] and do not cross the
// antimeridian (a step whose longitude jumps by more than 180 degrees); each cut ends
// on the boundary at the interpolated place.
std::vector<std::vector<MapPlace>> CutForMap(const std::vector<MapPlace>& line, double south,
                                             double north);

// Adds a line of the given kind, cut for the map, to the layer.
void AddPathLine(PathLayer& layer, PathLineKind kind, const std::vector<MapPlace>& line,
                 double south, double north);

// The band of the central path as one ring: the path limits' pieces joined again where
// they were cut at the antimeridian, the first limit followed by the second reversed.
// None unless the layer has exactly two limits.
std::optional<std::vector<MapPlace>> PathBand(const PathLayer& layer);
