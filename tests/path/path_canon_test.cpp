// The path of the shadow against the canon's Besselian elements, evaluated
// independently (canon.h), and against the widths and durations the canon
// publishes at greatest eclipse.
#include "canon.h"

#include "eclipse/circumstances.h"
#include "eclipse/path.h"
#include "ephemeris/delta_t.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

std::string DataFile(const char* name) {
    return std::string(KESTROVA_TEST_DATA_DIR) + "/" + name;
}

// The canon's elements with the given Delta T (which places t0 in UT and turns the
// ephemeris hour angle into the Earth's).
PolynomialElements ToPolynomials(const canon::Elements& c, double deltaT) {
    PolynomialElements e;
    e.jdT0 = c.jdT0;
    e.deltaT = deltaT;
    for (std::size_t k = 0; k < 4; ++k) {
        e.x[k] = c.x[k];
        e.y[k] = c.y[k];
        e.d[k] = c.d[k];
        e.mu[k] = c.mu[k];
        e.l1[k] = c.l1[k];
        e.l2[k] = c.l2[k];
    }
    e.tanF1 = c.tanF1;
    e.tanF2 = c.tanF2;
    return e;
}

double LonDifference(double a, double b) {
    double d = std::fmod(std::fabs(a - b), 360.0);
    return d > 180.0 ? 360.0 - d : d;
}

struct Tolerance {
    double degrees, widthKm, durationS;
    // An error of the shadow axis on the fundamental plane (km) moves a place
    // by that much over sin(altitude) along the Sun's azimuth; 0 for none.
    double axisKm = 0.0;
    double altitudeDeg = 0.05;
    double minSunAltitude = 5.0; // rows with a lower Sun are not checked
    double floorKm = 0.0;        // added to axisKm / sin(altitude)
    double minWidthKm = 0.0;     // narrower rows (a hybrid path's ends) keep their width unchecked
};

// Tolerances in latitude and longitude at a place.
std::array<double, 2> Degrees(const Tolerance& tol, double lat, double sunAltitude) {
    const double km = tol.floorKm + tol.axisKm / std::sin(sunAltitude * canon::kRad);
    const double latDeg = std::max(tol.degrees, km / 111.2);
    return {latDeg, std::max(tol.degrees, latDeg / std::cos(lat * canon::kRad))};
}

// Every row with the Sun above tol.minSunAltitude against the canon's shadow read with
// deltaT; returns the number of rows checked.
int CheckRows(const EclipsePath& path, const canon::Elements& c, double deltaT,
              const Tolerance& tol) {
    int checked = 0;
    for (const PathRow& r : path.centralLine) {
        if (r.sunAltitude < tol.minSunAltitude)
            continue;
        ++checked;
        SCOPED_TRACE(c.date + " row at JD " + std::to_string(r.jd));
        const canon::Shadow s = canon::ShadowAt(c, r.jd, deltaT);
        canon::Vec axis{};
        if (!canon::AxisPoint(s, axis)) {
            ADD_FAILURE() << "the canon's axis misses the Earth";
            continue;
        }
        const auto g = canon::Geodetic(axis);
        const auto deg = Degrees(tol, g[0], r.sunAltitude);
        EXPECT_NEAR(r.central.lat, g[0], deg[0]);
        EXPECT_LT(LonDifference(r.central.lon, g[1]), deg[1]);
        const double sunAlt = std::asin(canon::Dot(canon::Up(g[0], g[1]), s.k)) / canon::kRad;
        EXPECT_NEAR(r.sunAltitude, sunAlt, tol.altitudeDeg);
        for (const int side : {1, -1}) {
            // A limit that has left the sunlit Earth is left out, as in published
            // tables; within 3 km of the limb (on the fundamental plane) either may be.
            const std::optional<GeoPoint>& limit = side > 0 ? r.north : r.south;
            const double beyond = canon::EdgeBeyondLimb(c, deltaT, r.jd, side);
            if (!limit) {
                EXPECT_GT(beyond, -5e-4) << "a limit on the Earth is missing, side " << side;
                continue;
            }
            EXPECT_LT(beyond, 5e-4) << "a limit beyond the limb, side " << side;
            const auto n =
                canon::NearestLimit(c, deltaT, limit->lat, limit->lon, r.jd, canon::UmbraMargin);
            const auto limitDeg = Degrees(tol, n[0], r.sunAltitude);
            EXPECT_NEAR(limit->lat, n[0], limitDeg[0]);
            EXPECT_LT(LonDifference(limit->lon, n[1]), limitDeg[1]);
        }
        if (r.north && r.south) {
            EXPECT_GT(r.north->lat - r.south->lat, -10.0) << "north and south swapped";
        }
        if (r.widthKm > tol.minWidthKm) {
            EXPECT_NEAR(r.widthKm, canon::Width(c, deltaT, r.jd), tol.widthKm) << "width, km";
        }
        EXPECT_NEAR(r.durationSeconds, canon::Duration(c, deltaT, axis, r.jd), tol.durationS);
        // The published width is not the distance between the limits across the path,
        // but lies within 1.5 % of it.
        if (r.limitsDistanceKm > 0.0) {
            EXPECT_NEAR(r.limitsDistanceKm / r.widthKm, 1.0, 0.02)
                << "limits " << r.limitsDistanceKm << " km apart, width " << r.widthKm << " km";
        }
    }
    return checked;
}

