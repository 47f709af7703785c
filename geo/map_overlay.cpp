#include "geo/map_overlay.h"

#include "geo/projection.h"

#include <cmath>
#include <cstdio>

std::string HourLabelText(double hours) {
    char text[64];
    std::snprintf(text, sizeof text, "%.0fh UT", hours);
    return text;
}

namespace {

int RightEdge(double zoomX) {
    return TruncToInt(730 * zoomX);
}

} // namespace

std::vector<LabelSpot> HourLabelSpots(int x, int y, double zoomX) {
    const bool beyondRight = x > RightEdge(zoomX);
    const int edgeX = TruncToInt(725 * zoomX);
    std::vector<LabelSpot> spots;
    spots.push_back({beyondRight ? edgeX : x, y});
    spots.push_back({x, y < 0 ? 0 : y});
    if (beyondRight && y < 0) {
        spots.push_back({edgeX, 0});
    }
    return spots;
}

LabelSpot HourLabelMapSpot(int x, int y, double zoomX) {
    return {x > RightEdge(zoomX) ? TruncToInt(725 * zoomX) : x, y < 0 ? 0 : y};
}

double LimitCurveLongitude(double hours) {
    const double v = 15.0 * hours;
    return v <= 180.0 ? -v : std::fmod(v, 180.0);
}
