#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

TEST(CalendarToJulianDay, KnownDates) {
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 1, 2000, 0.0, 0, 12), 2451545.0);
    EXPECT_NEAR(CalendarToJulianDay(29, 3, 2006, 0.0, 0, 10), 2453823.916667, 1e-6);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 1, 1969, 0.0, 0, 0), 2440222.5);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(31, 12, 1968, 0.0, 0, 12), 2440222.0);
    // Truncating division: January and February belong to the year before.
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 3, 1900, 0.0, 0, 0), 2415079.5);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(28, 2, 1900, 0.0, 0, 0), 2415078.5);
    // Every date is read as Gregorian.
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(4, 10, 1582, 0.0, 0, 0), 2299149.5);
}

TEST(CalendarToJulianDay, ConsecutiveDaysAcrossMonthsAndLeapYears) {
    for (int year : {1900, 1999, 2000, 2004, 2023}) {
        double previous = CalendarToJulianDay(31, 12, year - 1, 0.0, 0, 0);
        const int lengths[] = {
            31, (year % 4 == 0 && (year % 100 != 0 || year % 400 == 0)) ? 29 : 28,
            31, 30,
            31, 30,
            31, 31,
            30, 31,
            30, 31};
        for (int month = 1; month <= 12; ++month)
            for (int day = 1; day <= lengths[month - 1]; ++day) {
                const double jd = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
                ASSERT_DOUBLE_EQ(jd, previous + 1.0) << day << "." << month << "." << year;
                previous = jd;
            }
    }
}

TEST(JulianDayToCalendar, RoundTripAndJulianCalendarBefore1582) {
    const CalendarDate d1 = JulianDayToCalendarDate(2453823.5);
    EXPECT_EQ(d1.day, 29);
    EXPECT_EQ(d1.month, 3);
    EXPECT_EQ(d1.year, 2006);
    const CalendarDate d2 = JulianDayToCalendarDate(2299160.5);
    EXPECT_EQ(d2.day, 15);
    EXPECT_EQ(d2.month, 10);
    EXPECT_EQ(d2.year, 1582);
    const CalendarDate d3 = JulianDayToCalendarDate(2415020.5);
    EXPECT_EQ(d3.day, 1);
    EXPECT_EQ(d3.month, 1);
    EXPECT_EQ(d3.year, 1900);
    // Before the reform the result is a Julian-calendar date: Gregorian 4.10.1582
    // is Julian 24.9.1582.
    const CalendarDate d4 = JulianDayToCalendarDate(2299149.5);
    EXPECT_EQ(d4.day, 24);
    EXPECT_EQ(d4.month, 9);
    for (double jd = 2299160.5; jd < 2500000.0; jd += 997.0) {
        const CalendarDate d = JulianDayToCalendarDate(jd);
        ASSERT_DOUBLE_EQ(CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0), jd);
    }
    const CalendarDate bad = JulianDayToCalendarDate(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(bad.year, 0);
}

TEST(JulianDayToHours, MidnightIsTwentyFour) {
    EXPECT_DOUBLE_EQ(JulianDayToHours(2453823.5), 24.0);
    EXPECT_DOUBLE_EQ(JulianDayToHours(2453823.0), 12.0);
    EXPECT_DOUBLE_EQ(JulianDayToHours(2453824.25), 18.0);
    EXPECT_NEAR(JulianDayToHours(2453823.5 + 1.0 / 1440.0), 1.0 / 60.0, 1e-8);
}

TEST(SplitHoursToMinutes, WholeMinutesAreNotShownEarly) {
    int h = 0, m = 0;
    SplitHoursToMinutes(7.6, h, m); // (7.6 - 7) * 60 is 35.99999999999998 in doubles
    EXPECT_EQ(h, 7);
    EXPECT_EQ(m, 36);
    SplitHoursToMinutes(10.99999, h, m); // minutes are truncated, not rounded
    EXPECT_EQ(h, 10);
    EXPECT_EQ(m, 59);
    SplitHoursToMinutes(24.0, h, m);
    EXPECT_EQ(h, 24);
    EXPECT_EQ(m, 0);
    // Every minute of a day, formed as a step instant, shows as itself.
    const double start = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    for (int i = 1; i < 1440; ++i) {
        SplitHoursToMinutes(JulianDayToHours(start + i / 1440.0), h, m);
        ASSERT_EQ(h * 60 + m, i);
    }
    SplitHoursToMinutes(std::numeric_limits<double>::quiet_NaN(), h, m);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(m, 0);
    SplitHoursToMinutes(1e300, h, m);
    EXPECT_EQ(h, 0);
}

TEST(NormalizeRadians, Ranges) {
    const double twoPi = 2.0 * 3.141592653589793;
    EXPECT_DOUBLE_EQ(NormalizeRadians(0.0), 0.0);
    EXPECT_NEAR(NormalizeRadians(7.0), 7.0 - twoPi, 1e-12);
    EXPECT_NEAR(NormalizeRadians(-1.0), twoPi - 1.0, 1e-12);
    EXPECT_DOUBLE_EQ(NormalizeRadians(-twoPi), twoPi); // negative input lands in (0, 2pi]
    for (double a = -100.0; a < 100.0; a += 0.37) {
        const double r = NormalizeRadians(a);
        ASSERT_GE(r, 0.0);
        ASSERT_LE(r, twoPi);
        ASSERT_NEAR(std::sin(r), std::sin(a), 1e-12);
    }
}

} // namespace
