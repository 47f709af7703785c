#pragma once

// The texts of the right-click point information: the raw window position, then the
// latitude and longitude of the point in degrees, minutes and seconds.

#include "geo/projection.h"

#include <string>

// "%d\t%d" of the window position, x first.
std::string ClickPositionText(int x, int y);

// "Latitude:\t\t%s\t\nLongitude:\t%s\t\n" with the degree texts of |lat| and |lon|
// followed by " N"/" S" and " E"/" W" (0 counts as north and east).
std::string PointInfoText(const LatLon& position);
