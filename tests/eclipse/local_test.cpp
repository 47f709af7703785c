#include "eclipse/finder.h"
#include "eclipse/local.h"
#include "local_data.h"

#include "ephemeris/engine.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr double kSecondsPerDay = 86400.0;

EclipseKind KindFromText(const std::string& text) {
    if (text == "total" || text == "T")
        return EclipseKind::Total;
    if (text == "annular" || text == "A")
        return EclipseKind::Annular;
    if (text == "partial" || text == "P")
        return EclipseKind::Partial;
    return EclipseKind::None;
}

Observer ObserverOf(const CsvRow& row) {
    return {std::stod(row.at("lat")), std::stod(row.at("lon")), std::stod(row.at("height_m"))};
}

// Seconds between a computed event (UT of elements with ΔT deltaT) and a published
// instant whose UT embeds publishedDeltaT; compared in TT.
double SecondsApart(const std::optional<LocalEvent>& event, const std::string& published,
                    double deltaT, double publishedDeltaT) {
    const double computedTT = event->jdUT + deltaT / kSecondsPerDay;
    const double publishedTT = ParseIsoInstant(published) + publishedDeltaT / kSecondsPerDay;
    return (computedTT - publishedTT) * kSecondsPerDay;
}

// Checks one place of the sample table. Tolerances in seconds and degrees.
struct Tolerance {
    double contact;
    double magnitude;
    double altitude;
    double azimuth;
    double duration;
};

// nearLimits: also the places 1 to 2 km from a limit, which elements off by a
// few km move across it.
void CheckAgainstSample(const PolynomialElements& e, const Tolerance& tol, bool nearLimits) {
    for (const CsvRow& row : ReadCsv("local_circumstances_sample.csv")) {
        const std::string label = row.at("label");
        SCOPED_TRACE(label);
        const LocalCircumstances lc = ComputeLocalCircumstances(e, ObserverOf(row));
        const double publishedDeltaT = std::stod(row.at("delta_t_s"));
        // A place exactly on a limit may fall either side of it.
        const bool onLimit =
            label.ends_with("_on") || (!nearLimits && label.find("limit") != std::string::npos);
        if (!onLimit) {
            EXPECT_EQ(lc.kind, KindFromText(row.at("kind")));
        }
        if (!onLimit) {
            EXPECT_NEAR(lc.magnitude, std::stod(row.at("magnitude")), tol.magnitude);
            EXPECT_NEAR(lc.obscuration, std::stod(row.at("obscuration")), tol.magnitude);
        }
        if (row.at("kind") == "none")
            continue;
        ASSERT_TRUE(lc.c1 && lc.max && lc.c4);
        EXPECT_NEAR(SecondsApart(lc.c1, row.at("c1"), e.deltaT, publishedDeltaT), 0.0, tol.contact);
        EXPECT_NEAR(SecondsApart(lc.max, row.at("max"), e.deltaT, publishedDeltaT), 0.0,
                    tol.contact);
        EXPECT_NEAR(SecondsApart(lc.c4, row.at("c4"), e.deltaT, publishedDeltaT), 0.0, tol.contact);
        EXPECT_NEAR(lc.c1->sun.altitude, std::stod(row.at("sun_alt_c1")), tol.altitude);
        EXPECT_NEAR(lc.max->sun.altitude, std::stod(row.at("sun_alt_max")), tol.altitude);
        EXPECT_NEAR(lc.max->sun.azimuth, std::stod(row.at("sun_az_max")), tol.azimuth);
        EXPECT_NEAR(lc.c4->sun.altitude, std::stod(row.at("sun_alt_c4")), tol.altitude);
        EXPECT_EQ(lc.c4->sun.aboveHorizon, std::stod(row.at("sun_alt_c4")) > 0.0);
        if (onLimit)
            continue;
        if (row.at("kind") == "total") {
            ASSERT_TRUE(lc.c2 && lc.c3);
            EXPECT_NEAR(SecondsApart(lc.c2, row.at("c2"), e.deltaT, publishedDeltaT), 0.0,
                        tol.contact);
            EXPECT_NEAR(SecondsApart(lc.c3, row.at("c3"), e.deltaT, publishedDeltaT), 0.0,
                        tol.contact);
            EXPECT_NEAR(lc.duration, std::stod(row.at("duration_s")), tol.duration);
        } else {
            EXPECT_FALSE(lc.c2 || lc.c3);
            EXPECT_EQ(lc.duration, 0.0);
        }
    }
}

