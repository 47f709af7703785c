#pragma once

// Where a lunar eclipse is seen: at each contact the curve on which the Moon
// stands on the horizon (it rises on one side of the curve's sub-lunar half and
// sets on the other), and the sub-lunar point.

#include "eclipse/lunar.h"
#include "eclipse/outline.h"

#include <string>
#include <vector>

struct MoonHorizonCurve {
    std::string label; // "P1", "U1", "U2", "U3", "U4", "P4"
    double jdUT = 0.0;
    GeoPoint sublunar;            // the Moon in the zenith at that instant
    std::vector<GeoPoint> points; // a closed loop around the sub-lunar point
};

// The Moon's centre on the apparent horizon (standard refraction, the Moon's
// parallax) at each present contact, `samples` points a curve. On a spherical
// Earth: the curves lie within a tenth of a degree of the ellipsoid's.
std::vector<MoonHorizonCurve> MoonHorizonCurves(const LunarEclipse& eclipse, int samples = 181);

// The geocentric altitude (degrees) of the Moon's centre when its refracted
// topocentric centre is on the horizon, for a horizontal parallax in degrees.
double MoonHorizonAltitude(double parallax);
