#include "render/map_painter.h"

#include "geo/projection.h"
#include "render/base_map_painter.h"
#include "render/draw_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>

namespace {

// Design coordinate to window pixels.
int Zx(double x, double zoomX) {
    return TruncToInt(x * zoomX);
}
int Zy(double y, double zoomY) {
    return TruncToInt(y * zoomY);
}

void Box(CDC& dc, int left, int top, int right, int bottom, COLORREF colour) {
    DrawBox(dc, left, top, right, bottom, colour);
}

void Text(CDC& dc, double x, double y, const char* text, double zx, double zy) {
    dc.TextOut(Zx(x, zx), Zy(y, zy), QString::fromLatin1(text));
}

void PaintPanel(CDC& dc, int w, int h, double zx, double zy) {
    Box(dc, 0, Zy(413, zy), w, h, map_colours::kPanelOuter);
    Box(dc, Zx(10, zx), Zy(423, zy), w - Zx(10, zx), h - Zy(10, zy), map_colours::kPanelInner);

    // Captions between the fields, which the width places: the text follows the
    // smaller zoom.
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{Zy(15, std::min(zx, zy)), true, true});
    dc.SetTextColor(map_colours::kCream);
    Text(dc, 70, 444, "DATE", zx, zy);
    Text(dc, 70, 479, "UT", zx, zy);
    dc.SelectObject(oldFont);
}

void PaintLegendAndBands(CDC& dc, int w, double zx, double zy) {
    Box(dc, Zx(590, zx), Zy(375, zy), Zx(600, zx), Zy(385, zy), map_colours::kPenumbra);
    Box(dc, Zx(590, zx), Zy(395, zy), Zx(600, zx), Zy(405, zy), map_colours::kUmbra);
    Box(dc, Zx(510, zx), Zy(375, zy), Zx(520, zx), Zy(385, zy), map_colours::kFirstLimit);
    Box(dc, Zx(510, zx), Zy(395, zy), Zx(520, zx), Zy(405, zy), map_colours::kSecondLimit);

    // The bands end at the client width times the horizontal zoom.
    const int bandRight = TruncToInt(w * zx);
    Box(dc, 0, Zy(330, zy), bandRight, Zy(345, zy), map_colours::kCream);
    // In a window narrower than the design the band right of the map ends left of where
    // it begins: it is empty, not a box turned round over the map.
    if (bandRight > Zx(730, zx)) {
        Box(dc, Zx(730, zx), 0, bandRight, Zy(345, zy), map_colours::kCream);
    }

    // The captions sit between boxes placed by the width: their text shrinks with
    // whichever zoom is the smaller, as the contact lines and the path's legend do.
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{Zy(13, std::min(zx, zy)), false, true});
    dc.SetTextColor(RGB(0, 0, 0));
    Text(dc, 605, 375, "MOON'S PENUMBRA", zx, zy);
    Text(dc, 605, 395, "MOON'S UMBRA", zx, zy);
    // The first limit series is the one captioned "Sunrise UT".
    Text(dc, 525, 375, "SUNRISE", zx, zy);
    Text(dc, 525, 395, "SUNSET", zx, zy);
    dc.SelectObject(oldFont);
}

} // namespace

void PaintStaticPicture(CDC& dc, int clientWidth, int clientHeight, const MapView& view) {
    const double zoomX = view.zoomX;
    const double zoomY = view.zoomY;
    dc.SetMapMode(MM_TEXT);
    dc.SetBkMode(TRANSPARENT);
    PaintPanel(dc, clientWidth, clientHeight, zoomX, zoomY);

    const LogicalFont oldFont =
        dc.SelectObject(LogicalFont{Zy(13, std::min(zoomX, zoomY)), false, true});
    dc.SetTextColor(map_colours::kCream);
    Text(dc, 125, 427, "day", zoomX, zoomY);
    Text(dc, 150, 427, "month", zoomX, zoomY);
    Text(dc, 185, 427, "year", zoomX, zoomY);
    Text(dc, 125, 462, "h", zoomX, zoomY);
    Text(dc, 150, 462, "min", zoomX, zoomY);
    Text(dc, 185, 462, "sec", zoomX, zoomY);

    PaintVectorMap(dc, view, ProgramVectorMap());
    PaintLegendAndBands(dc, clientWidth, zoomX, zoomY);
    dc.SelectObject(oldFont);
    PaintGraticuleLabels(dc, view);
}

namespace {

bool OnScreenLatitude(double lat) {
    return lat >= projection::kSouthLimit && lat <= projection::kNorthLimit;
}

} // namespace

namespace {

// Window x of a longitude in a Mercator view, as ViewPosition gives it (the same
// arithmetic, so the same truncation), with what the view implies worked out once.
class Columns {
public:
    explicit Columns(const MapView& view)
        : m_view(view), m_span(VisibleLongitudes(view)), m_design(IsDefaultView(view)) {}

