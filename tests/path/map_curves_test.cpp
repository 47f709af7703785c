// The lines of maximum eclipse, the curves of maximum at sunrise and sunset and the
// lines of equal magnitude, checked place by place against the local circumstances
// (eclipse/local.h), which find a place's maximum and magnitude their own way from its
// geocentric coordinates; all from the canon's elements.
#include "eclipse/local_data.h"

#include "eclipse/local.h"
#include "eclipse/map_curves.h"
#include "eclipse/polynomial_elements.h"

#include <gtest/gtest.h>

#include <cmath>
#include <optional>
#include <string>

namespace {

struct Checked {
    int places = 0;
    double worstSeconds = 0.0;
    double worstMagnitude = 0.0;
    double worstAltitude = 0.0;
};

// The place sees its maximum at jd (UT), with the given magnitude and the Sun on
// the horizon where asked.
void CheckPlace(const PolynomialElements& p, const GeoPoint& g, double jd,
                std::optional<double> magnitude, bool onHorizon, Checked& checked,
                const std::string& what) {
    const LocalCircumstances lc = ComputeLocalCircumstances(p, {g.lat, g.lon, 0.0});
    ASSERT_TRUE(lc.max.has_value()) << what << " at " << g.lat << ", " << g.lon;
    const double seconds = std::fabs(lc.max->jdUT - jd) * 86400.0;
    EXPECT_LT(seconds, 1.0) << what << " at " << g.lat << ", " << g.lon;
    checked.worstSeconds = std::max(checked.worstSeconds, seconds);
    if (magnitude) {
        EXPECT_NEAR(lc.magnitude, *magnitude, 0.002) << what << " at " << g.lat << ", " << g.lon;
        checked.worstMagnitude =
            std::max(checked.worstMagnitude, std::fabs(lc.magnitude - *magnitude));
    }
    if (onHorizon) {
        // Zero on the fundamental plane is the horizon of the geocentric vertical, within
        // 0.2 degrees of the geodetic one.
        EXPECT_NEAR(lc.max->sun.altitude, 0.0, 0.25) << what << " at " << g.lat << ", " << g.lon;
        checked.worstAltitude = std::max(checked.worstAltitude, std::fabs(lc.max->sun.altitude));
    }
    ++checked.places;
}

TEST(MapCurves, EveryCurveAgreesWithTheLocalCircumstancesOfItsPlaces) {
    // Total, annular, partial, and two paths near the poles.
    for (const std::string date :
         {"2024-04-08", "2023-10-14", "2025-03-29", "2021-12-04", "2026-08-12"}) {
        SCOPED_TRACE(date);
        const PolynomialElements p = CanonElements(date);
        const EclipsePath path = ComputeEclipsePath(p);
        const MapCurves curves = ComputeMapCurves(path);
        Checked checked;

        // Lines of maximum every ten minutes from the first maximum seen at sunrise to
        // the last seen at sunset.
        ASSERT_FALSE(curves.riseSetMaxima.empty());
        double firstSeen = INFINITY, lastSeen = -INFINITY;
        for (const TimedCurve& c : curves.riseSetMaxima)
            for (const TimedPoint& t : c) {
                firstSeen = std::min(firstSeen, t.jd);
                lastSeen = std::max(lastSeen, t.jd);
            }
        ASSERT_GE(curves.maximumLines.size(), 10u);
        EXPECT_NEAR(curves.maximumLines.front().jd - firstSeen, 5.0 / 1440.0, 5.0 / 1440.0);
        EXPECT_NEAR(lastSeen - curves.maximumLines.back().jd, 5.0 / 1440.0, 5.0 / 1440.0);
        for (std::size_t k = 1; k < curves.maximumLines.size(); ++k)
            EXPECT_NEAR((curves.maximumLines[k].jd - curves.maximumLines[k - 1].jd) * 1440.0,
                        kMaximumLineMinutes, 1e-6);
        for (const MaximumLine& line : curves.maximumLines)
            for (const auto& piece : line.pieces)
                for (std::size_t k = 1; k + 1 < piece.size(); k += 7)
                    CheckPlace(p, piece[k], line.jd, std::nullopt, false, checked, "maximum");

        for (const TimedCurve& c : curves.riseSetMaxima)
            for (std::size_t k = 2; k + 2 < c.size(); k += 5)
                CheckPlace(p, c[k].point, c[k].jd, std::nullopt, true, checked, "rise or set");

        ASSERT_EQ(curves.magnitudeLines.size(), kMagnitudeLineValues.size());
        for (const MagnitudeLine& line : curves.magnitudeLines) {
            // Every magnitude up to the eclipse's own is seen somewhere (0.94 in 2025).
            EXPECT_FALSE(line.pieces.empty()) << line.magnitude;
            // Each ends where its maximum falls at sunrise or sunset, not short of it
            // where the line turns back in time near the limb.
            for (const TimedCurve& c : line.pieces) {
                const std::string what = "magnitude " + std::to_string(line.magnitude);
                for (std::size_t k = 9; k + 1 < c.size(); k += 9)
                    CheckPlace(p, c[k].point, c[k].jd, line.magnitude, false, checked, what);
                for (const TimedPoint* end : {&c.front(), &c.back()})
                    CheckPlace(p, end->point, end->jd, line.magnitude, true, checked, what);
            }
        }
        EXPECT_GT(checked.places, 150);
        std::printf("%s: %d places, worst %.3f s, magnitude %.4f, altitude %.3f deg\n",
                    date.c_str(), checked.places, checked.worstSeconds, checked.worstMagnitude,
                    checked.worstAltitude);
    }
}

} // namespace