class ReferenceEclipses : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        for (const canon::Elements& c : canon::ReadReference(DataFile("solar_eclipses.csv")))
            if (c.central)
                central_.push_back(c);
    }
    static std::vector<canon::Elements> central_;
};
std::vector<canon::Elements> ReferenceEclipses::central_;

// The geometry alone: the canon's own elements through the path computation, down to
// a Sun 5 degrees high (the independent limit search is good to some 0.03 km / sin(altitude)).
TEST_F(ReferenceEclipses, GeometryFromTheCanonsElementsMatchesAnIndependentEvaluation) {
    ASSERT_GE(central_.size(), 20u);
    int rows = 0;
    for (const canon::Elements& c : central_) {
        const EclipsePath path = ComputeEclipsePath(ToPolynomials(c, c.deltaT));
        ASSERT_TRUE(path.central) << c.date;
        rows += CheckRows(path, c, c.deltaT, {0.002, 0.02, 0.3, 0.03});
        // The ends of the central line lie on the sunrise and sunset limb.
        EXPECT_LT(std::fabs(path.centralLine.front().sunAltitude), 0.1) << c.date;
        EXPECT_LT(std::fabs(path.centralLine.back().sunAltitude), 0.1) << c.date;
    }
    EXPECT_GT(rows, 2500);
}

// The program's own ephemeris against the canon. Its Moon from principal terms
// puts the shadow axis up to 0.0011 Earth radii (7 km) off the canon's on the
// fundamental plane: 0.1 degrees with the Sun high, more as it sinks.
TEST_F(ReferenceEclipses, ProgramPathAgreesWithTheCanon) {
    int rows = 0;
    for (const canon::Elements& c : central_) {
        const EclipsePath path = EclipsePathOfDate(canon::JdOfDate(c.date), Ephemeris::Classic);
        ASSERT_TRUE(path.central) << c.date;
        const double deltaT = DeltaTSeconds(path.greatest.jd);
        Tolerance tol{0.1, 2.0, 3.0, 7.0, 0.5};
        tol.minSunAltitude = 10.0;
        rows += CheckRows(path, c, deltaT, tol);
    }
    EXPECT_GT(rows, 2500);
}

// The precise engine with its own Delta T: the canon's shadow to within
// 0.2 km + 0.3 km / sin(altitude) on the ground, widths within 0.3 km and
// durations within 0.3 s, wherever the Sun is above 5 degrees. Widths below 3 km
// (the ends of the hybrid path of 1986 October 3, where the umbra shrinks to a
// point) go unchecked: the engine's l1 and l2 stand 2e-6 Earth radii above the
// canon's there, up to 0.36 km of width with the Sun at 5 degrees.
TEST_F(ReferenceEclipses, PrecisePathAgreesWithTheCanon) {
    int rows = 0;
    for (const canon::Elements& c : central_) {
        const EclipsePath path = EclipsePathOfDate(canon::JdOfDate(c.date), Ephemeris::Precise);
        ASSERT_TRUE(path.central) << c.date;
        const double deltaT = DeltaTSeconds(path.greatest.jd, Ephemeris::Precise);
        Tolerance tol{0.0, 0.3, 0.3, 0.3, 0.05};
        tol.floorKm = 0.2;
        tol.minWidthKm = 3.0;
        rows += CheckRows(path, c, deltaT, tol);
    }
    EXPECT_GT(rows, 2500);
}

