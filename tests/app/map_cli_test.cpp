// kestrova-cli's map command: the window after the map button, as a PNG.

#include "app/cli_render.h"
#include "geo/projection.h"
#include "render/map_painter.h"

#include <QImage>
#include <QTemporaryDir>

#include "pixel_count.h"

#include <gtest/gtest.h>

namespace {

int CountColour(const QImage& image, COLORREF colour, QRect area) {
    return test_pixels::CountColour(
        image, qRgb(GetRValue(colour), GetGValue(colour), GetBValue(colour)), area);
}

} // namespace

TEST(CliMap, WritesTheWindowAfterTheMapButton) {
    QTemporaryDir dir;
    const QString path = dir.filePath("map.png");
    ASSERT_EQ(RenderMapPng("29", "3", "2006", path.toStdString(), 748, 539, Ephemeris::Precise), 0);
    const QImage image(path);
    ASSERT_EQ(image.size(), QSize(748, 539));
    const QRect map(0, 0, 730, 330);
    EXPECT_GT(CountColour(image, map_colours::kPenumbra, map), 1000);
    // The central line and the limits lie over the middle of the umbra's points.
    EXPECT_GT(CountColour(image, map_colours::kUmbra, map), 300);
    EXPECT_GT(CountColour(image, map_colours::kFirstLimit, map), 100);

    // At another size the same picture is scaled: the path still crosses Libya.
    const QString big = dir.filePath("big.png");
    ASSERT_EQ(RenderMapPng("29", "3", "2006", big.toStdString(), 1496, 1078, Ephemeris::Precise),
              0);
    const QImage scaled(big);
    ASSERT_EQ(scaled.size(), QSize(1496, 1078));
    const ScreenPoint libya = ProjectToScreen(23.0, 16.0, 2.0, 2.0);
    EXPECT_GT(CountColour(scaled, map_colours::kUmbra,
                          QRect(TruncToInt(libya.x) - 10, TruncToInt(libya.y) - 10, 21, 21)),
              0);
}

TEST(CliMap, ReportsSizesAndFilesItCannotUse) {
    QTemporaryDir dir;
    EXPECT_EQ(RenderMapPng("29", "3", "2006", dir.filePath("a.png").toStdString(), 0, 539,
                           Ephemeris::Precise),
              2);
    EXPECT_EQ(RenderMapPng("29", "3", "2006", dir.filePath("no/such/dir/a.png").toStdString(), 748,
                           539, Ephemeris::Precise),
              1);
    // A date without an eclipse of either kind still gives its picture (with the limit
    // curves).
    const QString path = dir.filePath("none.png");
    ASSERT_EQ(RenderMapPng("16", "3", "2006", path.toStdString(), 748, 539, Ephemeris::Precise), 0);
    const QImage image(path);
    EXPECT_EQ(CountColour(image, map_colours::kPenumbra, QRect(0, 0, 730, 330)), 0);
    EXPECT_GT(CountColour(image, map_colours::kFirstLimit, QRect(0, 0, 730, 330)), 100);
}
