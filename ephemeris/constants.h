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
inline constexpr double kSecondsPerDay = 86400.0;
// The Earth's rotation in degrees per second of time: an hour angle reckoned from TT
// is this times Delta T ahead of the one reckoned from UT.
inline constexpr double kSiderealDegreesPerSecond = 0.00417807;
