// The map command's overlays: where hour labels go at the map's edges, and the limit
// curves with their captions, drawn on an image.

#include "geo/map_overlay.h"
#include "render/limit_curves.h"
#include "render/map_painter.h"
#include "render/overlay_painter.h"
#include "render/path_painter.h"
#include "render/town_labels.h"

#include <QImage>
#include <QPainter>

#include "pixel_count.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
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

// The design's map writes its captions on their row, in boxes known beforehand so that
// the path's labels keep clear of them; on a moved map a caption moves off a label placed
// where it would stand, stays beside its curve and joins the placed labels.
TEST(LimitCurves, CaptionsKeepClearOfOtherLabels) {
    const std::vector<double> lats = {20.0, 21.0}, rise = {6.0, 6.0}, set = {18.0, 18.0};
    const MapView moved = ZoomedAbout(DefaultView(1.0, 1.0), 200.0, 150.0, 2.0);
    const auto first = ViewPosition(moved, 20.0, LimitCurveLongitude(6.0));
    ASSERT_TRUE(first);
    const LabelBox taken{first->x - 10.0, first->y - 14.0, 90.0, 14.0};
    std::vector<LabelBox> placed = {taken};
    Canvas design, other;
    std::vector<LabelBox> boxes;
    {
        QPainter painter(&design.image);
        CDC dc(painter, 96, 96);
        boxes = DesignLimitCaptions(dc, DefaultView(1.0, 1.0), lats, rise, set);
        EXPECT_TRUE(DesignLimitCaptions(dc, moved, lats, rise, set).empty());
        PlotLimitCurvePoints(dc, DefaultView(1.0, 1.0), lats, rise, set);
        QPainter movedPainter(&other.image);
        CDC movedDc(movedPainter, 96, 96);
        PlotLimitCurvePoints(movedDc, moved, lats, rise, {std::nan(""), std::nan("")}, &placed);
    }
    const auto ink = [](const QImage& image, const LabelBox& b) {
        return test_pixels::CountColour(image, qRgb(0, 0, 0),
                                        QRect(TruncToInt(b.left) + 2, TruncToInt(b.top),
                                              TruncToInt(b.width) - 4, TruncToInt(b.height)));
    };
    ASSERT_EQ(boxes.size(), 2u);
    for (const LabelBox& b : boxes) {
        EXPECT_EQ(b.top, 310.0);
        EXPECT_GT(ink(design.image, b), 10);
    }
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_FALSE(Overlap(placed[0], placed[1]));
    EXPECT_NEAR(placed[1].left, taken.left, 1.0);
    EXPECT_GT(ink(other.image, placed[1]), 10);
    EXPECT_EQ(ink(other.image, taken), 0);
}

// A line's label finds its place clear of the greatest eclipse's cross and the greatest
// duration's diamond, which are drawn above it.
TEST(PathLabels, KeepClearOfTheMarkers) {
    const MapView view = ZoomedAbout(DefaultView(1.0, 1.0), 200.0, 150.0, 4.0);
    PathLayer layer;
    std::vector<MapPlace> line;
    for (int i = 0; i <= 40; ++i) {
        line.push_back({20.0 + 0.25 * i, -110.0 + 0.5 * i});
    }
    layer.greatest = line[20];
    layer.greatestDuration = line[14]; // where the label would stand next
    layer.lines.push_back({PathLineKind::MaximumLine, line, "18:20 UT"});
    std::vector<LabelBox> placed;
    Canvas canvas;
    {
        QPainter painter(&canvas.image);
        CDC dc(painter, 96, 96);
        DrawPathLayer(dc, layer, view, placed);
    }
    ASSERT_FALSE(placed.empty());
    const LabelBox label = placed.back();
    for (const MapPlace& marker : {*layer.greatest, *layer.greatestDuration}) {
        const auto p = ViewPosition(view, marker.lat, marker.lon);
        ASSERT_TRUE(p);
        EXPECT_FALSE(Overlap(label, {p->x - 7.0, p->y - 7.0, 14.0, 14.0}))
            << "label at " << label.left << ", " << label.top << "; marker at " << p->x << ", "
            << p->y;
    }
}

