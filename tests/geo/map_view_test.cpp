// The map's views: the design's map exactly at the default view, zooming that keeps the
// pointed place, whole-Earth reach, the globe, the pictures' framing, and the vector map.
#include "geo/label_place.h"
#include "geo/map_view.h"
#include "geo/outline_runs.h"
#include "geo/path_layer.h"
#include "geo/vector_map.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>

namespace {

ScreenPoint At(const MapView& v, double lat, double lon) {
    const auto p = ViewPosition(v, lat, lon);
    EXPECT_TRUE(p.has_value()) << lat << " " << lon;
    return p.value_or(ScreenPoint{});
}

// Whether (lat, lon) lies inside a ring (even-odd rule on longitude and latitude).
bool InsideRing(const std::vector<MapPlace>& ring, double lat, double lon) {
    bool inside = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const MapPlace& a = ring[i];
        const MapPlace& b = ring[j];
        if ((a.lat > lat) != (b.lat > lat) &&
            lon < (b.lon - a.lon) * (lat - a.lat) / (b.lat - a.lat) + a.lon) {
            inside = !inside;
        }
    }
    return inside;
}

} // namespace

TEST(MapView, DefaultViewIsTheScreenProjectionAndItsInverse) {
    for (const double z : {1.0, 0.5614973262, 2.1122994652}) {
        const MapView v = DefaultView(z, z * 0.9);
        for (const double lat : {-60.0, -12.5, 0.0, 41.3, 75.0}) {
            for (const double lon : {-180.0, -97.1, 0.0, 179.9, 180.0}) {
                const ScreenPoint a = At(v, lat, lon);
                const ScreenPoint b = ProjectToScreen(lat, lon, z, z * 0.9);
                EXPECT_EQ(a.x, b.x);
                EXPECT_EQ(a.y, b.y);
            }
        }
        // The click's inverse works on truncated design pixels, as the right click's does.
        const auto p = ViewPlace(v, 100, 50);
        const auto q = InverseScreenProjection(100, 50, z, z * 0.9);
        ASSERT_TRUE(p && q);
        EXPECT_EQ(p->lat, q->lat);
        EXPECT_EQ(p->lon, q->lon);
    }
}

TEST(MapView, ZoomKeepsThePlaceUnderThePointerAndReachesEightyFiveDegrees) {
    MapView v = DefaultView(1.3, 1.1);
    const auto before = ViewPlace(v, 250, 120);
    v = ZoomedAbout(v, 250, 120, 6.0);
    const auto after = ViewPlace(v, 250, 120);
    ASSERT_TRUE(before && after);
    // The default view's inverse truncates to design pixels: within one of them.
    EXPECT_NEAR(after->lon, before->lon, 0.5);
    EXPECT_NEAR(after->lat, before->lat, 0.5);
    const auto exact = ViewPlace(v, 400, 200);
    v = ZoomedAbout(v, 400, 200, 1.7);
    const auto again = ViewPlace(v, 400, 200);
    EXPECT_NEAR(again->lon, exact->lon, 1e-9);
    EXPECT_NEAR(again->lat, exact->lat, 1e-9);

    // Zoomed out as far as it goes, the area shows 85° S to 85° N.
    const MapView out = ZoomedAbout(DefaultView(1.0, 1.0), 300, 100, 0.01);
    EXPECT_NEAR(ViewPlace(out, 300, 0)->lat, 85.0, 0.5);
    EXPECT_NEAR(ViewPlace(out, 300, 329)->lat, -85.0, 0.5);
    // Panning cannot leave that range.
    const MapView up = Panned(ZoomedAbout(DefaultView(1.0, 1.0), 365, 165, 3.0), 0, 5000);
    EXPECT_LE(ViewPlace(up, 365, 0)->lat, 85.0 + 1e-6);
}

TEST(MapView, ALineAcrossTheAntimeridianIsContinuousInAViewCentredOnIt) {
    // Centred on 180°: the two pieces of a line cut at the antimeridian meet.
    const MapView v = FitView(1.0, 1.0, {10.0, 150.0, 40.0, 210.0});
    const std::vector<MapPlace> west{{20.0, 170.0}, {25.0, 180.0}};
    const std::vector<MapPlace> east{{25.0, -180.0}, {30.0, -170.0}};
    const auto a = ViewPolylines(v, west);
    const auto b = ViewPolylines(v, east);
    ASSERT_EQ(a.size(), 1u);
    ASSERT_EQ(b.size(), 1u);
    EXPECT_NEAR(a[0].back().x, b[0].front().x, 1e-6);
    EXPECT_NEAR(a[0].back().y, b[0].front().y, 1e-6);
    EXPECT_GT(b[0].back().x, a[0].front().x); // east lies right of west
    // A point given at -170 is drawn east of one at 170, not at the far left.
    EXPECT_GT(At(v, 30.0, -170.0).x, At(v, 20.0, 170.0).x);
}

