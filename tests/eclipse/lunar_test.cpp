// Lunar eclipses against the published catalogue sample (tests/data/lunar_eclipses_sample.csv).
#include "eclipse/csv_table.h"
#include "eclipse/lunar.h"
#include "eclipse/lunar_local.h"
#include "eclipse/lunar_map.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

struct Errors {
    double gamma = 0.0, penumbral = 0.0, umbral = 0.0, greatestS = 0.0, semiPartialMin = 0.0,
           semiTotalMin = 0.0;
    int typeWrong = 0, missing = 0, sarosWrong = 0, phasesWrong = 0;
    std::string problems; // the rows that differ in kind
};

double DayOf(const std::string& iso) {
    return CalendarToJulianDay(std::stoi(iso.substr(8, 2)), std::stoi(iso.substr(5, 2)),
                               std::stoi(iso.substr(0, 4)), 0.0, 0, 0);
}

Errors CompareWithSample(Ephemeris engine, ShadowRule rule) {
    Errors err;
    for (const CsvRow& row : LoadCsv("lunar_eclipses_sample.csv")) {
        const double jd0 = DayOf(row.text("date"));
        const std::optional<LunarEclipse> c = LunarEclipseOnDate(jd0, engine, rule);
        if (!c) {
            ++err.missing;
            err.problems += row.text("date") + " not found; ";
            continue;
        }
        if (EclipseKindLetter(c->kind) != row.text("type")[0]) {
            ++err.typeWrong;
            err.problems += row.text("date") + " type " + EclipseKindLetter(c->kind) + "; ";
        }
        if (c->saros != std::stoi(row.text("saros"))) {
            ++err.sarosWrong;
            err.problems += row.text("date") + " saros " + std::to_string(c->saros) + "; ";
        }
        // A phase the catalogue leaves out is absent, and the other way round.
        if (row.empty("semi_partial_min") != !c->contacts.u1 ||
            row.empty("semi_total_min") != !c->contacts.u2)
            ++err.phasesWrong;
        const std::string& hm = row.text("greatest_ut");
        const double published =
            jd0 + (std::stoi(hm.substr(0, 2)) * 60.0 + std::stoi(hm.substr(3, 2))) / 1440.0;
        err.greatestS =
            std::max(err.greatestS, std::fabs(c->jdGreatestUT - published) * kSecondsPerDay);
        err.gamma = std::max(err.gamma, std::fabs(c->gamma - row.number("gamma")));
        err.penumbral =
            std::max(err.penumbral, std::fabs(c->penumbralMagnitude - row.number("pen_mag")));
        err.umbral = std::max(err.umbral, std::fabs(c->umbralMagnitude - row.number("umb_mag")));
        const auto semi = [](double seconds) { return seconds / 120.0; };
        if (!row.empty("semi_partial_min"))
            err.semiPartialMin =
                std::max(err.semiPartialMin,
                         std::fabs(semi(c->partialDurationS) - row.number("semi_partial_min")));
        if (!row.empty("semi_total_min"))
            err.semiTotalMin = std::max(err.semiTotalMin, std::fabs(semi(c->totalDurationS) -
                                                                    row.number("semi_total_min")));
    }
    std::printf("%s %s: max |d gamma| %.4f, |d pen| %.4f, |d umb| %.4f, greatest %.0f s, "
                "semi-partial %.2f min, semi-total %.2f min\n",
                std::string(EphemerisName(engine)).c_str(),
                std::string(ShadowRuleName(rule)).c_str(), err.gamma, err.penumbral, err.umbral,
                err.greatestS, err.semiPartialMin, err.semiTotalMin);
    return err;
}

TEST(LunarEclipses, ReproduceThePublishedCatalogueSample) {
    for (const Ephemeris engine : {Ephemeris::Classic, Ephemeris::Precise}) {
        const Errors e = CompareWithSample(engine, kDefaultShadowRule);
        EXPECT_EQ(e.missing + e.typeWrong + e.sarosWrong + e.phasesWrong, 0) << e.problems;
        EXPECT_LT(e.gamma, 0.003);
        EXPECT_LT(e.penumbral, 0.012);
        EXPECT_LT(e.umbral, 0.012);
        // The catalogue gives the minute; its Delta T differs by seconds.
        EXPECT_LT(e.greatestS, 60.0);
        // Semi-durations are printed as whole minutes.
        EXPECT_LT(e.semiPartialMin, 2.0);
        EXPECT_LT(e.semiTotalMin, 2.0);
    }
}

// The catalogue the sample comes from lists 1 210 lunar eclipses from 1701 to 2200.
TEST(LunarEclipses, FindTheCataloguesCountOverFiveCenturies) {
    const std::vector<LunarEclipse> found =
        LunarEclipsesBetween(CalendarToJulianDay(1, 1, 1701, 0.0, 0, 0),
                             CalendarToJulianDay(1, 1, 2201, 0.0, 0, 0), Ephemeris::Precise);
    EXPECT_EQ(found.size(), 1210u);
    for (std::size_t i = 1; i < found.size(); ++i)
        EXPECT_GT(found[i].jdGreatestUT - found[i - 1].jdGreatestUT, 25.0);
}

