#include "geo/point_info.h"
#include "geo/projection.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

struct Pixel {
    int x;
    int y;
};

Pixel Screen(double lat, double lon, double zx = 1.0, double zy = 1.0) {
    const ScreenPoint p = ProjectToScreen(lat, lon, zx, zy);
    return {TruncToInt(p.x), TruncToInt(p.y)};
}

} // namespace

TEST(ScreenProjection, MapEdgesAndParallelsLandOnTheirRowsAndColumns) {
    struct Row {
        double lat;
        int y;
    } const rows[] = {{75, 0}, {60, 70}, {30, 145}, {0, 200}, {-30, 254}, {-60, 329}};
    for (const Row& r : rows) {
        EXPECT_EQ(Screen(r.lat, 0).y, r.y) << "latitude " << r.lat;
    }
    EXPECT_EQ(Screen(0, -180).x, 10);
    EXPECT_EQ(Screen(0, 0).x, 370);
    EXPECT_EQ(Screen(0, 180).x, 730);
    // 75°N lies a hair above row 0 and truncates toward zero, onto it.
    EXPECT_LT(ProjectToScreen(75, 0, 1, 1).y, 0.0);
    EXPECT_GT(ProjectToScreen(75, 0, 1, 1).y, -1e-5);
}

TEST(ScreenProjection, ZoomScalesEachAxisOnItsOwn) {
    const Pixel p = Screen(0, 0, 2.0, 1.0);
    EXPECT_EQ(p.x, 740);
    EXPECT_EQ(p.y, 200);
}

TEST(ScreenProjection, MercatorOrdinateIsOddAndGrowsTowardThePoles) {
    EXPECT_DOUBLE_EQ(MercatorOrdinate(0.0), 0.0);
    EXPECT_NEAR(MercatorOrdinate(45.0), -MercatorOrdinate(-45.0), 1e-12);
    // ln(sec 45° + tan 45°) / k = 50.4987... degrees.
    EXPECT_NEAR(MercatorOrdinate(45.0), std::log(1.0 + std::sqrt(2.0)) / projection::kDegToRad,
                1e-10);
    EXPECT_GT(MercatorOrdinate(89.9), 300.0);
}

TEST(Truncation, TowardZeroAndNeverUndefined) {
    EXPECT_EQ(TruncateCoordinate(-0.7), 0);
    EXPECT_EQ(TruncateCoordinate(-1.5), -1);
    EXPECT_EQ(TruncateCoordinate(2.9), 2);
    EXPECT_EQ(TruncateCoordinate(std::numeric_limits<double>::quiet_NaN()), std::nullopt);
    EXPECT_EQ(TruncateCoordinate(std::numeric_limits<double>::infinity()), kCoordinateLimit);
    EXPECT_EQ(TruncateCoordinate(-1e300), -kCoordinateLimit);
    // A pole has no finite ordinate: its row saturates instead of overflowing an int.
    const ScreenPoint pole = ProjectToScreen(90.0, 0.0, 1.0, 1.0);
    const auto row = TruncateCoordinate(pole.y);
    ASSERT_TRUE(row.has_value());
    EXPECT_LT(*row, -1000); // far above any window, or saturated
    EXPECT_GE(*row, -kCoordinateLimit);
}

TEST(InverseProjection, RecoversTheMapsCornersAndCentre) {
    const auto centre = InverseScreenProjection(370, 200, 1.0, 1.0);
    ASSERT_TRUE(centre);
    EXPECT_DOUBLE_EQ(centre->lat, 0.0);
    EXPECT_DOUBLE_EQ(centre->lon, 0.0);

    const auto corner = InverseScreenProjection(10, 0, 1.0, 1.0);
    ASSERT_TRUE(corner);
    EXPECT_NEAR(corner->lat, 75.0, 1e-6);
    EXPECT_DOUBLE_EQ(corner->lon, -180.0);

    const auto left = InverseScreenProjection(0, 0, 1.0, 1.0);
    ASSERT_TRUE(left);
    EXPECT_DOUBLE_EQ(left->lon, -185.0);

    const auto bottom = InverseScreenProjection(370, 329, 1.0, 1.0);
    ASSERT_TRUE(bottom);
    EXPECT_NEAR(bottom->lat, -60.0, 0.5); // one pixel row is about half a degree there
}

TEST(InverseProjection, UndoesTheZoomFirst) {
    const auto zoomed = InverseScreenProjection(555, 300, 1.5, 1.5);
    ASSERT_TRUE(zoomed);
    EXPECT_DOUBLE_EQ(zoomed->lat, 0.0);
    EXPECT_DOUBLE_EQ(zoomed->lon, 0.0);
}

TEST(InverseProjection, InvertsTheForwardProjectionToWithinAPixel) {
    for (double lat = -60; lat <= 75; lat += 15) {
        for (double lon = -180; lon <= 180; lon += 45) {
            const Pixel p = Screen(lat, lon);
            const auto back = InverseScreenProjection(p.x, p.y, 1.0, 1.0);
            ASSERT_TRUE(back);
            EXPECT_NEAR(back->lon, lon, 0.5) << lat << " " << lon;
            EXPECT_NEAR(back->lat, lat, 0.6) << lat << " " << lon;
        }
    }
}

TEST(InverseProjection, AWindowWithoutAreaHasNoMapPoint) {
    EXPECT_FALSE(InverseScreenProjection(10, 10, 0.0, 0.0));
    EXPECT_FALSE(InverseScreenProjection(10, 10, 1.0, std::nan("")));
}

TEST(PagePosition, MapsTheEdgesOfThePrintedMap) {
    EXPECT_EQ(TruncToInt(ProjectToPage(0, -180).x), 233);
    EXPECT_EQ(TruncToInt(ProjectToPage(0, 0).x), 1416);
    EXPECT_EQ(TruncToInt(ProjectToPage(0, 180).x), 2600);
    EXPECT_EQ(TruncToInt(ProjectToPage(75, 0).y), -200);
    EXPECT_EQ(TruncToInt(ProjectToPage(0, 0).y), -964);
    EXPECT_EQ(TruncToInt(ProjectToPage(60, 0).y), -467);
    EXPECT_EQ(TruncToInt(ProjectToPage(-60, 0).y), -1461);
}

TEST(PointInfo, TextsOfClicksAtZoomOne) {
    struct Case {
        int x, y;
        const char* info;
    } const cases[] = {
        {370, 200, "Latitude:\t\t00 00 0.00 N\t\nLongitude:\t00 00 0.00 E\t\n"},
        {100, 50, "Latitude:\t\t65 20 33.15 N\t\nLongitude:\t135 00 0.00 W\t\n"},
        {10, 0, "Latitude:\t\t74 59 60.00 N\t\nLongitude:\t180 00 0.00 W\t\n"},
        {369, 201, "Latitude:\t\t00 34 51.07 S\t\nLongitude:\t00 30 0.00 W\t\n"},
        {731, 200, "Latitude:\t\t00 00 0.00 N\t\nLongitude:\t180 30 0.00 E\t\n"},
    };
    for (const Case& c : cases) {
        const auto position = InverseScreenProjection(c.x, c.y, 1.0, 1.0);
        ASSERT_TRUE(position);
        EXPECT_EQ(PointInfoText(*position), c.info) << c.x << "," << c.y;
    }
    EXPECT_EQ(ClickPositionText(370, 200), "370\t200");
}
