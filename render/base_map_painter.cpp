#include "render/base_map_painter.h"

#include "render/map_labels.h"

#include <QFile>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <mutex>
#include <utility>
#include <vector>

namespace {

const QColor kSea(178, 212, 240);
const QColor kLand(236, 228, 196);
const QColor kCoast(52, 84, 120);
const QColor kBorder(150, 120, 104);
const QColor kGraticule(120, 150, 185, 150);

constexpr double kMercatorEdge = 85.0;

double DesignX(double lon) {
    return projection::kCentreColumn + projection::kPixelsPerDegree * lon;
}
double DesignY(double lat) {
    return projection::kEquatorRow -
           projection::kMercatorScale *
               MercatorOrdinate(std::clamp(lat, -kMercatorEdge, kMercatorEdge));
}

// The map's lines in design pixels of the screen projection, each with the box it spans,
// made once per detail: a Mercator view draws those whose box reaches into the view
// through an affine transform.
struct DesignLine {
    QPolygonF points;
    QRectF bounds;
};
struct DesignLines {
    std::vector<DesignLine> land;
    std::vector<DesignLine> borders;
    double west = 0.0; // design x extent of everything
    double east = 0.0;
};

DesignLines MakeDesignLines(const VectorMap& map, MapDetail detail) {
    DesignLines lines;
    lines.west = 1e9;
    lines.east = -1e9;
    for (const MapLineSet& set : map.layers) {
        if (set.detail != detail) {
            continue;
        }
        auto& target = set.kind == MapLineKind::Land ? lines.land : lines.borders;
        for (const auto& line : set.lines) {
            QPolygonF polygon;
            polygon.reserve(static_cast<qsizetype>(line.size()));
            for (const MapPlace& p : line) {
                polygon.append(QPointF(DesignX(p.lon), DesignY(p.lat)));
            }
            const QRectF bounds = polygon.boundingRect();
            lines.west = std::min(lines.west, bounds.left());
            lines.east = std::max(lines.east, bounds.right());
            target.push_back({std::move(polygon), bounds});
        }
    }
    return lines;
}

// Unit vectors of the map's points, made once: a globe turns them with one rotation.
struct Vec3 {
    double x, y, z;
};
struct GlobeLines {
    std::vector<std::vector<Vec3>> land;
    std::vector<std::vector<Vec3>> borders;
};

GlobeLines MakeGlobeLines(const VectorMap& map, MapDetail detail) {
    GlobeLines lines;
    const double k = projection::kDegToRad;
    for (const MapLineSet& set : map.layers) {
        if (set.detail != detail) {
            continue;
        }
        auto& target = set.kind == MapLineKind::Land ? lines.land : lines.borders;
        for (const auto& line : set.lines) {
            std::vector<Vec3> v;
            v.reserve(line.size());
            for (const MapPlace& p : line) {
                const double phi = p.lat * k, lambda = p.lon * k;
                v.push_back({std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda),
                             std::sin(phi)});
            }
            target.push_back(std::move(v));
        }
    }
    return lines;
}

} // namespace

// Each kind of lines made when a view first asks for it, both details at once.
struct BaseMap::Lines {
    std::once_flag designOnce, globeOnce;
    std::array<DesignLines, 2> design;
    std::array<GlobeLines, 2> globe;
};

BaseMap::BaseMap(VectorMap map) : m_map(std::move(map)), m_lines(std::make_unique<Lines>()) {}
BaseMap::~BaseMap() = default;

