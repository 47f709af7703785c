#include "geo/map_view.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kMaxScale = 400.0;
constexpr double kMercatorEdge = 85.0;  // a zoomed-out Mercator view reaches ±85°
constexpr double kGlobeDisc = 0.95;     // the window's globe: of the area's shorter side
constexpr double kPoleReach = 75.0;     // a box beyond this latitude is shown on a globe
constexpr double kMaxGlobeScale = 60.0; // a disc of sixty times the area
constexpr double kMinGlobeScale = 0.5;

double DesignX(double lon) {
    return projection::kCentreColumn + projection::kPixelsPerDegree * lon;
}
double DesignY(double lat) {
    return projection::kEquatorRow - projection::kMercatorScale * MercatorOrdinate(lat);
}
double LatitudeOfDesignY(double y) {
    const double k = projection::kDegToRad;
    return std::atan(std::sinh((projection::kEquatorRow - y) / projection::kMercatorScale * k)) / k;
}

double NormalLongitude(double lon) {
    double l = std::fmod(lon + 180.0, 360.0);
    if (l < 0.0) {
        l += 360.0;
    }
    return l - 180.0;
}

// Radius of the globe's disc and its centre, window pixels.
struct Disc {
    double cx, cy, r;
};
Disc GlobeDisc(const MapView& v) {
    const double w = v.areaWidth * v.zoomX;
    const double h = v.areaHeight * v.zoomY;
    return {w / 2.0, h / 2.0, v.scale * std::min(w, h) / 2.0};
}

// The least Mercator magnification: 85° S to 85° N fill the area's height.
double MinMercatorScale(const MapView& v) {
    return v.areaHeight / (DesignY(-kMercatorEdge) - DesignY(kMercatorEdge));
}

// A Mercator view whose rows stay within ±85°: a view taller than that range is centred
// on it. The horizontal shift is kept within a turn.
MapView Settled(MapView v) {
    v.scale = std::clamp(v.scale, MinMercatorScale(v), kMaxScale);
    const double top = DesignY(kMercatorEdge) * v.scale;
    const double bottom = DesignY(-kMercatorEdge) * v.scale;
    // Visible design rows: [-oy, areaHeight - oy] / s.
    if (bottom - top <= v.areaHeight) {
        v.offsetY = (v.areaHeight - (top + bottom)) / 2.0;
    } else {
        v.offsetY = std::clamp(v.offsetY, v.areaHeight - bottom, -top);
    }
    const double turn = 360.0 * projection::kPixelsPerDegree * v.scale;
    const double centre = v.areaWidth / 2.0 - v.offsetX - projection::kCentreColumn * v.scale;
    v.offsetX += turn * std::round(centre / turn);
    return v;
}

} // namespace

MapView DefaultView(double zoomX, double zoomY) {
    MapView v;
    v.zoomX = zoomX;
    v.zoomY = zoomY;
    return v;
}

MapView GlobeView(double zoomX, double zoomY, double lat, double lon) {
    MapView v = DefaultView(zoomX, zoomY);
    v.kind = MapViewKind::Globe;
    v.scale = kGlobeDisc;
    v.centreLat = std::clamp(lat, -90.0, 90.0);
    v.centreLon = NormalLongitude(lon);
    return v;
}

bool IsDefaultView(const MapView& v) {
    return v.kind == MapViewKind::Mercator && v.scale == 1.0 && v.offsetX == 0.0 &&
           v.offsetY == 0.0 && v.areaWidth == projection::kMapWidth &&
           v.areaHeight == projection::kMapHeight;
}

LongitudeSpan VisibleLongitudes(const MapView& v) {
    if (v.kind == MapViewKind::Globe) {
        return {v.centreLon - 180.0, v.centreLon + 180.0};
    }
    const double toLon = 1.0 / (projection::kPixelsPerDegree * v.scale);
    return {(-v.offsetX - projection::kCentreColumn * v.scale) * toLon,
            (v.areaWidth - v.offsetX - projection::kCentreColumn * v.scale) * toLon};
}

std::optional<ScreenPoint> ViewPosition(const MapView& v, double lat, double lon) {
    if (!std::isfinite(lat) || !std::isfinite(lon)) {
        return std::nullopt;
    }
    if (v.kind == MapViewKind::Globe) {
        return GlobeProjection(v)(lat, lon);
    }
    if (IsDefaultView(v)) {
        return ProjectToScreen(lat, lon, v.zoomX, v.zoomY);
    }
    const LongitudeSpan span = VisibleLongitudes(v);
    if (lon < span.west && lon + 360.0 <= span.east) {
        lon += 360.0;
    } else if (lon > span.east && lon - 360.0 >= span.west) {
        lon -= 360.0;
    }
    return ScreenPoint{v.zoomX * (v.scale * DesignX(lon) + v.offsetX),
                       v.zoomY * (v.scale * DesignY(lat) + v.offsetY)};
}

