#pragma once

// The geocentric Moon of the lunar theory ELP/MPP02 (Chapront and Francou 2003) with
// the constants fitted to DE405: longitude on the mean ecliptic of date reckoned from
// the departure point of J2000.0 (add the general precession for the equinox of date),
// latitude above the mean ecliptic of date. The DE405 constants carry DE405's tidal
// acceleration of the Moon (constants.h).
struct ElpMoon {
    double longitude = 0.0; // radians, not reduced to one turn
    double latitude = 0.0;  // radians
    double distance = 0.0;  // km, centre to centre
};

// t: Julian centuries of dynamical time (TT, taken for TDB) from J2000.0.
ElpMoon ElpMpp02Moon(double t);

// The mean rate of the Moon's longitude, radians per Julian century (the linear term
// of the mean longitude W1).
double ElpMeanLongitudeRate();
