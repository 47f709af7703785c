#pragma once

// The lunar diagram (render/lunar_diagram.h) drawn into a box of the window: the
// title and the orientation on the left; north up, east to the left, as the sky is
// seen facing the Moon; the penumbra light, the umbra dark, the track with an arrow,
// the Moon's outline at each contact.

#include "platform/dc.h"
#include "render/lunar_diagram.h"

// The box the diagram takes in the window at the zoom: 190 x 120 design pixels
// centred on its anchor, kept within the map.
CRect LunarDiagramRect(const LunarDiagram& diagram, double zoomX, double zoomY);

void DrawLunarDiagram(CDC& dc, const CRect& box, const LunarDiagram& diagram);
