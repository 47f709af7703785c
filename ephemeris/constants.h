#pragma once

#include <numbers>

// Angle and length factors shared by the computation.
inline constexpr double kPi = std::numbers::pi;
inline constexpr double kTwoPi = 2.0 * std::numbers::pi;
inline constexpr double kDegToRad = std::numbers::pi / 180.0;
inline constexpr double kRadToDeg = 180.0 / std::numbers::pi;
inline constexpr double kArcsecToRad = std::numbers::pi / 648000.0;
inline constexpr double kHoursToDeg = 15.0;
inline constexpr double kDegToHours = 1.0 / 15.0;

inline constexpr double kEarthRadiusKm = 6378.14; // equatorial radius
inline constexpr double kAuKm = 149597870.0;
inline constexpr double kSunRadiusKm = 696000.0;
// The Sun's radius of the published canon and of the precise engine: Auwers'
// semi-diameter 959.63" at one astronomical unit, the angle whose sine is the radius
// over that distance (695 989 km; taking the angle for the sine makes it 2.5 km larger,
// and the shadow's radii l1 and l2 1e-6 Earth radii larger than the canon's). The
// classic engine keeps the round 696 000 km.
inline constexpr double kSunSemiDiameterAtUnitDistanceArcsec = 959.63;

// The Earth's figure (IAU 1976): flattening, the squared eccentricity of the
// meridian 2f - f^2, and the polar radius 1 - f = sqrt(1 - e^2) in equatorial radii.
inline constexpr double kFlattening = 0.00335281;
inline constexpr double kEccentricitySquared = 0.00670562 - kFlattening * kFlattening;
inline constexpr double kPolarRadius = 1.0 - kFlattening;

// The Moon's radius in Earth equatorial radii for each cone, as the published
// canon takes it: the mean limb for the penumbra, a radius below the limb's
// mountains for the umbra (the valleys let sunlight through at the last moment).
inline constexpr double kMoonRadiusPenumbra = 0.272488;
inline constexpr double kMoonRadiusUmbra = 0.272281;
inline constexpr double kSecondsPerDay = 86400.0;
// The Earth's rotation in degrees per second of time: an hour angle reckoned from TT
// is this times Delta T ahead of the one reckoned from UT.
inline constexpr double kSiderealDegreesPerSecond = 0.00417807;

// Tidal accelerations of the Moon's mean longitude, arcseconds per century squared.
// The historical Delta T expressions were derived for -26; Brown's theory, as its
// principal terms give it, has -22.44; JPL's DE405/DE406 (and with them the DE405 fit of
// ELP/MPP02) -25.826, and lunar laser ranging gives -25.858 (both Chapront,
// Chapront-Touze and Francou 2002, A&A 387, 700), the value the canon's Moon carries.
inline constexpr double kTidalAccelerationHistorical = -26.0;
inline constexpr double kTidalAccelerationBrown = -22.44;
inline constexpr double kTidalAccelerationDe405 = -25.826;
inline constexpr double kTidalAccelerationLlr = -25.858;