// The method on the canon's own elements reproduces the published local
// circumstances computed from them: only rounding remains.
TEST(LocalCircumstances, CanonElementsReproduceSampleTable) {
    CheckAgainstSample(CanonElements("2017-08-21"), {0.15, 0.00002, 0.02, 0.02, 0.2}, true);
}

// With the elements of this program's own ephemeris the theories differ from the
// canon's by up to a few thousandths of an Earth radius.
TEST(LocalCircumstances, OwnEphemerisNearSampleTable) {
    const PolynomialElements canon = CanonElements("2017-08-21");
    const PolynomialElements own = FitPolynomialElements(canon.jdT0, Ephemeris::Classic);
    CheckAgainstSample(own, {12.0, 0.003, 0.05, 0.1, 4.0}, false);
}

// Contact times published for six places (whole seconds; their ΔT is 2 to 2.5 s
// below the canon's, so their UT runs that much later).
TEST(LocalCircumstances, PublishedContactTimes) {
    for (const CsvRow& row : ReadCsv("local_contacts_published.csv")) {
        const std::string date = row.at("c1_utc").substr(0, 10);
        SCOPED_TRACE(date + " " + row.at("lat") + " " + row.at("lon"));
        // Two of the eclipses have no canon elements in the tables: those run on this
        // program's own ephemeris, whose theories put contacts up to about 15 s off.
        PolynomialElements e;
        double timeTolerance = 2.5;
        double altitudeTolerance = 0.01;
        if (HasCanonElements(date)) {
            e = CanonElements(date);
        } else {
            const std::optional<EclipseCircumstances> f =
                EclipseOnDate(ParseIsoInstant(date + "T00:00:00"), Ephemeris::Classic);
            ASSERT_TRUE(f.has_value());
            e = f->elements;
            timeTolerance = 15.0;
            altitudeTolerance = 0.05;
        }
        const LocalCircumstances lc = ComputeLocalCircumstances(e, ObserverOf(row));
        EXPECT_EQ(lc.kind, KindFromText(row.at("kind")));
        const double theirDeltaT = e.deltaT - 2.25;
        const struct {
            const std::optional<LocalEvent>& event;
            const char* time;
            const char* altitude;
        } contacts[] = {{lc.c1, "c1_utc", "c1_sun_alt_deg"},
                        {lc.c2, "c2_utc", "c2_sun_alt_deg"},
                        {lc.max, "max_utc", "max_sun_alt_deg"},
                        {lc.c3, "c3_utc", "c3_sun_alt_deg"},
                        {lc.c4, "c4_utc", "c4_sun_alt_deg"}};
        for (const auto& c : contacts) {
            SCOPED_TRACE(c.time);
            if (row.at(c.time).empty()) {
                EXPECT_FALSE(c.event.has_value());
                continue;
            }
            ASSERT_TRUE(c.event.has_value());
            // Cut to the whole second, and 0.25 s of ΔT uncertainty.
            EXPECT_NEAR(SecondsApart(c.event, row.at(c.time), e.deltaT, theirDeltaT), 0.0,
                        timeTolerance);
            // Altitudes are given to 0.1 degree (the first row to whole degrees).
            const std::string alt = row.at(c.altitude);
            const double step = alt.find('.') == std::string::npos ? 0.5 : 0.05;
            EXPECT_NEAR(c.event->sun.altitude, std::stod(alt), step + altitudeTolerance);
        }
    }
}

