#pragma once

#include "ephemeris/engine.h"

#include <vector>

// The apparent geocentric places of the Sun and the Moon at one instant, referred to
// the true equator and equinox of date, from one of the engines (engine.h).
struct ApparentPlaces {
    double jd = 0.0;            // Julian day, UT
    double deltaT = 0.0;        // TT - UT the theories ran with, seconds
    double sunRA = 0.0;         // degrees, [0, 360)
    double sunDec = 0.0;        // degrees
    double sunDistance = 0.0;   // AU
    double moonRA = 0.0;        // degrees, [0, 360)
    double moonDec = 0.0;       // degrees
    double moonParallax = 0.0;  // equatorial horizontal parallax, degrees
    double siderealAngle = 0.0; // Greenwich mean sidereal angle of the theory instant
                                // (the 0h expression at that instant), degrees: in
                                // [360, 720) where that expression is positive (after
                                // 2000), in [0, 360) before; callers reduce it
    double siderealHours = 0.0; // Greenwich sidereal time at jd (UT), hours in [0, 24): mean
                                // (IAU 1982) for the classic engine, apparent (IAU 1982 and
                                // the equation of the equinoxes) for the precise one
    Ephemeris engine = Ephemeris::Classic; // the theories these places come from
};

// The places at jd (UT), the engine's theories evaluated at jd + deltaT / 86400.
ApparentPlaces ApparentPlacesAt(double jd, double deltaTSeconds, Ephemeris engine);

// The same with Delta T from DeltaTSeconds(jd, engine).
ApparentPlaces ApparentPlacesAt(double jd, Ephemeris engine);

// The classic engine's places, as the window's original commands compute them.
ApparentPlaces ApparentPlacesAt(double jd, double deltaTSeconds);
ApparentPlaces ApparentPlacesAt(double jd);

// stepCount equal steps from jdStart (UT): step i lies at jdStart + i / stepsPerDay,
// formed with one rounding so that one-minute steps stay on their minutes. Without
// Delta T the theories run at the UT instant. Empty when either count is below 1.
std::vector<ApparentPlaces> Tabulate(double jdStart, int stepCount, int stepsPerDay,
                                     bool applyDeltaT);
