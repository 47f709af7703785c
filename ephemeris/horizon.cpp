#include "ephemeris/horizon.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

Horizontal HorizontalOf(double lat, double dec, double h) {
    const double phi = lat * kDegToRad;
    const double d = dec * kDegToRad;
    const double hr = h * kDegToRad;
    const double sinAlt = std::sin(phi) * std::sin(d) + std::cos(phi) * std::cos(d) * std::cos(hr);
    Horizontal p;
    p.altitude = std::asin(std::clamp(sinAlt, -1.0, 1.0)) * kRadToDeg;
    double azimuth =
        std::atan2(-std::cos(d) * std::sin(hr),
                   std::sin(d) * std::cos(phi) - std::cos(d) * std::sin(phi) * std::cos(hr)) *
        kRadToDeg;
    if (azimuth < 0.0)
        azimuth += 360.0;
    p.azimuth = azimuth >= 360.0 ? azimuth - 360.0 : azimuth;
    return p;
}
