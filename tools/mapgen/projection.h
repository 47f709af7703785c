// The two map images and where a latitude and longitude fall in each.
#pragma once

#include <cmath>
#include <numbers>

namespace mapgen {

// Mercator ordinate of a latitude, in degrees: ln(sec + tan) of the latitude, divided by the
// radians per degree.
inline double MercatorOrdinate(double latDeg) {
    constexpr double k = std::numbers::pi / 180.0;
    const double a = k * latDeg;
    return std::log(1.0 / std::cos(a) + std::tan(a)) / k;
}

// A raster in a Mercator-type projection: image x = x0 + xPerDegree * lon and
// image y = y0 - yPerMercatorDegree * M(lat), in pixels, with pixel (i, j) covering
// [i, i + 1) x [j, j + 1).
struct MapFrame {
    int width;
    int height;
    double x0;
    double xPerDegree;
    double y0;
    double yPerMercatorDegree;

    double X(double lonDeg) const { return x0 + xPerDegree * lonDeg; }
    double Y(double latDeg) const { return y0 - yPerMercatorDegree * MercatorOrdinate(latDeg); }
    double Longitude(double x) const { return (x - x0) / xPerDegree; }
};

// The window's base map: 730 x 330 design pixels, longitude 0 on column 370, the equator on
// row 200, 2 pixels per degree of longitude and 1.721580553 per Mercator degree.
inline constexpr MapFrame kScreenFrame{730, 330, 370.0, 2.0, 200.0, 1.721580553};

// The printed map. The page projection (0.1 mm units, y upward) is
//   x = 6.575 lon + 1416.68,   y = 6.580454537 M(lat) - 964.467,
// and the image is drawn from page point (200, -200), 2400 units wide, with its own aspect
// ratio. At 1200 x 631 pixels one pixel is 2 x 2 page units (the drawn height is
// trunc(-2400 * 631 / 1200) = -1262), so the image covers page x 200..2600 and
// y -200..-1462: 75N on the top row, 60S (page y -1461) on the bottom row.
inline constexpr double kPageUnitsPerPixel = 2.0;
inline constexpr double kPageLeft = 200.0;
inline constexpr double kPageTop = -200.0;
inline constexpr MapFrame kPageFrame{1200,
                                     631,
                                     (1416.68 - kPageLeft) / kPageUnitsPerPixel,
                                     6.575 / kPageUnitsPerPixel,
                                     (kPageTop + 964.467) / kPageUnitsPerPixel,
                                     6.580454537 / kPageUnitsPerPixel};

} // namespace mapgen
