#include "render/path_painter.h"

#include "geo/map_colours.h"

#include "geo/map_view.h"
#include "geo/projection.h"
#include "render/map_painter.h"
#include "render/print_page.h"

#include <QPainterPath>
#include <QPolygonF>
#include <QString>

#include <algorithm>
#include <cmath>
#include <optional>
#include <utility>
#include <vector>

namespace {

struct LineStyle {
    int width;
    COLORREF colour;
};

LineStyle ScreenStyle(PathLineKind kind) {
    switch (kind) {
    case PathLineKind::CentralLine:
        return {2, map_colours::kUmbra};
    case PathLineKind::PathLimit:
        return {1, map_colours::kUmbra};
    case PathLineKind::MaximumLine:
        return {1, map_colours::FromPalette(map_palette::kMaximumLine)};
    case PathLineKind::RiseSetMaximum:
        return {1, map_colours::FromPalette(map_palette::kRiseSetMaximum)};
    case PathLineKind::MagnitudeLine:
        return {1, map_colours::FromPalette(map_palette::kMagnitudeLine)};
    case PathLineKind::PartialLimit:
    case PathLineKind::RiseSetCurve:
    case PathLineKind::MoonVisibility:
        break;
    }
    return {1, map_colours::kPenumbra};
}

LineStyle PageStyle(PathLineKind kind) {
    switch (kind) {
    case PathLineKind::CentralLine:
        return {7, print_colours::kUmbra};
    case PathLineKind::PathLimit:
        return {3, print_colours::kUmbra};
    case PathLineKind::PartialLimit:
    case PathLineKind::RiseSetCurve:
    case PathLineKind::MaximumLine:
    case PathLineKind::RiseSetMaximum:
    case PathLineKind::MagnitudeLine:
    case PathLineKind::MoonVisibility:
        break;
    }
    return {3, print_colours::kPenumbra};
}

QPen Pen(const LineStyle& style) {
    return QPen(ToQColor(style.colour), style.width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
}

std::optional<CPoint> Truncated(const ScreenPoint& p) {
    const auto x = TruncateCoordinate(p.x);
    const auto y = TruncateCoordinate(p.y);
    if (!x || !y)
        return std::nullopt;
    return CPoint(*x, *y);
}

// One polyline through the projected places; a place without a position ends a run.
// Each run is one stroke, a place on the unit of the one before it left out: a page keeps
// one path per run, not one per step.
template <typename Project>
void DrawLine(CDC& dc, const std::vector<MapPlace>& points, Project project) {
    std::vector<CPoint> run;
    auto flush = [&] {
        dc.Polyline(run); // a run of one unit draws nothing, as a step of none did
        run.clear();
    };
    for (const MapPlace& p : points) {
        const auto at = Truncated(project(p));
        if (!at) {
            flush();
            continue;
        }
        if (run.empty() || run.back().x != at->x || run.back().y != at->y)
            run.push_back(*at);
    }
    flush();
}

void Cross(CDC& dc, CPoint c, int half) {
    dc.MoveTo(c.x - half, c.y - half);
    dc.LineTo(c.x + half, c.y + half);
    dc.MoveTo(c.x - half, c.y + half);
    dc.LineTo(c.x + half, c.y - half);
}

// The greatest duration's mark: a square standing on a corner.
void Diamond(CDC& dc, CPoint c, int half) {
    dc.MoveTo(c.x, c.y - half);
    dc.LineTo(c.x + half, c.y);
    dc.LineTo(c.x, c.y + half);
    dc.LineTo(c.x - half, c.y);
    dc.LineTo(c.x, c.y - half);
}

enum class Mark { None, Cross, Diamond };

void DrawMark(CDC& dc, Mark mark, CPoint c, int half) {
    if (mark == Mark::Cross)
        Cross(dc, c, half);
    else if (mark == Mark::Diamond)
        Diamond(dc, c, half);
}

template <typename Project, typename Style>
void DrawLayer(CDC& dc, const PathLayer& layer, Project project, Style style, int crossHalf,
               int crossWidth) {
    const COLORREF crossColour =
        style(layer.umbral ? PathLineKind::CentralLine : PathLineKind::PartialLimit).colour;
    for (const PathLine& line : layer.lines) {
        const QPen old = dc.SelectObject(Pen(style(line.kind)));
        DrawLine(dc, line.points, project);
        dc.SelectObject(old);
    }
    for (const auto& [place, mark] : {std::pair{&layer.greatestDuration, Mark::Diamond},
                                      std::pair{&layer.greatest, Mark::Cross}}) {
        if (!*place)
            continue;
        if (const auto c = Truncated(project(**place))) {
            const QPen old = dc.SelectObject(Pen({crossWidth, crossColour}));
            DrawMark(dc, mark, *c, crossHalf);
            dc.SelectObject(old);
        }
    }
}

LogicalFont LegendFont(int height, bool italic) {
    return {height, !italic, italic};
}

// Legend entries: a sample of the line (or the mark) and its text.
struct LegendEntry {
    const char* text;
    PathLineKind kind;
    Mark mark;
};
constexpr LegendEntry kEntries[] = {
    {"CENTRAL LINE", PathLineKind::CentralLine, Mark::None},
    {"PATH LIMITS", PathLineKind::PathLimit, Mark::None},
    {"PARTIAL LIMITS", PathLineKind::PartialLimit, Mark::None},
    {"GREATEST ECLIPSE", PathLineKind::CentralLine, Mark::Cross},
};
// With it the legend has three rows.
constexpr LegendEntry kDurationEntry = {"GREATEST DURATION", PathLineKind::CentralLine,
                                        Mark::Diamond};

// The entries the layer needs, in the legend's order (two columns of two rows).
std::vector<const LegendEntry*> EntriesOf(const PathLayer& layer) {
    std::vector<const LegendEntry*> out;
    for (const LegendEntry& e : kEntries) {
        const bool present =
            e.mark == Mark::Cross
                ? layer.greatest.has_value()
                : std::any_of(layer.lines.begin(), layer.lines.end(), [&](const PathLine& l) {
                      return l.kind == e.kind || (e.kind == PathLineKind::PartialLimit &&
                                                  l.kind == PathLineKind::RiseSetCurve);
                  });
        if (present)
            out.push_back(&e);
    }
    return out;
}

} // namespace

namespace {

// The window's lines: the partial zone's lines thin, the path's limits crisp, the central
// line in a colour that stands out on the band and on the umbra's points.
QPen WindowPen(PathLineKind kind) {
    auto pen = [](MapColour c, double w, Qt::PenStyle style = Qt::SolidLine) {
        return QPen(QColor(c.r, c.g, c.b, c.alpha), w, style, Qt::RoundCap, Qt::RoundJoin);
    };
    switch (kind) {
    case PathLineKind::CentralLine:
        return pen(map_palette::kCentralLine, 2.2);
    case PathLineKind::PathLimit:
        return pen(map_palette::kUmbra, 1.4);
    case PathLineKind::PartialLimit:
    case PathLineKind::RiseSetCurve:
        return pen(map_palette::kPenumbra, 1.4);
    case PathLineKind::MaximumLine:
        return pen(map_palette::kMaximumLine, 1.0, Qt::DashLine);
    case PathLineKind::RiseSetMaximum:
        return pen(map_palette::kRiseSetMaximum, 1.2, Qt::DashDotLine);
    case PathLineKind::MagnitudeLine:
        return pen(map_palette::kMagnitudeLine, 1.0, Qt::DotLine);
    case PathLineKind::MoonVisibility:
        return pen({170, 60, 40}, 1.5);
    }
    return pen(map_palette::kPenumbra, 1.0);
}

// Back to front: the partial zone's lines, then the path, its central line last.
constexpr PathLineKind kWindowOrder[] = {
    PathLineKind::MagnitudeLine, PathLineKind::MaximumLine,  PathLineKind::RiseSetMaximum,
    PathLineKind::RiseSetCurve,  PathLineKind::PartialLimit, PathLineKind::MoonVisibility,
    PathLineKind::PathLimit,     PathLineKind::CentralLine,
};

QPolygonF Polygon(const std::vector<ScreenPoint>& run) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(run.size()));
    for (const ScreenPoint& p : run) {
        polygon.append(QPointF(p.x, p.y));
    }
    return polygon;
}

