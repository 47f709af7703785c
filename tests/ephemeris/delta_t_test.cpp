#include "ephemeris/delta_t.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(DeltaT, TableEntriesByTruncatedYearIndex) {
    EXPECT_DOUBLE_EQ(DeltaTSeconds(2440222.0), 40.7);
    EXPECT_DOUBLE_EQ(DeltaTSeconds(2440000.0), 40.7); // up to a year before uses entry 0
    EXPECT_DOUBLE_EQ(DeltaTSeconds(2440222.0 + 365.2422 * 7.5), 48.0);
    EXPECT_DOUBLE_EQ(DeltaTSeconds(2440222.0 + 365.2422 * 39.5), 65.8);
    EXPECT_DOUBLE_EQ(DeltaTSeconds(2440222.0 + 365.2422 * 37.5), 65.2);
}

TEST(DeltaT, ObservedValuesAfterTheTable) {
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 2016, 0.0, 0, 0)), 68.10, 1e-9);
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 2026, 0.0, 0, 0)), 69.11, 1e-9);
    // Half way through 2019 lies half way between its two January values.
    const double mid =
        (CalendarToJulianDay(1, 1, 2019, 0.0, 0, 0) + CalendarToJulianDay(1, 1, 2020, 0.0, 0, 0)) /
        2.0;
    EXPECT_NEAR(DeltaTSeconds(mid), (69.22 + 69.36) / 2.0, 1e-9);
}

TEST(DeltaT, PolynomialsOutsideTheTableAgreeWithPublishedValues) {
    // Values of the Five Millennium Canon's expressions (Espenak and Meeus) for a
    // Moon with the tidal acceleration -26"/cy^2, moved to this program's Moon
    // (Brown's theory, -22.44"/cy^2) by -0.91072 * 3.56 * ((y - 1955) / 100)^2 s:
    // 0 in 1955, -0.98 s in 1900, -7.8 s in 1800, -296 s in 1000.
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 1900, 0.0, 0, 0)), -2.8 - 0.98, 0.2);
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 1955, 0.0, 0, 0)), 31.1, 0.2);
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 1800, 0.0, 0, 0)), 13.7 - 7.8, 0.2);
    EXPECT_NEAR(DeltaTSeconds(CalendarToJulianDay(1, 1, 1000, 0.0, 0, 0)), 1574.0 - 296.0, 2.0);
    // After 2026 the expressions continue from the observed value.
    const double end2026 = CalendarToJulianDay(1, 1, 2026, 0.0, 0, 0);
    EXPECT_NEAR(DeltaTSeconds(end2026 + 1.0), 69.11, 0.01);
    EXPECT_GT(DeltaTSeconds(CalendarToJulianDay(1, 1, 2100, 0.0, 0, 0)), 69.11);
}

TEST(DeltaT, FiniteAndContinuousForEveryYearAFieldCanHold) {
    const double first = CalendarToJulianDay(1, 1, -999, 0.0, 0, 0);
    const double last = CalendarToJulianDay(31, 12, 9999, 0.0, 0, 0);
    double previous = DeltaTSeconds(first);
    double biggestJump = 0.0;
    double at = first;
    for (double jd = first + 1.0; jd <= last; jd += 1.0) {
        const double dt = DeltaTSeconds(jd);
        ASSERT_TRUE(std::isfinite(dt)) << "JD " << jd;
        if (std::fabs(dt - previous) > biggestJump) {
            biggestJump = std::fabs(dt - previous);
            at = jd;
        }
        previous = dt;
    }
    EXPECT_LE(biggestJump, 3.0) << "at JD " << at;
    EXPECT_TRUE(std::isfinite(DeltaTSeconds(1e300)));
    EXPECT_TRUE(std::isfinite(DeltaTSeconds(-1e300)));
}

} // namespace
