#include "render/path_painter.h"

#include "render/map_painter.h"
#include "render/print_page.h"
#include "render/projection.h"

#include <QString>

#include <algorithm>
#include <optional>
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
template <typename Project>
void DrawLine(CDC& dc, const std::vector<MapPlace>& points, Project project) {
    bool drawing = false;
    for (const MapPlace& p : points) {
        const auto at = Truncated(project(p));
        if (!at) {
            drawing = false;
            continue;
        }
        if (drawing)
            dc.LineTo(at->x, at->y);
        else
            dc.MoveTo(at->x, at->y);
        drawing = true;
    }
}

void Cross(CDC& dc, CPoint c, int half) {
    dc.MoveTo(c.x - half, c.y - half);
    dc.LineTo(c.x + half, c.y + half);
    dc.MoveTo(c.x - half, c.y + half);
    dc.LineTo(c.x + half, c.y - half);
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
    if (layer.greatest) {
        if (const auto c = Truncated(project(*layer.greatest))) {
            const QPen old = dc.SelectObject(Pen({crossWidth, crossColour}));
            Cross(dc, *c, crossHalf);
            dc.SelectObject(old);
        }
    }
}

LogicalFont LegendFont(int height, bool italic) {
    return {height, !italic, italic};
}

// Legend entries: a sample of the line (or the cross) and its text.
struct LegendEntry {
    const char* text;
    PathLineKind kind;
    bool cross;
};
constexpr LegendEntry kEntries[] = {
    {"CENTRAL LINE", PathLineKind::CentralLine, false},
    {"PATH LIMITS", PathLineKind::PathLimit, false},
    {"PARTIAL LIMITS", PathLineKind::PartialLimit, false},
    {"GREATEST ECLIPSE", PathLineKind::CentralLine, true},
};

// The entries the layer needs, in the legend's order.
std::vector<const LegendEntry*> EntriesOf(const PathLayer& layer) {
    std::vector<const LegendEntry*> out;
    for (const LegendEntry& e : kEntries) {
        const bool present =
            e.cross ? layer.greatest.has_value()
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

void DrawPathLayer(CDC& dc, const PathLayer& layer, double zoomX, double zoomY) {
    DrawLayer(
        dc, layer, [&](const MapPlace& p) { return ProjectToScreen(p.lat, p.lon, zoomX, zoomY); },
        ScreenStyle, 4, 2);
}

void DrawPathLegend(CDC& dc, const PathLayer& layer, double zoomX, double zoomY) {
    const std::vector<const LegendEntry*> entries = EntriesOf(layer);
    // Two columns right of the contact-time block and left of the sunset and sunrise
    // boxes, on the legend's two rows.
    const double columns[] = {225.0, 345.0};
    const double rows[] = {375.0, 395.0};
    const LogicalFont oldFont = dc.SelectObject(LegendFont(TruncToInt(13 * zoomY), true));
    dc.SetTextColor(RGB(0, 0, 0));
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const LegendEntry& e = *entries[k];
        const int x = TruncToInt(columns[k / 2] * zoomX);
        const int y = TruncToInt(rows[k % 2] * zoomY);
        const int mid = y + TruncToInt(5 * zoomY);
        const int length = TruncToInt(14 * zoomX);
        const LineStyle style = ScreenStyle(e.kind);
        const COLORREF crossColour = layer.umbral ? map_colours::kUmbra : map_colours::kPenumbra;
        const QPen old = dc.SelectObject(Pen(e.cross ? LineStyle{2, crossColour} : style));
        if (e.cross) {
            Cross(dc, CPoint(x + length / 2, mid), 4);
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
    for (std::size_t k = 0; k < entries.size(); ++k) {
        const LegendEntry& e = *entries[k];
        const int x = columns[k / 2];
        const int y = rows[k % 2];
        const int mid = y - 25;
        const COLORREF crossColour =
            layer.umbral ? print_colours::kUmbra : print_colours::kPenumbra;
        const QPen old =
            dc.SelectObject(Pen(e.cross ? LineStyle{6, crossColour} : PageStyle(e.kind)));
        if (e.cross) {
            Cross(dc, CPoint(x + 20, mid), 12);
        } else {
            dc.MoveTo(x, mid);
            dc.LineTo(x + 40, mid);
        }
        dc.SelectObject(old);
        dc.TextOut(x + 52, y - 8, QString::fromLatin1(e.text));
    }
    dc.SelectObject(oldFont);
}