QRectF MapArea(const MapView& view) {
    return {0.0, 0.0, std::trunc(view.areaWidth * view.zoomX),
            std::trunc(view.areaHeight * view.zoomY)};
}

LabelBox AreaBox(const MapView& view) {
    const QRectF r = MapArea(view);
    return {r.left(), r.top(), r.width(), r.height()};
}

// A label beside its line, at the first place along it that is free.
void PlaceLineLabel(CDC& dc, const std::vector<std::vector<ScreenPoint>>& runs, const QString& text,
                    const MapView& view, std::vector<LabelBox>& placed) {
    const QSizeF size = dc.TextExtent(text);
    std::vector<LabelBox> candidates;
    for (const double f : {0.5, 0.35, 0.65, 0.2, 0.8, 0.1, 0.9}) {
        for (const auto& run : runs) {
            if (run.empty()) {
                continue;
            }
            const ScreenPoint p =
                run[static_cast<std::size_t>(f * static_cast<double>(run.size() - 1))];
            candidates.push_back(
                {p.x + 3.0, p.y - size.height() - 1.0, size.width(), size.height()});
            candidates.push_back(
                {p.x - size.width() - 3.0, p.y + 1.0, size.width(), size.height()});
        }
    }
    if (const auto box = PlaceLabel(placed, candidates, AreaBox(view))) {
        dc.TextOut(TruncToInt(box->left), TruncToInt(box->top), text);
    }
}

