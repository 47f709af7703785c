#include "render/lunar_diagram_painter.h"

#include "geo/projection.h"
#include "render/map_painter.h"

#include <QPainterPath>
#include <QString>

#include <algorithm>
#include <cmath>

namespace {

constexpr double kWidth = 190.0, kHeight = 120.0; // the diagram's box, design pixels
constexpr double kMargin = 4.0;                   // from the map's edges, design pixels

CRect ScaledRect(double left, double top, double zoomX, double zoomY) {
    return {static_cast<int>(std::trunc(left * zoomX)), static_cast<int>(std::trunc(top * zoomY)),
            static_cast<int>(std::trunc((left + kWidth) * zoomX)),
            static_cast<int>(std::trunc((top + kHeight) * zoomY))};
}

} // namespace

CRect LunarDiagramRect(const LunarDiagram& d, double zoomX, double zoomY) {
    const double lat = std::clamp(d.anchorLat, projection::kSouthLimit, projection::kNorthLimit);
    const ScreenPoint at = ProjectToScreen(lat, d.anchorLon, 1.0, 1.0);
    const double left =
        std::clamp(at.x - kWidth / 2.0, kMargin, projection::kMapWidth - kMargin - kWidth);
    const double top = std::clamp(at.y - kHeight / 2.0, kMargin, projection::kMapHeight - kHeight);
    return ScaledRect(left, top, zoomX, zoomY);
}

CRect LunarDiagramCornerRect(double areaHeight, double zoomX, double zoomY) {
    return ScaledRect(kMargin, std::max(kMargin, areaHeight - kMargin - kHeight), zoomX, zoomY);
}

void DrawLunarDiagram(CDC& dc, const CRect& box, const LunarDiagram& d) {
    if (d.empty() || !(d.penumbraRadius > 0.0) || box.Width() < 40 || box.Height() < 40)
        return;
    QPainter& p = dc.Painter();
    p.save();
    p.setRenderHint(QPainter::Antialiasing, true);
    const QPointF topLeft = dc.LPtoDP(box.left, box.top);
    const QPointF bottomRight = dc.LPtoDP(box.right, box.bottom);
    const QRectF frame = QRectF(topLeft, bottomRight).normalized();
    p.setPen(QPen(Qt::black, 1));
    p.setBrush(QColor(255, 255, 255, 225));
    p.drawRect(frame);

    // The scale: the penumbra and the whole track (with the Moon's disc) fit the
    // box below the title line.
    // The title, when the box has room for it, on the left; the diagram on the right.
    const double textHeight = std::clamp(frame.height() * 0.14, 9.0, 16.0);
    const QRectF area =
        frame.adjusted(frame.width() * 0.34, textHeight * 0.9, -4.0, -textHeight * 0.9);
    double extentX = d.penumbraRadius + d.moonRadius;
    double extentY = extentX;
    for (const DiagramPoint& q : d.track) {
        extentX = std::max(extentX, std::fabs(q.x) + d.moonRadius);
        extentY = std::max(extentY, std::fabs(q.y) + d.moonRadius);
    }
    const double scale = std::min(area.width() / (2.0 * extentX), area.height() / (2.0 * extentY));
    const QPointF centre = area.center();
    // East to the left: x is drawn mirrored.
    const auto at = [&](const DiagramPoint& q) {
        return QPointF(centre.x() - q.x * scale, centre.y() - q.y * scale);
    };

    p.setPen(Qt::NoPen);
    p.setBrush(ToQColor(map_colours::kPenumbra).lighter(150));
    p.drawEllipse(centre, d.penumbraRadius * scale, d.penumbraRadius * scale);
    p.setBrush(ToQColor(map_colours::kUmbra));
    p.drawEllipse(centre, d.umbraRadius * scale, d.umbraRadius * scale);

    QPainterPath track;
    track.moveTo(at(d.track.front()));
    for (std::size_t i = 1; i < d.track.size(); ++i)
        track.lineTo(at(d.track[i]));
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(200, 40, 40), 1.5));
    p.drawPath(track);
    // An arrowhead at the end, along the last step.
    if (d.track.size() >= 2) {
        const QPointF tip = at(d.track.back());
        const QPointF before = at(d.track[d.track.size() - 2]);
        const double angle = std::atan2(tip.y() - before.y(), tip.x() - before.x());
        const double size = 7.0;
        p.drawLine(tip,
                   tip - QPointF(size * std::cos(angle - 0.45), size * std::sin(angle - 0.45)));
        p.drawLine(tip,
                   tip - QPointF(size * std::cos(angle + 0.45), size * std::sin(angle + 0.45)));
    }

    QFont font = p.font();
    font.setPixelSize(static_cast<int>(textHeight * 0.8));
    p.setFont(font);
    const double moon = d.moonRadius * scale;
    // Labels beside the discs, across the track, alternately on either side so that
    // neighbours do not collide.
    const QPointF along = at(d.track.back()) - at(d.track.front());
    const double length = std::hypot(along.x(), along.y());
    const QPointF across =
        length > 0.0 ? QPointF(-along.y() / length, along.x() / length) : QPointF(0.0, -1.0);
    for (std::size_t i = 0; i < d.moons.size(); ++i) {
        const QPointF c = at(d.moons[i].centre);
        p.setPen(QPen(Qt::black, 1));
        p.drawEllipse(c, moon, moon);
        const double side = i % 2 == 0 ? 1.0 : -1.0;
        const QPointF spot = c + across * (side * (moon + textHeight * 0.8));
        p.drawText(QRectF(spot.x() - 30.0, spot.y() - textHeight / 2.0, 60.0, textHeight),
                   Qt::AlignCenter, QString::fromStdString(d.moons[i].label));
    }

    p.setPen(Qt::black);
    const QRectF text(frame.left() + 4.0, frame.top() + 2.0, area.left() - frame.left() - 6.0,
                      frame.height() - 4.0);
    p.drawText(text, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
               QString::fromStdString(d.title) + QStringLiteral("\nN \u2191  E \u2190"));
    p.restore();
}