TEST(MapView, GlobeShowsTheNearSideAndInvertsIt) {
    const MapView g = GlobeView(1.0, 1.0, 75.0, -20.0);
    const ScreenPoint c = At(g, 75.0, -20.0);
    EXPECT_NEAR(c.x, 365.0, 1e-9);
    EXPECT_NEAR(c.y, 165.0, 1e-9);
    EXPECT_FALSE(ViewPosition(g, -75.0, 160.0)); // the antipode is hidden
    // The pole lies 15° of arc north of the centre: up the screen by r·sin 15°.
    const double r = 0.95 * 330.0 / 2.0;
    EXPECT_NEAR(At(g, 90.0, 0.0).y, 165.0 - r * std::sin(15.0 * M_PI / 180.0), 1e-6);
    const ScreenPoint p = At(g, 60.0, 10.0);
    const auto back =
        ViewPlace(g, static_cast<int>(std::lround(p.x)), static_cast<int>(std::lround(p.y)));
    ASSERT_TRUE(back);
    EXPECT_NEAR(back->lat, 60.0, 0.3);
    EXPECT_NEAR(back->lon, 10.0, 0.6);
    EXPECT_FALSE(ViewPlace(g, 2, 2)); // a corner of the area is off the disc
}

TEST(MapView, PicturesFrameTheBoxAndTheDiscAsAsked) {
    // The box's west and east edges at the picture's edges; its Mercator middle at half
    // the height; equal scales (a degree of longitude at the equator is as tall as wide).
    const MapView v = PictureBoxView(1000, 500, {28.0, -104.0, 38.0, -90.0});
    EXPECT_NEAR(At(v, 33.0, -104.0).x, 0.0, 1e-9);
    EXPECT_NEAR(At(v, 33.0, -90.0).x, 1000.0, 1e-9);
    EXPECT_NEAR((At(v, 28.0, -97.0).y + At(v, 38.0, -97.0).y) / 2.0, 250.0, 1e-9);
    const double perDegree = 1000.0 / 14.0;
    const double k = M_PI / 180.0;
    const double ordinate = (std::atanh(std::sin(38.0 * k)) - std::atanh(std::sin(28.0 * k))) / k;
    EXPECT_NEAR(At(v, 28.0, -97.0).y - At(v, 38.0, -97.0).y, perDegree * ordinate, 1e-6);

    const MapView g = PictureGlobeView(800, 600, -75.0, -30.0);
    EXPECT_NEAR(At(g, -75.0, -30.0).x, 400.0, 1e-9);
    EXPECT_NEAR(At(g, -75.0, -30.0).y, 300.0, 1e-9);
    // A place 90° of arc from the centre lies on the disc's edge, radius min(W, H)/2.
    const ScreenPoint edge = At(g, 15.0, -30.0);
    EXPECT_NEAR(std::hypot(edge.x - 400.0, edge.y - 300.0), 300.0, 1e-6);
}

// The least angle to an extent, against the great-circle angle to its nearest place
// found by a fine search over it.
TEST(OutlineRuns, LeastAngleToAnExtentIsToItsNearestPlace) {
    const double k = std::acos(-1.0) / 180.0;
    auto angle = [k](double lat1, double lon1, double lat2, double lon2) {
        const double c = std::sin(lat1 * k) * std::sin(lat2 * k) +
                         std::cos(lat1 * k) * std::cos(lat2 * k) * std::cos((lon2 - lon1) * k);
        return std::acos(std::clamp(c, -1.0, 1.0)) / k;
    };
    const PointExtent box{true, 10.0, 40.0, 30.0, 50.0};
    for (const auto& [lat, lon] : std::vector<std::pair<double, double>>{
             {0.0, 0.0}, {60.0, 40.0}, {25.0, 45.0}, {75.0, -140.0}, {-30.0, 170.0}, {85.0, 0.0}}) {
        double nearest = 180.0;
        for (double a = box.south; a <= box.north + 1e-9; a += 0.05) {
            for (double b = box.west; b <= box.east + 1e-9; b += 0.05) {
                nearest = std::min(nearest, angle(lat, lon, a, b));
            }
        }
        EXPECT_NEAR(LeastAngleTo(lat, lon, box), nearest, 0.01) << lat << " " << lon;
    }
    EXPECT_EQ(LeastAngleTo(0.0, 0.0, PointExtent{}), 180.0);
    // Runs of the outline's points, the last one shorter, each with the extents of its places.
    const std::vector<double> lat = {10.0, 80.0, NAN, 20.0}, lon = {5.0, -5.0, 1.0, 7.0};
    const std::vector<PointRun> runs = SummariseOutline(lat, lon);
    ASSERT_EQ(runs.size(), 1u);
    EXPECT_EQ(runs[0].end, 4u);
    EXPECT_EQ(runs[0].drawn.north, 80.0);
    EXPECT_EQ(runs[0].drawn.west, -5.0);
    EXPECT_EQ(runs[0].cornered.north, 20.0);
    EXPECT_EQ(runs[0].cornered.west, 5.0);
}

