#include "render/map_painter.h"

#include "geo/outline_runs.h"

#include "geo/projection.h"
#include "render/base_map_painter.h"
#include "render/draw_tools.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <cstdint>

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

    PaintVectorMap(dc, view, ProgramBaseMap());
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

    // Whether every longitude between west and east takes the same turn (a column then
    // grows with the longitude across them).
    bool OneTurn(double west, double east) const { return m_design || Turn(west) == Turn(east); }

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
    // The turn operator() adds: +1 east, -1 west, 0 none; it falls as the longitude grows.
    int Turn(double lon) const {
        if (lon < m_span.west && lon + 360.0 <= m_span.east) {
            return 1;
        }
        if (lon > m_span.east && lon - 360.0 >= m_span.west) {
            return -1;
        }
        return 0;
    }

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

// The pixels of a globe's places taken one after another, as the projection and the
// truncation of ViewPosition give them, bit for bit, with few projections. An outline
// interleaves up to four branches, so the last place of each of four tracks is kept. The
// projection moves a place by at most the radius times the angle it turns through, and
// that angle is at most the sum of the steps in latitude and longitude (radians): a place
// closer to a track's place than that one lies to its pixel's edges, to the limb and to
// the area's edges falls in the same pixel on the same side. Other places are estimated
// from the tangent of the place the nearest track projected last, to within half the
// radius times the square of that sum, and projected only where the estimate cannot tell
// the pixel.
class GlobePixels {
public:
    struct Pixel {
        CRect box;     // the truncated position and the position two pixels on
        bool nearSide; // on the far side the box means nothing
        bool inArea;   // whether the position is one a moved map draws a box at
    };

    GlobePixels(const MapView& view, double width, double height)
        : m_project(view), m_r(m_project.Radius()), m_right(width + 1.0), m_bottom(height + 1.0),
          m_maxStep(std::sqrt(0.1 / std::max(m_r, 1e-9)) / k) {}

    double Radius() const { return m_r; }

    // The pixel of a place that is a number; repeat: the pixel of a place asked lately.
    const Pixel& operator()(double lat, double lon, bool& repeat) {
        // All four steps at once: any track that reaches the place gives its pixel.
        std::array<double, kTracks> steps;
        for (std::size_t j = 0; j < kTracks; ++j) {
            steps[j] = std::fabs(lat - m_lat[j]) + std::fabs(lon - m_lon[j]);
        }
        std::size_t nearest = 0;
        for (std::size_t j = 0; j < kTracks; ++j) {
            if (steps[j] < m_reach[j]) {
                repeat = true;
                return m_tracks[j].pixel;
            }
            if (steps[j] < steps[nearest]) {
                nearest = j;
            }
        }
        repeat = false;
        // A place far from every track starts one afresh in the track used longest ago.
        if (!(steps[nearest] < m_maxStep)) {
            nearest = (m_oldest++) % kTracks;
        }
        Decide(nearest, lat, lon);
        return m_tracks[nearest].pixel;
    }

private:
    static constexpr double k = projection::kDegToRad;

    static constexpr std::size_t kTracks = 4;
    struct Track {
        Pixel pixel{};
        bool anchored = false;
        double anchorLat = 0.0, anchorLon = 0.0; // the place projected last
        GlobeProjection::Tangent tangent{};
    };

    void Decide(std::size_t j, double lat, double lon) {
        m_lat[j] = lat;
        m_lon[j] = lon;
        Track& track = m_tracks[j];
        if (track.anchored) {
            const double dLat = (lat - track.anchorLat) * k, dLon = (lon - track.anchorLon) * k;
            const double h = std::fabs(dLat) + std::fabs(dLon);
            if (h < m_maxStep * k) {
                const GlobeProjection::Tangent& t = track.tangent;
                const double x = t.point.at.x + t.perLat.x * dLat + t.perLon.x * dLon;
                const double y = t.point.at.y + t.perLat.y * dLat + t.perLon.y * dLon;
                const double c = t.point.cosc + t.coscPerLat * dLat + t.coscPerLon * dLon;
                if (Classify(j, x, y, c, 0.5 * m_r * h * h, 0.5 * h * h + 1e-12)) {
                    return;
                }
            }
        }
        track.anchored = true;
        track.anchorLat = lat;
        track.anchorLon = lon;
        track.tangent = m_project.ProjectWithRates(lat, lon);
        const GlobeProjection::Point& p = track.tangent.point;
        Classify(j, p.at.x, p.at.y, p.cosc, 0.0, 0.0);
    }

