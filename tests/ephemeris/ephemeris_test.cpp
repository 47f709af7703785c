#include "ephemeris/ephemeris.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kDeg = 0.017453292519943295;

// Angular separation on the sky, arcseconds, of two places given in degrees.
double SkyErrorArcsec(double ra1, double dec1, double ra2, double dec2) {
    const double dRa = std::remainder(ra1 - ra2, 360.0) * std::cos(dec2 * kDeg);
    return std::hypot(dRa, dec1 - dec2) * 3600.0;
}

double Hms(double h, double m, double s) {
    return 15.0 * (h + m / 60.0 + s / 3600.0);
}
double Dms(double d, double m, double s) {
    return d + m / 60.0 + s / 3600.0;
}

CEphemeris Snapshot(int day, int month, int year, int hour, int minute, double second,
                    int deltaT = 1) {
    return CEphemeris(day, month, year, second, minute, hour, 1, 1, deltaT, 0.0, 0.0, 0.0);
}

// NASA eclipse bulletin, total eclipse of 2006 March 29: greatest eclipse at
// 10:12:22.57 TT (Delta T 64.9 s), apparent places from DE200.
TEST(Ephemeris, ApparentPlacesAtTheGreatestEclipseOf2006March29) {
    const CEphemeris e = Snapshot(29, 3, 2006, 10, 11, 17.67);
    EXPECT_LT(SkyErrorArcsec(e.m_sunRA[0], e.m_sunDec[0], Hms(0, 31, 31.738), Dms(3, 24, 10.34)),
              3.0);
    EXPECT_LT(SkyErrorArcsec(15.0 * e.m_moonRAHours[0], e.m_moonDec[0], Hms(0, 30, 46.588),
                             Dms(3, 44, 36.25)),
              8.0);
    EXPECT_NEAR(e.m_moonParallax[0], Dms(1, 0, 51.40), 2.0 / 3600.0);
}

// Meeus, Astronomical Algorithms, examples 25.b (the Sun from VSOP87) and 47.a:
// instants in dynamical time, so the Delta T switch is off.
TEST(Ephemeris, ApparentPlacesOfTheWorkedExamples) {
    const CEphemeris sun = Snapshot(13, 10, 1992, 0, 0, 0.0, 0);
    EXPECT_LT(
        SkyErrorArcsec(sun.m_sunRA[0], sun.m_sunDec[0], Hms(13, 13, 30.749), -Dms(7, 47, 1.74)),
        3.0);
    EXPECT_NEAR(sun.m_sunDistance[0], 0.99760775, 0.000005);

    const CEphemeris moon = Snapshot(12, 4, 1992, 0, 0, 0.0, 0);
    EXPECT_LT(
        SkyErrorArcsec(15.0 * moon.m_moonRAHours[0], moon.m_moonDec[0], 134.688470, 13.768368),
        10.0);
    EXPECT_NEAR(moon.m_moonParallax[0], 0.991990, 2.0 / 3600.0);
}

TEST(Ephemeris, DeltaTMovesTheTheoryInstantForward) {
    const CEphemeris ut = Snapshot(29, 3, 2006, 10, 11, 17.67, 1);
    const CEphemeris tt = Snapshot(29, 3, 2006, 10, 11, 17.67 + 65.2, 0);
    EXPECT_DOUBLE_EQ(ut.m_deltaTUsed, 65.2);
    EXPECT_NEAR(ut.m_jdTheory, tt.m_jdTheory, 1e-9);
    EXPECT_NEAR(ut.m_moonRAHours[0], tt.m_moonRAHours[0], 1e-9);
    // The step keeps its UT label.
    EXPECT_DOUBLE_EQ(ut.m_jdSeries[0], CalendarToJulianDay(29, 3, 2006, 17.67, 11, 10));
}

