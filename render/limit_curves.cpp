#include "render/limit_curves.h"

#include "render/draw_tools.h"
#include "render/map_overlay.h"
#include "render/map_painter.h"
#include "render/projection.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>

namespace {

CFont BoldArial(int height) {
    CFont font;
    font.CreateFont(height, 0, 0, 0, FW_BOLD, false, false, false, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                    "Arial");
    return font;
}

// Draws one limit-curve point and answers its window x, or nothing for a time that is
// not a number.
std::optional<double> PlotLimitPoint(CDC& dc, double zoomX, double zoomY, double latitude,
                                     double hours, COLORREF colour, double& plotLat,
                                     double& plotLon) {
    if (!std::isfinite(hours)) {
        return std::nullopt;
    }
    plotLat = latitude;
    plotLon = LimitCurveLongitude(hours);
    ProjectLatLon(plotLat, plotLon);
    const ScreenPoint p = ScreenPosition(plotLat, plotLon, zoomX, zoomY);
    const auto x = TruncateCoordinate(p.x);
    const auto y = TruncateCoordinate(p.y);
    const auto x2 = TruncateCoordinate(p.x + 2);
    const auto y2 = TruncateCoordinate(p.y + 2);
    if (!x || !y || !x2 || !y2) {
        return std::nullopt;
    }
    CDrawTools().DrawBox(dc, *x, *y, *x2, *y2, 2, PS_SOLID, colour, colour);
    return p.x;
}

} // namespace

void PlotLimitCurvePoints(CDC& dc, double zoomX, double zoomY, const std::vector<double>& latitudes,
                          const std::vector<double>& first, const std::vector<double>& second,
                          double& plotLat, double& plotLon) {
    dc.SetMapMode(MM_TEXT);
    dc.SetBkMode(TRANSPARENT);
    const std::size_t n = std::min({latitudes.size(), first.size(), second.size()});
    // Drawn from the last latitude down, so the captions end up at the first finite
    // points of the two series.
    std::optional<double> riseX;
    std::optional<double> setX;
    for (std::size_t i = n; i-- > 0;) {
        if (const auto x = PlotLimitPoint(dc, zoomX, zoomY, latitudes[i], first[i],
                                          map_colours::kFirstLimit, plotLat, plotLon)) {
            riseX = *x - 10 * zoomX;
        }
        if (const auto x = PlotLimitPoint(dc, zoomX, zoomY, latitudes[i], second[i],
                                          map_colours::kSecondLimit, plotLat, plotLon)) {
            setX = *x - 10 * zoomX;
        }
    }

    const CFont oldFont = dc.SelectObject(BoldArial(11));
    dc.SetTextColor(RGB(0, 0, 0));
    const int row = TruncToInt(310 * zoomY);
    if (riseX) {
        dc.TextOut(TruncToInt(*riseX), row, QStringLiteral("Sunrise UT"));
    }
    if (setX) {
        dc.TextOut(TruncToInt(*setX), row, QStringLiteral("Sunset UT"));
    }
    dc.SelectObject(oldFont);
}