    // The pixel of a place whose position lies within e of (x, y) and whose cosine lies
    // within ec of c; false when those bounds leave it open. Bounds of 0 always decide.
    bool Classify(std::size_t j, double x, double y, double c, double e, double ec) {
        Track& track = m_tracks[j];
        const bool exact = e == 0.0;
        if (c + ec < 0.0 || (exact && c < 0.0)) {
            track.pixel.nearSide = false;
            m_reach[j] = Reach(-c - ec);
            return true;
        }
        if (!exact && c - ec < 0.0) {
            return false;
        }
        // Rounding of the sums and of the projection's own arithmetic.
        const double margin = e + 1e-7 * (1.0 + std::max(std::fabs(x), std::fabs(y)));
        // Distances to where the truncation or the area test changes.
        const double fx = Floor(x), fy = Floor(y);
        const double room =
            std::min(std::min(std::min(x - fx, fx + 1.0 - x), std::min(y - fy, fy + 1.0 - y)),
                     std::min(std::fabs(x - m_right), std::fabs(y - m_bottom)));
        if (!exact && !(room > margin)) {
            return false;
        }
        track.pixel.box = {*TruncateCoordinate(x), *TruncateCoordinate(y),
                           *TruncateCoordinate(x + 2), *TruncateCoordinate(y + 2)};
        track.pixel.nearSide = true;
        track.pixel.inArea = Visible(x, y, m_right - 1.0, m_bottom - 1.0);
        m_reach[j] = Reach(std::min((room - margin) / m_r, c - ec - 1e-6));
        return true;
    }

    // The window's positions lie far within the range of a 64-bit integer.
    static double Floor(double v) {
        const double t = static_cast<double>(static_cast<std::int64_t>(v));
        return t > v ? t - 1.0 : t;
    }

    // Radians to degrees; none when not positive.
    static double Reach(double radians) { return radians > 0.0 ? radians / k : 0.0; }

    GlobeProjection m_project;
    double m_r, m_right, m_bottom;
    double m_maxStep; // degrees of step beyond which a tangent is not used
    // Each track's place asked last and its reach, degrees.
    std::array<double, kTracks> m_lat{}, m_lon{}, m_reach{};
    std::array<Track, kTracks> m_tracks{};
    std::size_t m_oldest = 0;
};

// Boxes of one colour going to the context in slices, without a list of all of them (or,
// for drawing later, to a list); a box drawn lately is not repeated.
class BoxBatch {
public:
    BoxBatch(CDC& dc, COLORREF colour) : m_dc(&dc), m_colour(colour) {}
    explicit BoxBatch(std::vector<CRect>& list) : m_list(&list) {}
    BoxBatch(const BoxBatch&) = delete;
    BoxBatch& operator=(const BoxBatch&) = delete;
    ~BoxBatch() { Flush(); }

    void Add(const CRect& box) {
        if (m_recent.Contains(box)) {
            return;
        }
        m_recent.Add(box);
        m_slice[m_count++] = box;
        if (m_count == m_slice.size()) {
            Flush();
        }
    }

private:
    void Flush() {
        const std::span<const CRect> slice(m_slice.data(), m_count);
        if (m_dc != nullptr) {
            m_dc->FillBoxes(slice, 2, m_colour);
        } else {
            m_list->insert(m_list->end(), slice.begin(), slice.end());
        }
        m_count = 0;
    }

    CDC* m_dc = nullptr;
    std::vector<CRect>* m_list = nullptr;
    COLORREF m_colour = 0;
    RecentBoxes m_recent;
    std::array<CRect, 1024> m_slice;
    std::size_t m_count = 0;
};

} // namespace

namespace {

// OutlineCorner's Mercator corner gathered place by place: the first place with a position,
// whatever its latitude, then the northernmost and the westernmost of the later places on
// the map's range of latitude (rows fall as latitude rises and columns grow with the
// wrapped longitude).
class MercatorCorner {
public:
    explicit MercatorCorner(const MapView& view) : m_view(view) {}