TEST_F(ReferenceEclipses, PartialLimitsAndSunriseCurvesLieWhereTheCanonPutsThem) {
    for (const canon::Elements& c : central_) {
        SCOPED_TRACE(c.date);
        const double deltaT = c.deltaT;
        const EclipsePath path = ComputeEclipsePath(ToPolynomials(c, deltaT));
        int limitPoints = 0;
        for (const auto* curves : {&path.penumbraNorth, &path.penumbraSouth})
            for (const TimedCurve& curve : *curves)
                for (std::size_t k = 0; k < curve.size(); k += 7) {
                    const TimedPoint& p = curve[k];
                    const canon::Shadow s = canon::ShadowAt(c, p.jd, deltaT);
                    const canon::Vec place = canon::Surface(p.point.lat, p.point.lon);
                    if (canon::Dot(place, s.k) < 0.1)
                        continue; // near the limb the nearest limit point is ill-defined
                    const auto n = canon::NearestLimit(c, deltaT, p.point.lat, p.point.lon, p.jd,
                                                       canon::PenumbraMargin);
                    EXPECT_NEAR(p.point.lat, n[0], 0.01);
                    EXPECT_LT(LonDifference(p.point.lon, n[1]),
                              0.01 / std::cos(n[0] * canon::kRad));
                    ++limitPoints;
                }
        EXPECT_GT(limitPoints, 5);
        ASSERT_FALSE(path.riseSetCurves.empty());
        for (const TimedCurve& curve : path.riseSetCurves)
            for (const TimedPoint& p : curve) {
                const canon::Shadow s = canon::ShadowAt(c, p.jd, deltaT);
                const canon::Vec place = canon::Surface(p.point.lat, p.point.lon);
                // On the penumbra's edge, with the Sun on the horizon.
                EXPECT_NEAR(canon::PenumbraMargin(s, place), 0.0, 2e-4);
                EXPECT_NEAR(canon::Dot(canon::Up(p.point.lat, p.point.lon), s.k), 0.0, 2e-3);
            }
    }
}

// path_width_km and central_duration_s of the canon's data sheets at greatest
// eclipse, for the central eclipses of 1600 to 2200 in the catalogue sample.
// The outlines of both cones at whole hours (the map's hourly penumbra outlines):
// every point lies on the cone's edge at its own height, in an evaluation of the
// canon's elements that shares no code with the path (a point 1 km off the edge
// misses by 1.6e-4 Earth radii; without the height term the outlines lie 19 to 28 km off).
TEST_F(ReferenceEclipses, HourlyOutlinesLieOnTheConesEdge) {
    int points = 0;
    for (const canon::Elements& c : central_) {
        const PolynomialElements e = ToPolynomials(c, c.deltaT);
        const double jdGreatest = GreatestEclipseOf(e).jd;
        for (int hour = -3; hour <= 3; ++hour) {
            const double jd = std::round((jdGreatest - 0.5) * 24.0 + hour) / 24.0 + 0.5;
            const canon::Shadow s = canon::ShadowAt(c, jd, c.deltaT);
            for (const bool umbra : {false, true}) {
                for (const auto& run : ShadowOutlineAt(e, jd, umbra)) {
                    for (const GeoPoint& p : run) {
                        const canon::Vec place = canon::Surface(p.lat, p.lon);
                        const double margin =
                            umbra ? canon::UmbraMargin(s, place) : canon::PenumbraMargin(s, place);
                        ASSERT_LT(std::fabs(margin), 2e-5)
                            << c.date << " hour " << hour << (umbra ? " umbra" : " penumbra")
                            << " at " << p.lat << ", " << p.lon;
                        // On the Sun's side of the Earth.
                        EXPECT_GT(canon::Dot(canon::Up(p.lat, p.lon), s.k), -0.01);
                        ++points;
                    }
                }
            }
        }
    }
    EXPECT_GT(points, 40000);
}

TEST(PublishedPathTables, WidthAndDurationAtGreatestEclipse) {
    int checked = 0;
    for (const canon::Elements& c :
         canon::ReadCatalogue(DataFile("eclipse_catalogue_sample.csv"))) {
        if (!c.central)
            continue;
        SCOPED_TRACE(c.date);
        const EclipsePath path = EclipsePathOfDate(canon::JdOfDate(c.date), Ephemeris::Classic);
        ASSERT_TRUE(path.central);
        const auto nearest = std::min_element(path.centralLine.begin(), path.centralLine.end(),
                                              [&](const PathRow& a, const PathRow& b) {
                                                  return std::fabs(a.jd - path.greatest.jd) <
                                                         std::fabs(b.jd - path.greatest.jd);
                                              });
        ASSERT_NE(nearest, path.centralLine.end());
        EXPECT_NEAR(nearest->widthKm, c.widthKm, 2.0);
        EXPECT_NEAR(nearest->durationSeconds, c.durationS, 3.0);
        ++checked;
    }
    EXPECT_GE(checked, 5);
}

// The catalogue's widths at greatest eclipse from its own elements, over its five
// millennia: the published definition (canon::Width) to the catalogue's rounding,
// also with the Sun at 12 to 20 degrees, where other sections of the shadow part from
// it by kilometres.
TEST(PublishedPathTables, WidthAtGreatestEclipseFromTheCanonsElements) {
    int checked = 0;
    int lowSun = 0;
    for (const canon::Elements& c :
         canon::ReadCatalogue(DataFile("eclipse_catalogue_sample.csv"), -1999, 3000)) {
        if (!c.central)
            continue;
        const auto got = CircumstancesOf(ToPolynomials(c, c.deltaT), 0, Ephemeris::Precise);
        ASSERT_TRUE(got && got->hasPathWidth) << c.date;
        EXPECT_NEAR(got->pathWidthKm, c.widthKm, 0.06) << c.date << " width, km";
        ++checked;
        lowSun += got->sunAltitude < 20.0 ? 1 : 0;
    }
    EXPECT_GE(checked, 70);
    EXPECT_GE(lowSun, 5);
}