GlobeProjection::GlobeProjection(const MapView& v) {
    const double phi0 = v.centreLat * projection::kDegToRad;
    m_sinLat0 = std::sin(phi0);
    m_cosLat0 = std::cos(phi0);
    m_lon0 = v.centreLon;
    const Disc d = GlobeDisc(v);
    m_cx = d.cx;
    m_cy = d.cy;
    m_r = d.r;
}

GlobeProjection::Point GlobeProjection::Project(double lat, double lon) const {
    return ProjectWithRates(lat, lon).point;
}

GlobeProjection::Tangent GlobeProjection::ProjectWithRates(double lat, double lon) const {
    const double k = projection::kDegToRad;
    const double phi = lat * k, dl = (lon - m_lon0) * k;
    const double sinPhi = std::sin(phi), cosPhi = std::cos(phi);
    const double sinDl = std::sin(dl), cosDl = std::cos(dl);
    const double cosc = m_sinLat0 * sinPhi + m_cosLat0 * cosPhi * cosDl;
    const double x = cosPhi * sinDl;
    const double y = m_cosLat0 * sinPhi - m_sinLat0 * cosPhi * cosDl;
    Tangent t;
    t.point = {{m_cx + m_r * x, m_cy - m_r * y}, cosc};
    t.perLat = {-m_r * sinPhi * sinDl, -m_r * (m_cosLat0 * cosPhi + m_sinLat0 * sinPhi * cosDl)};
    t.perLon = {m_r * cosPhi * cosDl, -m_r * m_sinLat0 * cosPhi * sinDl};
    t.coscPerLat = m_sinLat0 * cosPhi - m_cosLat0 * sinPhi * cosDl;
    t.coscPerLon = -m_cosLat0 * cosPhi * sinDl;
    return t;
}

std::optional<ScreenPoint> GlobeProjection::operator()(double lat, double lon) const {
    if (!std::isfinite(lat) || !std::isfinite(lon)) {
        return std::nullopt;
    }
    const Point p = Project(lat, lon);
    if (p.cosc < 0.0) {
        return std::nullopt;
    }
    return p.at;
}

std::optional<LatLon> ViewPlace(const MapView& v, int px, int py) {
    if (!(v.zoomX > 0.0) || !(v.zoomY > 0.0) || !std::isfinite(v.zoomX) ||
        !std::isfinite(v.zoomY)) {
        return std::nullopt;
    }
    if (v.kind == MapViewKind::Globe) {
        const Disc d = GlobeDisc(v);
        const double x = (px - d.cx) / d.r;
        const double y = (d.cy - py) / d.r;
        const double rho = std::hypot(x, y);
        if (!(rho <= 1.0)) {
            return std::nullopt;
        }
        const double k = projection::kDegToRad;
        const double phi0 = v.centreLat * k;
        const double c = std::asin(rho);
        const double lat =
            rho == 0.0
                ? phi0
                : std::asin(std::cos(c) * std::sin(phi0) + y * std::cos(phi0) * std::sin(c) / rho);
        const double lon = std::atan2(x * std::sin(c), rho * std::cos(phi0) * std::cos(c) -
                                                           y * std::sin(phi0) * std::sin(c));
        return LatLon{lat / k, NormalLongitude(v.centreLon + lon / k)};
    }
    if (IsDefaultView(v)) {
        return InverseScreenProjection(px, py, v.zoomX, v.zoomY);
    }
    const double x = (px / v.zoomX - v.offsetX) / v.scale;
    const double y = (py / v.zoomY - v.offsetY) / v.scale;
    return LatLon{LatitudeOfDesignY(y),
                  NormalLongitude((x - projection::kCentreColumn) / projection::kPixelsPerDegree)};
}

bool IsInMapArea(const MapView& v, int px, int py) {
    if (!(v.zoomX > 0.0) || !(v.zoomY > 0.0)) {
        return false;
    }
    if (IsDefaultView(v)) {
        return IsOnScreenMap(px, py, v.zoomX, v.zoomY);
    }
    const double x = px / v.zoomX;
    const double y = py / v.zoomY;
    return x >= 0.0 && y >= 0.0 && x < v.areaWidth && y < v.areaHeight;
}

MapView ZoomedAbout(const MapView& view, double px, double py, double factor) {
    MapView v = view;
    if (!(factor > 0.0) || !std::isfinite(factor)) {
        return v;
    }
    if (v.kind == MapViewKind::Globe) {
        // The globe grows about its centre; the place under the pointer is brought
        // toward the centre as it does, so that zooming in goes where one points.
        const double newScale = std::clamp(v.scale * factor, kMinGlobeScale, kMaxGlobeScale);
        if (factor > 1.0) {
            if (const auto place = ViewPlace(v, static_cast<int>(px), static_cast<int>(py))) {
                const double f = 1.0 - v.scale / newScale;
                v.centreLat += f * (place->lat - v.centreLat);
                v.centreLon =
                    NormalLongitude(v.centreLon + f * NormalLongitude(place->lon - v.centreLon));
            }
        }
        v.scale = newScale;
        return v;
    }
    const double dx = px / v.zoomX;
    const double dy = py / v.zoomY;
    const double designX = (dx - v.offsetX) / v.scale;
    const double designY = (dy - v.offsetY) / v.scale;
    v.scale = std::clamp(v.scale * factor, MinMercatorScale(v), kMaxScale);
    v.offsetX = dx - v.scale * designX;
    v.offsetY = dy - v.scale * designY;
    return Settled(v);
}

