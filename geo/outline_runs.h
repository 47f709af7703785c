#pragma once

// An outline's points summarised in runs of consecutive points, made once with the
// outline: a frame passes over a run that cannot show in its view, and takes a run's
// extremes for the hour label's corner instead of its points. No Qt here.

#include <cstddef>
#include <span>
#include <vector>

// The extent of some of a run's points, degrees (west and east as the points give them,
// so a run across the antimeridian spans nearly every longitude); any false: none.
struct PointExtent {
    bool any = false;
    double south = 0.0, north = 0.0, west = 0.0, east = 0.0;
};

inline constexpr std::size_t kPointRunLength = 256;

struct PointRun {
    std::size_t begin = 0, end = 0; // the run's points [begin, end)
    PointExtent drawn;              // places that are numbers, within the poles
    PointExtent cornered;           // places the label's corner takes: numbers on the
                                    // design map's range of latitude
};

// The runs of kPointRunLength points (the last one shorter) of an outline.
std::vector<PointRun> SummariseOutline(std::span<const double> lat, std::span<const double> lon);

// The least angle, degrees, between a place and any place of an extent (none: 180).
double LeastAngleTo(double lat, double lon, const PointExtent& extent);
