// The classic theories' pieces and the precise engine's places against published
// worked examples and ephemerides.
#include "ephemeris/apparent.h"
#include "ephemeris/theory.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double kDeg = 0.017453292519943295;

double SkyArcsec(double ra1, double dec1, double ra2, double dec2) {
    const double dRa = std::remainder(ra1 - ra2, 360.0) * std::cos(dec2 * kDeg);
    return std::hypot(dRa, dec1 - dec2) * 3600.0;
}
double Hms(double h, double m, double s) {
    return 15.0 * (h + m / 60.0 + s / 3600.0);
}
double Dms(double d, double m, double s) {
    return d + m / 60.0 + s / 3600.0;
}

// Meeus, Astronomical Algorithms (2nd ed.): example 22.a at 1987 April 10, 0h TD,
// example 47.a at 1992 April 12, 0h TD, example 25.b at 1992 October 13, 0h TD.
constexpr double kExample22a = 2446895.5;
constexpr double kExample47a = 2448724.5;
constexpr double kExample25b = 2448908.5;

} // namespace

// The classic nutation (principal terms) is good to about 0.1": a wrong term of the
// size of the fourth one (2.5") fails.
TEST(ClassicTheory, NutationOfTheWorkedExamples) {
    const struct {
        double jd, longitude, trueObliquity; // nutation in longitude ("), degrees
    } examples[] = {{kExample22a, -3.788, Dms(23, 26, 36.850)},
                    {kExample47a, 0.004610 * 3600.0, 23.440636}};
    for (const auto& e : examples) {
        const FundamentalArguments a = FundamentalArgumentsAt(e.jd);
        const Nutation n = NutationAt(a);
        EXPECT_NEAR(n.longitude, e.longitude, 0.1)
            << "JD " << e.jd << " want " << e.longitude << "\" got " << n.longitude << "\"";
        const double trueObliquity = a.meanObliquity / kDeg + n.obliquity / 3600.0;
        EXPECT_NEAR(trueObliquity, e.trueObliquity, 0.1 / 3600.0)
            << "JD " << e.jd << " true obliquity want " << e.trueObliquity << " got "
            << trueObliquity;
    }
    EXPECT_NEAR(NutationAt(FundamentalArgumentsAt(kExample22a)).obliquity, 9.443, 0.05);
    EXPECT_NEAR(FundamentalArgumentsAt(kExample22a).meanObliquity / kDeg, Dms(23, 26, 27.407),
                0.05 / 3600.0);
}

// Brown's principal terms against the ELP-2000/82 worked example (good to a few
// arcseconds), Newcomb's Sun against VSOP87 (apparent longitude without nutation:
// 199 deg 54' 21.818" less 15.908").
TEST(ClassicTheory, MoonAndSunOfTheWorkedExamples) {
    const MoonEcliptic moon = MoonPlace(FundamentalArgumentsAt(kExample47a));
    EXPECT_NEAR(moon.longitude, 133.162655, 2.5 / 3600.0)
        << "want 133.162655 got " << moon.longitude;
    EXPECT_NEAR(moon.latitude, -3.229126, 2.5 / 3600.0) << "want -3.229126 got " << moon.latitude;
    EXPECT_NEAR(moon.parallax, 0.991990, 0.2 / 3600.0) << "want 0.991990 got " << moon.parallax;

    const SunEcliptic sun = SunPlace(FundamentalArgumentsAt(kExample25b));
    const double wantLongitude = Dms(199, 54, 21.818 - 15.908);
    EXPECT_NEAR(sun.longitude, wantLongitude, 1.5 / 3600.0)
        << "want " << wantLongitude << " got " << sun.longitude;
    EXPECT_NEAR(sun.latitude, 0.72 / 3600.0, 0.1 / 3600.0)
        << "got " << sun.latitude * 3600.0 << "\"";
    EXPECT_NEAR(sun.distance, 0.99760775, 2e-6) << "got " << sun.distance;
}

// The precise engine against the apparent places of DE200 in the NASA bulletin of the
// eclipse of 2006 March 29 (at 10:12:22.57 TT) and Meeus' VSOP87 example: a hundredth
// of the classic engine's error. Without the Moon's light time (0.7") or with another
// nutation or obliquity the Moon or the Sun fails.
TEST(PreciseEngine, PlacesAgainstPublishedEphemerides) {
    const double jd = CalendarToJulianDay(29, 3, 2006, 22.57, 12, 10);
    const ApparentPlaces p = ApparentPlacesAt(jd, 0.0, Ephemeris::Precise);
    EXPECT_LT(SkyArcsec(p.sunRA, p.sunDec, Hms(0, 31, 31.738), Dms(3, 24, 10.34)), 0.06);
    EXPECT_LT(SkyArcsec(p.moonRA, p.moonDec, Hms(0, 30, 46.588), Dms(3, 44, 36.25)), 0.15);
    EXPECT_NEAR(p.moonParallax, Dms(1, 0, 51.40), 0.02 / 3600.0);

    const ApparentPlaces sun = ApparentPlacesAt(kExample25b, 0.0, Ephemeris::Precise);
    EXPECT_LT(SkyArcsec(sun.sunRA, sun.sunDec, Hms(13, 13, 30.749), -Dms(7, 47, 1.74)), 0.02);
    EXPECT_NEAR(sun.sunDistance, 0.99760775, 1e-6);
    // ELP-2000/82's truncated example (good to a few arcseconds) and its parallax.
    const ApparentPlaces moon = ApparentPlacesAt(kExample47a, 0.0, Ephemeris::Precise);
    EXPECT_LT(SkyArcsec(moon.moonRA, moon.moonDec, 134.688470, 13.768368), 3.0);
    EXPECT_NEAR(moon.moonParallax, 0.991990, 0.1 / 3600.0);

    // Apparent sidereal time at the UT instant: mean time plus the equation of the
    // equinoxes (-0.86 s at J2000.0).
    const ApparentPlaces j2000 = ApparentPlacesAt(2451545.0, 0.0, Ephemeris::Precise);
    EXPECT_NEAR((j2000.siderealHours - ApparentPlacesAt(2451545.0, 0.0).siderealHours) * 3600.0,
                -0.86, 0.02);
}