    double operator()(double lon) const {
        if (m_design) {
            return m_view.zoomX * (lon * projection::kPixelsPerDegree) +
                   m_view.zoomX * projection::kCentreColumn;
        }
        if (lon < m_span.west && lon + 360.0 <= m_span.east) {
            lon += 360.0;
        } else if (lon > m_span.east && lon - 360.0 >= m_span.west) {
            lon -= 360.0;
        }
        return m_view.zoomX *
               (m_view.scale * (projection::kCentreColumn + projection::kPixelsPerDegree * lon) +
                m_view.offsetX);
    }

private:
    MapView m_view;
    LongitudeSpan m_span;
    bool m_design;
};

bool Visible(double x, double y, double width, double height) {
    return x > -3.0 && y > -3.0 && x < width + 1.0 && y < height + 1.0;
}

// The latitudes a moved Mercator view can show a box of, with a pixel to spare: a place
// outside them needs no Mercator ordinate to be left out.
struct LatitudeBand {
    double south = -90.0;
    double north = 90.0;
};
LatitudeBand VisibleLatitudes(const MapView& view, double height) {
    const double k = projection::kDegToRad;
    auto latitudeOfRow = [&](double y) {
        const double designY = (y / view.zoomY - view.offsetY) / view.scale;
        return std::atan(std::sinh((projection::kEquatorRow - designY) /
                                   projection::kMercatorScale * k)) /
               k;
    };
    return {latitudeOfRow(height + 2.0), latitudeOfRow(-4.0)};
}

// Places near a globe's drawn boxes: the orthographic projection moves a point by at
// most the disc's radius times the angle it turns through, and that angle is at most the
// sum of the steps in latitude and longitude (radians). A place that close to a drawn
// box's point, closer than that point lies to its pixel's edges and to the limb, falls in
// the same box: it is drawn already.
class GlobeNeighbours {
public:
    explicit GlobeNeighbours(double radius) : m_radius(radius) {}

    bool Covers(double lat, double lon) const {
        const double k = projection::kDegToRad;
        for (std::size_t i = 0; i < m_count; ++i) {
            const Point& a = m_points[i];
            if ((std::fabs(lat - a.lat) + std::fabs(lon - a.lon)) * k < a.reach) {
                return true;
            }
        }
        return false;
    }

    // A drawn box's point at window position p.
    void Add(double lat, double lon, const ScreenPoint& p, double cx, double cy) {
        auto edge = [](double v) {
            const double f = v - std::floor(v);
            return std::min(f, 1.0 - f) - 1e-7 * (1.0 + std::fabs(v));
        };
        // The cosine of the angle from the disc's centre: the margin to the limb.
        const double rho2 =
            ((p.x - cx) * (p.x - cx) + (p.y - cy) * (p.y - cy)) / (m_radius * m_radius);
        const double limb = std::sqrt(std::max(0.0, 1.0 - rho2)) - 1e-6;
        const double reach = std::min({edge(p.x) / m_radius, edge(p.y) / m_radius, limb});
        if (!(reach > 0.0)) {
            return;
        }
        m_points[m_next] = {lat, lon, reach};
        m_next = (m_next + 1) % m_points.size();
        m_count = std::min(m_count + 1, m_points.size());
    }

private:
    struct Point {
        double lat, lon, reach; // reach: radians
    };
    double m_radius;
    std::array<Point, 4> m_points{};
    std::size_t m_next = 0;
    std::size_t m_count = 0;
};

} // namespace

void PlotPointBoxes(CDC& dc, const MapView& view, std::span<const double> lat,
                    std::span<const double> lon, COLORREF colour) {
    dc.SetMapMode(MM_TEXT);
    const std::size_t count = std::min(lat.size(), lon.size());
    // The boxes go to the context in slices, without a list of all of them; a box drawn
    // lately is not repeated.
    constexpr std::size_t kSlice = 1024;
    std::array<CRect, kSlice> slice;
    std::size_t n = 0;
    const bool mercator = view.kind == MapViewKind::Mercator;
    const Columns column(view);
    // Window pixels per degree of Mercator ordinate, y down.
    MercatorRows rows(-view.zoomY * view.scale * projection::kMercatorScale);
    const double width = view.areaWidth * view.zoomX;
    const double height = view.areaHeight * view.zoomY;
    // Outside the default view only what falls in the map's area is drawn.
    const bool clip = !IsDefaultView(view);
    const LatitudeBand band =
        clip && mercator ? VisibleLatitudes(view, height) : LatitudeBand{-90.0, 90.0};
    RecentBoxes recent;
    GlobeNeighbours near(view.scale * std::min(width, height) / 2.0);
    const std::optional<GlobeProjection> globe =
        mercator ? std::nullopt : std::optional<GlobeProjection>(view);
    for (std::size_t i = 0; i < count; ++i) {
        const bool inRange =
            clip ? std::fabs(lat[i]) <= (mercator ? 85.0 : 90.0) : OnScreenLatitude(lat[i]);
        if (!inRange) {
            continue;
        }
        ScreenPoint p;
        if (mercator) {
            if (!std::isfinite(lon[i]) || !std::isfinite(lat[i])) {
                continue;
            }
            if (clip && (lat[i] < band.south || lat[i] > band.north)) {
                continue;
            }
            p.x = column(lon[i]);
            if (clip && (p.x <= -3.0 || p.x >= width + 1.0)) {
                continue;
            }
            if (const auto y = rows.Estimate(lat[i])) {
                p.y = *y;
            } else {
                const auto exact = ViewPosition(view, lat[i], lon[i]);
                if (!exact) {
                    continue;
                }
                p.y = exact->y;
                rows.Anchor(lat[i], p.y);
            }
        } else {
            if (near.Covers(lat[i], lon[i])) {
                continue;
            }
            const auto exact = (*globe)(lat[i], lon[i]);
            if (!exact) {
                continue;
            }
            p = *exact;
        }
        if (clip && !Visible(p.x, p.y, width, height)) {
            continue;
        }
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        const auto x2 = TruncateCoordinate(p.x + 2);
        const auto y2 = TruncateCoordinate(p.y + 2);
        if (!x || !y || !x2 || !y2) {
            continue; // a longitude that is not a number has no place on the map
        }
        const CRect box{*x, *y, *x2, *y2};
        if (!mercator) {
            near.Add(lat[i], lon[i], p, width / 2.0, height / 2.0);
        }
        if (recent.Contains(box)) {
            continue;
        }
        recent.Add(box);
        slice[n++] = box;
        if (n == kSlice) {
            dc.FillBoxes(slice, 2, colour);
            n = 0;
        }
    }
    dc.FillBoxes(std::span<const CRect>(slice.data(), n), 2, colour);
}

