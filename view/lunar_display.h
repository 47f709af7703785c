#pragma once

// A lunar eclipse on the map: the curves of the Moon on the horizon at each
// contact, labelled "P1" ... "P4", and the sub-lunar point at greatest eclipse as
// the layer's marker (render/path_layer.h).

#include "eclipse/lunar.h"
#include "render/path_layer.h"

// The curves cut to latitudes [south, north] (the screen map's -60..75).
PathLayer MakeLunarPathLayer(const LunarEclipse& eclipse, double south, double north);