// Geometry checks that need no table: a place on the central line at greatest
// eclipse sees the Moon's diameter ratio as magnitude; a total eclipse covers the
// whole area; refraction at the horizon is the standard 34 arcminutes.
TEST(LocalCircumstances, RefractionAndMagnitudeDefinitions) {
    EXPECT_NEAR(StandardRefraction(0.0) * 60.0, 29.0, 1.0);
    EXPECT_NEAR(StandardRefraction(90.0), 0.0, 1e-4);
    EXPECT_NEAR(StandardRefraction(45.0) * 60.0, 1.0, 0.05);
    EXPECT_EQ(StandardRefraction(-3.0), 0.0);

    const PolynomialElements e = CanonElements("2024-04-08");
    // Greatest eclipse 2024 April 8, 25.3 N 104.1 W (catalogue): Moon/Sun ratio
    // 1.0566 there.
    const LocalCircumstances lc = ComputeLocalCircumstances(e, {25.3, -104.1, 0.0});
    EXPECT_EQ(lc.kind, EclipseKind::Total);
    EXPECT_NEAR(lc.magnitude, 1.0566, 0.0005);
    EXPECT_DOUBLE_EQ(lc.obscuration, 1.0);
    EXPECT_NEAR(lc.duration, 268.0, 3.0); // the catalogue's central duration
    EXPECT_NEAR(lc.max->sun.altitude, 69.8, 0.15);
    EXPECT_NEAR(lc.max->sun.azimuth, 149.4, 0.3);
    EXPECT_TRUE(lc.visible);
}

// Greatest eclipse and the eclipse of a day from this program's ephemeris against
// the catalogue (UT of greatest eclipse within the ΔT difference and the theories'
// minute-level spread).
TEST(LocalSearch, EclipseOnDateMatchesCatalogue) {
    for (const std::string date : {"2017-08-21", "2024-04-08", "2026-08-12"}) {
        SCOPED_TRACE(date);
        const int year = std::stoi(date.substr(0, 4));
        const int month = std::stoi(date.substr(5, 2));
        const int day = std::stoi(date.substr(8, 2));
        const double jd0 = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
        const std::optional<EclipseCircumstances> f = EclipseOnDate(jd0, Ephemeris::Classic);
        ASSERT_TRUE(f.has_value());
        const PolynomialElements canon = CanonElements(date);
        const double t = GreatestEclipseHours(canon);
        const ElementsOfT g = EvaluateElements(canon, t);
        const double canonGamma = std::copysign(std::hypot(g.x, g.y), g.y);
        const double canonTT = canon.jdT0 + t / 24.0;
        EXPECT_NEAR((f->jdGreatestTT - canonTT) * kSecondsPerDay, 0.0, 30.0);
        EXPECT_NEAR(f->gamma, canonGamma, 0.003);
        // The day before holds none.
        EXPECT_FALSE(EclipseOnDate(jd0 - 1.0, Ephemeris::Classic).has_value());
    }
    // A full moon day (2024 March 25, penumbral lunar eclipse): no solar eclipse.
    EXPECT_FALSE(
        EclipseOnDate(CalendarToJulianDay(25, 3, 2024, 0.0, 0, 0), Ephemeris::Classic).has_value());
}