// The window's markers, the greatest duration's diamond first and the greatest eclipse's
// cross last (the two may lie close together, and the cross is the one to see).
struct MarkerPlace {
    QPointF centre;
    Mark mark;
};
constexpr double kMarkerReach = 8.5; // window pixels from a marker's centre, halo included

std::vector<MarkerPlace> MarkerPlaces(const PathLayer& layer, const MapView& view) {
    std::vector<MarkerPlace> places;
    for (const auto& [place, mark] : {std::pair{&layer.greatestDuration, Mark::Diamond},
                                      std::pair{&layer.greatest, Mark::Cross}}) {
        if (const auto p = *place ? ViewPosition(view, (*place)->lat, (*place)->lon) : std::nullopt)
            places.push_back({QPointF(p->x, p->y), mark});
    }
    return places;
}

} // namespace

void DrawPathLayer(CDC& dc, const PathLayer& layer, const MapView& view,
                   std::vector<LabelBox>& placed) {
    dc.SetMapMode(MM_TEXT);
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setClipRect(MapArea(view));
    painter.setRenderHint(QPainter::Antialiasing, true);
    // The band between the limits, translucent so the map shows through; the design's
    // map shows the umbra's own points there instead.
    if (const auto band = IsDefaultView(view) ? std::nullopt : PathBand(layer)) {
        QPainterPath fill;
        fill.setFillRule(Qt::WindingFill);
        for (const auto& run : ViewPolylines(view, *band)) {
            fill.addPolygon(Polygon(run));
            fill.closeSubpath();
        }
        const MapColour c = map_palette::kPathBand;
        painter.fillPath(fill, QColor(c.r, c.g, c.b, layer.umbral ? c.alpha : 0));
    }
    std::vector<std::pair<const PathLine*, std::vector<std::vector<ScreenPoint>>>> labelled;
    for (const PathLineKind kind : kWindowOrder) {
        painter.setPen(WindowPen(kind));
        painter.setBrush(Qt::NoBrush);
        for (const PathLine& line : layer.lines) {
            if (line.kind != kind) {
                continue;
            }
            auto runs = ViewPolylines(view, line.points);
            for (const auto& run : runs) {
                painter.drawPolyline(Polygon(run));
            }
            if (!line.label.empty()) {
                labelled.emplace_back(&line, std::move(runs));
            }
        }
    }
    painter.restore();
    // The markers, drawn above everything later, keep the labels from under them.
    for (const MarkerPlace& m : MarkerPlaces(layer, view)) {
        placed.push_back({m.centre.x() - kMarkerReach, m.centre.y() - kMarkerReach,
                          2.0 * kMarkerReach, 2.0 * kMarkerReach});
    }
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    dc.SetBkMode(TRANSPARENT);
    for (const auto& [line, runs] : labelled) {
        const QColor c = WindowPen(line->kind).color();
        dc.SetTextColor(RGB(c.red(), c.green(), c.blue()));
        PlaceLineLabel(dc, runs, QString::fromStdString(line->label), view, placed);
    }
    dc.SelectObject(oldFont);
}

