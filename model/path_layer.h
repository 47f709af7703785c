#pragma once

// The map command's path of the shadow as a layer of the map (geo/path_layer.h).

#include "eclipse/path.h"
#include "geo/path_layer.h"

struct MapCurves;

// The lines of path cut to latitudes [south, north] (the screen map's -60..75).
PathLayer MakePathLayer(const EclipsePath& path, double south, double north);
// The same with the path's curves across the partial zone (ComputeMapCurves) given, so
// that layers cut to several ranges share one computation of them.
PathLayer MakePathLayer(const EclipsePath& path, const MapCurves& curves, double south,
                        double north);