namespace {

const DesignLines& DesignLinesOf(const BaseMap& map, MapDetail detail) {
    BaseMap::Lines& lines = map.Prepared();
    std::call_once(lines.designOnce, [&] {
        lines.design = {MakeDesignLines(map.Map(), MapDetail::Coarse),
                        MakeDesignLines(map.Map(), MapDetail::Medium)};
    });
    return lines.design[static_cast<std::size_t>(detail)];
}

const GlobeLines& GlobeLinesOf(const BaseMap& map, MapDetail detail) {
    BaseMap::Lines& lines = map.Prepared();
    std::call_once(lines.globeOnce, [&] {
        lines.globe = {MakeGlobeLines(map.Map(), MapDetail::Coarse),
                       MakeGlobeLines(map.Map(), MapDetail::Medium)};
    });
    return lines.globe[static_cast<std::size_t>(detail)];
}

// The lines whose box meets the visible design rectangle, as one path: a line wholly
// outside cannot colour a pixel of the view, nor change the winding inside it. Rings
// reaching out of it are cut to it, so that the fill's rasterizer walks only the edges
// that can show.
QPainterPath VisiblePath(const std::vector<DesignLine>& lines, const QRectF& visible, bool rings) {
    // A border along a parallel has a box of no height, which QRectF would call empty.
    auto meets = [&](const QRectF& b) {
        return b.left() <= visible.right() && b.right() >= visible.left() &&
               b.top() <= visible.bottom() && b.bottom() >= visible.top();
    };
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const DesignLine& line : lines) {
        if (!meets(line.bounds)) {
            continue;
        }
        if (!rings) {
            path.addPolygon(line.points);
            continue;
        }
        path.addPolygon(visible.contains(line.bounds) ? line.points
                                                      : ClipRingToRect(line.points, visible));
        path.closeSubpath();
    }
    return path;
}

QRectF AreaRect(const MapView& v) {
    return {0.0, 0.0, std::trunc(v.areaWidth * v.zoomX), std::trunc(v.areaHeight * v.zoomY)};
}

QPen Cosmetic(const QColor& colour, double width) {
    QPen pen(colour, width);
    pen.setCosmetic(true);
    pen.setJoinStyle(Qt::RoundJoin);
    return pen;
}

void PaintMercator(QPainter& painter, const MapView& v, const BaseMap& map) {
    const DesignLines& lines = DesignLinesOf(map, DetailForView(v));
    const double turn = 360.0 * projection::kPixelsPerDegree; // design pixels
    // Visible design columns: [-ox, areaWidth - ox] / s, rows likewise, widened by the
    // pens' reach of two window pixels.
    const double marginX = 2.0 / (v.zoomX * v.scale);
    const double marginY = 2.0 / (v.zoomY * v.scale);
    const double left = -v.offsetX / v.scale - marginX;
    const double right = (v.areaWidth - v.offsetX) / v.scale + marginX;
    const double top = -v.offsetY / v.scale - marginY;
    const double bottom = (v.areaHeight - v.offsetY) / v.scale + marginY;
    for (int k = -2; k <= 2; ++k) {
        if (lines.east + k * turn < left || lines.west + k * turn > right) {
            continue;
        }
        const QRectF visible(QPointF(left - k * turn, top), QPointF(right - k * turn, bottom));
        const QTransform t(v.zoomX * v.scale, 0.0, 0.0, v.zoomY * v.scale,
                           v.zoomX * (v.offsetX + v.scale * k * turn), v.zoomY * v.offsetY);
        painter.setTransform(t);
        // The land filled from its rings cut to the view, its coasts stroked along the
        // rings themselves (a cut's edges lie outside the view but are no coast). As on
        // the globe, the fill is aliased and the coast's antialiased line covers its edge.
        painter.setPen(Qt::NoPen);
        painter.setBrush(kLand);
        painter.setRenderHint(QPainter::Antialiasing, false);
        painter.drawPath(VisiblePath(lines.land, visible, true));
        painter.setRenderHint(QPainter::Antialiasing, true);
        painter.setBrush(Qt::NoBrush);
        painter.setPen(Cosmetic(kCoast, 0.8));
        painter.drawPath(VisiblePath(lines.land, visible, false));
        painter.setPen(Cosmetic(kBorder, 0.7));
        painter.drawPath(VisiblePath(lines.borders, visible, false));
    }
    painter.resetTransform();
}

