#include "geo/point_info.h"

#include "geo/sexagesimal.h"

#include <cmath>
#include <cstdio>

namespace {

std::string DegreesText(double value, const char* positive, const char* negative) {
    const CSexagesimal split(std::fabs(value));
    return split.m_strDMS + (value < 0.0 ? negative : positive);
}

} // namespace

std::string ClickPositionText(int x, int y) {
    char text[32];
    std::snprintf(text, sizeof text, "%d\t%d", x, y);
    return text;
}

std::string PointInfoText(const LatLon& position) {
    const std::string latitude = DegreesText(position.lat, " N", " S");
    const std::string longitude = DegreesText(position.lon, " E", " W");
    return "Latitude:\t\t" + latitude + "\t\nLongitude:\t" + longitude + "\t\n";
}
