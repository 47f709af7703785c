#include "icon.h"

#include <QPainter>
#include <QPainterPath>

namespace mapgen {

namespace {

// The base map's colours (worldmap.cpp) and the window's shadow colours.
const QColor kOcean(178, 212, 240);
const QColor kCoast(52, 84, 120);
const QColor kLandGreen(194, 224, 160);
const QColor kLandSand(244, 226, 150);
const QColor kPenumbra(128, 128, 192);
const QColor kUmbra(0, 64, 128);

// A land mass as a closed curve through points given in a unit square (0..1).
QPainterPath Land(std::initializer_list<QPointF> points, double size) {
    QPainterPath path;
    const QPointF* first = points.begin();
    path.moveTo(first->x() * size, first->y() * size);
    for (const QPointF* p = first + 1; p != points.end(); ++p) {
        path.lineTo(p->x() * size, p->y() * size);
    }
    path.closeSubpath();
    return path;
}

} // namespace

QImage DrawIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const double s = size;
    const double line = std::max(1.0, s / 32.0);
    const QRectF globe(line / 2, line / 2, s - line, s - line);

    QPainterPath disc;
    disc.addEllipse(globe);
    p.setClipPath(disc);
    p.fillRect(QRectF(0, 0, s, s), kOcean);

    // Africa and Europe in the sand colour, the Americas' edge in green: enough to read
    // as the Earth at 16 pixels.
    p.setPen(QPen(kCoast, std::max(0.6, s / 64.0)));
    p.setBrush(kLandSand);
    p.drawPath(Land({{0.42, 0.10},
                     {0.62, 0.08},
                     {0.70, 0.22},
                     {0.66, 0.34},
                     {0.78, 0.40},
                     {0.80, 0.56},
                     {0.70, 0.72},
                     {0.62, 0.92},
                     {0.54, 0.92},
                     {0.50, 0.70},
                     {0.40, 0.52},
                     {0.30, 0.46},
                     {0.32, 0.30},
                     {0.44, 0.26}},
                    s));
    p.setBrush(kLandGreen);
    p.drawPath(Land({{0.00, 0.20},
                     {0.14, 0.16},
                     {0.20, 0.30},
                     {0.16, 0.48},
                     {0.22, 0.62},
                     {0.12, 0.90},
                     {0.00, 0.92}},
                    s));

    // The penumbra, a translucent disc, and the umbra at its centre.
    QColor penumbra = kPenumbra;
    penumbra.setAlpha(170);
    p.setPen(Qt::NoPen);
    p.setBrush(penumbra);
    p.drawEllipse(QPointF(0.58 * s, 0.42 * s), 0.27 * s, 0.27 * s);
    p.setBrush(kUmbra);
    p.drawEllipse(QPointF(0.58 * s, 0.42 * s), 0.09 * s, 0.09 * s);

    p.setClipping(false);
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kCoast, line));
    p.drawEllipse(globe);
    return image;
}

} // namespace mapgen
