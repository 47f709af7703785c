#include "ephemeris/sidereal.h"

#include "ephemeris/timescales.h"

#include <cmath>

double SiderealSecondsAt0h(double t) {
    return 24110.54841 + 8640184.812866 * t + 9.3104e-2 * t * t - 6.2e-6 * t * t * t;
}

double TheorySiderealAngle(double jdTheory) {
    const double tu = ((jdTheory - 2451545.0) - 1.0 / 12.0) * (1.0 / 36525.0);
    const double g = SiderealSecondsAt0h(tu);
    const double k = -1.0 - std::trunc(-g / 86400.0);
    return (g - 86400.0 * k) / 240.0;
}

double SiderealTimeAt0h(double jd0) {
    double s = SiderealSecondsAt0h((jd0 - 2451545.0) * (1.0 / 36525.0));
    if (s < 0.0)
        s = std::fmod(s, 86400.0) + 86400.0;
    if (s > 86400.0)
        s = std::fmod(s, 86400.0);
    return s / 3600.0;
}

double GreenwichSiderealHours(double jd) {
    const double h = JulianDayToHours(jd);
    const double jd0 = jd - h / 24.0;
    return std::fmod(h * 1.0027379092558308 + SiderealTimeAt0h(jd0), 24.0);
}
