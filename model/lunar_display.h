#pragma once

// What the window shows of a lunar eclipse. On the map: the curves of the Moon on the horizon at
// each contact, labelled "P1" ... "P4", and the sub-lunar point at greatest eclipse as the layer's
// marker (geo/path_layer.h); and the diagram of the Moon's track through the shadow
// (geo/lunar_diagram.h).

#include "eclipse/lunar.h"
#include "eclipse/lunar_local.h"
#include "geo/lunar_diagram.h"
#include "geo/path_layer.h"
#include "model/local_texts.h"

// The curves cut to latitudes [south, north] (the screen map's -60..75).
PathLayer MakeLunarPathLayer(const LunarEclipse& eclipse, double south, double north);

// The Moon's track from P1 to P4 every few minutes, its disc at each contact and at
// greatest eclipse, the shadow's radii at greatest eclipse; Earth radii.
LunarDiagram MakeLunarDiagram(const LunarEclipse& eclipse);

// What a place sees: the eclipse and the place, whether it is visible there, and
// each contact in UT and civil time with the Moon's altitude (refracted) and azimuth.
std::string LunarLocalText(const LunarEclipse& eclipse, double latitude, double longitude,
                           const LunarLocalCircumstances& local, const CivilTimeText& civilTime);
