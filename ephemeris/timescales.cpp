#include "ephemeris/timescales.h"

#include <cmath>
#include <cstdint>

double CalendarToJulianDay(int day, int month, int year, double second, int minute, int hour) {
    // Integer divisions truncate toward zero on purpose: (M - 9) / 7 is -1 for
    // January and February and 0 for March to August.
    const int q = 7 * (year + (month + 9) / 12) / 4;
    const int r = 3 * ((year + (month - 9) / 7) / 100 + 1) / 4;
    const int n = day - q - r + 275 * month / 9;
    const double dayFraction =
        ((minute * (1.0 / 60.0) + second * (1.0 / 3600.0)) + hour) * 3600.0 * (1.0 / 86400.0);
    return n + 367.0 * year + 1721028.5 + dayFraction;
}

double JulianDayToHours(double jd) {
    const double c = std::trunc(jd);
    const double f = jd - c;
    if (f > 0.5)
        return (jd - (c + 0.5)) * 86400.0 / 3600.0;
    return (jd - (c - 0.5)) * 86400.0 / 3600.0;
}

void SplitHoursToMinutes(double hours, int& wholeHours, int& minutes) {
    wholeHours = 0;
    minutes = 0;
    // Beyond a million hours the display is meaningless; refuse rather than overflow.
    if (!std::isfinite(hours) || std::fabs(hours) > 1.0e6)
        return;
    const std::int64_t ms = std::llround(hours * 3600000.0);
    wholeHours = static_cast<int>(ms / 3600000);
    minutes = static_cast<int>((ms / 60000) % 60);
}

double NormalizeRadians(double a) {
    constexpr double pi = 3.141592653589793;
    constexpr double twoPi = pi + pi;
    // The remainder of a / 2pi, as fmod gives it, without fmod's cost: every
    // periodic term of the theories passes through here.
    if (a > 0.0) {
        if (a < twoPi)
            return a;
        double r = a - twoPi * std::floor(a / twoPi);
        if (r >= twoPi)
            r -= twoPi;
        return r < 0.0 ? 0.0 : r;
    }
    if (a < 0.0) {
        double r = a - twoPi * std::trunc(a / twoPi); // in (-2pi, 0]
        if (r > 0.0)
            r -= twoPi;
        if (r <= -twoPi)
            r += twoPi;
        return r + twoPi;
    }
    return 0.0;
}

CalendarDate JulianDayToCalendarDate(double jd) {
    if (!(std::fabs(jd) < 1.0e9)) // also false for NaN
        return {};
    // Meeus's method with an integral day, shifted by one: for x.5 inputs the
    // day number equals that of the usual JD + 0.5.
    const double x = jd + 1.0;
    double a = std::trunc(x);
    if (x >= 2299161.0) {
        const double alpha = std::trunc((x - 1867216.0 - 0.25) / 36524.25);
        a = std::trunc(x) - std::trunc(alpha * 0.25) + alpha + 1.0;
    }
    const double b = a + 1524.0;
    const double n = std::trunc((b - 2439870.0 - 122.1) / 365.25 + 6680.0);
    const double dd = 365.0 * n + std::trunc(n / 4.0);
    const double e = std::trunc((b - dd) / 30.6001);

    CalendarDate date;
    date.day = static_cast<int>(b - dd - std::trunc(30.6001 * e));
    date.month = static_cast<int>(e - 1.0 > 12.0 ? e - 13.0 : e - 1.0);
    date.year = static_cast<int>(n - 4715.0) - (date.month > 2 ? 1 : 0);
    if (date.year <= 0)
        date.year -= 1;
    return date;
}
