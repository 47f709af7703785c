#include "geo/projection.h"

#include <algorithm>
#include <cmath>

double MercatorOrdinate(double latitude) {
    // ln(sec a + tan a) = atanh(sin a), which keeps its precision toward the south
    // pole; at ±90° it is infinite.
    const double a = projection::kDegToRad * latitude;
    return std::atanh(std::sin(a)) / projection::kDegToRad;
}

void ProjectLatLon(double& lat, double& lon, double pixelsPerDegree, double mercatorScale) {
    lon = lon * pixelsPerDegree;
    lat = MercatorOrdinate(lat) * mercatorScale;
}

ScreenPoint ScreenPosition(double projectedLat, double projectedLon, double zoomX, double zoomY) {
    const double x = zoomX * projectedLon + zoomX * projection::kCentreColumn;
    const double y = zoomY * projection::kEquatorRow - zoomY * projectedLat;
    return {x, y};
}

ScreenPoint ProjectToScreen(double lat, double lon, double zoomX, double zoomY) {
    ProjectLatLon(lat, lon);
    return ScreenPosition(lat, lon, zoomX, zoomY);
}

ScreenPoint ProjectToPage(double lat, double lon) {
    return {projection::kPageScaleX * lon + projection::kPageOffsetX,
            projection::kPageScaleY * MercatorOrdinate(lat) + projection::kPageOffsetY};
}

std::optional<double> MercatorRows::Estimate(double lat) const {
    for (int i = 0; i < m_count; ++i) {
        const Point& a = m_anchors[i];
        const double d = lat - a.lat;
        if (std::fabs(d) > 0.25) {
            continue;
        }
        const double estimate = a.row + a.slope * d;
        // The second derivative of the row in lat is rows·k·sec²·tan; the anchor's
        // bound at the larger latitude covers the step, doubled for safety.
        const double bound = a.curvature * d * d + 1e-7 * (1.0 + std::fabs(estimate));
        const double frac = estimate - std::floor(estimate);
        if (frac >= bound && 1.0 - frac >= bound) {
            return estimate;
        }
    }
    return std::nullopt;
}

void MercatorRows::Anchor(double lat, double row) {
    const double k = projection::kDegToRad;
    // |row''| = |rows|·k·sec²·tan over the next quarter degree, with a factor of two.
    const double wide = std::min(89.0, std::fabs(lat) + 0.25) * k;
    m_anchors[m_next] = {lat, row, m_rowsPerDegree / std::cos(lat * k),
                         std::fabs(m_rowsPerDegree) * k * std::tan(wide) /
                             (std::cos(wide) * std::cos(wide))};
    m_next = (m_next + 1) % 4;
    m_count = std::min(m_count + 1, 4);
}

int TruncToInt(double v) {
    return TruncateCoordinate(v).value_or(0);
}

std::optional<LatLon> InverseScreenProjection(int px, int py, double zoomX, double zoomY) {
    if (!(zoomX > 0.0) || !(zoomY > 0.0) || !std::isfinite(zoomX) || !std::isfinite(zoomY)) {
        return std::nullopt;
    }
    const int x = TruncToInt(px / zoomX);
    const int y = TruncToInt(py / zoomY);
    const double k = projection::kDegToRad;
    LatLon result;
    result.lon = (x - projection::kCentreColumn) / projection::kPixelsPerDegree;
    result.lat =
        std::atan(std::sinh((projection::kEquatorRow - y) / projection::kMercatorScale * k)) / k;
    return result;
}

bool IsOnScreenMap(int px, int py, double zoomX, double zoomY) {
    if (!(zoomX > 0.0) || !(zoomY > 0.0) || !std::isfinite(zoomX) || !std::isfinite(zoomY)) {
        return false;
    }
    const double x = px / zoomX;
    const double y = py / zoomY;
    return x >= 0.0 && y >= 0.0 && x < projection::kMapWidth && y < projection::kMapHeight;
}