void DrawPathMarkers(CDC& dc, const PathLayer& layer, const MapView& view) {
    QPainter& painter = dc.Painter();
    painter.save();
    painter.setClipRect(MapArea(view));
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(Qt::NoBrush);
    // Each marker with a white halo, above every other layer.
    const QColor ink = layer.umbral ? QColor(200, 0, 60) : QColor(96, 96, 176);
    for (const auto& [c, mark] : MarkerPlaces(layer, view)) {
        for (const auto& [colour, width] :
             {std::pair{QColor(255, 255, 255), 4.5}, std::pair{ink, 2.0}}) {
            painter.setPen(QPen(colour, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
            if (mark == Mark::Cross) {
                painter.drawLine(c + QPointF(-5, -5), c + QPointF(5, 5));
                painter.drawLine(c + QPointF(-5, 5), c + QPointF(5, -5));
            } else {
                const QPointF corners[] = {c + QPointF(0, -6), c + QPointF(6, 0), c + QPointF(0, 6),
                                           c + QPointF(-6, 0)};
                painter.drawPolygon(corners, 4);
            }
        }
    }
    painter.restore();
}

void DrawPathLegend(CDC& dc, const PathLayer& layer, double zoomX, double zoomY) {
    std::vector<const LegendEntry*> entries = EntriesOf(layer);
    // Two columns right of the contact-time block and left of the sunset and sunrise
    // boxes, on the legend's two rows; three closer rows with the greatest duration.
    const double columns[] = {225.0, 345.0};
    const double twoRows[] = {375.0, 395.0};
    const double threeRows[] = {358.0, 375.0, 392.0};
    if (layer.greatestDuration) {
        entries.push_back(&kDurationEntry);
    }
    const std::size_t rowCount = layer.greatestDuration ? 3 : 2;
    const double* rows = layer.greatestDuration ? threeRows : twoRows;
    // In a window narrower than its height calls for, the text shrinks with the columns.
    const LogicalFont oldFont =
        dc.SelectObject(LegendFont(TruncToInt(13 * std::min(zoomX, zoomY)), true));
    dc.SetTextColor(RGB(0, 0, 0));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const LegendEntry& e = *entries[k];
        const int x = TruncToInt(columns[std::min<std::size_t>(1, k / rowCount)] * zoomX);
        const int y = TruncToInt(rows[k % rowCount] * zoomY);
        const int mid = y + TruncToInt(5 * zoomY);
        const int length = TruncToInt(14 * zoomX);
        const LineStyle style = ScreenStyle(e.kind);
        const COLORREF crossColour = layer.umbral ? map_colours::kUmbra : map_colours::kPenumbra;
        const QPen old =
            dc.SelectObject(Pen(e.mark != Mark::None ? LineStyle{2, crossColour} : style));
        if (e.mark != Mark::None) {
            DrawMark(dc, e.mark, CPoint(x + length / 2, mid), 4);
        } else {
            dc.MoveTo(x, mid);
            dc.LineTo(x + length, mid);
        }
        dc.SelectObject(old);
        dc.TextOut(x + length + TruncToInt(5 * zoomX), y, QString::fromLatin1(e.text));
    }
    dc.SelectObject(oldFont);
}

void PrintPathLayer(CDC& dc, const PathLayer& layer) {
    DrawLayer(
        dc, layer, [](const MapPlace& p) { return ProjectToPage(p.lat, p.lon); }, PageStyle, 14, 6);
}

void PrintPathLegend(CDC& dc, const PathLayer& layer, int mapHeight) {
    const std::vector<const LegendEntry*> entries = EntriesOf(layer);
    // Two columns between the text lines under the map and the sunset and sunrise boxes.
    const int columns[] = {850, 1085};
    const int rows[] = {mapHeight - 325, mapHeight - 400};
    const LogicalFont oldFont = dc.SelectObject(LegendFont(-22, false));
    dc.SetTextColor(print_colours::kInk);
    for (std::size_t k = 0; k <= entries.size(); ++k) {
        if (k == entries.size() && !layer.greatestDuration) {
            break;
        }
        const LegendEntry& e = k < entries.size() ? *entries[k] : kDurationEntry;
        const int x = columns[k < entries.size() ? k / 2 : 1];
        const int y = k < entries.size() ? rows[k % 2] : mapHeight - 475;
        const int mid = y - 25;
        const COLORREF crossColour =
            layer.umbral ? print_colours::kUmbra : print_colours::kPenumbra;
        const QPen old = dc.SelectObject(
            Pen(e.mark != Mark::None ? LineStyle{6, crossColour} : PageStyle(e.kind)));
        if (e.mark != Mark::None) {
            DrawMark(dc, e.mark, CPoint(x + 20, mid), 12);
        } else {
            dc.MoveTo(x, mid);
            dc.LineTo(x + 40, mid);
        }
        dc.SelectObject(old);
        dc.TextOut(x + 52, y - 8, QString::fromLatin1(e.text));
    }
    dc.SelectObject(oldFont);
}