// The next eclipse seen from a place: Dallas after New Year 2024 saw the total eclipse
// of April 8; Madrid after New Year 2026 the (partial) one of August 12; Sydney,
// where the April eclipse was below the horizon, sees neither.
TEST(LocalSearch, NextEclipseSeenFromPlace) {
    const double jd2024 = CalendarToJulianDay(1, 1, 2024, 0.0, 0, 0);
    const std::optional<LocalEclipse> dallas =
        NextLocalEclipse(jd2024, {32.78306, -96.80667, 139.0}, 10.0, Ephemeris::Classic);
    ASSERT_TRUE(dallas.has_value());
    EXPECT_EQ(JulianDayToCalendarDate(dallas->eclipse.jdGreatestUT).month, 4);
    EXPECT_EQ(dallas->local.kind, EclipseKind::Total);
    EXPECT_NEAR(dallas->local.duration, 230.0, 10.0);

    const std::optional<LocalEclipse> madrid =
        NextLocalEclipse(CalendarToJulianDay(1, 1, 2026, 0.0, 0, 0), {40.4165, -3.70256, 667.0},
                         10.0, Ephemeris::Classic);
    ASSERT_TRUE(madrid.has_value());
    const CalendarDate m = JulianDayToCalendarDate(madrid->eclipse.jdGreatestUT);
    EXPECT_EQ(m.year, 2026);
    EXPECT_EQ(m.month, 8);
    EXPECT_EQ(madrid->local.kind, EclipseKind::Partial);

    // Sydney: the eclipses of 2024 are not seen there (the 2024 April one is at night,
    // the October one south-east of it misses); the next one lies later.
    const std::optional<LocalEclipse> sydney =
        NextLocalEclipse(jd2024, {-33.86785, 151.20732, 58.0}, 30.0, Ephemeris::Classic);
    ASSERT_TRUE(sydney.has_value());
    EXPECT_TRUE(sydney->local.visible);
    EXPECT_GT(sydney->eclipse.jdGreatestUT, CalendarToJulianDay(1, 1, 2025, 0.0, 0, 0));
}

} // namespace

namespace {

double Percentile(std::vector<double> v, double q) {
    std::sort(v.begin(), v.end());
    return v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1))];
}

// Places around each eclipse of the catalogue from 1950 to 2100 (where ΔT is known or
// nearly so), on and around the central line: the local circumstances from this
// program's own ephemeris against those from the canon's elements, compared in TT.
// Places within 5 km of a path limit are compared for the outer contacts only.
struct WorldwideSpread {
    std::vector<double> contact, magnitude, altitude, duration; // s, 1, degrees, s
    int kindMismatches = 0;
    int places = 0;
};

