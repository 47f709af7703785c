#include "platform/dc.h"

#include <QImage>
#include <QPainter>
#include <QPicture>

#include <vector>

#include <gtest/gtest.h>

namespace {

constexpr QRgb kWhite = 0xffffffff;

QImage WhiteImage(int w, int h) {
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(Qt::white);
    return image;
}

// Bounding box of the pixels that are not white.
QRect Painted(const QImage& image) {
    QRect box;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != kWhite) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

void SelectSolid(CDC& dc, int penWidth, COLORREF colour) {
    dc.SelectObject(QPen(ToQColor(colour), penWidth));
    dc.SelectObject(QBrush(ToQColor(colour)));
}

} // namespace

TEST(DeviceContext, RectangleWithThinPenLeavesOutRightAndBottomEdges) {
    QImage image = WhiteImage(40, 40);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        SelectSolid(dc, 1, RGB(0, 64, 128));
        dc.Rectangle(10, 5, 20, 12);
    }
    EXPECT_EQ(Painted(image), QRect(QPoint(10, 5), QPoint(19, 11)));
    EXPECT_EQ(image.pixel(10, 5), qRgb(0, 64, 128));
}

TEST(DeviceContext, WidePenIsCentredOnTheOutline) {
    QImage image = WhiteImage(40, 40);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        SelectSolid(dc, 2, RGB(128, 128, 192));
        dc.Rectangle(10, 10, 12, 12); // a plotted point
    }
    EXPECT_EQ(Painted(image), QRect(QPoint(10, 10), QPoint(12, 12)));
}

TEST(DeviceContext, LowMetricMapsTenthsOfMillimetresWithYUp) {
    // 127 dots per inch: one page unit (0.1 mm) is half a pixel.
    QImage image = WhiteImage(200, 200);
    {
        QPainter painter(&image);
        CDC dc(painter, 127, 127);
        dc.SetMapMode(MM_LOMETRIC);
        EXPECT_EQ(dc.LPtoDP(200, -100), QPointF(100, 50));
        SelectSolid(dc, 1, RGB(0, 0, 0));
        // Corners given top (y −20) and bottom (y −100) as the page drawing does.
        dc.Rectangle(40, -20, 100, -100);
    }
    EXPECT_EQ(Painted(image), QRect(QPoint(20, 10), QPoint(49, 49)));
}

TEST(DeviceContext, SelectingReturnsThePreviousObject) {
    QImage image = WhiteImage(4, 4);
    QPainter painter(&image);
    CDC dc(painter, 96, 96);
    const LogicalFont first{15, true, true};
    const LogicalFont second{-30};
    const LogicalFont stock = dc.SelectObject(first);
    EXPECT_EQ(stock.height, 0);
    const LogicalFont previous = dc.SelectObject(second);
    EXPECT_EQ(previous.height, 15);
    EXPECT_TRUE(previous.italic);
    const QPen pen(Qt::red, 3);
    const QPen stockPen = dc.SelectObject(pen);
    EXPECT_EQ(dc.SelectObject(stockPen), pen);
}

TEST(DeviceContext, TextStandsBelowAndRightOfItsPoint) {
    QImage image = WhiteImage(200, 60);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        dc.SelectObject(LogicalFont{20});
        dc.SetBkMode(TRANSPARENT);
        dc.TextOut(50, 20, QStringLiteral("MAP"));
    }
    const QRect text = Painted(image);
    ASSERT_FALSE(text.isNull());
    EXPECT_GE(text.left(), 50);
    EXPECT_GE(text.top(), 20);
    // A cell height of 20 pixels: capitals fill most of it, nothing falls below it.
    EXPECT_LE(text.bottom(), 40);
    EXPECT_GE(text.height(), 10);
}

TEST(DeviceContext, StretchCopyScalesWithoutSmoothingAndMirrorsOnNegativeExtent) {
    QImage source(2, 1, QImage::Format_RGB32);
    source.setPixel(0, 0, qRgb(255, 0, 0));
    source.setPixel(1, 0, qRgb(0, 0, 255));
    QImage image = WhiteImage(8, 2);
    {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        dc.StretchBlt(0, 0, 4, 1, source, 0, 0, 2, 1);
        dc.StretchBlt(8, 1, -4, 1, source, 0, 0, 2, 1);
    }
    EXPECT_EQ(image.pixel(1, 0), qRgb(255, 0, 0));
    EXPECT_EQ(image.pixel(2, 0), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(4, 0), kWhite);
    // Mirrored: blue first.
    EXPECT_EQ(image.pixel(4, 1), qRgb(0, 0, 255));
    EXPECT_EQ(image.pixel(7, 1), qRgb(255, 0, 0));
}

// Boxes drawn on a page description (here a recorded picture, as on a PDF) cover exactly
// the pixels that the same boxes cover on a raster surface, whatever merging the page
// does: overlapping, touching, separate, repeated, and boxes of different heights in a
// row.
TEST(DeviceContext, BoxesOnAPageCoverTheSamePixelsAsOnAnImage) {
    std::vector<CRect> boxes;
    for (int i = 0; i < 40; ++i) {
        const int left = (i * 37) % 150;
        const int top = 10 + (i % 4) * 3;
        boxes.push_back({left, top, left + 7 + i % 3, top + 7 + (i % 5 == 0 ? 4 : 0)});
    }
    boxes.push_back({160, 60, 167, 67});
    boxes.push_back({167, 60, 174, 67}); // touches the one before
    boxes.push_back({176, 60, 183, 67}); // a gap of two pixels
    boxes.push_back({160, 60, 167, 67}); // repeated
    const COLORREF colour = RGB(80, 80, 80);

    QImage direct = WhiteImage(200, 100);
    {
        QPainter painter(&direct);
        CDC dc(painter, 96, 96);
        dc.FillBoxes(boxes, 2, colour);
    }
    QPicture picture;
    {
        QPainter painter(&picture);
        CDC dc(painter, 96, 96);
        dc.FillBoxes(boxes, 2, colour);
    }
    QImage replayed = WhiteImage(200, 100);
    {
        QPainter painter(&replayed);
        painter.drawPicture(0, 0, picture);
    }
    EXPECT_EQ(direct, replayed);
    EXPECT_EQ(direct.pixel(170, 63), qRgb(80, 80, 80));
    EXPECT_EQ(direct.pixel(175, 63), kWhite);
}

TEST(DeviceContext, PolylineStrokesThePointsAsLineToDoesStepByStep) {
    const std::vector<CPoint> points = {{10, 10}, {60, 10}, {60, 50}, {20, 70}};
    auto draw = [&](bool polyline) {
        QImage image = WhiteImage(100, 100);
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        dc.SelectObject(QPen(ToQColor(RGB(0, 0, 0)), 1, Qt::SolidLine, Qt::FlatCap));
        if (polyline) {
            dc.Polyline(points);
        } else {
            dc.MoveTo(points[0].x, points[0].y);
            for (std::size_t i = 1; i < points.size(); ++i)
                dc.LineTo(points[i].x, points[i].y);
        }
        painter.end();
        return image;
    };
    const QImage joined = draw(true);
    EXPECT_EQ(Painted(joined), Painted(draw(false)));
    EXPECT_NE(joined.pixel(35, 10), kWhite);
    EXPECT_NE(joined.pixel(60, 30), kWhite);
    EXPECT_EQ(joined.pixel(35, 40), kWhite);
}