MapView Panned(const MapView& view, double dx, double dy) {
    MapView v = view;
    if (v.kind == MapViewKind::Globe) {
        const Disc d = GlobeDisc(v);
        const double degreesPerPixel = 90.0 / std::max(d.r, 1.0);
        v.centreLon = NormalLongitude(v.centreLon - dx * degreesPerPixel);
        v.centreLat = std::clamp(v.centreLat + dy * degreesPerPixel, -90.0, 90.0);
        return v;
    }
    v.offsetX += dx / v.zoomX;
    v.offsetY += dy / v.zoomY;
    return Settled(v);
}

MapView FitView(double zoomX, double zoomY, const GeoBox& box) {
    const double midLat = (box.south + box.north) / 2.0;
    const double midLon = (box.west + box.east) / 2.0;
    if (box.north > kPoleReach || box.south < -kPoleReach) {
        return GlobeView(zoomX, zoomY, midLat, midLon);
    }
    MapView v = DefaultView(zoomX, zoomY);
    const double width = (box.east - box.west) * projection::kPixelsPerDegree;
    const double height = DesignY(box.south) - DesignY(box.north);
    const double s = std::min(v.areaWidth / (1.2 * std::max(width, 1e-6)),
                              v.areaHeight / (1.2 * std::max(height, 1e-6)));
    v.scale = std::clamp(s, MinMercatorScale(v), kMaxScale);
    v.offsetX = v.areaWidth / 2.0 - v.scale * DesignX(midLon);
    v.offsetY = v.areaHeight / 2.0 - v.scale * (DesignY(box.south) + DesignY(box.north)) / 2.0;
    return Settled(v);
}

MapView PictureBoxView(int width, int height, const GeoBox& box) {
    MapView v;
    // Equal scales: window pixels per degree of longitude and per degree of ordinate.
    v.zoomX = width / ((box.east - box.west) * projection::kPixelsPerDegree);
    v.zoomY = v.zoomX * projection::kPixelsPerDegree / projection::kMercatorScale;
    v.areaWidth = width / v.zoomX;
    v.areaHeight = height / v.zoomY;
    v.offsetX = -DesignX(box.west);
    v.offsetY = v.areaHeight / 2.0 - (DesignY(box.south) + DesignY(box.north)) / 2.0;
    return v;
}

MapView PictureGlobeView(int width, int height, double lat, double lon) {
    MapView v = GlobeView(1.0, 1.0, lat, lon);
    v.areaWidth = width;
    v.areaHeight = height;
    v.scale = 1.0;
    return v;
}

std::vector<std::vector<ScreenPoint>> ViewPolylines(const MapView& v,
                                                    const std::vector<MapPlace>& line) {
    std::vector<std::vector<ScreenPoint>> out;
    if (v.kind == MapViewKind::Globe) {
        const GlobeProjection project(v);
        std::vector<ScreenPoint> run;
        for (const MapPlace& p : line) {
            if (const auto q = project(p.lat, p.lon)) {
                run.push_back(*q);
            } else if (!run.empty()) {
                out.push_back(std::move(run));
                run.clear();
            }
        }
        if (!run.empty()) {
            out.push_back(std::move(run));
        }
        return out;
    }
    if (IsDefaultView(v)) {
        std::vector<ScreenPoint> run;
        for (const MapPlace& p : line) {
            if (const auto q = ViewPosition(v, p.lat, p.lon)) {
                run.push_back(*q);
            }
        }
        if (!run.empty()) {
            out.push_back(std::move(run));
        }
        return out;
    }
    // Continuous longitudes: each step goes the short way round.
    std::vector<MapPlace> unwrapped;
    unwrapped.reserve(line.size());
    double west = 1e9, east = -1e9;
    for (const MapPlace& p : line) {
        if (!std::isfinite(p.lat) || !std::isfinite(p.lon)) {
            continue;
        }
        MapPlace q = p;
        if (!unwrapped.empty()) {
            q.lon += 360.0 * std::round((unwrapped.back().lon - q.lon) / 360.0);
        }
        west = std::min(west, q.lon);
        east = std::max(east, q.lon);
        unwrapped.push_back(q);
    }
    const LongitudeSpan span = VisibleLongitudes(v);
    for (int k = -2; k <= 2; ++k) {
        const double shift = 360.0 * k;
        if (east + shift < span.west || west + shift > span.east) {
            continue;
        }
        std::vector<ScreenPoint> run;
        run.reserve(unwrapped.size());
        for (const MapPlace& p : unwrapped) {
            const double lat = std::clamp(p.lat, -kMercatorEdge - 4.0, kMercatorEdge + 4.0);
            run.push_back({v.zoomX * (v.scale * DesignX(p.lon + shift) + v.offsetX),
                           v.zoomY * (v.scale * DesignY(lat) + v.offsetY)});
        }
        out.push_back(std::move(run));
    }
    return out;
}