// The rotation that brings the globe's centre to the viewer: east, north and the view axis.
struct Rotation {
    Vec3 east, north, out;
};
Rotation GlobeRotation(const MapView& v) {
    const double k = projection::kDegToRad;
    const double phi = v.centreLat * k, lambda = v.centreLon * k;
    return {{-std::sin(lambda), std::cos(lambda), 0.0},
            {-std::sin(phi) * std::cos(lambda), -std::sin(phi) * std::sin(lambda), std::cos(phi)},
            {std::cos(phi) * std::cos(lambda), std::cos(phi) * std::sin(lambda), std::sin(phi)}};
}
double Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// A monotonic stand-in for the angle of a direction: 0 to 4 round the turn, the
// quadrants' edges at whole numbers, half a turn apart always two apart.
double PseudoAngle(double x, double y) {
    const double a = std::fabs(x) + std::fabs(y);
    if (!(a > 0.0)) {
        return 0.0;
    }
    const double q = y / a; // -1..1
    return x >= 0.0 ? (y >= 0.0 ? q : 4.0 + q) : 2.0 - q;
}

// A land ring as the globe shows it. Its near-side points are projected; each stretch on
// the far side, which laid onto the limb would run along it, becomes the limb's arc from
// where the ring goes over the limb to where it comes back, turning as far round as the
// stretch does (so the fill's winding is the same), with points close enough that no
// chord falls inside the limb by more than a twentieth of a pixel. Empty when the ring
// lies wholly on the far side.
QPolygonF GlobeRing(const std::vector<Vec3>& ring, const Rotation& rot, double cx, double cy,
                    double r) {
    QPolygonF out;
    const std::size_t n = ring.size();
    std::size_t start = 0;
    while (start < n && Dot(ring[start], rot.out) < 0.0) {
        ++start;
    }
    if (start == n) {
        return out;
    }
    out.reserve(static_cast<qsizetype>(n));
    const double maxStep = 2.0 * std::acos(1.0 - 0.05 / std::max(r, 1.0)); // radians
    auto limbPoint = [&](double x, double y) {
        const double len = std::hypot(x, y);
        return len > 0.0 ? QPointF(x / len, y / len) : QPointF(1.0, 0.0);
    };
    auto screen = [&](double x, double y) { return QPointF(cx + r * x, cy - r * y); };
    // The far stretch under way: where it left the near side, its pseudo-angle there and
    // the pseudo-angle it has turned through since.
    QPointF exit;
    double lastPseudo = 0.0, turned = 0.0;
    auto turnTo = [&](double x, double y) {
        const double a = PseudoAngle(x, y);
        double step = a - lastPseudo;
        step -= 4.0 * std::round(step / 4.0);
        turned += step;
        lastPseudo = a;
    };
    const Vec3& first = ring[start];
    double px = Dot(first, rot.east), py = Dot(first, rot.north), pd = Dot(first, rot.out);
    out.append(screen(px, py));
    for (std::size_t j = 1; j <= n; ++j) {
        const Vec3& p = ring[(start + j) % n];
        const double x = Dot(p, rot.east), y = Dot(p, rot.north), d = Dot(p, rot.out);
        const bool far = d < 0.0, wasFar = pd < 0.0;
        if (far != wasFar) {
            // Where the step crosses the plane of the limb.
            const double t = pd / (pd - d);
            const QPointF limb = limbPoint(px + t * (x - px), py + t * (y - py));
            if (far) {
                exit = limb;
                lastPseudo = PseudoAngle(limb.x(), limb.y());
                turned = 0.0;
                out.append(screen(limb.x(), limb.y()));
                turnTo(x, y);
            } else {
                turnTo(limb.x(), limb.y());
                const double from = std::atan2(exit.y(), exit.x());
                // The stretch's turns, from the pseudo-angle (within a hundredth of a
                // turn of the true one), on the exact difference of the two angles.
                double sweep = std::atan2(limb.y(), limb.x()) - from;
                sweep += 2.0 * M_PI * std::round(turned / 4.0 - sweep / (2.0 * M_PI));
                const int steps = static_cast<int>(std::ceil(std::fabs(sweep) / maxStep));
                for (int i = 1; i < steps; ++i) {
                    const double a = from + sweep * i / steps;
                    out.append(screen(std::cos(a), std::sin(a)));
                }
                out.append(screen(limb.x(), limb.y()));
            }
        } else if (far) {
            turnTo(x, y);
        }
        if (!far && j < n) {
            out.append(screen(x, y));
        }
        px = x;
        py = y;
        pd = d;
    }
    return out;
}

