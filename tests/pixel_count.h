#pragma once

// Pixel counts for the tests that look at what was drawn.

#include <QImage>
#include <QRect>

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

} // namespace test_pixels
