// The map's path lines: cut at the antimeridian and at the map's latitudes, so that
// no piece runs across the map.
#include "canon.h"

#include "export/map_export.h"
#include "model/path_layer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

namespace {

TEST(CutForMap, SplitsAtTheAntimeridianOnTheCrossingLatitude) {
    // From 170 E to 170 W, 20 degrees east over the antimeridian: the crossing lies
    // half-way, at latitude 15.
    const std::vector<MapPlace> line = {
        {10.0, 160.0}, {10.0, 170.0}, {20.0, -170.0}, {20.0, -160.0}};
    const auto pieces = CutForMap(line, -60.0, 75.0);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_DOUBLE_EQ(pieces[0].back().lon, 180.0);
    EXPECT_DOUBLE_EQ(pieces[1].front().lon, -180.0);
    EXPECT_NEAR(pieces[0].back().lat, 15.0, 1e-12);
    EXPECT_NEAR(pieces[1].front().lat, 15.0, 1e-12);
    // Westward crossings too.
    const std::vector<MapPlace> west = {{0.0, -175.0}, {0.0, 175.0}};
    const auto w = CutForMap(west, -60.0, 75.0);
    ASSERT_EQ(w.size(), 2u);
    EXPECT_DOUBLE_EQ(w[0].back().lon, -180.0);
    EXPECT_DOUBLE_EQ(w[1].front().lon, 180.0);
}

TEST(CutForMap, CutsAtTheMapsLatitudes) {
    // Up through 75 N and back down: two pieces, each ending on 75 N at the
    // interpolated longitude; a line wholly outside gives nothing.
    const std::vector<MapPlace> line = {{70.0, 0.0}, {80.0, 10.0}, {70.0, 20.0}};
    const auto pieces = CutForMap(line, -60.0, 75.0);
    ASSERT_EQ(pieces.size(), 2u);
    EXPECT_DOUBLE_EQ(pieces[0].back().lat, 75.0);
    EXPECT_NEAR(pieces[0].back().lon, 5.0, 1e-12);
    EXPECT_DOUBLE_EQ(pieces[1].front().lat, 75.0);
    EXPECT_NEAR(pieces[1].front().lon, 15.0, 1e-12);
    EXPECT_TRUE(CutForMap({{-70.0, 0.0}, {-80.0, 50.0}}, -60.0, 75.0).empty());
    // A step that jumps over the whole band enters and leaves it.
    const auto over = CutForMap({{-70.0, 0.0}, {80.0, 15.0}}, -60.0, 75.0);
    ASSERT_EQ(over.size(), 1u);
    EXPECT_DOUBLE_EQ(over[0].front().lat, -60.0);
    EXPECT_DOUBLE_EQ(over[0].back().lat, 75.0);
}

// The eclipses whose maps are looked at: every drawn line stays on the map and
// moves in small steps (a step across the map would be a line drawn across it).
TEST(MakePathLayer, LinesStayOnTheMapInSmallSteps) {
    for (const char* date : {"2006-03-29", "2021-12-04", "2024-04-08", "2020-12-14"}) {
        SCOPED_TRACE(date);
        const EclipsePath path = EclipsePathOfDate(canon::JdOfDate(date), Ephemeris::Classic);
        const PathLayer layer = MakePathLayer(path, -60.0, 75.0);
        for (const PathLine& line : layer.lines) {
            ASSERT_GE(line.points.size(), 2u);
            for (std::size_t k = 0; k < line.points.size(); ++k) {
                const MapPlace& p = line.points[k];
                EXPECT_GE(p.lat, -60.0);
                EXPECT_LE(p.lat, 75.0);
                EXPECT_LE(std::fabs(p.lon), 180.0);
                if (k > 0) {
                    EXPECT_LT(std::fabs(p.lon - line.points[k - 1].lon), 30.0);
                }
            }
        }
    }
    // 2021 December 4 is total over Antarctica: its central line begins at sunrise
    // near 53 S and runs south off the map; greatest eclipse lies off the map.
    const PathLayer polar = MakePathLayer(
        EclipsePathOfDate(canon::JdOfDate("2021-12-04"), Ephemeris::Classic), -60.0, 75.0);
    bool central = false;
    for (const PathLine& line : polar.lines) {
        if (line.kind != PathLineKind::CentralLine)
            continue;
        central = true;
        for (const MapPlace& p : line.points)
            EXPECT_LT(p.lat, -52.0);
    }
    EXPECT_TRUE(central);
    EXPECT_FALSE(polar.greatest.has_value());
    EXPECT_FALSE(polar.greatestDuration.has_value());

    // The curves across the partial zone carry their labels: the UT of a line of maximum
    // on a tenth minute, the magnitude of a line of equal magnitude.
    std::set<std::string> maxima, magnitudes;
    bool riseSet = false;
    for (const PathLine& line : polar.lines) {
        if (line.kind == PathLineKind::MaximumLine) {
            ASSERT_EQ(line.label.size(), 8u) << line.label;
            EXPECT_EQ(line.label.substr(4), "0 UT") << line.label;
            maxima.insert(line.label);
        } else if (line.kind == PathLineKind::MagnitudeLine) {
            magnitudes.insert(line.label);
        } else if (line.kind == PathLineKind::RiseSetMaximum) {
            riseSet = true;
            EXPECT_TRUE(line.label.empty());
        }
    }
    EXPECT_TRUE(maxima.count("07:30 UT")); // greatest eclipse 07:33 UT
    EXPECT_EQ(magnitudes, (std::set<std::string>{"0.2", "0.4", "0.6", "0.8"}));
    EXPECT_TRUE(riseSet);
}

} // namespace
