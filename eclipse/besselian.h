#pragma once

#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"

// The Besselian elements of the Moon's shadow at one instant. The fundamental
// plane passes through the Earth's centre perpendicular to the shadow axis, which
// points from the Moon toward the Sun; x points east along the equator of the
// axis's right ascension, y north. Lengths in Earth equatorial radii.
struct BesselianElements {
    double jd = 0.0;     // Julian day, UT
    double deltaT = 0.0; // TT - UT, seconds
    double x = 0.0;      // the Moon's centre on the fundamental plane
    double y = 0.0;
    double z = 0.0;             // the Moon's height above the plane (> 0 toward the Sun)
    double d = 0.0;             // declination of the axis, degrees
    double a = 0.0;             // right ascension of the axis, degrees, (-180, 180]
    double mu = 0.0;            // Greenwich hour angle of the axis, degrees, [0, 360)
    double siderealHours = 0.0; // Greenwich mean sidereal time, hours, [0, 24)
    double l1 = 0.0;            // penumbral cone's radius on the plane
    double l2 = 0.0;            // umbral cone's radius on the plane; < 0: total
    double f1 = 0.0;            // penumbral cone's half-angle, radians
    double f2 = 0.0;            // umbral cone's half-angle, radians
    double tanF1 = 0.0;
    double tanF2 = 0.0;
    // The frame in which the flattened Earth is the unit sphere: y divided by rho1,
    // the axis at declination d1.
    double rho1 = 1.0;
    double sinD1 = 0.0;
    double cosD1 = 1.0;
};

BesselianElements ElementsAt(const ApparentPlaces& places);

// The standard reduction to the frame in which the flattened Earth is the unit
// sphere, for the axis at declination d (degrees): y1 = y / rho1, the axis tilted
// to d1 (sin d1 = sin d / rho1); rho2 and d1 - d2 give a surface point's true
// height zeta from its height zeta1 in that frame.
struct UnitSphereFrame {
    double rho1 = 1.0;
    double rho2 = 1.0;
    double sinD1 = 0.0;
    double cosD1 = 1.0;
    double sinD1D2 = 0.0; // of d1 - d2
    double cosD1D2 = 1.0;
};
UnitSphereFrame UnitSphereFrameOf(double dDegrees);
