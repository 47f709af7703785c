#pragma once

#include "ephemeris/apparent.h"

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

// The Moon's radius in Earth equatorial radii for each cone, as the published
// canon takes it: the mean limb for the penumbra, a radius below the limb's
// mountains for the umbra (the valleys let sunlight through at the last moment).
inline constexpr double kMoonRadiusPenumbra = 0.272488;
inline constexpr double kMoonRadiusUmbra = 0.272281;

// The Earth's figure (IAU 1976).
inline constexpr double kFlattening = 0.00335281;
inline constexpr double kEccentricitySquared = 0.00670562 - kFlattening * kFlattening;

BesselianElements ElementsAt(const ApparentPlaces& places);
