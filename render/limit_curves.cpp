#include "render/limit_curves.h"

#include "geo/map_overlay.h"
#include "geo/projection.h"
#include "render/map_painter.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace {

struct LimitPlot {
    std::vector<CRect> boxes;
    std::optional<double> captionX; // window x of the caption, at the first finite point
    double captionY = 0.0;          // and that point's y
};

// The boxes of one series and the place of its caption. The series is walked from the
// last latitude down, so the caption ends up at its first finite point.
LimitPlot PlanLimitSeries(const MapView& view, const std::vector<double>& latitudes,
                          const std::vector<double>& hours, std::size_t count) {
    LimitPlot plot;
    for (std::size_t i = count; i-- > 0;) {
        if (!std::isfinite(hours[i])) {
            continue;
        }
        const auto at = ViewPosition(view, latitudes[i], LimitCurveLongitude(hours[i]));
        if (!at) {
            continue;
        }
        const ScreenPoint p = *at;
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        const auto x2 = TruncateCoordinate(p.x + 2);
        const auto y2 = TruncateCoordinate(p.y + 2);
        if (!x || !y || !x2 || !y2) {
            continue;
        }
        plot.boxes.push_back({*x, *y, *x2, *y2});
        plot.captionX = p.x - 10 * view.zoomX;
        plot.captionY = p.y;
    }
    return plot;
}

} // namespace

void PlotLimitCurvePoints(CDC& dc, const MapView& view, const std::vector<double>& latitudes,
                          const std::vector<double>& first, const std::vector<double>& second) {
    dc.SetMapMode(MM_TEXT);
    const std::size_t n = std::min({latitudes.size(), first.size(), second.size()});
    const LimitPlot rise = PlanLimitSeries(view, latitudes, first, n);
    const LimitPlot set = PlanLimitSeries(view, latitudes, second, n);
    // Where the two series meet, the sunset series lies on top.
    dc.FillBoxes(rise.boxes, 2, map_colours::kFirstLimit);
    dc.FillBoxes(set.boxes, 2, map_colours::kSecondLimit);

    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    // The design row 310 in the default view; elsewhere beside the curve's first point.
    const bool design = IsDefaultView(view);
    const int row = TruncToInt(310 * view.zoomY);
    if (rise.captionX) {
        dc.TextOut(TruncToInt(*rise.captionX), design ? row : TruncToInt(rise.captionY - 14),
                   QStringLiteral("Sunrise UT"));
    }
    if (set.captionX) {
        dc.TextOut(TruncToInt(*set.captionX), design ? row : TruncToInt(set.captionY - 14),
                   QStringLiteral("Sunset UT"));
    }
    dc.SelectObject(oldFont);
}
