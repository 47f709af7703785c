#include "eclipse/riseset.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

constexpr double kDeg = 0.017453292519943295;

// An independent sunrise: the Sun from the Astronomical Almanac's low-precision
// formulas, and the instant its centre stands 50' below the horizon, found by
// bisection within the UT day. NaN when it does not happen that day.
double SolarAltitude(double jd, double latitude, double longitude = 0.0) {
    const double n = jd - 2451545.0;
    const double l = 280.460 + 0.9856474 * n;
    const double g = (357.528 + 0.9856003 * n) * kDeg;
    const double lambda = (l + 1.915 * std::sin(g) + 0.020 * std::sin(2 * g)) * kDeg;
    const double eps = (23.439 - 0.0000004 * n) * kDeg;
    const double ra = std::atan2(std::cos(eps) * std::sin(lambda), std::cos(lambda));
    const double dec = std::asin(std::sin(eps) * std::sin(lambda));
    const double gmst = (280.46061837 + 360.98564736629 * n) * kDeg;
    const double hourAngle = gmst + longitude * kDeg - ra;
    const double phi = latitude * kDeg;
    return std::asin(std::sin(phi) * std::sin(dec) +
                     std::cos(phi) * std::cos(dec) * std::cos(hourAngle)) /
           kDeg;
}

double IndependentEvent(int day, int month, int year, double latitude, bool rising,
                        double longitude = 0.0, double h0 = -50.0 / 60.0) {
    const double jd0 = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
    for (int minute = 0; minute < 1440; ++minute) {
        double a = jd0 + minute / 1440.0;
        double b = a + 1.0 / 1440.0;
        const double fa = SolarAltitude(a, latitude, longitude) - h0;
        const double fb = SolarAltitude(b, latitude, longitude) - h0;
        if ((rising && fa < 0.0 && fb >= 0.0) || (!rising && fa > 0.0 && fb <= 0.0)) {
            for (int k = 0; k < 40; ++k) {
                const double mid = (a + b) / 2.0;
                if ((SolarAltitude(mid, latitude, longitude) - h0 < 0.0) == (fa < 0.0))
                    a = mid;
                else
                    b = mid;
            }
            return (a - jd0) * 24.0;
        }
    }
    return std::nan("");
}

// As the map's limit curves use it: longitude 0, without Delta T.
RiseSetTimes RiseSetAt(int day, int month, int year, double latitude) {
    return SunRiseSet(CalendarToJulianDay(day, month, year, 0.0, 0, 0), latitude, 0.0, 0.0, false,
                      Ephemeris::Classic);
}

TEST(RiseSet, AgreesWithAnIndependentComputation) {
    const int dates[][3] = {
        {29, 3, 2006}, {21, 6, 2010}, {22, 12, 1999}, {15, 9, 2024}, {4, 1, 2011}};
    double worst = 0.0;
    for (const auto& d : dates) {
        for (double lat = -40.0; lat <= 60.0; lat += 10.0) {
            const RiseSetTimes e = RiseSetAt(d[0], d[1], d[2], lat);
            const double rise = IndependentEvent(d[0], d[1], d[2], lat, true);
            const double set = IndependentEvent(d[0], d[1], d[2], lat, false);
            EXPECT_NEAR(e.rise, rise, 1.0 / 60.0)
                << d[0] << "." << d[1] << "." << d[2] << " lat " << lat;
            EXPECT_NEAR(e.set, set, 1.0 / 60.0)
                << d[0] << "." << d[1] << "." << d[2] << " lat " << lat;
            worst = std::max({worst, std::fabs(e.rise - rise), std::fabs(e.set - set)});
        }
    }
    std::printf("largest difference from the independent sunrise and sunset: %.2f min\n",
                worst * 60.0);
}

// The difference of two event times, hours: an event within a minute of 0h may be
// found a sidereal day (23.934 h) later in the same UT day, which is the same event.
double EventDifference(double a, double b) {
    constexpr double kSiderealDay = 23.9344696;
    const double d = std::fabs(a - b);
    return std::fmin(d, std::fabs(d - kSiderealDay));
}

