#pragma once

// Sunrise and sunset (the Sun's upper limb on the horizon, standard altitude
// -50' at sea level) at a place on a civil date, in hours UT within [0, 24);
// NaN where the Sun does not rise or set that day.
struct RiseSetTimes {
    double rise = 0.0;
    double set = 0.0;
};

// jd0 is the Julian day of the date's 0h UT; latitude and longitude (east
// positive) in degrees, height in metres. Without Delta T the Sun is computed
// for the UT instant as if it were dynamical time.
RiseSetTimes SunRiseSet(double jd0, double latitude, double longitude, double height,
                        bool applyDeltaT);
