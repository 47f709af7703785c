#pragma once

// The geometry the path is computed with (internal to eclipse/path*.cpp): the
// elements at one instant in the frame in which the flattened Earth is the unit
// sphere, points of the surface on the fundamental plane, the limit condition,
// and the grid of whole UT minutes on which the path's rows and curves lie.

#include "eclipse/outline.h"
#include "eclipse/path.h"
#include "eclipse/polynomial_elements.h"

#include <cmath>
#include <optional>
#include <vector>

namespace path_geometry {

inline constexpr double kMinute = 1.0 / 60.0;         // hours
inline constexpr double kBisectHours = 1e-4 / 3600.0; // ends are found to 0.1 ms

// The elements and their rates (per hour) at one instant, with the quantities of
// the frame in which the flattened Earth is the unit sphere.
struct State {
    double x, y, dx, dy;
    double sinD, cosD, dd;       // dd radians per hour
    double mu, dmu;              // radians, radians per hour
    double l[2], dl[2], tanF[2]; // [0] penumbra, [1] umbra
    double rho1, rho2, sinD1, cosD1, sinD1D2, cosD1D2;
};

// A point of the Earth's surface on the fundamental plane: xi, eta (true) and
// zeta (true height), with eta1 and zeta1 of the unit-sphere frame.
struct Observer {
    double xi, eta, zeta, eta1, zeta1;
};

// Velocity of the observer on the fundamental plane (Earth radii per hour).
struct Velocity {
    double xi, eta, zeta;
};

// Earth-fixed unit vectors (x to longitude 0, z to the north pole).
struct Vec3 {
    double x, y, z;
};

// The fundamental plane's axes in Earth-fixed coordinates.
struct Frame {
    Vec3 i, j, k;
};

// An angle (degrees) reduced to [-180, 180]: longitudes, hour angles, differences of
// right ascension.
double ReduceLongitude(double degrees);

State StateAt(const PolynomialElements& e, double t);

// The observer at (xi, eta); zeta1 clamped to 0 beyond the limb, where q < 0.
Observer ObserverAt(const State& s, double xi, double eta, double& q);

GeoPoint ToGeodetic(const State& s, const Observer& o);

Velocity ObserverVelocity(const State& s, const Observer& o);

double Dot(const Vec3& a, const Vec3& b);

Vec3 Up(const GeoPoint& p);

Vec3 EarthFixed(const GeoPoint& p);

Frame FrameOf(const State& s);

// The limit of one cone on one side (+1 left of the shadow's motion over the
// observer, that is north; -1 south) at one instant: the place where the cone's
// edge at the place's own height grazes it. limb receives 1 - xi^2 - eta1^2 of
// the solution (negative: beyond the limb, no limit there).
std::optional<Observer> SolveLimit(const State& s, int cone, int side, double& limb);

// 1 - x^2 - y1^2: positive while the axis meets the Earth.
double AxisMargin(const PolynomialElements& e, double t);

std::optional<GeoPoint> CentralPoint(const PolynomialElements& e, double t);

std::optional<Vec3> LimitPointAt(const PolynomialElements& e, double t, int side);

// Whole UT minutes lie at t = grid + k / 60 (TT hours from t0): the first of them
// at or after t, the last at or before it, and the nearest.
double CeilMinute(const PolynomialElements& e, double t);
double FloorMinute(const PolynomialElements& e, double t);
double RoundMinute(const PolynomialElements& e, double t);

// A root of f between a and b (f(a), f(b) of opposite signs), by bisection.
template <typename F> double Bisect(F f, double a, double b) {
    const bool rising = f(a) < 0.0;
    for (int k = 0; k < 60 && std::fabs(b - a) > kBisectHours; ++k) {
        const double m = 0.5 * (a + b);
        if ((f(m) < 0.0) == rising)
            a = m;
        else
            b = m;
    }
    return 0.5 * (a + b);
}

// The path's width at the place o of the central line, km, as published path tables
// give it: 2 |L| / sqrt(zeta^2 + ((a xi + b eta) / n)^2) Earth radii, with L the
// umbra's radius at the place's height, (a, b) the shadow's motion relative to the
// place and (xi, eta, zeta) the place's own coordinates on the fundamental plane. On a
// sphere that is the band the shadow sweeps, cut by the horizontal plane across the
// path; the tables keep the expression on the ellipsoid, where |(xi, eta, zeta)| < 1.
// It is not the distance between the limits (PathRow::limitsDistanceKm).
double PathWidthKm(const State& s, const Observer& o);

// One row of the central line at t (TT hours from t0; the axis meets the Earth).
PathRow CentralRow(const PolynomialElements& e, double t);
// Duration of totality or annularity on the central line at t, seconds; 0 when the
// axis misses the Earth.
double CentralDurationSeconds(const PolynomialElements& e, double t);

// The pieces of the path, over [lo, hi] (TT hours from t0; tg greatest eclipse).
std::vector<PathRow> CentralLine(const PolynomialElements& e, double tg, double lo, double hi);
std::vector<TimedCurve> LimitCurves(const PolynomialElements& e, int cone, int side, double lo,
                                    double hi, int stepMinutes);
std::vector<TimedCurve> RiseSetCurves(const PolynomialElements& e, double lo, double hi);

} // namespace path_geometry