// East and west of Greenwich the events of the UT day, in [0, 24) (west of it the
// day's sunset may be the local evening before); from a height the horizon dips by
// 1.76' sqrt(metres) and the Sun rises earlier and sets later.
TEST(RiseSet, AtAnyLongitudeAndHeight) {
    const int dates[][3] = {{21, 6, 2010}, {22, 12, 1999}};
    for (const auto& d : dates) {
        const double jd0 = CalendarToJulianDay(d[0], d[1], d[2], 0.0, 0, 0);
        for (const double lon : {-100.0, -170.0, 75.0, 150.0}) {
            for (const double lat : {-30.0, 10.0, 50.0}) {
                const RiseSetTimes e = SunRiseSet(jd0, lat, lon, 0.0, false, Ephemeris::Classic);
                const double rise = IndependentEvent(d[0], d[1], d[2], lat, true, lon);
                const double set = IndependentEvent(d[0], d[1], d[2], lat, false, lon);
                EXPECT_GE(e.rise, 0.0);
                EXPECT_LT(e.set, 24.0);
                EXPECT_LT(EventDifference(e.rise, rise), 1.0 / 60.0)
                    << "lat " << lat << " lon " << lon << ": want " << rise << ", got " << e.rise;
                EXPECT_LT(EventDifference(e.set, set), 1.0 / 60.0)
                    << "lat " << lat << " lon " << lon << ": want " << set << ", got " << e.set;
            }
        }
        const double dip = 1.76 * std::sqrt(2000.0) / 60.0; // degrees
        const RiseSetTimes high = SunRiseSet(jd0, 45.0, 0.0, 2000.0, false, Ephemeris::Classic);
        EXPECT_NEAR(high.rise,
                    IndependentEvent(d[0], d[1], d[2], 45.0, true, 0.0, -50.0 / 60.0 - dip),
                    1.0 / 60.0);
        EXPECT_NEAR(high.set,
                    IndependentEvent(d[0], d[1], d[2], 45.0, false, 0.0, -50.0 / 60.0 - dip),
                    1.0 / 60.0);
    }
}

TEST(RiseSet, RefinesOnTheSameDayBeforeTheCalendarReform) {
    // Before 1582 October 15 the refinement must not drift to the Julian-calendar
    // date: in March the day lengthens by minutes within the ten days' difference.
    const RiseSetTimes e = RiseSetAt(1, 3, 1500, 50.0);
    EXPECT_NEAR(e.rise, IndependentEvent(1, 3, 1500, 50.0, true), 3.0 / 60.0);
    EXPECT_NEAR(e.set, IndependentEvent(1, 3, 1500, 50.0, false), 3.0 / 60.0);
}

TEST(RiseSet, EquinoxDayAtTheEquatorIsLongerThanTwelveHours) {
    const RiseSetTimes e = RiseSetAt(20, 3, 2006, 0.0);
    const double length = e.set - e.rise;
    EXPECT_GT(length, 12.0);
    EXPECT_LT(length, 12.25);
}

TEST(RiseSet, NoRiseOrSetInPolarNightAndDay) {
    const RiseSetTimes night = RiseSetAt(21, 12, 2006, 75.0);
    EXPECT_TRUE(std::isnan(night.rise));
    EXPECT_TRUE(std::isnan(night.set));
    const RiseSetTimes day = RiseSetAt(21, 6, 2006, 75.0);
    EXPECT_TRUE(std::isnan(day.rise));
    EXPECT_TRUE(std::isnan(day.set));
    const RiseSetTimes other = RiseSetAt(21, 6, 2006, 45.0);
    EXPECT_TRUE(std::isfinite(other.rise));
    EXPECT_GE(other.rise, 0.0);
    EXPECT_LT(other.set, 24.0);
}

} // namespace
