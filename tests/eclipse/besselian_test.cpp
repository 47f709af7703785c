// ElementsAt against published elements: the Sun and the Moon placed where the canon's
// elements at t0 put them, the elements must come back, and the umbra's cone must
// follow from the canon's lunar radii and the Sun's.
#include "eclipse/besselian.h"
#include "ephemeris/constants.h"
#include "ephemeris/sidereal.h"
#include "local_data.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

struct Vec {
    double x, y, z;
};

// Right ascension and declination (degrees) and length of a geocentric vector.
void Spherical(const Vec& v, double& ra, double& dec, double& r) {
    r = std::sqrt(v.x * v.x + v.y * v.y + v.z * v.z);
    ra = std::atan2(v.y, v.x) * kRadToDeg;
    if (ra < 0.0)
        ra += 360.0;
    dec = std::asin(v.z / r) * kRadToDeg;
}

TEST(ElementsAt, GivesBackTheCanonsElementsFromTheirSunAndMoon) {
    int checked = 0;
    for (const CsvRow& row : ReadCsv("solar_eclipses.csv")) {
        const std::string date = row.at("date");
        const PolynomialElements c = CanonElements(date);
        const double jd = c.jdT0 - c.deltaT / kSecondsPerDay; // UT of t0
        // The axis: its declination, and its right ascension from the hour angle.
        const double d = c.d[0] * kDegToRad;
        const double muUT = c.mu[0] - kSiderealDegreesPerSecond * c.deltaT;
        const double a = (kHoursToDeg * GreenwichSiderealHours(jd) - muUT) * kDegToRad;
        const Vec k = {std::cos(d) * std::cos(a), std::cos(d) * std::sin(a), std::sin(d)};
        const Vec i = {-std::sin(a), std::cos(a), 0.0};
        const Vec j = {-std::cos(a) * std::sin(d), -std::sin(a) * std::sin(d), std::cos(d)};
        // The Moon's height above the plane from l1, and the Sun beyond it along the
        // axis at the distance the penumbral cone's angle gives.
        const double f1 = std::atan(c.tanF1);
        const double z = (c.l1[0] - kMoonRadiusPenumbra / std::cos(f1)) / c.tanF1;
        const double g = (kSunRadiusKm / kEarthRadiusKm + kMoonRadiusPenumbra) / std::sin(f1);
        const Vec moon = {c.x[0] * i.x + c.y[0] * j.x + z * k.x,
                          c.x[0] * i.y + c.y[0] * j.y + z * k.y,
                          c.x[0] * i.z + c.y[0] * j.z + z * k.z};
        const Vec sun = {moon.x + g * k.x, moon.y + g * k.y, moon.z + g * k.z};

        ApparentPlaces p;
        p.jd = jd;
        p.deltaT = c.deltaT;
        double r = 0.0;
        Spherical(moon, p.moonRA, p.moonDec, r);
        p.moonParallax = std::asin(1.0 / r) * kRadToDeg;
        Spherical(sun, p.sunRA, p.sunDec, r);
        // The distance as ElementsAt reads it, through the solar parallax.
        p.sunDistance = (kEarthRadiusKm / kAuKm) / std::asin(1.0 / r);
        const BesselianElements e = ElementsAt(p);

        EXPECT_NEAR(e.x, c.x[0], 1e-7) << date << ": want x " << c.x[0] << ", got " << e.x;
        EXPECT_NEAR(e.y, c.y[0], 1e-7) << date << ": want y " << c.y[0] << ", got " << e.y;
        EXPECT_NEAR(e.d, c.d[0], 1e-7) << date << ": want d " << c.d[0] << ", got " << e.d;
        EXPECT_NEAR(e.l1, c.l1[0], 1e-7) << date << ": want l1 " << c.l1[0] << ", got " << e.l1;
        // The umbra's cone from the radii alone: l2 and tan f2 as published (tan f2 is
        // printed to 1e-7, and so is the tan f1 the Sun-Moon distance comes from; a Sun
        // 300 km smaller moves it by 2e-6).
        EXPECT_NEAR(e.l2, c.l2[0], 3e-6) << date << ": want l2 " << c.l2[0] << ", got " << e.l2;
        EXPECT_NEAR(e.tanF2, c.tanF2, 1.5e-7)
            << date << ": want tan f2 " << c.tanF2 << ", got " << e.tanF2;
        ++checked;
    }
    EXPECT_GE(checked, 40);
}

} // namespace
