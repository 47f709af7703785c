#pragma once

// Pixel counts for the tests that look at what was drawn.

#include <QImage>
#include <QRect>
#include <QWidget>

namespace test_pixels {

// Pixels of exactly colour inside area (right and bottom included), clipped to the image.
inline int CountColour(const QImage& image, QRgb colour, QRect area) {
    area &= image.rect();
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            count += image.pixel(x, y) == colour ? 1 : 0;
        }
    }
    return count;
}

// What a window shows: its paint handler run into an image, without its child controls.
inline QImage WindowPicture(QWidget& window) {
    QImage image(window.size(), QImage::Format_RGB32);
    image.fill(Qt::black);
    window.render(&image, QPoint(), QRegion(), QWidget::RenderFlags());
    return image;
}

} // namespace test_pixels
