#include "eclipse/besselian.h"
#include "eclipse/contacts.h"
#include "eclipse/outline.h"
#include "ephemeris/sidereal.h"
#include "ephemeris/timescales.h"
#include "view/texts.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

double JD(int day, int month, int year, int hour, int minute) {
    return CalendarToJulianDay(day, month, year, 0.0, minute, hour);
}

BesselianElements ElementsOf(int day, int month, int year, int hour, int minute) {
    return ElementsAt(ApparentPlacesAt(JD(day, month, year, hour, minute)));
}

TEST(Outline, SnapshotOf2006March29OverLibyaAndAfrica) {
    const ShadowSnapshot s =
        ShadowAt(JD(29, 3, 2006, 10, 11), true, 1000.0, 50000.0, Ephemeris::Classic);
    ASSERT_EQ(s.umbra.lat.size(), s.umbra.lon.size());
    ASSERT_EQ(s.penumbra.lat.size(), s.penumbra.lon.size());
    ASSERT_FALSE(s.umbra.lat.empty());
    for (std::size_t i = 0; i < s.umbra.lat.size(); ++i) {
        EXPECT_NEAR(s.umbra.lat[i], 23.0, 1.5);
        EXPECT_NEAR(s.umbra.lon[i], 16.5, 1.5);
    }
    // The penumbra reaches from the Gulf of Guinea to beyond Scandinavia.
    const auto [south, north] = std::minmax_element(s.penumbra.lat.begin(), s.penumbra.lat.end());
    const auto [west, east] = std::minmax_element(s.penumbra.lon.begin(), s.penumbra.lon.end());
    EXPECT_LT(*south, 0.0);
    EXPECT_GT(*north, 60.0);
    EXPECT_LT(*west, -20.0);
    EXPECT_GT(*east, 40.0);
    // Up to four points per height that meets the Earth.
    EXPECT_GT(s.penumbra.hits, 0);
    EXPECT_LE(s.penumbra.lat.size(), 4u * static_cast<std::size_t>(s.penumbra.hits));
}

TEST(Outline, OneConeAtATime) {
    const double jd = JD(29, 3, 2006, 10, 11);
    const ShadowSnapshot penumbraOnly = ShadowAt(jd, true, 0.0, 50000.0, Ephemeris::Classic);
    EXPECT_EQ(penumbraOnly.umbra.hits, 0);
    EXPECT_TRUE(penumbraOnly.umbra.lat.empty());
    EXPECT_FALSE(penumbraOnly.penumbra.lat.empty());

    const ShadowSnapshot umbraOnly =
        ShadowAt(jd, true, 1000.0, 0.5, Ephemeris::Classic); // under one height: none
    EXPECT_EQ(umbraOnly.penumbra.hits, 0);
    EXPECT_FALSE(umbraOnly.umbra.lat.empty());

    const ShadowSnapshot nonsense = ShadowAt(jd, true, std::nan(""), -5.0, Ephemeris::Classic);
    EXPECT_EQ(nonsense.penumbra.hits, 0);
    EXPECT_EQ(nonsense.umbra.hits, 0);
}

TEST(Outline, OnlyThePenumbraAtThePartialPhase) {
    // 07:45 UT: the penumbra is on the Earth, the umbra not yet (it arrives 08:35).
    const ShadowSnapshot s =
        ShadowAt(JD(29, 3, 2006, 7, 45), true, 1000.0, 50000.0, Ephemeris::Classic);
    EXPECT_FALSE(s.penumbra.lat.empty());
    EXPECT_EQ(s.umbra.hits, 0);
}

TEST(Outline, ShadowMissingTheEarthLeavesNothing) {
    const ShadowSnapshot s =
        ShadowAt(JD(29, 3, 2006, 3, 0), true, 1000.0, 50000.0, Ephemeris::Classic);
    EXPECT_EQ(s.penumbra.hits, 0);
    EXPECT_TRUE(s.penumbra.lat.empty());
}

