#pragma once

#include <string>
#include <vector>

// What the window showed last, kept so that the printed page shows it too.
// Every command that draws results replaces the parts it draws.
struct HourLabel {
    double hours = 0.0; // the whole hour UT the outline belongs to
    int lonDeg = 0;     // whole-degree longitude of the label's map position
    int latDeg = 0;     // whole-degree latitude of the label's map position
};

struct PrintResults {
    std::vector<std::string> contactLines;        // the four contact lines, or none
    std::vector<double> penumbraLat, penumbraLon; // degrees
    std::vector<double> umbraLat, umbraLon;       // degrees
    std::vector<HourLabel> hourLabels;            // the map command's hour labels
};
