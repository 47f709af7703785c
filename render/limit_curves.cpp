#include "render/limit_curves.h"

#include "render/map_overlay.h"
#include "render/map_painter.h"
#include "render/projection.h"

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

// The design row of the captions on the design's map.
constexpr double kCaptionRow = 310.0;

} // namespace

std::vector<LabelBox> DesignLimitCaptions(CDC& dc, const MapView& view,
                                          const std::vector<double>& latitudes,
                                          const std::vector<double>& first,
                                          const std::vector<double>& second) {
    std::vector<LabelBox> boxes;
    if (!IsDefaultView(view)) {
        return boxes;
    }
    const std::size_t n = std::min({latitudes.size(), first.size(), second.size()});
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    for (const auto& [hours, caption] : {std::pair{&first, QStringLiteral("Sunrise UT")},
                                         std::pair{&second, QStringLiteral("Sunset UT")}}) {
        const LimitPlot plot = PlanLimitSeries(view, latitudes, *hours, n);
        if (plot.captionX) {
            const QSizeF size = dc.TextExtent(caption);
            boxes.push_back({double(TruncToInt(*plot.captionX)),
                             double(TruncToInt(kCaptionRow * view.zoomY)), size.width(),
                             size.height()});
        }
    }
    dc.SelectObject(oldFont);
    return boxes;
}

void PlotLimitCurvePoints(CDC& dc, const MapView& view, const std::vector<double>& latitudes,
                          const std::vector<double>& first, const std::vector<double>& second,
                          std::vector<LabelBox>* placed) {
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
    const int row = TruncToInt(kCaptionRow * view.zoomY);
    const LabelBox area{0.0, 0.0, view.areaWidth * view.zoomX, view.areaHeight * view.zoomY};
    for (const auto& [plot, caption] : {std::pair{&rise, QStringLiteral("Sunrise UT")},
                                        std::pair{&set, QStringLiteral("Sunset UT")}}) {
        if (!plot->captionX) {
            continue;
        }
        const int x = TruncToInt(*plot->captionX);
        const int y = design ? row : TruncToInt(plot->captionY - 14);
        if (design || !placed) {
            dc.TextOut(x, y, caption);
            continue;
        }
        // A curve whose first point lies off the area is captioned nowhere (pulled to
        // the edge, the caption would stand by nothing); near the edge it is kept inside.
        const double pointX = *plot->captionX + 10 * view.zoomX;
        if (pointX < 0.0 || pointX > area.width || plot->captionY < 0.0 ||
            plot->captionY > area.height) {
            continue;
        }
        const QSizeF size = dc.TextExtent(caption);
        const double left = std::clamp(double(x), 0.0, std::max(0.0, area.width - size.width()));
        const double top = std::clamp(double(y), 0.0, std::max(0.0, area.height - size.height()));
        std::vector<LabelBox> candidates;
        for (int k = 0; k < 6; ++k) {
            candidates.push_back({left, top - k * size.height(), size.width(), size.height()});
            candidates.push_back(
                {left, top + (k + 1) * size.height(), size.width(), size.height()});
        }
        if (const auto box = PlaceLabel(*placed, candidates, area)) {
            dc.TextOut(TruncToInt(box->left), TruncToInt(box->top), caption);
        }
    }
    dc.SelectObject(oldFont);
}
