#include "render/map_painter.h"

#include "render/draw_tools.h"
#include "render/map_labels.h"
#include "render/projection.h"

#include <algorithm>
#include <array>
#include <cstddef>

namespace {

// Design coordinate to window pixels.
int Zx(double x, double zoomX) {
    return TruncToInt(x * zoomX);
}
int Zy(double y, double zoomY) {
    return TruncToInt(y * zoomY);
}

CFont ArialFont(int height, int weight, bool italic) {
    CFont font;
    font.CreateFont(height, 0, 0, 0, weight, italic, false, false, ANSI_CHARSET, 0, 0, 0, FF_SWISS,
                    "Arial");
    return font;
}

void Box(CDC& dc, int left, int top, int right, int bottom, COLORREF colour) {
    CDrawTools().DrawBox(dc, left, top, right, bottom, 1, PS_SOLID, colour, colour);
}

void Text(CDC& dc, double x, double y, const char* text, double zx, double zy) {
    dc.TextOut(Zx(x, zx), Zy(y, zy), QString::fromLatin1(text));
}

void PaintPanel(CDC& dc, int w, int h, double zx, double zy) {
    Box(dc, 0, Zy(413, zy), w, h, map_colours::kPanelOuter);
    Box(dc, Zx(10, zx), Zy(423, zy), w - Zx(10, zx), h - Zy(10, zy), map_colours::kPanelInner);

    const CFont oldFont = dc.SelectObject(ArialFont(Zy(15, zy), FW_BOLD, true));
    dc.SetTextColor(map_colours::kCream);
    Text(dc, 70, 444, "DATE", zx, zy);
    Text(dc, 70, 479, "UT", zx, zy);
    dc.SelectObject(oldFont);
}

void PaintBaseMap(CDC& dc, double zx, double zy) {
    const int width = Zx(projection::kMapWidth, zx);
    const int height = Zy(projection::kMapHeight, zy);
    CBitmap map;
    if (map.LoadBitmap(kWorldMapBitmap)) {
        dc.StretchBlt(0, 0, width, height, map.Image(), 0, 0, map.Width(), map.Height());
    } else {
        // Without its bitmap the map area is plain grey, so the plotted points still read.
        Box(dc, 0, 0, width, height, map_colours::kMissingMap);
    }
}

void PaintLegendAndBands(CDC& dc, int w, double zx, double zy) {
    Box(dc, Zx(590, zx), Zy(375, zy), Zx(600, zx), Zy(385, zy), map_colours::kPenumbra);
    Box(dc, Zx(590, zx), Zy(395, zy), Zx(600, zx), Zy(405, zy), map_colours::kUmbra);
    Box(dc, Zx(510, zx), Zy(375, zy), Zx(520, zx), Zy(385, zy), map_colours::kFirstLimit);
    Box(dc, Zx(510, zx), Zy(395, zy), Zx(520, zx), Zy(405, zy), map_colours::kSecondLimit);

    // The bands end at the client width times the horizontal zoom.
    const int bandRight = TruncToInt(w * zx);
    Box(dc, 0, Zy(330, zy), bandRight, Zy(345, zy), map_colours::kCream);
    Box(dc, Zx(730, zx), 0, bandRight, Zy(345, zy), map_colours::kCream);

    dc.SetTextColor(RGB(0, 0, 0));
    Text(dc, 605, 375, "MOON'S PENUMBRA", zx, zy);
    Text(dc, 605, 395, "MOON'S UMBRA", zx, zy);
    Text(dc, 525, 375, "SUNSET", zx, zy);
    Text(dc, 525, 395, "SUNRISE", zx, zy);
}

void PaintGridLabels(CDC& dc, double zx, double zy) {
    const CFont oldFont = dc.SelectObject(ArialFont(Zy(10, zy), FW_BOLD, false));
    dc.SetTextColor(RGB(0, 0, 0));
    for (const auto& label : map_labels::kScreenLatitudes) {
        Text(dc, label.x, label.y, label.text, zx, zy);
    }
    for (const auto& label : map_labels::kScreenLongitudes) {
        Text(dc, label.x, label.y, label.text, zx, zy);
    }
    dc.SelectObject(oldFont);
}

} // namespace

void PaintStaticPicture(CDC& dc, int clientWidth, int clientHeight, double zoomX, double zoomY) {
    dc.SetMapMode(MM_TEXT);
    dc.SetBkMode(TRANSPARENT);
    PaintPanel(dc, clientWidth, clientHeight, zoomX, zoomY);

    const CFont oldFont = dc.SelectObject(ArialFont(Zy(13, zoomY), FW_DONTCARE, true));
    dc.SetTextColor(map_colours::kCream);
    Text(dc, 125, 427, "day", zoomX, zoomY);
    Text(dc, 150, 427, "month", zoomX, zoomY);
    Text(dc, 185, 427, "year", zoomX, zoomY);
    Text(dc, 125, 462, "h", zoomX, zoomY);
    Text(dc, 150, 462, "min", zoomX, zoomY);
    Text(dc, 185, 462, "sec", zoomX, zoomY);

    PaintBaseMap(dc, zoomX, zoomY);
    PaintLegendAndBands(dc, clientWidth, zoomX, zoomY);
    dc.SelectObject(oldFont);
    PaintGridLabels(dc, zoomX, zoomY);
}

namespace {

bool OnScreenLatitude(double lat) {
    return lat >= projection::kSouthLimit && lat <= projection::kNorthLimit;
}

} // namespace

void PlotPointBoxes(CDC& dc, double zoomX, double zoomY, std::span<const double> lat,
                    std::span<const double> lon, COLORREF colour) {
    dc.SetMapMode(MM_TEXT);
    const std::size_t count = std::min(lat.size(), lon.size());
    // The boxes go to the context in slices, without a list of all of them.
    constexpr std::size_t kSlice = 1024;
    std::array<CRect, kSlice> slice;
    std::size_t n = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (!OnScreenLatitude(lat[i])) {
            continue;
        }
        const ScreenPoint p = ProjectToScreen(lat[i], lon[i], zoomX, zoomY);
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        const auto x2 = TruncateCoordinate(p.x + 2);
        const auto y2 = TruncateCoordinate(p.y + 2);
        if (!x || !y || !x2 || !y2) {
            continue; // a longitude that is not a number has no place on the map
        }
        slice[n++] = {*x, *y, *x2, *y2};
        if (n == kSlice) {
            dc.FillBoxes(slice, 2, colour);
            n = 0;
        }
    }
    dc.FillBoxes(std::span<const CRect>(slice.data(), n), 2, colour);
}

std::optional<CPoint> OutlineCorner(std::span<const double> lat, std::span<const double> lon,
                                    double zoomX, double zoomY) {
    const std::size_t count = std::min(lat.size(), lon.size());
    std::optional<CPoint> corner;
    for (std::size_t i = 0; i < count; ++i) {
        const ScreenPoint p = ProjectToScreen(lat[i], lon[i], zoomX, zoomY);
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        if (!x || !y) {
            continue; // a longitude that is not a number has no place on the map
        }
        if (!corner) {
            corner = CPoint{*x, *y};
            continue;
        }
        if (!OnScreenLatitude(lat[i]) || !TruncateCoordinate(p.x + 2) ||
            !TruncateCoordinate(p.y + 2)) {
            continue;
        }
        corner->x = std::min(corner->x, *x);
        corner->y = std::min(corner->y, *y);
    }
    return corner;
}
