#include "geo/outline_runs.h"

#include "geo/projection.h"

#include <algorithm>
#include <cmath>

namespace {

void Widen(PointExtent& e, double lat, double lon) {
    if (!e.any) {
        e = {true, lat, lat, lon, lon};
        return;
    }
    e.south = std::min(e.south, lat);
    e.north = std::max(e.north, lat);
    e.west = std::min(e.west, lon);
    e.east = std::max(e.east, lon);
}

// The cosine of the least angle between the place (sin, cos of its latitude) and the
// meridian lon between the latitudes south and north, degrees.
double MeridianCosine(double sinLat, double cosLat, double dLon, double south, double north) {
    const double k = projection::kDegToRad;
    const double a = sinLat;
    const double b = cosLat * std::cos(dLon * k);
    // a sin(phi) + b cos(phi) is greatest at atan2(a, b), within the segment or at an end.
    const double phi = std::clamp(std::atan2(a, b), south * k, north * k);
    return a * std::sin(phi) + b * std::cos(phi);
}

} // namespace

std::vector<PointRun> SummariseOutline(std::span<const double> lat, std::span<const double> lon) {
    const std::size_t count = std::min(lat.size(), lon.size());
    std::vector<PointRun> runs;
    runs.reserve(count / kPointRunLength + 1);
    for (std::size_t begin = 0; begin < count; begin += kPointRunLength) {
        PointRun run;
        run.begin = begin;
        run.end = std::min(count, begin + kPointRunLength);
        for (std::size_t i = run.begin; i < run.end; ++i) {
            if (!std::isfinite(lat[i]) || !std::isfinite(lon[i]) || std::fabs(lat[i]) > 90.0) {
                continue;
            }
            Widen(run.drawn, lat[i], lon[i]);
            if (lat[i] >= projection::kSouthLimit && lat[i] <= projection::kNorthLimit) {
                Widen(run.cornered, lat[i], lon[i]);
            }
        }
        runs.push_back(run);
    }
    return runs;
}

double LeastAngleTo(double lat, double lon, const PointExtent& e) {
    if (!e.any) {
        return 180.0;
    }
    // Within the extent's longitudes the nearest place lies on the same meridian.
    const double eastOfWest = lon - e.west - 360.0 * std::floor((lon - e.west) / 360.0);
    if (eastOfWest <= e.east - e.west) {
        return std::max({0.0, e.south - lat, lat - e.north});
    }
    // Else on its west or east edge: along a parallel the angle grows away from the place.
    const double k = projection::kDegToRad;
    const double s = std::sin(lat * k), c = std::cos(lat * k);
    const double best = std::max(MeridianCosine(s, c, lon - e.west, e.south, e.north),
                                 MeridianCosine(s, c, lon - e.east, e.south, e.north));
    return std::acos(std::clamp(best, -1.0, 1.0)) / k;
}