std::optional<CPoint> OutlineCorner(std::span<const double> lat, std::span<const double> lon,
                                    const MapView& view) {
    const std::size_t count = std::min(lat.size(), lon.size());
    // The corner starts at the first point with a position, whatever its latitude.
    std::size_t first = count;
    std::optional<CPoint> corner;
    for (std::size_t i = 0; i < count && !corner; ++i) {
        if (const auto p = ViewPosition(view, lat[i], lon[i])) {
            const auto x = TruncateCoordinate(p->x);
            const auto y = TruncateCoordinate(p->y);
            if (x && y) {
                corner = CPoint{*x, *y};
                first = i;
            }
        }
    }
    if (!corner) {
        return std::nullopt;
    }
    auto widen = [&](const ScreenPoint& p) {
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        if (!x || !y || !TruncateCoordinate(p.x + 2) || !TruncateCoordinate(p.y + 2)) {
            return;
        }
        corner->x = std::min(corner->x, *x);
        corner->y = std::min(corner->y, *y);
    };
    if (view.kind == MapViewKind::Mercator) {
        // Rows fall as latitude rises and columns grow with the (wrapped) longitude: the
        // corner comes from the northernmost and the westernmost plotted point.
        const Columns column(view);
        std::optional<double> north, west;
        std::optional<double> westLon;
        for (std::size_t i = first + 1; i < count; ++i) {
            if (!OnScreenLatitude(lat[i]) || !std::isfinite(lon[i])) {
                continue;
            }
            if (!north || lat[i] > *north) {
                north = lat[i];
            }
            const double x = column(lon[i]);
            if (!west || x < *west) {
                west = x;
                westLon = lon[i];
            }
        }
        if (north && westLon) {
            if (const auto p = ViewPosition(view, *north, *westLon)) {
                widen(*p);
            }
        }
        return corner;
    }
    // A globe: a place cannot move the corner when a place projected lately lies far
    // enough right of it and below it that the angle between them could not bring it
    // past (positions on either side, so that a stretch beyond the limb is passed over
    // too), or when it falls on the pixel of a place met lately; every other place is
    // projected.
    const GlobeProjection project(view);
    const double r = project.Radius();
    const double cx = view.areaWidth * view.zoomX / 2.0, cy = view.areaHeight * view.zoomY / 2.0;
    GlobeNeighbours near(r);
    struct Projected {
        double lat, lon;
        ScreenPoint at;
    };
    std::array<Projected, 4> recent{};
    std::size_t recentCount = 0, next = 0;
    const double k = projection::kDegToRad;
    for (std::size_t i = first + 1; i < count; ++i) {
        if (!OnScreenLatitude(lat[i]) || !std::isfinite(lon[i])) {
            continue;
        }
        bool clear = false;
        for (std::size_t j = 0; j < recentCount && !clear; ++j) {
            const Projected& a = recent[j];
            const double reach =
                r * (std::fabs(lat[i] - a.lat) + std::fabs(lon[i] - a.lon)) * k + 1e-6;
            clear = a.at.x - reach >= corner->x && a.at.y - reach >= corner->y;
        }
        if (clear || near.Covers(lat[i], lon[i])) {
            continue;
        }
        const GlobeProjection::Point p = project.Project(lat[i], lon[i]);
        if (p.cosc >= 0.0) {
            widen(p.at);
            near.Add(lat[i], lon[i], p.at, cx, cy);
        }
        recent[next] = {lat[i], lon[i], p.at};
        next = (next + 1) % recent.size();
        recentCount = std::min(recentCount + 1, recent.size());
    }
    return corner;
}
