#pragma once

// A lunar eclipse's map as named features for MapKml and MapGeoJson: the curves
// of the Moon on the horizon at each contact and the sub-lunar point at greatest
// eclipse. No Qt here.

#include "eclipse/lunar.h"
#include "export/map_export.h"

#include <vector>

std::vector<MapFeature> LunarMapFeatures(const LunarEclipse& eclipse);
