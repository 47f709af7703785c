// The map command's overlays: where hour labels go at the map's edges, and the limit
// curves with their captions, drawn on an image.

#include "geo/map_overlay.h"
#include "render/limit_curves.h"
#include "render/map_painter.h"
#include "render/overlay_painter.h"
#include "render/town_labels.h"

#include <QImage>
#include <QPainter>

#include "pixel_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

namespace {

std::vector<std::pair<int, int>> Spots(int x, int y, double zoomX) {
    std::vector<std::pair<int, int>> out;
    for (const LabelSpot& s : HourLabelSpots(x, y, zoomX)) {
        out.emplace_back(s.x, s.y);
    }
    return out;
}

using Places = std::vector<std::pair<int, int>>;

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// A white window-sized image with a device context on it.
struct Canvas {
    Canvas() : image(800, 400, QImage::Format_RGB32) { image.fill(Qt::white); }
    QImage image;
};

void PlotLimits(QImage& image, const std::vector<double>& lats, const std::vector<double>& first,
                const std::vector<double>& second) {
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    PlotLimitCurvePoints(dc, DefaultView(1.0, 1.0), lats, first, second);
}

} // namespace

TEST(HourLabels, TextIsTheHourToTheNearestWholeNumber) {
    EXPECT_EQ(HourLabelText(8.0), "8h UT");
    EXPECT_EQ(HourLabelText(12.0), "12h UT");
    EXPECT_EQ(HourLabelText(7.9999999), "8h UT");
}

TEST(HourLabels, CornersBeyondTheMapsEdgesGetACopyOnTheEdge) {
    // On the map: drawn twice at its own place.
    EXPECT_EQ(Spots(300, 100, 1.0), (Places{{300, 100}, {300, 100}}));
    // Right of the map: at x = 725 and at its own x.
    EXPECT_EQ(Spots(731, 100, 1.0), (Places{{725, 100}, {731, 100}}));
    EXPECT_EQ(Spots(730, 100, 1.0), (Places{{730, 100}, {730, 100}})); // the edge itself
    // Above the map: at its own y and on row 0.
    EXPECT_EQ(Spots(300, -20, 1.0), (Places{{300, -20}, {300, 0}}));
    EXPECT_EQ(Spots(300, 0, 1.0), (Places{{300, 0}, {300, 0}}));
    // Beyond both: a third copy in the top-right corner.
    EXPECT_EQ(Spots(740, -20, 1.0), (Places{{725, -20}, {740, 0}, {725, 0}}));
    // The edge scales with the window: at zoom 2 it lies at 1460, the copy at 1450.
    EXPECT_EQ(Spots(1000, 5, 2.0), (Places{{1000, 5}, {1000, 5}}));
    EXPECT_EQ(Spots(1461, 5, 2.0), (Places{{1450, 5}, {1461, 5}}));
    EXPECT_EQ(Spots(1461, 5, 1.5), (Places{{1087, 5}, {1461, 5}}));
}

TEST(HourLabels, ThePrintedPlaceIsTheOneOnTheMap) {
    const LabelSpot inside = HourLabelMapSpot(300, 100, 1.0);
    EXPECT_EQ(inside.x, 300);
    EXPECT_EQ(inside.y, 100);
    const LabelSpot corner = HourLabelMapSpot(740, -20, 1.0);
    EXPECT_EQ(corner.x, 725);
    EXPECT_EQ(corner.y, 0);
}

TEST(HourLabels, LabelsStayOnTheMapOnceAndNeverOverlap) {
    // A corner right of the map, one above it, and two outlines with the same corner
    // ("2h UT" over "3h UT"): each label is drawn once, inside the map, clear of the others.
    Canvas c;
    std::vector<LabelBox> placed;
    {
        QPainter painter(&c.image);
        CDC dc(painter, 96, 96);
        DrawHourLabels(dc, DefaultView(1.0, 1.0),
                       {{12.0, 760, 100}, {9.0, 300, -6}, {2.0, 500, 200}, {3.0, 500, 200}},
                       placed);
    }
    ASSERT_EQ(placed.size(), 4u);
    for (std::size_t i = 0; i < placed.size(); ++i) {
        EXPECT_GE(placed[i].left, 0.0);
        EXPECT_GE(placed[i].top, 0.0);
        EXPECT_LE(placed[i].left + placed[i].width, 730.0);
        EXPECT_LE(placed[i].top + placed[i].height, 330.0);
        for (std::size_t j = 0; j < i; ++j) {
            EXPECT_FALSE(Overlap(placed[i], placed[j])) << i << " over " << j;
        }
    }
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(680, 100, 50, 12)), 10);
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(300, 0, 40, 12)), 10);
    // Nothing right of the map or under it.
    EXPECT_EQ(test_pixels::CountColour(c.image, black, QRect(730, 0, 70, 400)), 0);
    EXPECT_EQ(test_pixels::CountColour(c.image, black, QRect(0, 330, 800, 70)), 0);
}

