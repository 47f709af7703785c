#pragma once

// The map command's path of the shadow as a layer of the map (render/path_layer.h).

#include "eclipse/path.h"
#include "render/path_layer.h"

// The lines of path cut to latitudes [south, north] (the screen map's -60..75).
PathLayer MakePathLayer(const EclipsePath& path, double south, double north);
