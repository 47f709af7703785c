#pragma once

// The names of towns on a magnified map: the most populous first, as many as fit clear
// of each other and of the labels placed before them, fewer inhabitants needed as the
// scale grows. The design's map shows none.

#include "geo/label_place.h"
#include "geo/map_view.h"
#include "platform/dc.h"

#include <span>
#include <string>
#include <vector>

struct MapTown {
    double lat = 0.0; // degrees, north positive
    double lon = 0.0; // degrees, east positive
    long population = 0;
    std::string name; // UTF-8
};

// The fewest inhabitants a town needs to be named in the view: 25 million where a
// degree on the ground covers 4 pixels, falling with the square of the scale to the
// gazetteer's 5000; above any town on the design's map.
long TownPopulationThreshold(const MapView& view);

// A dot and the name of each town (towns largest first) at or above the threshold that
// lies in the view's area and whose name finds room beside it.
void DrawTownLabels(CDC& dc, const MapView& view, std::span<const MapTown> towns,
                    std::vector<LabelBox>& placed);