    // A place and its column as Columns gives it.
    void Take(double lat, double lon, double column) {
        if (!m_corner) {
            if (const auto p = ViewPosition(m_view, lat, lon)) {
                const auto x = TruncateCoordinate(p->x);
                const auto y = TruncateCoordinate(p->y);
                if (x && y) {
                    m_corner = CPoint{*x, *y};
                }
            }
            return;
        }
        if (!OnScreenLatitude(lat) || !std::isfinite(lon)) {
            return;
        }
        m_north = std::max(m_north, lat);
        if (!m_any || column < m_west) {
            m_west = column;
            m_westLon = lon;
        }
        m_any = true;
    }

    // Whether the first place with a position has been taken.
    bool Started() const { return m_corner.has_value(); }

    // The places of an extent after the first, their westernmost at column west: what
    // Take gives for each of them.
    void TakeExtent(const PointExtent& e, double west) {
        if (!e.any) {
            return;
        }
        m_north = std::max(m_north, e.north);
        if (!m_any || west < m_west) {
            m_west = west;
            m_westLon = e.west;
        }
        m_any = true;
    }

    std::optional<CPoint> Corner() const {
        std::optional<CPoint> corner = m_corner;
        if (!corner || !m_any) {
            return corner;
        }
        if (const auto p = ViewPosition(m_view, m_north, m_westLon)) {
            const auto x = TruncateCoordinate(p->x);
            const auto y = TruncateCoordinate(p->y);
            if (x && y && TruncateCoordinate(p->x + 2) && TruncateCoordinate(p->y + 2)) {
                corner->x = std::min(corner->x, *x);
                corner->y = std::min(corner->y, *y);
            }
        }
        return corner;
    }

private:
    const MapView& m_view;
    std::optional<CPoint> m_corner;
    bool m_any = false; // a later place on the map's range of latitude taken
    double m_north = -90.0, m_west = 0.0, m_westLon = 0.0;
};

// PlotPointBoxes on a Mercator view (boxes given), gathering OutlineCorner's corner on the
// way (corner given): one column serves both. With the outline's runs, a moved map passes
// over a run that cannot show, and the corner takes a run's extremes where one turn covers
// it.
void PlotMercatorBoxes(BoxBatch* boxes, const MapView& view, std::span<const double> lat,
                       std::span<const double> lon, MercatorCorner* corner,
                       std::span<const PointRun> runs) {
    const std::size_t count = std::min(lat.size(), lon.size());
    const Columns column(view);
    // Window pixels per degree of Mercator ordinate, y down.
    MercatorRows rows(-view.zoomY * view.scale * projection::kMercatorScale);
    const double width = view.areaWidth * view.zoomX;
    const double height = view.areaHeight * view.zoomY;
    // Outside the default view only what falls in the map's area is drawn.
    const bool clip = !IsDefaultView(view);
    const LatitudeBand band = clip ? VisibleLatitudes(view, height) : LatitudeBand{-90.0, 90.0};
    auto mayShow = [&](const PointExtent& e) {
        if (!clip) {
            return true;
        }
        if (!e.any || e.north < band.south || e.south > band.north) {
            return false;
        }
        return !column.OneTurn(e.west, e.east) ||
               (column(e.east) > -3.0 && column(e.west) < width + 1.0);
    };
    const PointRun whole{0, count, {true, -90.0, 90.0, -180.0, 180.0}, {}};
    for (const PointRun& run : runs.empty() ? std::span<const PointRun>(&whole, 1) : runs) {
        const bool draw = boxes != nullptr && (runs.empty() || mayShow(run.drawn));
        bool eachCorner = corner != nullptr;
        if (corner != nullptr && !runs.empty() && corner->Started() &&
            column.OneTurn(run.cornered.west, run.cornered.east)) {
            corner->TakeExtent(run.cornered, column(run.cornered.west));
            eachCorner = false;
        }
        if (!draw && !eachCorner) {
            continue;
        }
        for (std::size_t i = run.begin; i < std::min(run.end, count); ++i) {
            ScreenPoint p;
            p.x = column(lon[i]);
            if (eachCorner) {
                corner->Take(lat[i], lon[i], p.x);
            }
            if (!draw) {
                continue;
            }
            const bool inRange = clip ? std::fabs(lat[i]) <= 85.0 : OnScreenLatitude(lat[i]);
            if (!inRange) {
                continue;
            }
            if (!std::isfinite(lon[i]) || !std::isfinite(lat[i])) {
                continue;
            }
            if (clip && (lat[i] < band.south || lat[i] > band.north)) {
                continue;
            }
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
            boxes->Add(CRect{*x, *y, *x2, *y2});
        }
    }
}

// The label's anchor of an outline on a globe: its own point drawn in the map's area
// nearest the picture's top-left (least x + y), so the label stands on the outline and on
// the disc where the corner of its box could lie off the disc.
struct GlobeAnchor {
    std::optional<CPoint> point;
    void Take(const CRect& box) {
        if (!point || box.left + box.top < point->x + point->y) {
            point = CPoint{box.left, box.top};
        }
    }
};

// PlotPointBoxes on a globe (boxes given), taking OutlineCorner's anchor on the way (anchor
// given): one pixel serves both. With the outline's runs, a run that lies wholly beyond the
// angle from the centre at which the area's corners (with the boxes' reach) stand, or behind
// the limb, is passed over: it has no box and no anchor.
void PlotGlobeBoxes(BoxBatch* boxes, const MapView& view, std::span<const double> lat,
                    std::span<const double> lon, GlobeAnchor* anchor,
                    std::span<const PointRun> runs) {
    const std::size_t count = std::min(lat.size(), lon.size());
    const double width = view.areaWidth * view.zoomX;
    const double height = view.areaHeight * view.zoomY;
    GlobePixels pixels(view, width, height);
    const double reach = 0.5 * std::hypot(width + 8.0, height + 8.0) / pixels.Radius();
    const double farthest = reach >= 1.0 ? 90.0 : std::asin(reach) / projection::kDegToRad;
    const PointRun whole{0, count, {}, {}};
    for (const PointRun& run : runs.empty() ? std::span<const PointRun>(&whole, 1) : runs) {
        if (!runs.empty() &&
            LeastAngleTo(view.centreLat, view.centreLon, run.drawn) > farthest + 1e-6) {
            continue;
        }
        for (std::size_t i = run.begin; i < std::min(run.end, count); ++i) {
            if (!std::isfinite(lat[i]) || !std::isfinite(lon[i]) || std::fabs(lat[i]) > 90.0) {
                continue;
            }
            bool repeat = false;
            const GlobePixels::Pixel& p = pixels(lat[i], lon[i], repeat);
            if (repeat || !p.nearSide || !p.inArea) {
                continue;
            }
            if (anchor != nullptr) {
                anchor->Take(p.box);
            }
            if (boxes != nullptr) {
                boxes->Add(p.box);
            }
        }
    }
}

} // namespace

