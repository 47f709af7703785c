#include "eclipse/contacts.h"
#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

CShadowModel Snapshot(int day, int month, int year, int hour, int minute) {
    return MakeShadowModel(CEphemeris(day, month, year, 0.0, minute, hour, 1, 1, 1, 0.0, 0.0, 0.0));
}

CShadowModel ContactRun(int day, int month, int year) {
    CShadowModel m = MakeShadowModel(
        CEphemeris(day, month, year, 0.0, 0, 0, 1, kContactStepsPerDay, 1, 0.0, 0.0, 0.0));
    m.run(kContactSamples, kContactSamples);
    return m;
}

TEST(ShadowModel, SnapshotOf2006March29OverLibyaAndAfrica) {
    CShadowModel m = Snapshot(29, 3, 2006, 10, 11);
    m.run(1000.0, 50000.0);
    ASSERT_EQ(m.m_umbraLat.size(), m.m_umbraLon.size());
    ASSERT_EQ(m.m_penumbraLat.size(), m.m_penumbraLon.size());
    ASSERT_FALSE(m.m_umbraLat.empty());
    for (std::size_t i = 0; i < m.m_umbraLat.size(); ++i) {
        EXPECT_NEAR(m.m_umbraLat[i], 23.0, 1.5);
        EXPECT_NEAR(m.m_umbraLon[i], 16.5, 1.5);
    }
    // The penumbra reaches from the Gulf of Guinea to beyond Scandinavia.
    const auto [south, north] = std::minmax_element(m.m_penumbraLat.begin(), m.m_penumbraLat.end());
    const auto [west, east] = std::minmax_element(m.m_penumbraLon.begin(), m.m_penumbraLon.end());
    EXPECT_LT(*south, 0.0);
    EXPECT_GT(*north, 60.0);
    EXPECT_LT(*west, -20.0);
    EXPECT_GT(*east, 40.0);
    // A snapshot has one step: every hit belongs to step 0.
    EXPECT_TRUE(std::all_of(m.m_penumbraHits.begin(), m.m_penumbraHits.end(),
                            [](int s) { return s == 0; }));
}

TEST(ShadowModel, OneConeAtATime) {
    CShadowModel penumbraOnly = Snapshot(29, 3, 2006, 10, 11);
    penumbraOnly.run(0.0, 50000.0);
    EXPECT_TRUE(penumbraOnly.m_umbraHits.empty());
    EXPECT_TRUE(penumbraOnly.m_umbraLat.empty());
    EXPECT_FALSE(penumbraOnly.m_penumbraLat.empty());

    CShadowModel umbraOnly = Snapshot(29, 3, 2006, 10, 11);
    umbraOnly.run(1000.0, 0.5); // fewer than one height: nothing
    EXPECT_TRUE(umbraOnly.m_penumbraHits.empty());
    EXPECT_TRUE(umbraOnly.m_penumbraLat.empty());
    EXPECT_FALSE(umbraOnly.m_umbraLat.empty());

    CShadowModel nonsense = Snapshot(29, 3, 2006, 10, 11);
    nonsense.run(std::nan(""), -5.0);
    EXPECT_TRUE(nonsense.m_penumbraHits.empty());
    EXPECT_TRUE(nonsense.m_umbraHits.empty());
}

TEST(ShadowModel, OnlyThePenumbraAtThePartialPhase) {
    // 07:45 UT: the penumbra is on the Earth, the umbra not yet (it arrives 08:35).
    CShadowModel m = Snapshot(29, 3, 2006, 7, 45);
    m.run(1000.0, 50000.0);
    EXPECT_FALSE(m.m_penumbraLat.empty());
    EXPECT_TRUE(m.m_umbraHits.empty());
    EXPECT_TRUE(m.m_umbraLat.empty());
}

TEST(ShadowModel, ShadowMissingTheEarthLeavesNothing) {
    CShadowModel m = Snapshot(29, 3, 2006, 3, 0);
    m.run(1000.0, 50000.0);
    EXPECT_TRUE(m.m_penumbraHits.empty());
    EXPECT_TRUE(m.m_penumbraLat.empty());
}

TEST(ShadowModel, AxisPointConvertsToTheSubAxisPlace) {
    CShadowModel m = Snapshot(29, 3, 2006, 10, 11);
    m.ConvertPoint(0.0, 0.0, 1.0, 0);
    // The axis points to hour angle mu: its foot has longitude -mu, latitude about d.
    const double wantLon = std::remainder(-m.m_mu[0], 360.0);
    EXPECT_NEAR(m.m_pointLon, wantLon, 1e-9);
    EXPECT_NEAR(m.m_pointLat, m.m_axisDec[0], 0.05);
    EXPECT_GE(m.m_pointLon, -180.0);
    EXPECT_LE(m.m_pointLon, 180.0);
}