TEST(PathBand, LimitsCutAtTheAntimeridianJoinIntoOneRing) {
    PathLayer layer;
    AddPathLine(layer, PathLineKind::PathLimit, {{10, 170}, {12, -175}, {14, -160}}, -90, 90);
    AddPathLine(layer, PathLineKind::PathLimit, {{0, 170}, {2, -175}, {4, -160}}, -90, 90);
    AddPathLine(layer, PathLineKind::CentralLine, {{5, 170}, {7, -175}}, -90, 90);
    const auto band = PathBand(layer);
    ASSERT_TRUE(band);
    // Both limits whole (three places and the crossing each), the second reversed.
    ASSERT_EQ(band->size(), 8u);
    EXPECT_EQ(band->front().lat, 10.0);
    EXPECT_EQ((*band)[3].lat, 14.0);
    EXPECT_EQ((*band)[4].lat, 4.0);
    EXPECT_EQ(band->back().lat, 0.0);
    PathLayer one;
    AddPathLine(one, PathLineKind::PathLimit, {{10, 0}, {12, 5}}, -90, 90);
    EXPECT_FALSE(PathBand(one)); // a non-central path has no band
}

TEST(LabelPlace, TakesTheFirstFreePlaceInsideTheArea) {
    std::vector<LabelBox> placed;
    const LabelBox area{0, 0, 100, 100};
    const LabelBox a{10, 10, 30, 10};
    ASSERT_TRUE(PlaceLabel(placed, std::vector<LabelBox>{a}, area));
    // The same spot is taken: the next candidate, below it, is used.
    const auto b = PlaceLabel(placed, std::vector<LabelBox>{a, {10, 20, 30, 10}}, area);
    ASSERT_TRUE(b);
    EXPECT_EQ(b->top, 20.0);
    // Outside the area or colliding everywhere: left out.
    EXPECT_FALSE(PlaceLabel(placed, std::vector<LabelBox>{{80, 10, 30, 10}, a}, area));
    EXPECT_EQ(placed.size(), 2u);
}

TEST(VectorMap, WritesAndReadsBackAndRefusesDamage) {
    VectorMap map;
    map.layers.push_back(
        {MapLineKind::Land, MapDetail::Medium, {{{10.0, 190.5}, {-89.5, -180.0}}}});
    std::string error;
    const auto bytes = WriteVectorMap(map, error);
    ASSERT_TRUE(bytes) << error;
    const VectorMapRead read = ReadVectorMap(*bytes);
    ASSERT_TRUE(read.map) << read.error;
    ASSERT_EQ(read.map->layers.size(), 1u);
    EXPECT_EQ(read.map->layers[0].detail, MapDetail::Medium);
    EXPECT_NEAR(read.map->layers[0].lines[0][0].lon, 190.5, 0.5 / kVectorMapUnitsPerDegree);
    EXPECT_NEAR(read.map->layers[0].lines[0][1].lat, -89.5, 0.5 / kVectorMapUnitsPerDegree);
    for (std::size_t cut = 0; cut < bytes->size(); ++cut) {
        const std::vector<unsigned char> shorter(bytes->begin(), bytes->begin() + cut);
        EXPECT_FALSE(ReadVectorMap(shorter).map) << cut;
    }
    std::vector<unsigned char> huge = *bytes;
    huge[16] = 0xff; // a line count far beyond the bytes
    huge[17] = 0xff;
    EXPECT_FALSE(ReadVectorMap(huge).map);
    map.layers[0].lines[0][0].lon = 400.0; // beyond what the format holds
    EXPECT_FALSE(WriteVectorMap(map, error));
}

TEST(VectorMap, TheProgramsMapHasLandWhereTheAtlasHasIt) {
    std::ifstream in(KESTROVA_SOURCE_DIR "/res/map/world.kvm", std::ios::binary);
    const std::vector<unsigned char> bytes((std::istreambuf_iterator<char>(in)),
                                           std::istreambuf_iterator<char>());
    const VectorMapRead read = ReadVectorMap(bytes);
    ASSERT_TRUE(read.map) << read.error;
    struct Place {
        double lat, lon;
        bool land;
    } const places[] = {
        {32.78, -96.80, true},  // Dallas
        {-33.87, 151.21, true}, // Sydney
        {64.15, -21.94, true},  // Reykjavik
        {68.0, 178.0, true},    // Chukotka, a ring across the antimeridian
        {-80.0, 0.0, true},     // Antarctica, a ring round the pole
        {30.0, -40.0, false},   // the North Atlantic
        {-40.0, -120.0, false}, // the South Pacific
    };
    for (const MapDetail detail : {MapDetail::Coarse, MapDetail::Medium}) {
        for (const Place& p : places) {
            bool land = false;
            for (const MapLineSet& set : read.map->layers) {
                if (set.kind != MapLineKind::Land || set.detail != detail) {
                    continue;
                }
                for (const auto& ring : set.lines) {
                    for (const double turn : {-360.0, 0.0, 360.0}) {
                        land = land != InsideRing(ring, p.lat, p.lon + turn);
                    }
                }
            }
            EXPECT_EQ(land, p.land) << p.lat << " " << p.lon;
        }
    }
}
