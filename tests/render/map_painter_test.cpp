#include "render/map_painter.h"

#include "geo/map_view.h"
#include "geo/projection.h"
#include "render/base_map_painter.h"

#include <QImage>
#include <QPainter>

#include "pixel_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <tuple>
#include <utility>
#include <vector>

namespace {

using test_pixels::CountColour;

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

QImage Paint(int w, int h, double zx, double zy) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    PaintStaticPicture(dc, w, h, DefaultView(zx, zy));
    return image;
}

// Penumbra points, then umbra points, as the window plots a shadow; the corner is that
// of the penumbra's points.
struct Plot {
    QImage image{748, 539, QImage::Format_RGB32};
    std::optional<CPoint> corner;

    Plot() { image.fill(Qt::white); }
    void Run(const std::vector<double>& pLat, const std::vector<double>& pLon,
             const std::vector<double>& uLat = {}, const std::vector<double>& uLon = {}) {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        PlotPointBoxes(dc, DefaultView(1.0, 1.0), pLat, pLon, map_colours::kPenumbra);
        PlotPointBoxes(dc, DefaultView(1.0, 1.0), uLat, uLon, map_colours::kUmbra);
        corner = OutlineCorner(pLat, pLon, DefaultView(1.0, 1.0));
    }
};

} // namespace

TEST(StaticPicture, PanelLegendAndBandsAtDesignSize) {
    const QImage image = Paint(748, 539, 1.0, 1.0);
    EXPECT_EQ(image.pixel(5, 500), Rgb(map_colours::kPanelOuter));
    EXPECT_EQ(image.pixel(20, 530), Rgb(map_colours::kPanelOuter)); // bottom inset
    EXPECT_EQ(image.pixel(20, 520), Rgb(map_colours::kPanelInner));
    EXPECT_EQ(image.pixel(595, 380), Rgb(map_colours::kPenumbra));
    EXPECT_EQ(image.pixel(595, 400), Rgb(map_colours::kUmbra));
    EXPECT_EQ(image.pixel(515, 380), Rgb(map_colours::kFirstLimit));
    EXPECT_EQ(image.pixel(515, 400), Rgb(map_colours::kSecondLimit));
    EXPECT_EQ(image.pixel(700, 340), Rgb(map_colours::kCream)); // under the map
    EXPECT_EQ(image.pixel(740, 100), Rgb(map_colours::kCream)); // right of the map
    EXPECT_EQ(image.pixel(300, 390), qRgb(255, 255, 255));      // erase background stays
    // Captions in cream on the panel.
    EXPECT_GT(CountColour(image, Rgb(map_colours::kCream), QRect(70, 444, 45, 15)), 10);
}

TEST(StaticPicture, BaseMapFillsTheMapAreaWithTheTimeZoneTint) {
    const QImage image = Paint(748, 539, 1.0, 1.0);
    // Nothing of the map area is left white, and the tint alternates every 15° of
    // longitude: mid-ocean columns of neighbouring zones differ (Pacific, 150°W/165°W).
    EXPECT_EQ(CountColour(image, qRgb(255, 255, 255), QRect(0, 0, 730, 330)), 0);
    EXPECT_NE(image.pixel(370 + 2 * -150, 220), image.pixel(370 + 2 * -165, 220));
}

TEST(StaticPicture, ScalesWithTheZoom) {
    const QImage image = Paint(1496, 539, 2.0, 1.0);
    // The umbra legend box spans x 1180 to 1200.
    EXPECT_EQ(image.pixel(1180, 400), Rgb(map_colours::kUmbra));
    EXPECT_EQ(image.pixel(1199, 400), Rgb(map_colours::kUmbra));
    EXPECT_NE(image.pixel(1179, 400), Rgb(map_colours::kUmbra));
    EXPECT_NE(image.pixel(1200, 400), Rgb(map_colours::kUmbra));
    // The map is 1460 pixels wide: its last column is map, the next one cream band.
    EXPECT_NE(image.pixel(1459, 100), Rgb(map_colours::kCream));
    EXPECT_EQ(image.pixel(1461, 100), Rgb(map_colours::kCream));
}

