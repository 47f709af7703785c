#pragma once

// What part of the Earth the map shows and how: the view the user zooms, pans and turns.
// A Mercator view magnifies and shifts the design map (x = zx·(s·X + ox), y = zy·(s·Y + oy)
// with X, Y the design position of the screen projection); at magnification 1 without
// shift it is the screen projection itself, exactly. A globe view is the orthographic
// projection centred on a place, its disc inside the map's area. No Qt here.

#include "geo/projection.h"

#include "geo/path_layer.h"

#include <optional>
#include <vector>

enum class MapViewKind { Mercator, Globe };

struct MapView {
    MapViewKind kind = MapViewKind::Mercator;
    double zoomX = 1.0; // window pixels per design pixel (the window's layout scale)
    double zoomY = 1.0;
    double areaWidth = projection::kMapWidth; // the map's area from (0, 0), design pixels
    double areaHeight = projection::kMapHeight;
    double scale = 1.0;   // Mercator: magnification; globe: disc diameter over the area's
                          // shorter side
    double offsetX = 0.0; // Mercator: shift after magnification, design pixels
    double offsetY = 0.0;
    double centreLat = 0.0; // globe: the place at the disc's centre, degrees
    double centreLon = 0.0;
};

// The screen projection at the window's layout scale: the map of the design, 75° N to
// 60° S.
MapView DefaultView(double zoomX, double zoomY);
// A globe centred on a place, its disc 95 % of the area's shorter side.
MapView GlobeView(double zoomX, double zoomY, double lat, double lon);

bool IsDefaultView(const MapView& view);

// Window position of a place; none when a globe shows the place on its far side or the
// place is not a number. Longitudes of a Mercator view are taken as they come when they lie
// in the view's span of longitude, else a turn east or west if that does.
std::optional<ScreenPoint> ViewPosition(const MapView& view, double lat, double lon);

// A globe view's orthographic projection with what its centre implies worked out once:
// the positions are ViewPosition's, bit for bit, for the many places of one frame.
class GlobeProjection {
public:
    explicit GlobeProjection(const MapView& view);
    // Window position of a place on the near side; none on the far side or for a place
    // that is not a number.
    std::optional<ScreenPoint> operator()(double lat, double lon) const;
    // The position on either side (where operator() gives one, the same) and the cosine
    // of the place's angle from the centre, negative on the far side. At most the radius
    // times the angle between two places lies between their positions.
    struct Point {
        ScreenPoint at;
        double cosc;
    };
    Point Project(double lat, double lon) const;
    // Project's point (bit for bit) with its rates of change per radian of latitude and of
    // longitude: window pixels for the position, the cosine per radian. Every second
    // derivative of the position is at most the radius in size, of the cosine at most 1.
    struct Tangent {
        Point point;
        ScreenPoint perLat, perLon;
        double coscPerLat, coscPerLon;
    };
    Tangent ProjectWithRates(double lat, double lon) const;
    double Radius() const { return m_r; }

private:
    double m_sinLat0, m_cosLat0, m_lon0; // the centre (lon0 in degrees)
    double m_cx, m_cy, m_r;              // the disc, window pixels
};

// The place under a window point: the default view through the screen projection's
// inverse (design pixels truncated, no range check); a magnified view from the exact point,
// longitude within [-180, 180]; a globe from the orthographic inverse, none off the disc.
std::optional<LatLon> ViewPlace(const MapView& view, int px, int py);

// Whether a window point lies in the map's area.
bool IsInMapArea(const MapView& view, int px, int py);

// Longitudes the view spans from the area's left to its right edge (Mercator; west may be
// below -180, east beyond 180). A globe spans the half turn either side of its centre.
struct LongitudeSpan {
    double west = -180.0;
    double east = 180.0;
};
LongitudeSpan VisibleLongitudes(const MapView& view);

// Zoomed by factor about window point (px, py), which keeps its place; the magnification
// stays between the one that shows 85° S to 85° N and 400.
MapView ZoomedAbout(const MapView& view, double px, double py, double factor);
// Moved by (dx, dy) window pixels (a globe turns under the pointer).
MapView Panned(const MapView& view, double dx, double dy);

// A latitude-longitude box: east may exceed 180 for a box across the antimeridian.
struct GeoBox {
    double south = -60.0;
    double west = -180.0;
    double north = 75.0;
    double east = 180.0;
};

// A Mercator view of the window's map area framing the box with a margin of a tenth, the
// same magnification both ways; a box that reaches within 15° of a pole gets a globe
// centred on it instead.
MapView FitView(double zoomX, double zoomY, const GeoBox& box);

// A picture of width x height pixels that is the map alone: the box in Mercator with
// equal scales, its west and east edges at the picture's left and right edges and its
// Mercator extent centred vertically.
MapView PictureBoxView(int width, int height, const GeoBox& box);
// The orthographic globe centred on a place, the disc of diameter min(width, height) at
// the picture's centre.
MapView PictureGlobeView(int width, int height, double lat, double lon);

// A line of places as the view shows it, in window pixels: in Mercator the line made
// continuous across the antimeridian and drawn once for each turn at which it reaches into
// the view; on a globe the runs of places on the near side.
std::vector<std::vector<ScreenPoint>> ViewPolylines(const MapView& view,
                                                    const std::vector<MapPlace>& line);