// Places on a grid around each greatest eclipse of 1950-2100 in the catalogue
// sample, seen through the engine's elements and through the canon's.
WorldwideSpread SpreadAgainstCanonElements(Ephemeris engine) {
    WorldwideSpread spread;
    std::vector<double>& contactErrors = spread.contact;
    std::vector<double>& magnitudeErrors = spread.magnitude;
    std::vector<double>& altitudeErrors = spread.altitude;
    std::vector<double>& durationErrors = spread.duration;
    int& kindMismatches = spread.kindMismatches;
    int& places = spread.places;
    for (const CsvRow& row : ReadCsv("eclipse_catalogue_sample.csv")) {
        const std::string date = row.at("date_ut_iso").substr(0, 10);
        const int year = std::stoi(date.substr(0, 4));
        if (row.at("date_ut_iso")[0] == '-' || year < 1950 || year > 2100)
            continue;
        SCOPED_TRACE(date);
        PolynomialElements canon = CanonElements(date);
        const std::optional<EclipseCircumstances> own =
            EclipseOnDate(CalendarToJulianDay(std::stoi(date.substr(8, 2)),
                                              std::stoi(date.substr(5, 2)), year, 0.0, 0, 0),
                          engine);
        EXPECT_TRUE(own.has_value());
        if (!own)
            continue;
        // The canon's shadow with this program's Delta T, so that the Earth turns alike.
        canon.deltaT = own->elements.deltaT;
        const double lat0 = std::stod(row.at("lat"));
        const double lon0 = std::stod(row.at("lon"));
        for (double dLat = -12.0; dLat <= 12.0; dLat += 3.0) {
            for (double dLon = -30.0; dLon <= 30.0; dLon += 7.5) {
                const Observer o{std::clamp(lat0 + dLat, -89.0, 89.0), lon0 + dLon, 0.0};
                const LocalCircumstances ref = ComputeLocalCircumstances(canon, o);
                if (ref.kind == EclipseKind::None)
                    continue;
                const LocalCircumstances got = ComputeLocalCircumstances(own->elements, o);
                ++places;
                // Near a limit: a partial eclipse within 1.5 % of central or a central one
                // of less than 40 s (a few km from the edge).
                const bool nearLimit =
                    (ref.kind == EclipseKind::Partial && ref.magnitude > 0.985) ||
                    (ref.kind != EclipseKind::Partial && ref.duration < 40.0);
                if (!nearLimit && got.kind != ref.kind)
                    ++kindMismatches;
                if (got.kind == EclipseKind::None)
                    continue;
                auto tt = [](const std::optional<LocalEvent>& e, const PolynomialElements& el) {
                    return e->jdUT + el.deltaT / kSecondsPerDay;
                };
                for (const auto member :
                     {&LocalCircumstances::c1, &LocalCircumstances::c4, &LocalCircumstances::max}) {
                    contactErrors.push_back(
                        std::fabs(tt(got.*member, own->elements) - tt(ref.*member, canon)) *
                        kSecondsPerDay);
                }
                if (!nearLimit && ref.c2 && got.c2) {
                    contactErrors.push_back(
                        std::fabs(tt(got.c2, own->elements) - tt(ref.c2, canon)) * kSecondsPerDay);
                    contactErrors.push_back(
                        std::fabs(tt(got.c3, own->elements) - tt(ref.c3, canon)) * kSecondsPerDay);
                    durationErrors.push_back(std::fabs(got.duration - ref.duration));
                }
                magnitudeErrors.push_back(std::fabs(got.magnitude - ref.magnitude));
                magnitudeErrors.push_back(std::fabs(got.obscuration - ref.obscuration));
                altitudeErrors.push_back(std::fabs(got.max->sun.altitude - ref.max->sun.altitude));
                altitudeErrors.push_back(std::fabs(got.c1->sun.altitude - ref.c1->sun.altitude));
            }
        }
    }
    std::printf("%s: places %d, contacts %zu: median %.2f s, 95%% %.2f s, 99%% %.2f s, max "
                "%.2f s\n",
                std::string(EphemerisName(engine)).c_str(), places, contactErrors.size(),
                Percentile(contactErrors, 0.5), Percentile(contactErrors, 0.95),
                Percentile(contactErrors, 0.99), Percentile(contactErrors, 1.0));
    std::printf("magnitude/obscuration: 95%% %.5f max %.5f; altitude max %.3f deg; duration "
                "(%zu) median %.2f max %.2f s; kind mismatches %d\n",
                Percentile(magnitudeErrors, 0.95), Percentile(magnitudeErrors, 1.0),
                Percentile(altitudeErrors, 1.0), durationErrors.size(),
                durationErrors.empty() ? 0.0 : Percentile(durationErrors, 0.5),
                durationErrors.empty() ? 0.0 : Percentile(durationErrors, 1.0), kindMismatches);
    return spread;
}

TEST(LocalCircumstances, OwnEphemerisAgainstCanonElementsWorldwide) {
    const WorldwideSpread s = SpreadAgainstCanonElements(Ephemeris::Classic);
    EXPECT_GT(s.places, 200);
    // The theories' spread: x and y differ from the canon's by up to 0.0015 Earth radii.
    EXPECT_LT(Percentile(s.contact, 0.95), 12.0);
    EXPECT_LT(Percentile(s.contact, 1.0), 40.0);
    EXPECT_LT(Percentile(s.magnitude, 0.95), 0.003);
    EXPECT_LT(Percentile(s.altitude, 1.0), 0.15);
    EXPECT_LE(s.kindMismatches, 2);
}

