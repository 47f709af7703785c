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
    // 1900 is no leap year in the Gregorian calendar.
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 3, 1900, 0.0, 0, 0), 2415079.5);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(28, 2, 1900, 0.0, 0, 0), 2415078.5);
    // The reform: Julian 4 October 1582 is followed by Gregorian 15 October.
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(4, 10, 1582, 0.0, 0, 0), 2299159.5);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(15, 10, 1582, 0.0, 0, 0), 2299160.5);
}

// Meeus, Astronomical Algorithms, chapter 7, and the Julian-calendar dates of
// published tables with astronomical year numbering (year 0 is 1 BC).
TEST(CalendarToJulianDay, JulianCalendarAndNegativeYears) {
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(27, 1, 333, 0.0, 0, 12), 1842713.0);
    EXPECT_NEAR(CalendarToJulianDay(10, 4, 837, 0.0, 12, 7), 2026871.8, 1e-6);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(12, 7, -1000, 0.0, 0, 12), 1356001.0);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(29, 2, -1000, 0.0, 0, 0), 1355866.5); // -1000 is leap
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 1, -4712, 0.0, 0, 12), 0.0);
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(15, 6, -762, 0.0, 0, 0), 1442902.5);
    // Year 0 is a leap year in the Julian calendar: 29 February 0 is followed by 1 March.
    EXPECT_DOUBLE_EQ(
        CalendarToJulianDay(1, 3, 0, 0.0, 0, 0) - CalendarToJulianDay(29, 2, 0, 0, 0, 0), 1.0);
    // Before -4712 the day numbers go negative, still one a day.
    EXPECT_DOUBLE_EQ(CalendarToJulianDay(1, 1, -4713, 0.0, 0, 12), -365.0); // -4713 is common
    // No int date overflows.
    EXPECT_TRUE(
        std::isfinite(CalendarToJulianDay(31, 12, std::numeric_limits<int>::max(), 0, 0, 0)));
    EXPECT_TRUE(std::isfinite(CalendarToJulianDay(std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::min(), 0, 0, 0)));
}

TEST(CheckDate, OnlyDatesThatExist) {
    EXPECT_EQ(CheckDate(29, 3, 2006), DateCheck::Valid);
    EXPECT_EQ(CheckDate(57, 2, 2006), DateCheck::NoSuchDay);
    EXPECT_EQ(CheckDate(31, 2, 2006), DateCheck::NoSuchDay);
    EXPECT_EQ(CheckDate(29, 2, 1900), DateCheck::NoSuchDay); // Gregorian: no leap year
    EXPECT_EQ(CheckDate(29, 2, 1500), DateCheck::Valid);     // Julian: a leap year
    EXPECT_EQ(CheckDate(29, 2, 2000), DateCheck::Valid);
    EXPECT_EQ(CheckDate(0, 3, 2006), DateCheck::NoSuchDay);
    EXPECT_EQ(CheckDate(1, 0, 2006), DateCheck::NoSuchMonth);
    EXPECT_EQ(CheckDate(1, 14, 2006), DateCheck::NoSuchMonth);
    EXPECT_EQ(CheckDate(10, 10, 1582), DateCheck::GregorianGap);
    EXPECT_EQ(CheckDate(4, 10, 1582), DateCheck::Valid);
    EXPECT_EQ(CheckDate(15, 10, 1582), DateCheck::Valid);
    EXPECT_EQ(CheckDate(1, 1, kFirstYear), DateCheck::Valid);
    EXPECT_EQ(CheckDate(31, 12, kLastYear), DateCheck::Valid);
    EXPECT_EQ(CheckDate(1, 1, kFirstYear - 1), DateCheck::YearOutOfRange);
    EXPECT_EQ(CheckDate(1, 1, 20089), DateCheck::YearOutOfRange);
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
    // Any instant of a civil day gives that day; astronomical years before year 1.
    const CalendarDate d5 = JulianDayToCalendarDate(1442902.5 + 0.99);
    EXPECT_EQ(d5.day, 15);
    EXPECT_EQ(d5.month, 6);
    EXPECT_EQ(d5.year, -762);
    const CalendarDate d6 = JulianDayToCalendarDate(CalendarToJulianDay(31, 12, 0, 0, 0, 0));
    EXPECT_EQ(d6.day, 31);
    EXPECT_EQ(d6.year, 0);
    for (double jd = CalendarToJulianDay(1, 1, kFirstYear, 0, 0, 0);
         jd < CalendarToJulianDay(31, 12, kLastYear, 0, 0, 0); jd += 97.0) {
        const CalendarDate d = JulianDayToCalendarDate(jd);
        ASSERT_EQ(CheckDate(d.day, d.month, d.year), DateCheck::Valid) << jd;
        ASSERT_DOUBLE_EQ(CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0), jd);
    }
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
