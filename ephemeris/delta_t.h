#pragma once

#include "ephemeris/engine.h"

#include <array>

// The yearly table of Delta T = TT - UT in seconds, entry k for the k-th year of
// 365.2422 days counted from JD 2440222.0 (1968 December 31, 12h UT).
inline constexpr double kDeltaTTableStartJd = 2440222.0;
inline constexpr double kDeltaTTableYear = 365.2422;
inline constexpr std::array<double, 40> kDeltaTTable = {
    40.7, 41.7, 42.8, 44.0, 45.0, 46.0, 47.0, 48.0, 49.1, 50.1, // 1969-1978
    51.0, 51.8, 52.6, 53.5, 54.4, 55.2, 56.0, 57.0, 58.0, 58.5, // 1979-1988
    59.0, 59.5, 60.5, 61.0, 61.3, 61.6, 61.9, 62.2, 62.5, 62.8, // 1989-1998
    63.1, 63.4, 63.7, 64.0, 64.3, 64.6, 64.9, 65.2, 65.5, 65.8, // 1999-2008
};

// Delta T = TT - UT in seconds for a Julian day (UT). Finite for every finite input.
// Outside the observed years the historical expressions are corrected to the tidal
// acceleration of the engine's lunar theory; the one-argument form is the classic
// engine's.
double DeltaTSeconds(double jd, Ephemeris engine);
double DeltaTSeconds(double jd);

// The standard uncertainty (1 sigma) of Delta T in seconds: that of the observed
// values within the table's years, and outside them Morrison and Stephenson's
// 0.8 ((year - 1820) / 100)^2 s, floored at the observed value's.
inline constexpr double kObservedDeltaTUncertainty = 0.1; // seconds
double DeltaTUncertaintySeconds(double jd);