// Land rings filled within the area (whole pixels from (0, 0)), a ring reaching out of it
// cut to it. The fill is not antialiased: the coast's antialiased line is drawn over its
// edge, and the rasterizer fills aliased rings several times faster.
void FillLand(QPainter& painter, const std::vector<QPolygonF>& rings, const QRectF& area) {
    const QRectF reach = area.adjusted(-1.0, -1.0, 1.0, 1.0);
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    for (const QPolygonF& ring : rings) {
        const QRectF b = ring.boundingRect();
        if (b.right() < reach.left() || b.left() > reach.right() || b.bottom() < reach.top() ||
            b.top() > reach.bottom()) {
            continue;
        }
        path.addPolygon(reach.contains(b) ? ring : ClipRingToRect(ring, reach));
        path.closeSubpath();
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.drawPath(path);
    painter.restore();
}

void PaintGlobe(QPainter& painter, const MapView& v, const BaseMap& map) {
    const double w = v.areaWidth * v.zoomX, h = v.areaHeight * v.zoomY;
    const double cx = w / 2.0, cy = h / 2.0, r = v.scale * std::min(w, h) / 2.0;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(60, 70, 90));
    painter.drawRect(AreaRect(v)); // space round the disc
    painter.setBrush(kSea);
    painter.drawEllipse(QPointF(cx, cy), r, r);

    const GlobeLines& lines = GlobeLinesOf(map, DetailForView(v));
    const Rotation rot = GlobeRotation(v);
    // Land: a ring that reaches round the limb follows the limb where it is hidden, so
    // that it still fills what shows of it; a ring wholly on the far side is left out.
    std::vector<QPolygonF> rings;
    QPainterPath coasts;
    for (const auto& ring : lines.land) {
        QPolygonF polygon = GlobeRing(ring, rot, cx, cy, r);
        if (!polygon.isEmpty()) {
            coasts.addPolygon(polygon);
            coasts.closeSubpath();
            rings.push_back(std::move(polygon));
        }
    }
    painter.setBrush(kLand);
    FillLand(painter, rings, AreaRect(v));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Cosmetic(kCoast, 0.8));
    painter.drawPath(coasts);

    QPainterPath borders;
    for (const auto& line : lines.borders) {
        bool drawing = false;
        for (const Vec3& p : line) {
            if (Dot(p, rot.out) < 0.0) {
                drawing = false;
                continue;
            }
            const QPointF q(cx + r * Dot(p, rot.east), cy - r * Dot(p, rot.north));
            if (drawing) {
                borders.lineTo(q);
            } else {
                borders.moveTo(q);
                drawing = true;
            }
        }
    }
    painter.setBrush(Qt::NoBrush);
    painter.setPen(Cosmetic(kBorder, 0.7));
    painter.drawPath(borders);
}

