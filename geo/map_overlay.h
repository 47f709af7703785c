#pragma once

// Where the map command's hour labels go: their text and their places, window pixels.
// No drawing here.

#include <string>
#include <vector>

// "%.0fh UT": the hour to the nearest whole number, as in "9h UT".
std::string HourLabelText(double hours);

struct LabelSpot {
    int x = 0;
    int y = 0;
};

// The places at which an hour label is drawn, in order, for the top-left corner (x, y)
// of its outline: a corner right of the map's edge gets a copy at the edge, one above
// the map a copy on its top row, one beyond both a copy in the top-right corner.
std::vector<LabelSpot> HourLabelSpots(int x, int y, double zoomX);

// The one place of the label that lies on the map (the corner pulled in to the right
// edge and the top row), for the printed page.
LabelSpot HourLabelMapSpot(int x, int y, double zoomX);

// Longitude of a sunrise or sunset time on the limit curves: v = 15 × hours, then −v for
// v <= 180 and v modulo 180 beyond (12 h gives −180°, 12.5 h gives 7.5°).
double LimitCurveLongitude(double hours);