TEST(Outline, AxisPointConvertsToTheSubAxisPlace) {
    const BesselianElements e = ElementsOf(29, 3, 2006, 10, 11);
    // The axis points to hour angle mu: its foot has longitude -mu and, on the
    // ellipsoid, the geodetic latitude of a surface normal parallel to it, a little
    // poleward of the declination d.
    const GeoPoint p = FundamentalToGeodetic(e, 0.0, 0.0, 1.0);
    EXPECT_NEAR(p.lon, std::remainder(-e.mu, 360.0), 1e-9);
    const double wantLat =
        std::atan(std::tan(e.d * M_PI / 180.0) / (1.0 - kFlattening)) * 180.0 / M_PI;
    EXPECT_NEAR(p.lat, wantLat, 0.02);
    EXPECT_GT(std::fabs(p.lat - e.d), 0.01); // the flattening shows
}

// Every traced place, taken back into the shadow's frame, lies on the Earth's unit sphere
// at one of the sampled heights and on the cone's circle there: the places follow the
// cone. 2023-10-14 at 18h has the penumbra across right ascension 180 degrees.
TEST(Outline, EveryPlaceLiesOnTheConeAtASampledHeight) {
    constexpr double kSamples = 50000.0;
    for (const auto& [day, month, year, hour] :
         {std::array<int, 4>{8, 4, 2024, 18}, std::array<int, 4>{14, 10, 2023, 18}}) {
        const BesselianElements e = ElementsOf(day, month, year, hour, 0);
        const Outline o = TraceOutline(e, Cone::Penumbra, kSamples);
        ASSERT_GT(o.lat.size(), 10000u);
        const double k = M_PI / 180.0;
        const double sinA = std::sin(e.a * k), cosA = std::cos(e.a * k);
        double west = 180.0, east = -180.0;
        for (std::size_t i = 0; i < o.lat.size(); ++i) {
            ASSERT_GE(o.lon[i], -180.0);
            ASSERT_LE(o.lon[i], 180.0);
            west = std::min(west, o.lon[i]);
            east = std::max(east, o.lon[i]);
            const double ra = (o.lon[i] + 15.0 * e.siderealHours) * k;
            const double parametric = std::atan((1.0 - kFlattening) * std::tan(o.lat[i] * k));
            const double px = std::cos(parametric) * std::cos(ra);
            const double py = std::cos(parametric) * std::sin(ra);
            const double pz = std::sin(parametric);
            const double xi = -px * sinA + py * cosA;
            const double eta = -(px * cosA + py * sinA) * e.sinD1 + pz * e.cosD1;
            const double zeta = (px * cosA + py * sinA) * e.cosD1 + pz * e.sinD1;
            const double step = zeta * kSamples;
            ASSERT_NEAR(step, std::round(step), 1e-5) << i;
            const double radius = e.l1 - zeta * e.tanF1;
            const double dx = xi - e.x, dy = eta - e.y / e.rho1;
            ASSERT_NEAR(dx * dx + dy * dy, radius * radius, 1e-8) << i;
        }
        EXPECT_GT(east - west, 60.0) << year;
    }
}

TEST(Outline, ElementsThroughTheDay) {
    const double start = JD(29, 3, 2006, 0, 0);
    std::array<BesselianElements, 1440> day;
    for (int i = 0; i < 1440; ++i)
        day[static_cast<std::size_t>(i)] = ElementsAt(ApparentPlacesAt(start + i / 1440.0));
    for (const BesselianElements& e : day) {
        ASSERT_GE(e.mu, 0.0);
        ASSERT_LT(e.mu, 360.0);
        ASSERT_GT(e.z, 0.0); // new moon: the Moon is on the Sun's side
        ASSERT_GT(e.l1, 0.5);
        ASSERT_LT(e.l2, 0.0); // total eclipse
        ASSERT_GT(e.rho1, 0.99);
        ASSERT_LT(e.rho1, 1.0);
    }
    // mu advances about 15 degrees an hour.
    EXPECT_NEAR(std::remainder(day[660].mu - day[600].mu, 360.0), 15.0, 0.01);
}

