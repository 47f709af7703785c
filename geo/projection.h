#pragma once

// The two map projections: the screen projection in design pixels of the 730 x 330 map
// (scaled by the window's zoom), the page projection in 0.1 mm page units, and the
// inverse of the screen projection. Angles in degrees, latitude north and longitude east
// positive. Longitude is linear; latitude goes through the Mercator ordinate.

#include <optional>

namespace projection {

constexpr double kPixelsPerDegree = 2.0;       // design pixels per degree of longitude
constexpr double kMercatorScale = 1.721580553; // design pixels per degree of ordinate
constexpr double kDegToRad = 0.017453292519943295;
constexpr double kCentreColumn = 370.0; // design column of longitude 0
constexpr double kEquatorRow = 200.0;   // design row of the equator

constexpr int kMapWidth = 730; // design size of the map image
constexpr int kMapHeight = 330;
constexpr double kNorthLimit = 75.0; // latitudes drawn on screen: [-60, 75]
constexpr double kSouthLimit = -60.0;

// Page projection, 0.1 mm units, y up.
constexpr double kPageScaleX = 6.575;
constexpr double kPageOffsetX = 1416.68;
constexpr double kPageScaleY = 6.580454537;
constexpr double kPageOffsetY = -964.467;

} // namespace projection

// Mercator ordinate of a latitude, in degrees: ln(sec kφ + tan kφ) / k, k = π/180.
// Unbounded toward ±90° (infinite or huge there).
double MercatorOrdinate(double latitude);

// In place: lon becomes lon × pixelsPerDegree and lat becomes M(lat) × mercatorScale,
// design-pixel offsets from the map centre (x east, y north).
void ProjectLatLon(double& lat, double& lon, double pixelsPerDegree = projection::kPixelsPerDegree,
                   double mercatorScale = projection::kMercatorScale);

struct ScreenPoint {
    double x = 0.0; // window pixels, not yet truncated
    double y = 0.0;
};

// Window position of a projected pair: x = zx·lon′ + zx·370, y = zy·200 − zy·lat′.
ScreenPoint ScreenPosition(double projectedLat, double projectedLon, double zoomX, double zoomY);

// Window position of a latitude and longitude (projection and position together).
ScreenPoint ProjectToScreen(double lat, double lon, double zoomX, double zoomY);

// Page position (0.1 mm, y up) of a latitude and longitude.
ScreenPoint ProjectToPage(double lat, double lon);

// Rows (window or page) of places along an outline without a Mercator ordinate for
// each: from a place projected exactly nearby, the row is estimated by the ordinate's
// derivative there and taken when the estimate, with the bound of its error, lies clear
// of an integer, so that it truncates as the exact row does; otherwise the caller
// projects the place exactly and anchors it in place of the oldest anchor. An outline
// traced by slices alternates between up to four branches: four anchors, one near each.
class MercatorRows {
public:
    // rowsPerDegree: rows per degree of Mercator ordinate, negative where rows grow
    // southward.
    explicit MercatorRows(double rowsPerDegree) : m_rowsPerDegree(rowsPerDegree) {}

    // An estimate of the row of lat that truncates as the exact one does, or none.
    std::optional<double> Estimate(double lat) const;
    // The exact row of lat, to estimate from.
    void Anchor(double lat, double row);

private:
    struct Point {
        double lat, row, slope, curvature;
    };
    double m_rowsPerDegree;
    Point m_anchors[4] = {};
    int m_next = 0;
    int m_count = 0;
};

// A drawing coordinate truncated toward zero. NaN has no position (nullopt); values
// beyond ±kCoordinateLimit (infinities included) saturate there, far outside any device
// and still safe to widen by a margin.
constexpr int kCoordinateLimit = 1000000;
constexpr std::optional<int> TruncateCoordinate(double v) {
    if (v != v) {
        return std::nullopt; // NaN
    }
    if (v >= kCoordinateLimit) {
        return kCoordinateLimit;
    }
    if (v <= -kCoordinateLimit) {
        return -kCoordinateLimit;
    }
    return static_cast<int>(v);
}

// Truncates toward zero, saturating as above; NaN gives 0. For sizes computed from the
// zoom, which are finite in practice.
int TruncToInt(double v);

struct LatLon {
    double lat = 0.0;
    double lon = 0.0;
};

// Whether window point (px, py) lies on the map image, which covers design pixels
// [0, 730) x [0, 330) scaled by the zoom. False for a zoom that is not positive.
bool IsOnScreenMap(int px, int py, double zoomX, double zoomY);

// Inverse of the screen projection for a window point: X = trunc(px/zx),
// Y = trunc(py/zy), λ = (X − 370)/2, φ = atan(sinh((200 − Y)/1.721580553 · k))/k.
// No range check on the result. nullopt when a zoom factor is not positive (a window
// shrunk to nothing has no map to point at).
std::optional<LatLon> InverseScreenProjection(int px, int py, double zoomX, double zoomY);