TEST(ShadowModel, ElementsStayInRange) {
    const CShadowModel m = MakeShadowModel(
        CEphemeris(29, 3, 2006, 0.0, 0, 0, 1, kContactStepsPerDay, 1, 0.0, 0.0, 0.0));
    ASSERT_EQ(m.m_mu.size(), 1440u);
    for (std::size_t i = 0; i < m.m_mu.size(); ++i) {
        ASSERT_GE(m.m_mu[i], 0.0);
        ASSERT_LT(m.m_mu[i], 360.0);
        ASSERT_GT(m.m_z[i], 0.0); // new moon: the Moon is on the Sun's side
        ASSERT_GT(m.m_l1[i], 0.5);
        ASSERT_LT(m.m_l2[i], 0.0); // total eclipse
    }
    // mu advances about 15 degrees an hour.
    const double perHour = std::remainder(m.m_mu[660] - m.m_mu[600], 360.0);
    EXPECT_NEAR(perHour, 15.0, 0.01);
}

TEST(ShadowModel, SiderealTimeAtMidnightEitherWay) {
    const CShadowModel m = MakeShadowModel(
        CEphemeris(29, 3, 2006, 0.0, 0, 0, 1, kContactStepsPerDay, 1, 0.0, 0.0, 0.0));
    // Step 0 is exactly 0h: counted as 24 h after the previous midnight.
    const double jd0 = m.m_stepJD[0];
    EXPECT_NEAR(m.StepSiderealTime(0), CShadowModel::SiderealTimeAt0h(jd0), 1e-4);
    // Meeus, example 12.a: 1987 April 10, 0h UT, mean sidereal time 13h 10m 46.3668s.
    EXPECT_NEAR(CShadowModel::SiderealTimeAt0h(2446895.5), 13.0 + 10.0 / 60.0 + 46.3668 / 3600.0,
                1e-7);
}

TEST(ContactTimes, LunarEclipseDatesHaveNoSolarEclipse) {
    for (const auto& date : {std::array<int, 3>{14, 3, 2006}, std::array<int, 3>{7, 9, 2006},
                             std::array<int, 3>{21, 1, 2019}}) {
        const CShadowModel m = ContactRun(date[0], date[1], date[2]);
        EXPECT_TRUE(m.m_penumbraHits.empty()) << date[0] << "." << date[1];
        EXPECT_TRUE(m.m_umbraHits.empty()) << date[0] << "." << date[1];
        EXPECT_FALSE(FindContactTimes(m).eclipse);
    }
    EXPECT_EQ(NoEclipseMessage("14", "3", "2006"),
              "By date:\t14.3.2006\nSolar Eclipses isn't possibly");
}

TEST(ContactTimes, TotalEclipseOf2006March29) {
    const ContactTimes c = FindContactTimes(ContactRun(29, 3, 2006));
    ASSERT_TRUE(c.eclipse);
    ASSERT_TRUE(c.umbral);
    EXPECT_EQ(c.lines[0], "Moon enters penumbra:  07:37");
    EXPECT_EQ(c.lines[1], "Moon leaves penumbra:  12:45");
    EXPECT_EQ(c.lines[2], "Moon enters totality:  08:35");
    EXPECT_EQ(c.lines[3], "Moon leaves totality:  11:48");
    EXPECT_EQ(c.firstPenumbraStep, 7 * 60 + 37);
    EXPECT_EQ(c.lastPenumbraStep, 12 * 60 + 45);
}

TEST(ContactTimes, PartialEclipseShowsDashesForTheUmbra) {
    const ContactTimes c = FindContactTimes(ContactRun(4, 1, 2011));
    ASSERT_TRUE(c.eclipse);
    EXPECT_FALSE(c.umbral);
    EXPECT_EQ(c.lines[2], "Moon enters totality:  --:--");
    EXPECT_EQ(c.lines[3], "Moon leaves totality:  --:--");
    EXPECT_LT(c.firstPenumbraStep, c.lastPenumbraStep);
}

TEST(ContactTimes, StepTimes) {
    const double midnight = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    EXPECT_EQ(FormatStepTime(midnight), "24:00");
    EXPECT_EQ(FormatStepTime(midnight + 457.0 / 1440.0), "07:37");
    EXPECT_EQ(FormatStepTime(midnight + 10.99999 / 24.0), "10:59");
}

} // namespace