void PlotPointBoxes(CDC& dc, const MapView& view, std::span<const double> lat,
                    std::span<const double> lon, COLORREF colour) {
    dc.SetMapMode(MM_TEXT);
    BoxBatch boxes(dc, colour);
    if (view.kind == MapViewKind::Mercator) {
        PlotMercatorBoxes(&boxes, view, lat, lon, nullptr, {});
    } else {
        PlotGlobeBoxes(&boxes, view, lat, lon, nullptr, {});
    }
}

namespace {

// The boxes (when given) and the label's corner of an outline, in either projection.
std::optional<CPoint> PlotOutlineInto(BoxBatch* boxes, const MapView& view,
                                      std::span<const double> lat, std::span<const double> lon,
                                      std::span<const PointRun> runs) {
    if (view.kind == MapViewKind::Mercator) {
        MercatorCorner corner(view);
        PlotMercatorBoxes(boxes, view, lat, lon, &corner, runs);
        return corner.Corner();
    }
    GlobeAnchor anchor;
    PlotGlobeBoxes(boxes, view, lat, lon, &anchor, runs);
    return anchor.point;
}

} // namespace

std::optional<CPoint> OutlineCorner(std::span<const double> lat, std::span<const double> lon,
                                    const MapView& view) {
    return PlotOutlineInto(nullptr, view, lat, lon, {});
}

std::optional<CPoint> PlotOutline(CDC& dc, const MapView& view, std::span<const double> lat,
                                  std::span<const double> lon, COLORREF colour,
                                  std::span<const PointRun> runs) {
    dc.SetMapMode(MM_TEXT);
    BoxBatch boxes(dc, colour);
    return PlotOutlineInto(&boxes, view, lat, lon, runs);
}

OutlinePixels OutlinePixelsOf(const MapView& view, std::span<const double> lat,
                              std::span<const double> lon, std::span<const PointRun> runs) {
    OutlinePixels pixels;
    {
        BoxBatch boxes(pixels.boxes);
        pixels.corner = PlotOutlineInto(&boxes, view, lat, lon, runs);
    }
    return pixels;
}