TEST(StaticPicture, ASmallWindowShowsTheWholeMap) {
    // 420 x 320: the map covers 409 x 195 pixels, none of it under a cream band; the far
    // east (Siberia at 100° E) is land, the Pacific at 165° E sea.
    const double zx = 420.0 / 748.0, zy = 320.0 / 539.0;
    const QImage image = Paint(420, 320, zx, zy);
    const int creamOnMap = CountColour(image, Rgb(map_colours::kCream), QRect(0, 0, 409, 195));
    EXPECT_LT(creamOnMap, 40); // at most a label's worth, not a band
    const QRgb land = image.pixel(TruncToInt(zx * (370 + 2 * 100.0)), TruncToInt(zy * 80));
    const QRgb sea = image.pixel(TruncToInt(zx * (370 + 2 * 165.0)), TruncToInt(zy * 115));
    EXPECT_NE(land, sea);
    EXPECT_EQ(sea, image.pixel(TruncToInt(zx * (370 + 2 * -40.0)), TruncToInt(zy * 150)));
}

TEST(ShadowPlot, LatitudeFilterIncludesBothLimits) {
    Plot plot;
    plot.Run({75.0, -60.0, 75.0001, -60.0001}, {0.0, 90.0, -90.0, 45.0});
    EXPECT_EQ(plot.image.pixel(370, 0), Rgb(map_colours::kPenumbra));
    EXPECT_EQ(plot.image.pixel(550, 329), Rgb(map_colours::kPenumbra));
    EXPECT_EQ(CountColour(plot.image, Rgb(map_colours::kPenumbra), QRect(170, 0, 20, 5)), 0);
    EXPECT_EQ(CountColour(plot.image, Rgb(map_colours::kPenumbra), QRect(450, 320, 30, 20)), 0);
}

TEST(ShadowPlot, EachPointIsABoxThreePixelsSquareFromItsTruncatedPosition) {
    Plot plot;
    plot.Run({10.0}, {0.5}, {-20.0}, {-40.25});
    for (const auto& [lat, lon, colour] : {std::tuple(10.0, 0.5, map_colours::kPenumbra),
                                           std::tuple(-20.0, -40.25, map_colours::kUmbra)}) {
        const ScreenPoint p = ProjectToScreen(lat, lon, 1, 1);
        const QRect box(TruncToInt(p.x), TruncToInt(p.y), 3, 3);
        EXPECT_EQ(CountColour(plot.image, Rgb(colour), box), 9);
        EXPECT_EQ(CountColour(plot.image, Rgb(colour), box.adjusted(-2, -2, 2, 2)), 9);
    }
}

TEST(ShadowPlot, OutlineCornerIsTheTopLeftOfItsPoints) {
    Plot plot;
    plot.Run({10.0, 20.0}, {0.0, 10.0}, {50.0}, {100.0});
    const ScreenPoint first = ProjectToScreen(10.0, 0.0, 1, 1);
    const ScreenPoint second = ProjectToScreen(20.0, 10.0, 1, 1);
    ASSERT_TRUE(plot.corner);
    EXPECT_EQ(plot.corner->x, TruncToInt(first.x));
    EXPECT_EQ(plot.corner->y, TruncToInt(second.y));
    const ScreenPoint umbra = ProjectToScreen(50.0, 100.0, 1, 1);
    EXPECT_EQ(plot.image.pixel(TruncToInt(umbra.x) + 1, TruncToInt(umbra.y) + 1),
              Rgb(map_colours::kUmbra));
}

TEST(ShadowPlot, FirstPointStartsTheCornerEvenOffTheMap) {
    Plot plot;
    plot.Run({80.0, 0.0}, {0.0, 0.0});
    // 80°N is not drawn but still starts the box, above the map.
    ASSERT_TRUE(plot.corner);
    EXPECT_LT(plot.corner->y, 0);
    // A later point off the map does not widen it.
    Plot later;
    later.Run({0.0, 80.0}, {0.0, -100.0});
    ASSERT_TRUE(later.corner);
    EXPECT_EQ(later.corner->y, 200);
    EXPECT_EQ(later.corner->x, 370);
}

