#pragma once

// The static picture of the view (control panel background with its captions, base map,
// legend, cream bands, grid labels) and the plotting of shadow points onto the window.
// Coordinates are design pixels scaled by the zoom factors and truncated toward zero.

#include "geo/map_colours.h"
#include "geo/map_view.h"
#include "geo/outline_runs.h"
#include "platform/dc.h"

#include <optional>
#include <span>
#include <vector>

namespace map_colours {
constexpr COLORREF FromPalette(MapColour c) {
    return RGB(c.r, c.g, c.b);
}
constexpr COLORREF kPenumbra = FromPalette(map_palette::kPenumbra);
constexpr COLORREF kUmbra = FromPalette(map_palette::kUmbra);
constexpr COLORREF kFirstLimit = RGB(125, 125, 125);
constexpr COLORREF kSecondLimit = RGB(0, 0, 0);
constexpr COLORREF kCream = RGB(255, 255, 225);
constexpr COLORREF kPanelOuter = RGB(0, 0, 0);
constexpr COLORREF kPanelInner = RGB(0, 51, 102);
constexpr COLORREF kMissingMap = RGB(192, 192, 192);
} // namespace map_colours

// Number of the base map bitmap.
constexpr int kWorldMapBitmap = 148;

// Paints the static picture on a client area of clientWidth x clientHeight pixels: the
// panel and legend at the view's layout scale, the base map and its labels in the view.
void PaintStaticPicture(CDC& dc, int clientWidth, int clientHeight, const MapView& view);

// Each point whose latitude lies in [-60, 75] (any other view: within ±85° and in the
// map's area) as a 2 x 2 box (window pixels x..x+2, y..y+2 of its truncated position), all
// in one colour. Points that are not numbers are skipped; a point on the pixel of the one
// before it is drawn once.
void PlotPointBoxes(CDC& dc, const MapView& view, std::span<const double> lat,
                    std::span<const double> lon, COLORREF colour);

// Top-left corner, window pixels, of the box an outline's points span: it starts at the
// first point whose position is a number, whatever its latitude (a point near a pole
// projects far off the window and saturates there), and every plotted point widens it.
// nullopt when no point has a position. On a globe, where that corner can lie off the
// disc, it is instead the outline's own point drawn in the area nearest the top-left
// (least x + y), nullopt when none is drawn.
std::optional<CPoint> OutlineCorner(std::span<const double> lat, std::span<const double> lon,
                                    const MapView& view);

// An hour's outline on the map: PlotPointBoxes's boxes, and OutlineCorner's corner
// returned, in one pass over the places. With the outline's runs (SummariseOutline), a
// moved map passes over the runs that cannot show: the same boxes and corner, sooner.
std::optional<CPoint> PlotOutline(CDC& dc, const MapView& view, std::span<const double> lat,
                                  std::span<const double> lon, COLORREF colour,
                                  std::span<const PointRun> runs = {});

// PlotOutline's boxes (each to be filled with a pen of 2) and corner, worked out without
// drawing them: the scene works out several outlines at once.
struct OutlinePixels {
    std::vector<CRect> boxes;
    std::optional<CPoint> corner;
};
OutlinePixels OutlinePixelsOf(const MapView& view, std::span<const double> lat,
                              std::span<const double> lon, std::span<const PointRun> runs);
