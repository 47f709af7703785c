#pragma once

// The path of the shadow drawn over the map: on the window in the map's colours
// (the path in the umbra's colour, its central line bold; the partial limits and the
// sunrise and sunset curves in the penumbra's colour; a cross at greatest eclipse and a
// diamond at greatest duration),
// and on the printed page in its greys. With the legend entries for them.

#include "geo/label_place.h"
#include "geo/map_view.h"
#include "geo/path_layer.h"
#include "platform/dc.h"

#include <vector>

// Window pixels of the view (one unit per pixel, y down), inside the map's area: the
// band between the path's limits translucent, every kind of line in its style, the
// central line on top, and the lines' labels where they clear the labels placed before.
void DrawPathLayer(CDC& dc, const PathLayer& layer, const MapView& view,
                   std::vector<LabelBox>& placed);
// The greatest eclipse's cross and the greatest duration's diamond, drawn after
// everything else.
void DrawPathMarkers(CDC& dc, const PathLayer& layer, const MapView& view);
// The legend's entries for the kinds of line and the marks the layer has.
void DrawPathLegend(CDC& dc, const PathLayer& layer, double zoomX, double zoomY);

// Page units (0.1 mm, y up); mapHeight as PrintedMapHeight gives it.
void PrintPathLayer(CDC& dc, const PathLayer& layer);
void PrintPathLegend(CDC& dc, const PathLayer& layer, int mapHeight);
