#pragma once

// The lunar diagram (geo/lunar_diagram.h) drawn into a box of the window: the
// title and the orientation on the left; north up, east to the left, as the sky is
// seen facing the Moon; the penumbra light, the umbra dark, the track with an arrow,
// the Moon's outline at each contact.

#include "geo/lunar_diagram.h"
#include "platform/dc.h"

// The box the diagram takes in the window at the zoom: 190 x 120 design pixels
// centred on its anchor, kept within the map.
CRect LunarDiagramRect(const LunarDiagram& diagram, double zoomX, double zoomY);

// The same box in the lower left corner of a map area areaHeight design pixels high, where
// it stays while the map is zoomed, panned or turned to the globe.
CRect LunarDiagramCornerRect(double areaHeight, double zoomX, double zoomY);

void DrawLunarDiagram(CDC& dc, const CRect& box, const LunarDiagram& diagram);
