#pragma once

#include "eclipse/kind.h"
#include "eclipse/outline.h"
#include "eclipse/polynomial_elements.h"
#include "ephemeris/engine.h"

// The global circumstances of one solar eclipse.

// One global contact: an instant (UT) or absent.
struct ContactInstant {
    bool present = false;
    double jdUT = 0.0;
};

struct EclipseCircumstances {
    int lunation = 0;                        // 0 at the new moon of 2000 January 6
    int saros = 0;                           // Saros series number
    EclipseKind type = EclipseKind::Partial; // Partial, Annular, Total or Hybrid
    Ephemeris engine = Ephemeris::Precise;   // the theories the elements came from
    bool central = false;                    // the shadow axis meets the Earth at greatest eclipse
    double jdGreatestTT = 0.0; // greatest eclipse: the axis closest to the Earth's centre
    double jdGreatestUT = 0.0;
    double deltaT = 0.0;       // TT - UT, seconds
    double deltaTSigma = 0.0;  // its standard uncertainty, seconds
    double lonSigma = 0.0;     // the east-west uncertainty of the path it gives, degrees
    double gamma = 0.0;        // axis distance from the Earth's centre then, Earth radii,
                               // negative south of it
    double magnitude = 0.0;    // fraction of the Sun's diameter covered at greatest
                               // eclipse; for central eclipses the Moon/Sun diameter ratio
    double lat = 0.0;          // point of greatest eclipse (see GreatestLimbPoint when the
                               // axis misses the Earth): geodetic latitude, degrees
    double lon = 0.0;          // longitude, east positive, degrees in [-180, 180]
    double sunAltitude = 0.0;  // the Sun there, degrees
    double sunAzimuth = 0.0;   // degrees from north through east, [0, 360)
    bool hasPathWidth = false; // central eclipses with both limits on the Earth
    double pathWidthKm = 0.0;
    double centralDurationS = 0.0; // totality or annularity at that point, seconds
    // Penumbra and umbra first touching the Earth, the umbra wholly on it (U2, U3),
    // and the last touches.
    ContactInstant p1, u1, u2, u3, u4, p4;
    PolynomialElements elements;
};

#include <optional>

// The circumstances of the eclipse the polynomial elements describe, the fitted
// lunation given; none when the penumbra misses the Earth. The engine is recorded.
std::optional<EclipseCircumstances> CircumstancesOf(const PolynomialElements& elements,
                                                    int lunation, Ephemeris engine);

// The point of greatest eclipse when the shadow's axis misses the Earth, from the
// elements at greatest eclipse: x, y (Earth radii), the axis's declination d and its
// hour angle reckoned from UT (degrees). It is the point of the ellipsoid's limb in the
// direction of the axis in the frame where the Earth is the unit sphere, (xi, eta1) =
// (x, y / rho1) / |(x, y / rho1)|, zeta1 = 0, with its geodetic latitude: the Sun on
// the horizon there, as the Explanatory Supplement reduces it. (The canon's data sheets
// put these points on a sphere instead, asin(eta cos d) with eta = y / |(x, y)|, up to
// 0.18 degree from this in latitude and 0.26 in longitude; its tables computed from its
// elements by the Supplement's method agree with this one.)
GeoPoint GreatestLimbPoint(double x, double y, double d, double muUT);
