#pragma once

// The sunrise and sunset limit curves of the map command on the window.

#include "platform/dc.h"
#include "render/label_place.h"
#include "render/map_view.h"

#include <vector>

// The sunrise series (grey) and the sunset series (black) as 2 × 2 boxes, with
// "Sunrise UT" and "Sunset UT" on design row 310, 10 design pixels west of the first
// finite point of each series. Times that are not numbers (no sunrise or sunset at that
// latitude) are skipped; a series without any time has no caption. On a moved map the
// caption stands above the first point, or the nearest row above or below it clear of
// the labels in placed (which it joins); with no room, or with the first point off the
// map's area, it is left out.
void PlotLimitCurvePoints(CDC& dc, const MapView& view, const std::vector<double>& latitudes,
                          const std::vector<double>& first, const std::vector<double>& second,
                          std::vector<LabelBox>* placed = nullptr);

// The boxes (window pixels) of the captions PlotLimitCurvePoints writes on the design's
// map, where they stand whatever else is there: labels placed before the curves are
// drawn keep clear of them. None on a moved map, where the captions find their own room.
std::vector<LabelBox> DesignLimitCaptions(CDC& dc, const MapView& view,
                                          const std::vector<double>& latitudes,
                                          const std::vector<double>& first,
                                          const std::vector<double>& second);