TEST(Sidereal, MidnightAndTheWorkedExample) {
    // 0h exactly counts as 24 h after the previous midnight: the same angle.
    const double jd0 = JD(29, 3, 2006, 0, 0);
    EXPECT_NEAR(GreenwichSiderealHours(jd0), SiderealTimeAt0h(jd0), 1e-4);
    // Meeus, example 12.a: 1987 April 10, 0h UT, mean sidereal time 13h 10m 46.3668s.
    EXPECT_NEAR(SiderealTimeAt0h(2446895.5), 13.0 + 10.0 / 60.0 + 46.3668 / 3600.0, 1e-7);
    // Example 12.b: 19h 21m 00s UT of that day, 8h 34m 57.0896s.
    EXPECT_NEAR(GreenwichSiderealHours(2446896.30625), 8.0 + 34.0 / 60.0 + 57.0896 / 3600.0, 1e-6);
}

ContactTimes ContactRun(int day, int month, int year) {
    return ContactTimesOfDate(JD(day, month, year, 0, 0), Ephemeris::Classic);
}

TEST(ContactTimes, LunarEclipseDatesHaveNoSolarEclipse) {
    for (const auto& date : {std::array<int, 3>{14, 3, 2006}, std::array<int, 3>{7, 9, 2006},
                             std::array<int, 3>{21, 1, 2019}}) {
        const ContactTimes c = ContactRun(date[0], date[1], date[2]);
        EXPECT_FALSE(c.eclipse) << date[0] << "." << date[1];
        EXPECT_FALSE(c.umbral) << date[0] << "." << date[1];
    }
    EXPECT_EQ(NoEclipseMessage("14", "3", "2006"),
              "By date:\t14.3.2006\nSolar Eclipses isn't possibly");
}

TEST(ContactTimes, TotalEclipseOf2006March29) {
    const ContactTimes c = ContactRun(29, 3, 2006);
    ASSERT_TRUE(c.eclipse);
    ASSERT_TRUE(c.umbral);
    const std::array<std::string, 4> lines = ContactLines(c);
    EXPECT_EQ(lines[0], "Moon enters penumbra:  07:37");
    EXPECT_EQ(lines[1], "Moon leaves penumbra:  12:45");
    EXPECT_EQ(lines[2], "Moon enters totality:  08:35");
    // Published U4 11:47:56 UT: with the canon's umbral lunar radius the last
    // minute of totality is 11:47.
    EXPECT_EQ(lines[3], "Moon leaves totality:  11:47");
    EXPECT_EQ(c.firstPenumbraStep, 7 * 60 + 37);
    EXPECT_EQ(c.lastPenumbraStep, 12 * 60 + 45);
}

TEST(ContactTimes, PartialEclipseShowsDashesForTheUmbra) {
    const ContactTimes c = ContactRun(4, 1, 2011);
    ASSERT_TRUE(c.eclipse);
    EXPECT_FALSE(c.umbral);
    const std::array<std::string, 4> lines = ContactLines(c);
    EXPECT_EQ(lines[2], "Moon enters totality:  --:--");
    EXPECT_EQ(lines[3], "Moon leaves totality:  --:--");
    EXPECT_LT(c.firstPenumbraStep, c.lastPenumbraStep);
}

TEST(ContactTimes, StepTimes) {
    const double midnight = JD(29, 3, 2006, 0, 0);
    EXPECT_EQ(FormatStepTime(midnight), "24:00");
    EXPECT_EQ(FormatStepTime(midnight + 457.0 / 1440.0), "07:37");
    EXPECT_EQ(FormatStepTime(midnight + 10.99999 / 24.0), "10:59");
    ContactTimes c;
    c.jdStart = midnight;
    EXPECT_NEAR((ContactStepJD(c, 457) - midnight) * 1440.0, 457.0, 1e-6);
}

} // namespace