TEST(Ephemeris, SeriesLengthsAndStepInstants) {
    const CEphemeris one = Snapshot(29, 3, 2006, 10, 0, 0.0);
    EXPECT_EQ(one.m_jdSeries.size(), 1u);

    const CEphemeris day(29, 3, 2006, 0.0, 0, 0, 1, 1440, 1, 0.0, 0.0, 0.0);
    for (const auto* series :
         {&day.m_sunRA, &day.m_sunDec, &day.m_sunGST, &day.m_jdSeries, &day.m_moonRAHours,
          &day.m_moonDec, &day.m_moonParallax, &day.m_sunDistance, &day.m_sunRAHours})
        ASSERT_EQ(series->size(), 1440u);
    const double start = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    for (std::size_t i = 0; i < 1440; ++i) {
        // Every step on its minute to within a millisecond.
        ASSERT_NEAR((day.m_jdSeries[i] - start) * 86400.0, 60.0 * static_cast<double>(i), 1e-3)
            << "step " << i;
        ASSERT_DOUBLE_EQ(day.m_sunRAHours[i], day.m_sunRA[i] * 0.06666666666666667);
        ASSERT_GE(day.m_sunRA[i], 0.0);
        ASSERT_LT(day.m_sunRA[i], 360.0);
        ASSERT_GT(day.m_sunDistance[i], 0.983);
        ASSERT_LT(day.m_sunDistance[i], 1.017);
    }

    const CEphemeris none(29, 3, 2006, 0.0, 0, 0, 0, 1440, 1, 0.0, 0.0, 0.0);
    EXPECT_TRUE(none.m_jdSeries.empty());
    EXPECT_TRUE(none.m_sunRA.empty());
    const CEphemeris noSteps(29, 3, 2006, 0.0, 0, 0, 1, 0, 1, 0.0, 0.0, 0.0);
    EXPECT_TRUE(noSteps.m_jdSeries.empty());
}

TEST(Ephemeris, SiderealAngleRanges) {
    // From the 0h formula: [360, 720) after 1999 September, [0, 360) before.
    const CEphemeris y2006 = Snapshot(29, 3, 2006, 10, 0, 0.0);
    EXPECT_GE(y2006.m_sunGST[0], 360.0);
    EXPECT_LT(y2006.m_sunGST[0], 720.0);
    const CEphemeris y1990 = Snapshot(1, 6, 1990, 10, 0, 0.0);
    EXPECT_GE(y1990.m_sunGST[0], 0.0);
    EXPECT_LT(y1990.m_sunGST[0], 360.0);
}

TEST(Ephemeris, FundamentalArgumentsAtTheEpoch) {
    CEphemeris e = Snapshot(1, 1, 2000, 12, 0, 0.0, 0);
    e.m_jdTheory = 2415020.0;
    e.ComputeTimeArguments();
    EXPECT_DOUBLE_EQ(e.m_T, 0.0);
    e.ComputeFundamentalArguments();
    EXPECT_NEAR(e.m_meanObliquity / kDeg, 23.45229444, 1e-8);
    // L and M carry the long-period correction -6.4" sin(51.2 deg).
    const double correction = 6.4 * std::sin(51.2 * kDeg) / 3600.0;
    EXPECT_NEAR(e.m_sunMeanLongitude / kDeg, 279.6966778 - correction, 1e-6);
    EXPECT_NEAR(e.m_sunMeanAnomaly / kDeg, 358.475833 - correction, 1e-6);
}

TEST(Ephemeris, EclipticToEquatorialQuadrants) {
    CEphemeris e = Snapshot(1, 1, 2000, 12, 0, 0.0, 0);
    const double eps = 23.44;
    e.m_convObliquity = eps * kDeg;
    const auto convert = [&](double lambda, double beta) {
        e.m_convLongitude = lambda * kDeg;
        e.m_convLatitude = beta * kDeg;
        e.EclipticToEquatorial();
    };
    convert(90.0, 0.0);
    EXPECT_NEAR(e.m_convRightAscension, 90.0, 1e-9);
    EXPECT_NEAR(e.m_convDeclination, eps, 1e-9);
    convert(270.0, 0.0);
    EXPECT_NEAR(e.m_convRightAscension, 270.0, 1e-9);
    EXPECT_NEAR(e.m_convDeclination, -eps, 1e-9);
    convert(0.0, 0.0);
    EXPECT_NEAR(e.m_convRightAscension, 0.0, 1e-12);
    EXPECT_NEAR(e.m_convDeclination, 0.0, 1e-12);
    convert(359.9999, 0.0);
    EXPECT_GT(e.m_convRightAscension, 359.99);
    EXPECT_LT(e.m_convRightAscension, 360.0);
    convert(365.0, 0.0); // the Moon's longitude is not reduced before conversion
    EXPECT_NEAR(e.m_convRightAscension, 4.59, 0.01);
    convert(90.0, 90.0 - eps); // the celestial pole
    EXPECT_NEAR(e.m_convDeclination, 90.0, 1e-6);
}

} // namespace
