#include "ephemeris/timescales.h"

#include <cmath>
#include <cstdint>

namespace {

// The first day of the Gregorian calendar: 1582 October 15 follows October 4.
constexpr double kGregorianStartJd = 2299160.5;

long long FloorDiv(long long a, long long b) {
    return a / b - ((a % b != 0) && ((a < 0) != (b < 0)) ? 1 : 0);
}

bool IsGregorian(int day, int month, int year) {
    if (year != 1582)
        return year > 1582;
    return month > 10 || (month == 10 && day >= 15);
}

// Julian day number (the day starting at noon) of a calendar date, in whole
// numbers: exact for every int year, Julian or Gregorian as the date says.
long long DayNumber(int day, int month, int year, bool gregorian) {
    // Months from March: January and February count at the end of the year before.
    const long long a = FloorDiv(14 - static_cast<long long>(month), 12);
    const long long y = static_cast<long long>(year) + 4800 - a;
    const long long m = month + 12 * a - 3;
    const long long n = day + FloorDiv(153 * m + 2, 5) + 365 * y + FloorDiv(y, 4);
    if (gregorian)
        return n - FloorDiv(y, 100) + FloorDiv(y, 400) - 32045;
    return n - 32083;
}

} // namespace

double CalendarToJulianDay(int day, int month, int year, double second, int minute, int hour) {
    const double dayFraction =
        ((minute * (1.0 / 60.0) + second * (1.0 / 3600.0)) + hour) * 3600.0 * (1.0 / 86400.0);
    const long long n = DayNumber(day, month, year, IsGregorian(day, month, year));
    return static_cast<double>(n) - 0.5 + dayFraction;
}

int DaysInMonth(int month, int year) {
    constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (month < 1 || month > 12)
        return 0;
    if (month != 2)
        return kDays[month - 1];
    const bool leap =
        year > 1582 ? (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) : year % 4 == 0;
    return leap ? 29 : 28;
}

DateCheck CheckDate(int day, int month, int year) {
    if (year < kFirstYear || year > kLastYear)
        return DateCheck::YearOutOfRange;
    if (month < 1 || month > 12)
        return DateCheck::NoSuchMonth;
    if (day < 1 || day > DaysInMonth(month, year))
        return DateCheck::NoSuchDay;
    if (year == 1582 && month == 10 && day > 4 && day < 15)
        return DateCheck::GregorianGap;
    return DateCheck::Valid;
}

double JulianDayToHours(double jd) {
    // floor, not trunc: before JD 0 (4713 BC) trunc would give negative hours.
    const double c = std::floor(jd);
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
    // The day number of the civil day that contains jd (days start at 0h UT).
    const long long j = static_cast<long long>(std::floor(jd + 0.5));
    // Inverse of DayNumber: Richards's algorithm with floor divisions, so that it
    // holds for negative years too.
    long long f = j + 1401;
    if (static_cast<double>(j) - 0.5 >= kGregorianStartJd)
        f += FloorDiv(FloorDiv(4 * j + 274277, 146097) * 3, 4) - 38;
    const long long e = 4 * f + 3;
    const long long g = FloorDiv(e % 1461 + 1461, 1) % 1461 / 4;
    const long long h = 5 * g + 2;
    CalendarDate date;
    date.day = static_cast<int>(h % 153 / 5 + 1);
    date.month = static_cast<int>((h / 153 + 2) % 12 + 1);
    date.year = static_cast<int>(FloorDiv(e, 1461) - 4716 + (12 + 2 - date.month) / 12);
    return date;
}