void PaintGraticule(QPainter& painter, const MapView& v) {
    painter.setPen(Cosmetic(kGraticule, 0.6));
    painter.setBrush(Qt::NoBrush);
    QPainterPath grid;
    if (v.kind == MapViewKind::Globe) {
        const double step = 30.0;
        auto addLine = [&](auto placeOf, int samples) {
            bool drawing = false;
            for (int i = 0; i <= samples; ++i) {
                const LatLon p = placeOf(i);
                const auto q = ViewPosition(v, p.lat, p.lon);
                if (!q) {
                    drawing = false;
                    continue;
                }
                if (drawing) {
                    grid.lineTo(q->x, q->y);
                } else {
                    grid.moveTo(q->x, q->y);
                    drawing = true;
                }
            }
        };
        for (double lon = -180.0; lon < 180.0; lon += step) {
            addLine([lon](int i) { return LatLon{-90.0 + i, lon}; }, 180);
        }
        for (double lat = -60.0; lat <= 60.0; lat += step) {
            addLine([lat](int i) { return LatLon{lat, -180.0 + 2.0 * i}; }, 180);
        }
        painter.drawPath(grid);
        return;
    }
    const QRectF area = AreaRect(v);
    const LongitudeSpan span = VisibleLongitudes(v);
    const double pxPerDegree = v.zoomX * v.scale * projection::kPixelsPerDegree;
    const double step = GraticuleStep(pxPerDegree, 70.0);
    for (double lon = std::ceil(span.west / step) * step; lon <= span.east; lon += step) {
        const double x = v.zoomX * (v.scale * DesignX(lon) + v.offsetX);
        grid.moveTo(x, area.top());
        grid.lineTo(x, area.bottom());
    }
    for (double lat = -90.0 + step; lat < 90.0; lat += step) {
        if (std::fabs(lat) > kMercatorEdge) {
            continue;
        }
        const double y = v.zoomY * (v.scale * DesignY(lat) + v.offsetY);
        if (y < area.top() || y > area.bottom()) {
            continue;
        }
        grid.moveTo(area.left(), y);
        grid.lineTo(area.right(), y);
    }
    painter.drawPath(grid);
}

} // namespace

QPolygonF ClipRingToRect(const QPolygonF& ring, const QRectF& rect) {
    // Sutherland and Hodgman: the ring cut by each edge's line in turn. A concave ring
    // keeps zero-width runs along an edge where its parts join; they enclose nothing.
    QPolygonF in = ring;
    QPolygonF out;
    for (int edge = 0; edge < 4 && !in.isEmpty(); ++edge) {
        const bool vertical = edge < 2;
        const double bound = edge == 0   ? rect.left()
                             : edge == 1 ? rect.right()
                             : edge == 2 ? rect.top()
                                         : rect.bottom();
        const bool keepAbove = edge == 0 || edge == 2;
        auto inside = [&](const QPointF& p) {
            const double c = vertical ? p.x() : p.y();
            return keepAbove ? c >= bound : c <= bound;
        };
        auto crossing = [&](const QPointF& a, const QPointF& b) {
            const double t =
                vertical ? (bound - a.x()) / (b.x() - a.x()) : (bound - a.y()) / (b.y() - a.y());
            return vertical ? QPointF(bound, a.y() + t * (b.y() - a.y()))
                            : QPointF(a.x() + t * (b.x() - a.x()), bound);
        };
        out.clear();
        const qsizetype n = in.size();
        for (qsizetype i = 0; i < n; ++i) {
            const QPointF& a = in[i == 0 ? n - 1 : i - 1];
            const QPointF& b = in[i];
            const bool ia = inside(a);
            const bool ib = inside(b);
            if (ia != ib) {
                out.append(crossing(a, b));
            }
            if (ib) {
                out.append(b);
            }
        }
        std::swap(in, out);
    }
    return in;
}

const BaseMap& ProgramBaseMap() {
    static const BaseMap map([] {
        QFile file(QStringLiteral(":/map/world.kvm"));
        if (!file.open(QIODevice::ReadOnly)) {
            return VectorMap{};
        }
        const QByteArray bytes = file.readAll();
        VectorMapRead read = ReadVectorMap(std::span<const unsigned char>(
            reinterpret_cast<const unsigned char*>(bytes.constData()),
            static_cast<std::size_t>(bytes.size())));
        return read.map ? std::move(*read.map) : VectorMap{};
    }());
    return map;
}

MapDetail DetailForView(const MapView& v) {
    const double pxPerDegree =
        v.kind == MapViewKind::Globe
            ? v.scale * std::min(v.areaWidth * v.zoomX, v.areaHeight * v.zoomY) / 114.6
            : v.zoomX * v.scale * projection::kPixelsPerDegree;
    return pxPerDegree < 4.0 ? MapDetail::Coarse : MapDetail::Medium;
}

double GraticuleStep(double pixelsPerDegree, double minPixels) {
    constexpr double kSteps[] = {0.25, 0.5, 1.0, 2.0, 5.0, 10.0, 15.0, 30.0};
    for (const double step : kSteps) {
        if (step * pixelsPerDegree >= minPixels) {
            return step;
        }
    }
    return 30.0;
}

