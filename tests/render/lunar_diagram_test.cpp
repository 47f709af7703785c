// The lunar diagram as drawn: the umbra in its colour at the centre, the track
// across it, east to the left.
#include "pixel_count.h"
#include "platform/dc.h"
#include "render/lunar_diagram_painter.h"
#include "render/map_painter.h"

#include <QImage>
#include <QPainter>

#include <algorithm>

#include <gtest/gtest.h>

namespace {

QImage Draw(const LunarDiagram& d) {
    QImage image(240, 200, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    CDC dc(painter);
    DrawLunarDiagram(dc, {0, 0, 240, 200}, d);
    return image;
}

bool Reddish(QColor c) {
    return c.red() > 150 && c.green() < 100 && c.blue() < 100;
}

TEST(LunarDiagram, ShadowAndTrackWithEastToTheLeft) {
    LunarDiagram d;
    d.penumbraRadius = 1.3;
    d.umbraRadius = 0.75;
    d.moonRadius = 0.27;
    // A track north of the axis, from west (negative x is west) to east.
    for (int i = 0; i <= 20; ++i)
        d.track.push_back({-1.6 + 0.16 * i, 0.5});
    d.moons = {{{-1.6, 0.5}, "P1"}, {{0.0, 0.5}, "Greatest"}, {{1.6, 0.5}, "P4"}};
    d.title = "Test";
    const QImage image = Draw(d);
    const QRgb umbra = ToQColor(map_colours::kUmbra).rgb();
    // Where the umbra and the track were drawn.
    double umbraY = 0.0, trackY = 0.0;
    int umbraCount = 0, trackCount = 0, west = 0, east = 240;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) == umbra) {
                umbraY += y;
                ++umbraCount;
            } else if (Reddish(image.pixelColor(x, y))) {
                trackY += y;
                ++trackCount;
                west = std::max(west, x);
                east = std::min(east, x);
            }
        }
    ASSERT_GT(umbraCount, 300);
    ASSERT_GT(trackCount, 50);
    // North of the axis is up.
    EXPECT_LT(trackY / trackCount, umbraY / umbraCount - 10.0);
    // The arrow at the eastern end makes that end of the track the heavier one; east
    // is on the left.
    const auto redIn = [&](int from, int to) {
        int n = 0;
        for (int y = 0; y < image.height(); ++y)
            for (int x = from; x <= to; ++x)
                n += Reddish(image.pixelColor(x, y)) ? 1 : 0;
        return n;
    };
    EXPECT_GT(redIn(east, east + 6), redIn(west - 6, west));

    EXPECT_EQ(Draw(LunarDiagram{}).pixel(120, 110), QColor(Qt::white).rgb());
}

} // namespace
