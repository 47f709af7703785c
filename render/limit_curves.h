#pragma once

// The sunrise and sunset limit curves of the map command on the window.

#include "geo/map_view.h"
#include "platform/dc.h"

#include <vector>

// The sunrise series (grey) and the sunset series (black) as 2 × 2 boxes, with
// "Sunrise UT" and "Sunset UT" on design row 310, 10 design pixels west of the first
// finite point of each series. Times that are not numbers (no sunrise or sunset at that
// latitude) are skipped; a series without any time has no caption.
void PlotLimitCurvePoints(CDC& dc, const MapView& view, const std::vector<double>& latitudes,
                          const std::vector<double>& first, const std::vector<double>& second);
