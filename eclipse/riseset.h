#pragma once

#include "ephemeris/engine.h"

// Sunrise and sunset (the Sun's upper limb on the horizon: the centre 51' below
// it at sea level, refraction and semi-diameter, and lower by the dip of the
// horizon, 1.76' sqrt(height in metres), above it) at a place on a civil date,
// in hours UT within [0, 24): the events that fall within the UT day, which west
// of Greenwich may be the previous local evening's sunset. NaN where the Sun does
// not rise or set.
struct RiseSetTimes {
    double rise = 0.0;
    double set = 0.0;
};

// jd0 is the Julian day of the date's 0h UT; latitude and longitude (east
// positive) in degrees, height in metres (below 0 counts as 0). Without Delta T
// the Sun is computed for the UT instant as if it were dynamical time; with it,
// from the engine's theories and Delta T.
RiseSetTimes SunRiseSet(double jd0, double latitude, double longitude, double height,
                        bool applyDeltaT, Ephemeris engine);