// Both total eclipses of 2025 (March 14, September 7), from either side.
TEST(LunarEclipses, NextAndPreviousStepFromEclipseToEclipse) {
    const double march = CalendarToJulianDay(14, 3, 2025, 0.0, 0, 0);
    const double september = CalendarToJulianDay(7, 9, 2025, 0.0, 0, 0);
    const auto next = NextLunarEclipse(march + 1.0, Ephemeris::Classic);
    ASSERT_TRUE(next);
    EXPECT_EQ(std::floor(next->jdGreatestUT - 0.5), std::floor(september - 0.5));
    EXPECT_EQ(next->kind, EclipseKind::Total);
    const auto previous = PreviousLunarEclipse(september, Ephemeris::Classic);
    ASSERT_TRUE(previous);
    EXPECT_EQ(std::floor(previous->jdGreatestUT - 0.5), std::floor(march - 0.5));
    EXPECT_FALSE(LunarEclipseOnDate(march + 1.0, Ephemeris::Classic));
    // Contacts in order, each phase inside the wider one.
    const LunarContacts& k = next->contacts;
    ASSERT_TRUE(k.p1 && k.u1 && k.u2 && k.u3 && k.u4 && k.p4);
    EXPECT_TRUE(*k.p1 < *k.u1 && *k.u1 < *k.u2 && *k.u2 < next->jdGreatestUT &&
                next->jdGreatestUT < *k.u3 && *k.u3 < *k.u4 && *k.u4 < *k.p4);
}

// The fit takes its shape from the classic theories and is moved onto the
// engine's places: over the whole window it follows the precise Moon to 0.02".
TEST(LunarEclipses, ElementsFollowTheEnginesMoonOverTheWindow) {
    for (const Ephemeris engine : {Ephemeris::Classic, Ephemeris::Precise}) {
        const LunarElements e = FitLunarElements(CalendarToJulianDay(7, 9, 2025, 0.0, 0, 18),
                                                 engine, kDefaultShadowRule);
        double worst = 0.0;
        for (double hours = -4.0; hours <= 4.0; hours += 0.5) {
            const double jdUT = e.jdT0 + hours / 24.0 - e.deltaT / kSecondsPerDay;
            const ApparentPlaces p = ApparentPlacesAt(jdUT, e.deltaT, engine);
            const MoonGeocentric m = LunarMoonAt(e, jdUT);
            const double dRA =
                std::remainder(m.ra - p.moonRA, 360.0) * std::cos(p.moonDec * kDegToRad);
            worst = std::max({worst, std::fabs(dRA), std::fabs(m.dec - p.moonDec)});
        }
        EXPECT_LT(worst * 3600.0, 0.02) << EphemerisName(engine);
    }
}

// Each curve is where the place's view (topocentric, refracted) has the Moon on
// the horizon at that contact; at the sub-lunar point it stands in the zenith.
TEST(LunarEclipses, HorizonCurvesPutTheMoonOnTheHorizon) {
    const auto c =
        LunarEclipseOnDate(CalendarToJulianDay(8, 11, 2022, 0.0, 0, 0), Ephemeris::Classic);
    ASSERT_TRUE(c);
    const std::vector<MoonHorizonCurve> curves = MoonHorizonCurves(*c, 37);
    ASSERT_EQ(curves.size(), 6u);
    EXPECT_EQ(curves.front().label, "P1");
    EXPECT_EQ(curves.back().label, "P4");
    double worst = 0.0;
    for (const MoonHorizonCurve& curve : curves) {
        for (const GeoPoint& p : curve.points) {
            const MoonInSky m = MoonInSkyAt(c->elements, {p.lat, p.lon, 0.0}, curve.jdUT);
            worst = std::max(worst, std::fabs(m.apparentAltitude));
        }
        const GeoPoint s = curve.sublunar;
        EXPECT_GT(MoonInSkyAt(c->elements, {s.lat, s.lon, 0.0}, curve.jdUT).altitude, 89.5);
    }
    // The curves are drawn on a sphere; the ellipsoid moves the horizon by up to
    // the difference of geodetic and geocentric latitude, 0.19 degrees.
    EXPECT_LT(worst, 0.25);
}

TEST(LunarEclipses, TheOtherShadowRuleMissesTheUmbralMagnitudes) {
    const ShadowRule other =
        kDefaultShadowRule == ShadowRule::Danjon ? ShadowRule::Chauvenet : ShadowRule::Danjon;
    EXPECT_GT(CompareWithSample(Ephemeris::Classic, other).umbral, 0.006);
}

} // namespace