// The finder's fitted elements, put in the canon's cubic form (higher terms dropped),
// give the same path: the fit's higher terms are the small corrections they should be.
TEST(PolynomialElements, CubicFormOfTheFitGivesTheSamePath) {
    const EclipsePath own = EclipsePathOfDate(canon::JdOfDate("2024-04-08"), Ephemeris::Classic);
    ASSERT_TRUE(own.central);
    PolynomialElements cubic = own.elements;
    for (ElementPolynomial* p : {&cubic.x, &cubic.y, &cubic.d, &cubic.l1, &cubic.l2, &cubic.mu})
        for (std::size_t k = 4; k < p->size(); ++k)
            (*p)[k] = 0.0;
    const EclipsePath other = ComputeEclipsePath(cubic);
    ASSERT_TRUE(other.central);
    EXPECT_NEAR(other.greatest.jd, own.greatest.jd, 1.0 / 86400.0);
    EXPECT_NEAR(other.greatest.point.lat, own.greatest.point.lat, 0.002);
    EXPECT_NEAR(other.greatest.point.lon, own.greatest.point.lon, 0.002);
}

// 2024 April 8: greatest duration 4 min 28 s, width 198 km; 2006 March 29: 4 min 7 s, 184 km.
TEST(PublishedPathTables, GreatestDurationAndWidth) {
    const struct {
        double jdDate, durationS, widthKm;
    } cases[] = {{canon::JdOfDate("2024-04-08"), 268.0, 198.0},
                 {canon::JdOfDate("2006-03-29"), 247.0, 184.0}};
    for (const auto& c : cases) {
        const EclipsePath path = EclipsePathOfDate(c.jdDate, Ephemeris::Classic);
        ASSERT_TRUE(path.central);
        EXPECT_EQ(path.kind, EclipseKind::Total);
        const auto longest = std::max_element(path.centralLine.begin(), path.centralLine.end(),
                                              [](const PathRow& a, const PathRow& b) {
                                                  return a.durationSeconds < b.durationSeconds;
                                              });
        EXPECT_NEAR(longest->durationSeconds, c.durationS, 3.0);
        EXPECT_NEAR(longest->widthKm, c.widthKm, 2.0);
        // The refined point of greatest duration lies between the longest minute's
        // neighbours on the central line, at least as long as that minute and as long
        // as the published figure.
        ASSERT_TRUE(path.greatestDuration);
        const PathRow& g = *path.greatestDuration;
        EXPECT_GE(g.durationSeconds, longest->durationSeconds);
        EXPECT_LT(g.durationSeconds, longest->durationSeconds + 0.5);
        EXPECT_NEAR(g.durationSeconds, c.durationS, 3.0);
        EXPECT_LT(std::fabs(g.jd - longest->jd), 1.0 / 1440.0);
        EXPECT_LT(ChordKm(g.central, longest->central), 40.0);
    }
}

TEST(EclipsePathOfDate, DatesWithoutACentralLine) {
    // 2022 October 25: partial only. 2022 October 26: no eclipse at all.
    const EclipsePath partial =
        EclipsePathOfDate(canon::JdOfDate("2022-10-25"), Ephemeris::Classic);
    EXPECT_EQ(partial.kind, EclipseKind::Partial);
    EXPECT_FALSE(partial.central);
    EXPECT_TRUE(partial.centralLine.empty());
    EXPECT_FALSE(partial.penumbraNorth.empty() && partial.penumbraSouth.empty());
    EXPECT_EQ(EclipsePathOfDate(canon::JdOfDate("2022-10-26"), Ephemeris::Classic).kind,
              EclipseKind::None);
    // 2023 April 20 is hybrid: annular at both ends, total in the middle.
    EXPECT_EQ(EclipsePathOfDate(canon::JdOfDate("2023-04-20"), Ephemeris::Classic).kind,
              EclipseKind::Hybrid);
}

// The non-central annular eclipse of 2014 April 29: the antumbra grazes
// Antarctica, so one limit exists and no central line.
TEST(EclipsePathOfDate, NonCentralEclipseHasOneLimit) {
    const EclipsePath path = EclipsePathOfDate(canon::JdOfDate("2014-04-29"), Ephemeris::Classic);
    EXPECT_EQ(path.kind, EclipseKind::Annular);
    EXPECT_FALSE(path.central);
    EXPECT_TRUE(path.centralLine.empty());
    EXPECT_NE(path.umbraNorth.empty(), path.umbraSouth.empty());
}

} // namespace
