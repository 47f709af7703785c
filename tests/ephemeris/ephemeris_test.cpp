#include "ephemeris/apparent.h"
#include "ephemeris/theory.h"
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

// The places at a calendar instant, with Delta T or (deltaT = 0) at the instant
// read as dynamical time.
ApparentPlaces PlacesAt(int day, int month, int year, int hour, int minute, double second,
                        int deltaT = 1) {
    const double jd = CalendarToJulianDay(day, month, year, second, minute, hour);
    return deltaT == 1 ? ApparentPlacesAt(jd) : ApparentPlacesAt(jd, 0.0);
}

// NASA eclipse bulletin, total eclipse of 2006 March 29: greatest eclipse at
// 10:12:22.57 TT (Delta T 64.9 s), apparent places from DE200.
TEST(Ephemeris, ApparentPlacesAtTheGreatestEclipseOf2006March29) {
    const ApparentPlaces e = PlacesAt(29, 3, 2006, 10, 11, 17.67);
    EXPECT_LT(SkyErrorArcsec(e.sunRA, e.sunDec, Hms(0, 31, 31.738), Dms(3, 24, 10.34)), 3.0);
    EXPECT_LT(SkyErrorArcsec(e.moonRA, e.moonDec, Hms(0, 30, 46.588), Dms(3, 44, 36.25)), 8.0);
    EXPECT_NEAR(e.moonParallax, Dms(1, 0, 51.40), 2.0 / 3600.0);
}

// Meeus, Astronomical Algorithms, examples 25.b (the Sun from VSOP87) and 47.a:
// instants in dynamical time, so without Delta T.
TEST(Ephemeris, ApparentPlacesOfTheWorkedExamples) {
    const ApparentPlaces sun = PlacesAt(13, 10, 1992, 0, 0, 0.0, 0);
    EXPECT_LT(SkyErrorArcsec(sun.sunRA, sun.sunDec, Hms(13, 13, 30.749), -Dms(7, 47, 1.74)), 3.0);
    EXPECT_NEAR(sun.sunDistance, 0.99760775, 0.000005);

    const ApparentPlaces moon = PlacesAt(12, 4, 1992, 0, 0, 0.0, 0);
    EXPECT_LT(SkyErrorArcsec(moon.moonRA, moon.moonDec, 134.688470, 13.768368), 10.0);
    EXPECT_NEAR(moon.moonParallax, 0.991990, 2.0 / 3600.0);
}

TEST(Ephemeris, DeltaTMovesTheTheoryInstantForward) {
    const ApparentPlaces ut = PlacesAt(29, 3, 2006, 10, 11, 17.67, 1);
    const ApparentPlaces tt = PlacesAt(29, 3, 2006, 10, 11, 17.67 + 65.2, 0);
    EXPECT_DOUBLE_EQ(ut.deltaT, 65.2);
    EXPECT_NEAR(ut.moonRA, tt.moonRA, 1e-8);
    EXPECT_NEAR(ut.sunRA, tt.sunRA, 1e-8);
    // The instant keeps its UT label.
    EXPECT_DOUBLE_EQ(ut.jd, CalendarToJulianDay(29, 3, 2006, 17.67, 11, 10));
}

TEST(Ephemeris, TabulationStepInstants) {
    const double start = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    const std::vector<ApparentPlaces> day = Tabulate(start, 1440, 1440, true);
    ASSERT_EQ(day.size(), 1440u);
    for (std::size_t i = 0; i < day.size(); ++i) {
        // Every step on its minute to within a millisecond.
        ASSERT_NEAR((day[i].jd - start) * 86400.0, 60.0 * static_cast<double>(i), 1e-3)
            << "step " << i;
        ASSERT_GE(day[i].sunRA, 0.0);
        ASSERT_LT(day[i].sunRA, 360.0);
        ASSERT_GT(day[i].sunDistance, 0.983);
        ASSERT_LT(day[i].sunDistance, 1.017);
    }
    // A step is the same computation as the single instant.
    EXPECT_EQ(day[611].moonRA, ApparentPlacesAt(day[611].jd).moonRA);
    EXPECT_TRUE(Tabulate(start, 0, 1440, true).empty());
    EXPECT_TRUE(Tabulate(start, 10, 0, true).empty());
    EXPECT_EQ(Tabulate(start, 3, 1, false)[2].deltaT, 0.0);
}

TEST(Ephemeris, SiderealAngleRanges) {
    // From the 0h formula: [360, 720) after 1999 September, [0, 360) before.
    const ApparentPlaces y2006 = PlacesAt(29, 3, 2006, 10, 0, 0.0);
    EXPECT_GE(y2006.siderealAngle, 360.0);
    EXPECT_LT(y2006.siderealAngle, 720.0);
    const ApparentPlaces y1990 = PlacesAt(1, 6, 1990, 10, 0, 0.0);
    EXPECT_GE(y1990.siderealAngle, 0.0);
    EXPECT_LT(y1990.siderealAngle, 360.0);
}

TEST(Ephemeris, FundamentalArgumentsAtTheEpoch) {
    const FundamentalArguments a = FundamentalArgumentsAt(2415020.0);
    EXPECT_DOUBLE_EQ(a.t, 0.0);
    EXPECT_NEAR(a.meanObliquity / kDeg, 23.45229444, 1e-8);
    // L and M carry the long-period correction -6.4" sin(51.2 deg).
    const double correction = 6.4 * std::sin(51.2 * kDeg) / 3600.0;
    EXPECT_NEAR(a.sunMeanLongitude / kDeg, 279.6966778 - correction, 1e-6);
    EXPECT_NEAR(a.sunMeanAnomaly / kDeg, 358.475833 - correction, 1e-6);
}

TEST(Ephemeris, EclipticToEquatorialQuadrants) {
    const double eps = 23.44 * kDeg;
    const auto convert = [&](double lambda, double beta) {
        return EclipticToEquatorial(lambda * kDeg, beta * kDeg, eps);
    };
    EXPECT_NEAR(convert(90.0, 0.0).rightAscension, 90.0, 1e-9);
    EXPECT_NEAR(convert(90.0, 0.0).declination, 23.44, 1e-9);
    EXPECT_NEAR(convert(270.0, 0.0).rightAscension, 270.0, 1e-9);
    EXPECT_NEAR(convert(270.0, 0.0).declination, -23.44, 1e-9);
    EXPECT_NEAR(convert(0.0, 0.0).rightAscension, 0.0, 1e-12);
    EXPECT_NEAR(convert(0.0, 0.0).declination, 0.0, 1e-12);
    EXPECT_GT(convert(359.9999, 0.0).rightAscension, 359.99);
    EXPECT_LT(convert(359.9999, 0.0).rightAscension, 360.0);
    EXPECT_NEAR(convert(365.0, 0.0).rightAscension, 4.59, 0.01); // longitudes are not reduced first
    EXPECT_NEAR(convert(90.0, 90.0 - 23.44).declination, 90.0, 1e-6); // the celestial pole
}

} // namespace
