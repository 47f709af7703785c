#pragma once

// The curves an eclipse map draws across the zone of the partial eclipse, beside the
// path and its limits (path.h): the lines of maximum eclipse at every tenth minute of UT,
// the curves of maximum eclipse at sunrise and at sunset, and the lines of equal
// magnitude at maximum eclipse.
//
// All are solved on the fundamental plane (the methods of the Explanatory Supplement):
// a place sees its maximum when the shadow's axis passes closest to it, that is when
// its offset from the axis stands square to the shadow's motion relative to the turning
// Earth; the magnitude there follows from the length of that offset and the radii of the
// two cones at the place. Places lie on the ellipsoid of besselian.h at height 0; a curve
// ends where it reaches the Earth's limb, where the Sun is on the horizon at maximum.
// The curves are traced point by point (predictor and Newton corrector) through the
// places, as unit vectors of the frame in which the Earth is the unit sphere, and the
// time: near the limb a place's height changes fastest and a curve may turn back in time,
// which a search at fixed instants or fixed offsets would miss.
// Longitudes within [-180, 180]; callers split lines at the antimeridian.

#include "eclipse/path.h"

#include <array>
#include <vector>

// Minutes of UT between two lines of maximum eclipse.
inline constexpr int kMaximumLineMinutes = 10;
// The magnitudes of the lines of equal magnitude.
inline constexpr std::array<double, 4> kMagnitudeLineValues = {0.2, 0.4, 0.6, 0.8};

// The places that see their maximum eclipse at one instant.
struct MaximumLine {
    double jd = 0.0; // UT, a whole multiple of kMaximumLineMinutes
    // From the northern limit of the partial eclipse to the southern (left to right of
    // the shadow's motion), in pieces where the line leaves the Earth's sunlit side.
    std::vector<std::vector<GeoPoint>> pieces;
};

// The places that see one magnitude (fraction of the Sun's diameter covered) at their
// maximum; each point carries the UT of that maximum.
struct MagnitudeLine {
    double magnitude = 0.0;
    std::vector<TimedCurve> pieces; // each ends on the limb or at the end of the phase
};

struct MapCurves {
    std::vector<MaximumLine> maximumLines; // in time order
    // Maximum eclipse with the Sun on the horizon, each point with the UT of its
    // maximum: a sunrise curve and a sunset curve, or one curve where the two meet.
    std::vector<TimedCurve> riseSetMaxima;
    std::vector<MagnitudeLine> magnitudeLines; // in the order of kMagnitudeLineValues
};

// The curves of the path's eclipse from its elements; empty for kind None.
MapCurves ComputeMapCurves(const EclipsePath& path);