TEST(LocalCircumstances, PreciseEphemerisAgainstCanonElementsWorldwide) {
    const WorldwideSpread s = SpreadAgainstCanonElements(Ephemeris::Precise);
    EXPECT_GT(s.places, 200);
    // x and y within 0.00015 Earth radii of the canon's: contacts within a second.
    EXPECT_LT(Percentile(s.contact, 0.99), 0.5);
    EXPECT_LT(Percentile(s.contact, 1.0), 2.0);
    EXPECT_LT(Percentile(s.magnitude, 1.0), 0.0002);
    EXPECT_LT(Percentile(s.altitude, 1.0), 0.01);
    EXPECT_EQ(s.kindMismatches, 0);
}

} // namespace

namespace {

// The finder's point of greatest eclipse from the canon's elements against the
// catalogue's (0.1 degree).
TEST(LocalCircumstances, GreatestEclipsePointFromCanonElements) {
    for (const std::string date : {"2017-08-21", "2024-04-08", "2026-08-12"}) {
        SCOPED_TRACE(date);
        const PolynomialElements e = CanonElements(date);
        const std::optional<EclipseCircumstances> c =
            CircumstancesOf(e, LunationNear(e.jdT0), Ephemeris::Classic);
        ASSERT_TRUE(c.has_value());
        for (const CsvRow& row : ReadCsv("eclipse_catalogue_sample.csv")) {
            if (row.at("date_ut_iso").substr(0, 10) != date)
                continue;
            EXPECT_TRUE(c->central);
            EXPECT_NEAR(c->lat, std::stod(row.at("lat")), 0.06);
            EXPECT_NEAR(c->lon, std::stod(row.at("lon")), 0.06);
            EXPECT_NEAR(c->gamma, std::stod(row.at("gamma")), 0.0001);
        }
    }
}

} // namespace

namespace {

// Every eclipse of the catalogue from the year 1000 on is found on its UT date, with
// greatest eclipse within the theories' drift from the canon's (minutes by 1000 and
// 3000, seconds today).
TEST(LocalSearch, EveryCatalogueEclipseFromYear1000IsFoundOnItsDate) {
    int checked = 0;
    for (const CsvRow& row : ReadCsv("eclipse_catalogue_sample.csv")) {
        const std::string iso = row.at("date_ut_iso");
        if (iso[0] == '-' || std::stoi(iso.substr(0, 4)) < 1000)
            continue;
        SCOPED_TRACE(iso);
        const int year = std::stoi(iso.substr(0, 4));
        const double jd0 = CalendarToJulianDay(std::stoi(iso.substr(8, 2)),
                                               std::stoi(iso.substr(5, 2)), year, 0.0, 0, 0);
        const std::optional<EclipseCircumstances> f = EclipseOnDate(jd0, Ephemeris::Classic);
        ASSERT_TRUE(f.has_value());
        const double tt = f->jdGreatestTT;
        const double allowedMinutes = year >= 1900 && year <= 2100 ? 0.5 : 6.0;
        EXPECT_NEAR((tt - std::stod(row.at("jd_td"))) * 1440.0, 0.0, allowedMinutes);
        EXPECT_NEAR(f->gamma, std::stod(row.at("gamma")), 0.003);
        ++checked;
    }
    EXPECT_GT(checked, 50);
}

} // namespace

namespace {

// The precise engine with this program's own Delta T against the sample table, compared in
// TT. The table's UT embeds the canon's Delta T, 1.5 s above the observed one in 2017; on
// the rotating Earth that moves the contacts of places near the path by half as much in
// TT, and a Delta T 5 s off by 2 to 3 s, which fails here.
TEST(LocalCircumstances, PreciseEngineNearSampleTable) {
    const std::optional<EclipseCircumstances> f =
        EclipseOnDate(ParseIsoInstant("2017-08-21T00:00:00"), Ephemeris::Precise);
    ASSERT_TRUE(f.has_value());
    CheckAgainstSample(f->elements, {1.0, 0.0001, 0.02, 0.03, 0.3}, false);
}

} // namespace
