#pragma once

// The path of the Moon's shadow over the Earth during one eclipse: the central
// line, the northern and southern limits of the umbral (antumbral) path with its
// width and the central duration, the northern and southern limits of the
// partial eclipse, and the curves along which the eclipse begins or ends at
// sunrise or sunset. The methods are those of the Explanatory Supplement: the
// Earth is the ellipsoid of besselian.h, a limit is where the shadow's edge at
// the observer's own height grazes the observer at the instant of greatest
// eclipse there, and the duration comes from the speed of the shadow relative
// to the turning Earth. Time derivatives come from the polynomials.

#include "eclipse/kind.h"
#include "eclipse/outline.h"
#include "eclipse/polynomial_elements.h"
#include "ephemeris/engine.h"

#include <optional>
#include <vector>

// Greatest eclipse: the instant the shadow axis passes closest to the Earth's centre.
struct GreatestEclipse {
    double jd = 0.0;      // UT
    double gamma = 0.0;   // distance of the axis from the Earth's centre, Earth radii,
                          // negative south of it
    GeoPoint point;       // where the axis meets the Earth, or the nearest point of the limb
    bool central = false; // the axis meets the Earth (ellipsoid) at some instant
    double l2 = 0.0;      // umbral radius on the fundamental plane then (< 0: total)
};
GreatestEclipse GreatestEclipseOf(const PolynomialElements& elements);

// A point of a curve on the Earth with its instant (UT).
struct TimedPoint {
    double jd = 0.0;
    GeoPoint point;
};
using TimedCurve = std::vector<TimedPoint>;

// One instant of the central line.
struct PathRow {
    double jd = 0.0; // UT
    GeoPoint central;
    std::optional<GeoPoint> north; // the umbral limits, where they lie on the sunlit Earth
    std::optional<GeoPoint> south;
    double widthKm = 0.0;          // the path's width at the central point as published
                                   // tables give it (path_geometry::PathWidthKm)
    double limitsDistanceKm = 0.0; // between the two limits along the horizontal line
                                   // through the central point square to the path; 0
                                   // when a limit is missing there
    double durationSeconds = 0.0;  // of totality or annularity on the central line
    double sunAltitude = 0.0;      // the Sun's geometric altitude there, degrees
    bool total = false;            // umbra (true) or antumbra (false) here
};

// Everything drawn or tabulated of one eclipse. Curves are split where they
// leave the Earth; longitudes stay within [-180, 180] (callers split lines at
// the antimeridian).
struct EclipsePath {
    EclipseKind kind = EclipseKind::None;
    PolynomialElements elements;           // what the path was computed from
    Ephemeris engine = Ephemeris::Precise; // the theories the elements came from
    bool central = false;
    GreatestEclipse greatest;
    // Whole UT minutes while the axis meets the Earth, and its two ends (sunrise
    // and sunset) as extra rows at their own instants; in time order.
    std::vector<PathRow> centralLine;
    // The central line's point of longest totality or annularity: the row of the
    // longest duration refined between its neighbours (an end row when the duration
    // grows to the limb). None without a central line.
    std::optional<PathRow> greatestDuration;
    // The limits of the umbral path over the whole umbral phase, every minute
    // and at their ends on the limb. A non-central eclipse has one of them.
    std::vector<TimedCurve> umbraNorth, umbraSouth;
    // The limits of the partial eclipse (every few minutes and at their ends).
    std::vector<TimedCurve> penumbraNorth, penumbraSouth;
    // Where the eclipse begins or ends at sunrise or at sunset: each a closed or
    // open curve along the limb.
    std::vector<TimedCurve> riseSetCurves;
};

// The path from given elements (a canon's or the finder's), around their greatest
// eclipse; the curves are searched within the elements' window (t0 +- 4.5 h).
EclipsePath ComputeEclipsePath(const PolynomialElements& elements);

// The path of the finder's eclipse whose greatest instant falls on the UT date
// that starts at jdDate (0h UT), from the engine's theories (EclipseOnDate).
// kind None when there is none.
EclipsePath EclipsePathOfDate(double jdDate, Ephemeris engine);

// The outline of a cone (umbra: true) on the Earth at jd: where the cone's edge
// at each place's own height meets the surface, 360 points around the axis,
// split where the edge leaves the Earth's sunlit side.
std::vector<std::vector<GeoPoint>> ShadowOutlineAt(const PolynomialElements& elements, double jd,
                                                   bool umbra);

// Distance between two places on the ellipsoid, km (chord; below a metre off the
// arc for the few hundred kilometres it is used for).
double ChordKm(const GeoPoint& a, const GeoPoint& b);
