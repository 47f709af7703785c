#pragma once

// The static picture of the view (control panel background with its captions, base map,
// legend, cream bands, grid labels) and the plotting of shadow points onto the window.
// Coordinates are design pixels scaled by the zoom factors and truncated toward zero.

#include "platform/dc.h"

#include <vector>

namespace map_colours {
constexpr COLORREF kPenumbra = RGB(128, 128, 192);
constexpr COLORREF kUmbra = RGB(0, 64, 128);
constexpr COLORREF kFirstLimit = RGB(125, 125, 125);
constexpr COLORREF kSecondLimit = RGB(0, 0, 0);
constexpr COLORREF kCream = RGB(255, 255, 225);
constexpr COLORREF kPanelOuter = RGB(0, 0, 0);
constexpr COLORREF kPanelInner = RGB(0, 51, 102);
constexpr COLORREF kMissingMap = RGB(192, 192, 192);
} // namespace map_colours

// Number of the base map bitmap.
constexpr int kWorldMapBitmap = 148;

// Paints the static picture on a client area of clientWidth x clientHeight pixels.
void PaintStaticPicture(CDC& dc, int clientWidth, int clientHeight, double zoomX, double zoomY);

// Bounding box, window pixels, of the penumbra points drawn last.
struct ShadowBox {
    int minX = 0;
    int minY = 0;
    int maxX = 0;
    int maxY = 0;
};

// Draws the penumbra points, then the umbra points, each a 2 x 2 box, skipping
// latitudes outside [-60, 75]. The first penumbra point (unfiltered) starts the box and
// every drawn penumbra point widens it; with no penumbra points the box is unchanged.
// plotLat and plotLon are the scratch pair the projection works on.
void PlotShadowPoints(CDC& dc, double zoomX, double zoomY, const std::vector<double>& penumbraLat,
                      const std::vector<double>& penumbraLon, const std::vector<double>& umbraLat,
                      const std::vector<double>& umbraLon, ShadowBox& box, double& plotLat,
                      double& plotLon);
