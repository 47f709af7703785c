#include "render/town_labels.h"

#include <QPainter>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// Window pixels per degree of arc on the ground at the middle of the view's area.
double PixelsPerDegree(const MapView& view) {
    const double cx = view.areaWidth * view.zoomX / 2.0;
    const double cy = view.areaHeight * view.zoomY / 2.0;
    const auto a = ViewPlace(view, static_cast<int>(cx - 50.0), static_cast<int>(cy));
    const auto b = ViewPlace(view, static_cast<int>(cx + 50.0), static_cast<int>(cy));
    if (!a || !b)
        return 0.0;
    double dLon = std::fmod(b->lon - a->lon + 540.0, 360.0) - 180.0;
    dLon *= std::cos(a->lat * M_PI / 180.0);
    const double degrees = std::hypot(dLon, b->lat - a->lat);
    return degrees > 0.0 ? 100.0 / degrees : 0.0;
}

} // namespace

long TownPopulationThreshold(const MapView& view) {
    if (IsDefaultView(view))
        return std::numeric_limits<long>::max();
    const double ppd = PixelsPerDegree(view);
    if (!(ppd > 0.0))
        return std::numeric_limits<long>::max();
    const double threshold = 4.0e8 / (ppd * ppd);
    return threshold > 1e9 ? std::numeric_limits<long>::max()
                           : std::max(5000L, static_cast<long>(threshold));
}

void DrawTownLabels(CDC& dc, const MapView& view, std::span<const MapTown> towns,
                    std::vector<LabelBox>& placed) {
    const long threshold = TownPopulationThreshold(view);
    if (towns.empty() || threshold == std::numeric_limits<long>::max())
        return;
    const double width = std::trunc(view.areaWidth * view.zoomX);
    const double height = std::trunc(view.areaHeight * view.zoomY);
    const LabelBox area{0.0, 0.0, width, height};
    dc.SetMapMode(MM_TEXT);
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    dc.SetTextColor(RGB(40, 40, 40));
    dc.SetBkMode(TRANSPARENT);
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(40, 40, 40));
    constexpr double kDot = 2.5; // radius, pixels
    for (const MapTown& town : towns) {
        if (town.population < threshold)
            break;
        const auto p = ViewPosition(view, town.lat, town.lon);
        if (!p || p->x < 0 || p->y < 0 || p->x >= width || p->y >= height)
            continue;
        const LabelBox dot{p->x - kDot, p->y - kDot, 2.0 * kDot, 2.0 * kDot};
        if (std::any_of(placed.begin(), placed.end(),
                        [&](const LabelBox& b) { return Overlap(b, dot); }))
            continue;
        const QString text = QString::fromStdString(town.name);
        const QSizeF size = dc.TextExtent(text);
        // Each name keeps a margin of kGap pixels clear around it.
        constexpr double kGap = 4.0;
        const double w = size.width() + 2.0 * kGap;
        const double h = size.height() + 2.0 * kGap;
        // Right of the dot, left of it, above, below.
        const LabelBox candidates[] = {{p->x + kDot, p->y - h / 2.0, w, h},
                                       {p->x - kDot - w, p->y - h / 2.0, w, h},
                                       {p->x - w / 2.0, p->y - kDot - h, w, h},
                                       {p->x - w / 2.0, p->y + kDot, w, h}};
        const auto box = PlaceLabel(placed, candidates, area);
        if (!box)
            continue;
        placed.push_back(dot);
        painter.drawEllipse(QPointF(p->x, p->y), kDot, kDot);
        dc.TextOut(static_cast<int>(std::lround(box->left)),
                   static_cast<int>(std::lround(box->top)), text);
    }
    painter.restore();
    dc.SelectObject(oldFont);
}