namespace {

// The first and last columns in which a drawing on a clear image of the window's size
// leaves anything; left > right when it leaves nothing.
struct Span {
    int left = 1 << 30;
    int right = -1;
};
template <typename Draw> Span PaintedSpan(int width, int height, const Draw& draw) {
    QImage image(width, height, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        draw(dc);
    }
    Span span;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            if (qAlpha(image.pixel(x, y)) != 0) {
                span.left = std::min(span.left, x);
                span.right = std::max(span.right, x);
            }
        }
    }
    return span;
}

} // namespace

// Under the map the contact times, the path's legend and the legend of the limits and the
// shadow stand side by side. Whatever the window's size (the side panel narrows the map,
// a scale factor of 2 halves the window in logical pixels), each keeps to its columns.
TEST(MapStrip, ContactTimesAndLegendsNeverOverlap) {
    const std::vector<std::string> lines = {
        "Moon enters penumbra:  15:42", "Moon leaves penumbra:  20:52",
        "Moon enters totality:  16:38", "Moon leaves totality:  19:55"};
    PathLayer layer;
    for (const PathLineKind kind :
         {PathLineKind::CentralLine, PathLineKind::PathLimit, PathLineKind::PartialLimit}) {
        layer.lines.push_back({kind, {}, ""});
    }
    layer.greatest = MapPlace{25.3, -104.1};
    layer.greatestDuration = MapPlace{26.0, -103.4};
    layer.umbral = true;
    struct Size {
        int width, height;
    };
    // The design, the smallest window, a large one, the panel open at scale factor 2 on
    // a 1000-pixel screen, and windows far wider or far taller than the design's shape.
    for (const Size s : {Size{748, 539}, Size{420, 320}, Size{1580, 980}, Size{428, 452},
                         Size{1600, 400}, Size{430, 900}}) {
        SCOPED_TRACE(std::to_string(s.width) + " x " + std::to_string(s.height));
        const double zx = s.width / 748.0, zy = s.height / 539.0;
        const Span contact =
            PaintedSpan(s.width, s.height, [&](CDC& dc) { DrawContactLines(dc, zx, zy, lines); });
        const Span legend =
            PaintedSpan(s.width, s.height, [&](CDC& dc) { DrawPathLegend(dc, layer, zx, zy); });
        ASSERT_LE(contact.left, contact.right);
        ASSERT_LE(legend.left, legend.right);
        EXPECT_LT(contact.right, legend.left);
        // The sunrise box of the static legend begins at design column 510.
        EXPECT_LT(legend.right, TruncToInt(510 * zx));

        // The static legend's captions stop short of the next box and of the window's
        // edge: its boxes keep their colour whole, and nothing is drawn in the last column.
        QImage picture(s.width, s.height, QImage::Format_RGB32);
        picture.fill(Qt::white);
        {
            QPainter painter(&picture);
            CDC dc(painter, 96, 96);
            PaintStaticPicture(dc, s.width, s.height, DefaultView(zx, zy));
        }
        for (const auto& [top, colour] :
             {std::pair{375, map_colours::kPenumbra}, std::pair{395, map_colours::kUmbra}}) {
            const QRect box(QPoint(TruncToInt(590 * zx), TruncToInt(top * zy)),
                            QPoint(TruncToInt(600 * zx) - 1, TruncToInt((top + 10) * zy) - 1));
            EXPECT_EQ(test_pixels::CountColour(picture, Rgb(colour), box),
                      box.width() * box.height())
                << top;
        }
        const QRect edge(s.width - 1, TruncToInt(370 * zy), 1, TruncToInt(40 * zy));
        EXPECT_EQ(test_pixels::CountColour(picture, qRgb(255, 255, 255), edge), edge.height());
    }
}