void PaintVectorMap(CDC& dc, const MapView& view, const BaseMap& map) {
    dc.SetMapMode(MM_TEXT);
    QPainter& painter = dc.Painter();
    painter.save();
    const QRectF area = AreaRect(view);
    painter.setClipRect(area);
    painter.setRenderHint(QPainter::Antialiasing, true);
    if (view.kind == MapViewKind::Globe) {
        PaintGlobe(painter, view, map);
    } else {
        painter.fillRect(area, kSea);
        PaintMercator(painter, view, map);
    }
    PaintGraticule(painter, view);
    painter.restore();
}

namespace {

QString DegreesText(double value, char positive, char negative, double step) {
    const double a = std::fabs(value);
    const QString number = step < 1.0 ? QString::number(a, 'f', step < 0.5 ? 2 : 1)
                                      : QString::number(static_cast<int>(std::lround(a)));
    if (a < 1e-9) {
        return QStringLiteral("0");
    }
    return number + QLatin1Char(value > 0.0 ? positive : negative);
}

} // namespace

void PaintGraticuleLabels(CDC& dc, const MapView& v) {
    if (v.kind == MapViewKind::Globe) {
        return;
    }
    dc.SetMapMode(MM_TEXT);
    // The labels stand in bands as wide and as high as the zooms make them: the text
    // follows the smaller zoom, so that a narrowed map does not cut them at its edges.
    const LogicalFont oldFont =
        dc.SelectObject(LogicalFont{TruncToInt(10 * std::min(v.zoomX, v.zoomY))});
    dc.SetTextColor(RGB(0, 0, 0));
    const int row = TruncToInt(332 * v.zoomY);
    const int column = TruncToInt(732 * v.zoomX);
    auto centredX = [&](const QString& text, double x) {
        return TruncToInt(x - dc.TextExtent(text).width() / 2.0);
    };
    if (IsDefaultView(v)) {
        for (const auto& label : map_labels::kScreenLatitudes) {
            dc.TextOut(column, TruncToInt(label.y * v.zoomY), QString::fromLatin1(label.text));
        }
        // Each meridian's label centred on it.
        for (const auto& label : map_labels::kScreenLongitudes) {
            const QString text = QString::fromLatin1(label.text);
            dc.TextOut(centredX(text, (label.x + 1) * v.zoomX), row, text);
        }
        dc.SelectObject(oldFont);
        return;
    }
    const LongitudeSpan span = VisibleLongitudes(v);
    const double pxPerDegree = v.zoomX * v.scale * projection::kPixelsPerDegree;
    const double step = GraticuleStep(pxPerDegree, 70.0);
    const double right = v.areaWidth * v.zoomX;
    for (double lon = std::ceil(span.west / step) * step; lon <= span.east; lon += step) {
        double shown = std::remainder(lon, 360.0);
        const QString text = std::fabs(std::fabs(shown) - 180.0) < 1e-9
                                 ? QStringLiteral("180")
                                 : DegreesText(shown, 'E', 'W', step);
        const double x = v.zoomX * (v.scale * DesignX(lon) + v.offsetX);
        const int left = centredX(text, x);
        if (left < 0 || left + dc.TextExtent(text).width() > right + 3 * v.zoomX) {
            continue;
        }
        dc.TextOut(left, row, text);
    }
    const double bottom = v.areaHeight * v.zoomY;
    for (double lat = -90.0 + step; lat < 90.0; lat += step) {
        if (std::fabs(lat) > kMercatorEdge) {
            continue;
        }
        const double y = v.zoomY * (v.scale * DesignY(lat) + v.offsetY);
        const int top = TruncToInt(y - dc.TextExtent(QStringLiteral("0")).height() / 2.0);
        if (top < 0 || top + dc.TextExtent(QStringLiteral("0")).height() > bottom) {
            continue;
        }
        dc.TextOut(column, top, DegreesText(lat, 'N', 'S', step));
    }
    dc.SelectObject(oldFont);
}
