#include "eclipse/finder_text.h"
#include "places/zone_time.h"

#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

double Jd(int y, int mo, int d, int h, int mi, double s) {
    return CalendarToJulianDay(d, mo, y, s, mi, h);
}

// Daylight-saving rules of the zones (US: second Sunday of March to first Sunday of
// November; EU: last Sunday of March to last Sunday of October).
TEST(ZoneTime, CivilTimeInPlaceZones) {
    const auto dallas = ToZone(Jd(2024, 4, 8, 18, 42, 30.0), "America/Chicago");
    ASSERT_TRUE(dallas.has_value());
    EXPECT_EQ(FormatZoned(*dallas), "2024-04-08T13:42:30.0");
    EXPECT_EQ(dallas->abbreviation, "CDT");
    EXPECT_EQ(dallas->utcOffset, -5 * 3600);

    const auto winter = ToZone(Jd(2024, 1, 8, 3, 0, 0.0), "America/Chicago");
    ASSERT_TRUE(winter.has_value());
    EXPECT_EQ(FormatZoned(*winter), "2024-01-07T21:00:00.0"); // the day before
    EXPECT_EQ(winter->abbreviation, "CST");

    const auto madrid = ToZone(Jd(2026, 8, 12, 18, 30, 12.34), "Europe/Madrid");
    ASSERT_TRUE(madrid.has_value());
    EXPECT_EQ(FormatZoned(*madrid), "2026-08-12T20:30:12.3");
    EXPECT_EQ(madrid->abbreviation, "CEST");

    const auto kolkata = ToZone(Jd(2030, 6, 1, 0, 0, 0.0), "Asia/Kolkata");
    ASSERT_TRUE(kolkata.has_value());
    EXPECT_EQ(kolkata->utcOffset, 19800);
    EXPECT_EQ(FormatZoned(*kolkata), "2030-06-01T05:30:00.0");
}

TEST(ZoneTime, UnknownZonesAndInstantsAreRefused) {
    EXPECT_FALSE(ToZone(Jd(2024, 4, 8, 0, 0, 0.0), "Mars/Olympus_Mons").has_value());
    EXPECT_FALSE(ToZone(Jd(2024, 4, 8, 0, 0, 0.0), "../../etc/passwd").has_value());
    EXPECT_FALSE(ToZone(Jd(2024, 4, 8, 0, 0, 0.0), "/etc/localtime").has_value());
    EXPECT_FALSE(ToZone(std::nan(""), "Europe/Madrid").has_value());
    EXPECT_FALSE(ToZone(1e300, "Europe/Madrid").has_value());
    EXPECT_EQ(FormatInstant(std::nan(""), 1), "");
}

TEST(ZoneTime, UniversalTimeToTheTenth) {
    EXPECT_EQ(FormatInstant(2451545.0, 1), "2000-01-01T12:00:00.0");
    // 23:59:59.96 rounds into the next day.
    EXPECT_EQ(FormatInstant(Jd(2024, 12, 31, 23, 59, 59.96), 1), "2025-01-01T00:00:00.0");
    EXPECT_EQ(FormatInstant(Jd(2017, 8, 21, 18, 25, 30.14), 1), "2017-08-21T18:25:30.1");
    // Julian calendar and astronomical years before the reform.
    EXPECT_EQ(FormatInstant(Jd(1582, 10, 4, 6, 0, 0.0), 1), "1582-10-04T06:00:00.0");
    EXPECT_EQ(FormatInstant(Jd(-1999, 6, 12, 6, 0, 0.0), 1), "-1999-06-12T06:00:00.0");
}

} // namespace