TEST(ShadowPlot, NoPointsNoCorner) {
    Plot plot;
    plot.Run({}, {}, {}, {});
    EXPECT_FALSE(plot.corner);
}

TEST(ShadowPlot, PoleAndNaNPointsAreNeverConvertedUnguarded) {
    Plot plot;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    plot.Run({nan, 90.0, 10.0}, {0.0, 0.0, nan});
    // The NaN point cannot start the box; the pole does, far above the window.
    ASSERT_TRUE(plot.corner);
    EXPECT_LT(plot.corner->y, -1000);
    EXPECT_GE(plot.corner->y, -kCoordinateLimit);
    EXPECT_EQ(plot.corner->x, 370);
    EXPECT_EQ(CountColour(plot.image, Rgb(map_colours::kPenumbra), plot.image.rect()), 0);
}

namespace {

// A magnified Mercator view over the Americas, and the same view with a margin of
// 100 window pixels all round: the margin's view draws every box of the first, shifted.
MapView Magnified(double margin) {
    MapView v;
    v.scale = 4.0;
    v.areaWidth = 300.0 + 2.0 * margin;
    v.areaHeight = 200.0 + 2.0 * margin;
    v.offsetX = -500.0 + margin;
    v.offsetY = -350.0 + margin;
    return v;
}

QImage PlotIn(const MapView& view, const std::vector<double>& lat, const std::vector<double>& lon) {
    QImage image(TruncToInt(view.areaWidth), TruncToInt(view.areaHeight), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    PlotPointBoxes(dc, view, lat, lon, map_colours::kPenumbra);
    return image;
}

// The outline drawn in one pass (with its runs or without), and the corner that pass gives.
std::pair<QImage, std::optional<CPoint>> PlotOutlineIn(const MapView& view,
                                                       const std::vector<double>& lat,
                                                       const std::vector<double>& lon,
                                                       bool withRuns) {
    QImage image(TruncToInt(view.areaWidth), TruncToInt(view.areaHeight), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    const std::vector<PointRun> runs =
        withRuns ? SummariseOutline(lat, lon) : std::vector<PointRun>{};
    const auto corner = PlotOutline(dc, view, lat, lon, map_colours::kPenumbra, runs);
    painter.end();
    return {image, corner};
}

// The same places drawn one call each, so that no box is left out as drawn lately.
QImage PlotOneByOne(const MapView& view, const std::vector<double>& lat,
                    const std::vector<double>& lon) {
    QImage image(TruncToInt(view.areaWidth), TruncToInt(view.areaHeight), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    for (std::size_t i = 0; i < lat.size() && i < lon.size(); ++i)
        PlotPointBoxes(dc, view, std::span(&lat[i], 1), std::span(&lon[i], 1),
                       map_colours::kPenumbra);
    return image;
}

double RingArea(const QPolygonF& ring) {
    double twice = 0.0;
    for (qsizetype i = 0; i < ring.size(); ++i) {
        const QPointF& a = ring[i];
        const QPointF& b = ring[(i + 1) % ring.size()];
        twice += a.x() * b.y() - b.x() * a.y();
    }
    return std::fabs(twice) / 2.0;
}

} // namespace

TEST(ShadowPlot, AMovedViewDrawsEveryBoxThatReachesItsAreaAndOnlyThose) {
    // Places on a fine grid well beyond the view on every side, in the order of an
    // outline's branches: west and east alternately, south to north.
    const MapView view = Magnified(0.0);
    const auto nw = ViewPlace(view, -40, -40);
    const auto se = ViewPlace(view, 340, 240);
    ASSERT_TRUE(nw && se);
    std::vector<double> lat, lon;
    for (double a = se->lat; a <= nw->lat; a += 0.083) {
        for (double b = 0.0; b <= se->lon - nw->lon; b += 0.09) {
            lat.insert(lat.end(), {a, a});
            lon.insert(lon.end(), {nw->lon + b, se->lon - b});
        }
    }
    const QImage drawn = PlotIn(view, lat, lon);
    const QImage wide = PlotIn(Magnified(100.0), lat, lon).copy(100, 100, 300, 200);
    EXPECT_GT(CountColour(drawn, Rgb(map_colours::kPenumbra), drawn.rect()), 1000);
    EXPECT_EQ(drawn, wide);
}

TEST(VectorMap, ARingCutToARectangleKeepsTheAreaInside) {
    const QRectF rect(0.0, 0.0, 10.0, 10.0);
    // Wholly inside, across one edge, across a corner, outside.
    EXPECT_DOUBLE_EQ(RingArea(ClipRingToRect(QPolygonF({{2, 2}, {8, 2}, {8, 8}, {2, 8}}), rect)),
                     36.0);
    EXPECT_DOUBLE_EQ(RingArea(ClipRingToRect(QPolygonF({{5, 2}, {15, 2}, {15, 8}, {5, 8}}), rect)),
                     30.0);
    EXPECT_DOUBLE_EQ(
        RingArea(ClipRingToRect(QPolygonF({{-5, -5}, {5, -5}, {5, 5}, {-5, 5}}), rect)), 25.0);
    EXPECT_TRUE(ClipRingToRect(QPolygonF({{20, 20}, {30, 20}, {30, 30}}), rect).isEmpty());
    // A U whose two arms leave through the top: both arms' parts inside remain, the
    // bottom joining them, and nothing of the gap between them.
    const QPolygonF u({{1, -5}, {3, -5}, {3, 6}, {7, 6}, {7, -5}, {9, -5}, {9, 8}, {1, 8}});
    EXPECT_DOUBLE_EQ(RingArea(ClipRingToRect(u, rect)), 2 * 2 * 6 + 8 * 2);
}

TEST(VectorMap, ABorderAlongAParallelIsDrawnInAMagnifiedView) {
    // A map of one border along 22° N: its box has no height.
    VectorMap map;
    map.layers.push_back({MapLineKind::Border, MapDetail::Medium, {{{22.0, 25.0}, {22.0, 37.0}}}});
    const MapView view = ZoomedAbout(DefaultView(1.0, 1.0), 430.0, 160.0, 4.0);
    QImage image(730, 330, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        PaintVectorMap(dc, view, BaseMap(std::move(map)));
    }
    const auto p = ViewPosition(view, 22.0, 31.0);
    ASSERT_TRUE(p);
    const QRgb sea = image.pixel(TruncToInt(p->x), TruncToInt(p->y) - 20);
    EXPECT_NE(image.pixel(TruncToInt(p->x), TruncToInt(p->y)), sea);
}

TEST(ShadowPlot, AGlobeDrawsAnOutlineAsItsPointsOneByOne) {
    // Two branches of a ring round 60° N, close enough to share pixels, in the order a
    // sliced outline gives them; part of the ring lies beyond the limb.
    MapView view = GlobeView(1.0, 1.0, 20.0, -40.0);
    view.areaWidth = 400.0;
    view.areaHeight = 300.0;
    std::vector<double> lat, lon;
    for (double a = -180.0; a < 180.0; a += 0.011) {
        lat.insert(lat.end(), {60.0 + 8.0 * std::sin(a / 20.0), 45.0});
        lon.insert(lon.end(), {a, -a});
    }
    const QImage together = PlotIn(view, lat, lon);
    const QImage alone = PlotOneByOne(view, lat, lon);
    EXPECT_GT(CountColour(together, Rgb(map_colours::kPenumbra), together.rect()), 1000);
    EXPECT_EQ(together, alone);
}

TEST(VectorMap, AGlobeFillsARingThatGoesBehindTheLimbOnlyWhereItShows) {
    // A cap of land north of 50° N, its ring drawn both ways round, seen from 20° N: the
    // ring passes behind the limb, and the cap spans many tiles of the fill.
    MapView view = GlobeView(1.0, 1.0, 20.0, 30.0);
    view.areaWidth = 600.0;
    view.areaHeight = 600.0;
    std::vector<VectorMap> maps(2);
    for (std::size_t m = 0; m < maps.size(); ++m) {
        std::vector<MapPlace> ring;
        for (double lon = -180.0; lon < 180.0; lon += 0.5) {
            ring.push_back({50.0, m == 0 ? lon : -lon});
        }
        for (const MapDetail detail : {MapDetail::Coarse, MapDetail::Medium}) {
            maps[m].layers.push_back({MapLineKind::Land, detail, {ring}});
        }
    }
    for (const VectorMap& map : maps) {
        QImage image(600, 600, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDC dc(painter, 96, 96);
            PaintVectorMap(dc, view, BaseMap(map));
        }
        auto pixel = [&](double lat, double lon) {
            const auto p = ViewPosition(view, lat, lon);
            EXPECT_TRUE(p);
            return p ? image.pixel(TruncToInt(p->x), TruncToInt(p->y)) : QRgb{};
        };
        // The map's land and sea, at samples clear of the graticule's lines.
        const QRgb land = qRgb(236, 228, 196);
        const QRgb sea = qRgb(178, 212, 240);
        EXPECT_EQ(pixel(80.0, 15.0), land);
        EXPECT_EQ(pixel(5.0, 45.0), sea);
        // Inside the cap up to the limb behind the pole, and nowhere south of it.
        EXPECT_EQ(pixel(77.0, -165.0), land);
        for (const double lon : {-45.0, 15.0, 45.0, 105.0}) {
            EXPECT_EQ(pixel(65.0, lon), land) << lon;
            EXPECT_EQ(pixel(42.0, lon), sea) << lon;
        }
    }
}

TEST(ShadowPlot, AMercatorOutlineInOnePassDrawsAndCornersAsBoxesAndCornerApart) {
    // A ring across the antimeridian, north of the map's range in part, in a zoomed view
    // that cuts it: the one pass's boxes and corner are those of the two functions.
    const MapView view = ZoomedAbout(DefaultView(1.0, 1.0), 720.0, 100.0, 8.0);
    std::vector<double> lat, lon;
    for (double a = 0.0; a < 360.0; a += 0.005) {
        const double t = a * projection::kDegToRad;
        lat.push_back(62.0 + 20.0 * std::sin(t));
        lon.push_back(std::remainder(175.0 + 30.0 * std::cos(t), 360.0));
    }
    const auto [together, corner] = PlotOutlineIn(view, lat, lon, false);
    const QImage apart = PlotIn(view, lat, lon);
    EXPECT_GT(CountColour(together, Rgb(map_colours::kPenumbra), together.rect()), 500);
    EXPECT_EQ(together, apart);
    const auto expected = OutlineCorner(lat, lon, view);
    ASSERT_TRUE(corner && expected);
    EXPECT_EQ(corner->x, expected->x);
    EXPECT_EQ(corner->y, expected->y);
    // Its runs pass over what cannot show and give the same picture and corner.
    const auto [byRuns, runCorner] = PlotOutlineIn(view, lat, lon, true);
    EXPECT_EQ(byRuns, together);
    ASSERT_TRUE(runCorner);
    EXPECT_EQ(runCorner->x, expected->x);
    EXPECT_EQ(runCorner->y, expected->y);
}

TEST(ShadowPlot, AGlobeOutlineIsLabelledAtItsOwnPointNearestTheTopLeft) {
    // A dense ring whose top and left lie on the near side, part of it behind the limb:
    // the corner of its box lies off the disc, its own top-left point on it.
    const MapView view = GlobeView(1.0, 1.0, 10.0, -20.0);
    std::vector<double> lat, lon;
    for (double a = 0.0; a < 360.0; a += 0.003) {
        lat.push_back(20.0 + 40.0 * std::sin(a * projection::kDegToRad));
        lon.push_back(-20.0 + 100.0 * std::cos(a * projection::kDegToRad));
    }
    const auto anchor = OutlineCorner(lat, lon, view);
    ASSERT_TRUE(anchor);
    std::optional<CPoint> nearest;
    int left = std::numeric_limits<int>::max(), top = std::numeric_limits<int>::max();
    for (std::size_t i = 0; i < lat.size(); ++i) {
        if (const auto p = ViewPosition(view, lat[i], lon[i])) {
            const CPoint q{TruncToInt(p->x), TruncToInt(p->y)};
            left = std::min(left, q.x);
            top = std::min(top, q.y);
            if (!nearest || q.x + q.y < nearest->x + nearest->y) {
                nearest = q;
            }
        }
    }
    EXPECT_FALSE(ViewPlace(view, left, top));
    EXPECT_TRUE(ViewPlace(view, anchor->x, anchor->y));
    EXPECT_EQ(anchor->x, nearest->x);
    EXPECT_EQ(anchor->y, nearest->y);
}

TEST(ShadowPlot, AGlobeOutlineInOnePassDrawsAndAnchorsAsItsPointsOneByOne) {
    // Four interleaved branches, as a sliced outline gives them: one crosses the limb,
    // one the area's right and bottom edges, one runs north of the map's range of
    // latitude (boxed and anchored there too), one is a small loop sharing pixels.
    MapView view = GlobeView(1.0, 1.0, 25.0, -30.0);
    view.areaWidth = 330.5;
    view.areaHeight = 250.5;
    view.scale = 1.6;
    std::vector<double> lat, lon;
    for (double a = 0.0; a < 360.0; a += 0.007) {
        const double t = a * projection::kDegToRad;
        lat.insert(lat.end(), {30.0 + 35.0 * std::sin(t), 5.0 + 20.0 * std::sin(2.0 * t),
                               82.0 + 5.0 * std::sin(t), 20.0 + 0.3 * std::sin(t)});
        lon.insert(lon.end(), {-30.0 + 95.0 * std::cos(t), -10.0 + 30.0 * std::cos(t),
                               -30.0 + 60.0 * std::cos(t), -35.0 + 0.3 * std::cos(t)});
    }
    const auto [together, corner] = PlotOutlineIn(view, lat, lon, false);
    const QImage alone = PlotOneByOne(view, lat, lon);
    EXPECT_GT(CountColour(together, Rgb(map_colours::kPenumbra), together.rect()), 2000);
    EXPECT_EQ(together, alone);
    // The anchor from every place's own projection: of those on the near side whose box is
    // drawn in the area, the one nearest the top-left.
    std::optional<CPoint> expected;
    for (std::size_t i = 0; i < lat.size(); ++i) {
        const auto p = ViewPosition(view, lat[i], lon[i]);
        if (p && p->x > -3.0 && p->y > -3.0 && p->x < view.areaWidth + 1.0 &&
            p->y < view.areaHeight + 1.0) {
            const CPoint q{TruncToInt(p->x), TruncToInt(p->y)};
            if (!expected || q.x + q.y < expected->x + expected->y) {
                expected = q;
            }
        }
    }
    ASSERT_TRUE(corner && expected);
    EXPECT_EQ(corner->x, expected->x);
    EXPECT_EQ(corner->y, expected->y);
    EXPECT_EQ(OutlineCorner(lat, lon, view)->x, expected->x);
    EXPECT_EQ(OutlineCorner(lat, lon, view)->y, expected->y);
    const auto [byRuns, runCorner] = PlotOutlineIn(view, lat, lon, true);
    EXPECT_EQ(byRuns, together);
    ASSERT_TRUE(runCorner);
    EXPECT_EQ(runCorner->x, expected->x);
    EXPECT_EQ(runCorner->y,
              expected->y); // Magnified, where most runs lie beyond the area's corners.
    view.scale = 5.0;
    EXPECT_EQ(PlotOutlineIn(view, lat, lon, true).first, PlotOneByOne(view, lat, lon));
}