TEST(TownLabels, LargerTownsFirstMoreAsTheMapGrowsNeverOverHourLabels) {
    const std::vector<MapTown> towns = {{32.78, -96.81, 1300000, "Dallas"},
                                        {32.75, -97.33, 800000, "Fort Worth"},
                                        {32.74, -97.11, 380000, "Arlington"},
                                        {33.02, -96.70, 260000, "Plano"}};
    // None on the design's map; a closer view names smaller towns.
    EXPECT_GT(TownPopulationThreshold(DefaultView(1.0, 1.0)), 1300000);
    const MapView texas = FitView(1.0, 1.0, {30.0, -100.0, 36.0, -94.0});
    const MapView city = FitView(1.0, 1.0, {32.4, -97.6, 33.2, -96.4});
    EXPECT_GT(TownPopulationThreshold(texas), TownPopulationThreshold(city));
    EXPECT_LE(TownPopulationThreshold(city), 260000);

    Canvas c;
    std::vector<LabelBox> placed = {{0.0, 0.0, 730.0, 150.0}}; // taken by other labels
    {
        QPainter painter(&c.image);
        CDC dc(painter, 96, 96);
        DrawTownLabels(dc, city, towns, placed);
    }
    ASSERT_GT(placed.size(), 1u);
    for (std::size_t i = 1; i < placed.size(); ++i)
        for (std::size_t j = 0; j < i; ++j)
            EXPECT_FALSE(Overlap(placed[i], placed[j])) << i << " over " << j;
    // Dallas, the largest, is named beside its place.
    const auto dallas = ViewPosition(city, 32.78, -96.81);
    ASSERT_TRUE(dallas);
    EXPECT_GT(test_pixels::CountColour(c.image, qRgb(40, 40, 40),
                                       QRect(static_cast<int>(dallas->x) - 60,
                                             static_cast<int>(dallas->y) - 20, 120, 40)),
              20);
}

TEST(LimitCurves, HoursBecomeLongitudesWestOfGreenwichThenEastByTheRemainder) {
    // One latitude, the equator (row 200): sunrise at 12 h is drawn at 180°W (column
    // 10), sunset at 12.5 h at 7.5°E (column 385).
    Canvas c;
    PlotLimits(c.image, {0.0}, {12.0}, {12.5});
    const QRgb grey = Rgb(map_colours::kFirstLimit);
    const QRgb black = Rgb(map_colours::kSecondLimit);
    EXPECT_GT(test_pixels::CountColour(c.image, grey, QRect(9, 199, 4, 4)), 0);
    EXPECT_EQ(test_pixels::CountColour(c.image, grey, QRect(14, 0, 786, 300)), 0);
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(384, 199, 4, 4)), 0);
    EXPECT_EQ(test_pixels::CountColour(c.image, black, QRect(0, 0, 380, 300)), 0);
    // Captions on row 310, 10 pixels west of their series' points.
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(0, 310, 60, 12)), 10);
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(375, 310, 60, 12)), 10);

    // 0 h gives -0°, column 370.
    Canvas zero;
    PlotLimits(zero.image, {0.0}, {0.0}, {6.0});
    EXPECT_GT(test_pixels::CountColour(zero.image, grey, QRect(369, 199, 4, 4)), 0);
}

TEST(LimitCurves, TimesThatAreNotNumbersAreSkippedAndCaptionsGoToTheFirstFinitePoints) {
    const double nan = std::nan("");
    // Latitudes -60, -59, -58: no sunrise at the first two, no sunset anywhere.
    Canvas c;
    PlotLimits(c.image, {-60.0, -59.0, -58.0}, {nan, nan, 6.0}, {nan, nan, nan});
    const QRgb grey = Rgb(map_colours::kFirstLimit);
    const QRgb black = qRgb(0, 0, 0);
    EXPECT_EQ(test_pixels::CountColour(c.image, grey, c.image.rect()),
              test_pixels::CountColour(c.image, grey, QRect(188, 0, 5, 400)));
    EXPECT_GT(test_pixels::CountColour(c.image, grey, c.image.rect()), 0);
    // "Sunrise UT" stands at column 180 (90°W, column 190, less 10); no "Sunset UT".
    EXPECT_GT(test_pixels::CountColour(c.image, black, QRect(180, 310, 60, 12)), 10);
    EXPECT_EQ(test_pixels::CountColour(c.image, black, c.image.rect()),
              test_pixels::CountColour(c.image, black, QRect(180, 310, 60, 12)));

    // Without a single time nothing is drawn, not even a caption.
    Canvas none;
    PlotLimits(none.image, {0.0, 1.0}, {nan, nan}, {nan, nan});
    EXPECT_EQ(test_pixels::CountColour(none.image, qRgb(255, 255, 255), none.image.rect()),
              800 * 400);
    Canvas empty;
    PlotLimits(empty.image, {}, {}, {});
    EXPECT_EQ(test_pixels::CountColour(empty.image, qRgb(255, 255, 255), empty.image.rect()),
              800 * 400);
}
