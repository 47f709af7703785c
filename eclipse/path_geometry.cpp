#include "eclipse/path_geometry.h"

#include "eclipse/besselian.h"
#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

namespace path_geometry {

double ReduceLongitude(double degrees) {
    double v = std::fmod(degrees, 360.0);
    if (v > 180.0)
        v -= 360.0;
    else if (v < -180.0)
        v += 360.0;
    return v;
}

State StateAt(const PolynomialElements& e, double t) {
    const ElementsOfT v = EvaluateElements(e, t);
    State s{};
    s.x = v.x;
    s.y = v.y;
    s.dx = v.dx;
    s.dy = v.dy;
    const double d = v.d * kDegToRad;
    s.sinD = std::sin(d);
    s.cosD = std::cos(d);
    s.dd = v.dd * kDegToRad;
    s.mu = HourAngleFromUT(e, v.mu) * kDegToRad;
    s.dmu = v.dmu * kDegToRad;
    s.l[0] = v.l1;
    s.l[1] = v.l2;
    s.dl[0] = v.dl1;
    s.dl[1] = v.dl2;
    s.tanF[0] = e.tanF1;
    s.tanF[1] = e.tanF2;
    const UnitSphereFrame f = UnitSphereFrameOf(v.d);
    s.rho1 = f.rho1;
    s.rho2 = f.rho2;
    s.sinD1 = f.sinD1;
    s.cosD1 = f.cosD1;
    s.sinD1D2 = f.sinD1D2;
    s.cosD1D2 = f.cosD1D2;
    return s;
}

// The observer at (xi, eta); zeta1 clamped to 0 beyond the limb, where q < 0.
Observer ObserverAt(const State& s, double xi, double eta, double& q) {
    const double eta1 = eta / s.rho1;
    q = 1.0 - xi * xi - eta1 * eta1;
    const double zeta1 = q > 0.0 ? std::sqrt(q) : 0.0;
    const double zeta = s.rho2 * (zeta1 * s.cosD1D2 - eta1 * s.sinD1D2);
    return {xi, eta, zeta, eta1, zeta1};
}

GeoPoint ToGeodetic(const State& s, const Observer& o) {
    const double sinBeta = o.eta1 * s.cosD1 + o.zeta1 * s.sinD1;
    const double hourAngle = std::atan2(o.xi, o.zeta1 * s.cosD1 - o.eta1 * s.sinD1);
    const double cosBeta = std::sqrt(std::max(0.0, 1.0 - sinBeta * sinBeta));
    const double lat = std::atan2(sinBeta, kPolarRadius * cosBeta) * kRadToDeg;
    return {lat, ReduceLongitude((hourAngle - s.mu) * kRadToDeg)};
}

Velocity ObserverVelocity(const State& s, const Observer& o) {
    return {s.dmu * (-o.eta * s.sinD + o.zeta * s.cosD), s.dmu * o.xi * s.sinD - s.dd * o.zeta,
            -s.dmu * o.xi * s.cosD + s.dd * o.eta};
}

double Dot(const Vec3& a, const Vec3& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
Vec3 Up(const GeoPoint& p) {
    const double lat = p.lat * kDegToRad;
    const double lon = p.lon * kDegToRad;
    return {std::cos(lat) * std::cos(lon), std::cos(lat) * std::sin(lon), std::sin(lat)};
}
Vec3 EarthFixed(const GeoPoint& p) {
    const double lat = p.lat * kDegToRad;
    const double lon = p.lon * kDegToRad;
    const double n = 1.0 / std::sqrt(1.0 - kEccentricitySquared * std::sin(lat) * std::sin(lat));
    return {n * std::cos(lat) * std::cos(lon), n * std::cos(lat) * std::sin(lon),
            n * (1.0 - kEccentricitySquared) * std::sin(lat)};
}

Frame FrameOf(const State& s) {
    const double sinMu = std::sin(s.mu);
    const double cosMu = std::cos(s.mu);
    return {{sinMu, cosMu, 0.0},
            {-s.sinD * cosMu, s.sinD * sinMu, s.cosD},
            {s.cosD * cosMu, -s.cosD * sinMu, s.sinD}};
}

// The limit of one cone on one side (+1 left of the shadow's motion over the
// observer, that is north; -1 south) at one instant: the place where the cone's
// edge at the place's own height grazes it. limb receives 1 - xi^2 - eta1^2 of
// the solution (negative: beyond the limb, no limit there).
std::optional<Observer> SolveLimit(const State& s, int cone, int side, double& limb) {
    limb = -1.0;
    // The edge lies |L| from the axis; beyond the Earth's disc there is no limit.
    const double reach = std::hypot(s.x, s.y / s.rho1) - std::fabs(s.l[cone]);
    if (reach > 1.02)
        return std::nullopt;
    double q = 0.0;
    Observer o = ObserverAt(s, s.x, s.y, q);
    for (int iteration = 0; iteration < 30; ++iteration) {
        const double L = s.l[cone] - o.zeta * s.tanF[cone];
        const Velocity v = ObserverVelocity(s, o);
        const double a = s.dx - v.xi;
        const double b = s.dy - v.eta;
        const double n = std::sqrt(a * a + b * b);
        const double c = -std::copysign(1.0, L) * (s.dl[cone] - v.zeta * s.tanF[cone]);
        if (!(n > 0.0) || std::fabs(c) >= n)
            return std::nullopt;
        // The direction of the motion turned by acos(c / n) to the given side.
        const double cosTurn = c / n;
        const double sinTurn = side * std::sqrt(1.0 - cosTurn * cosTurn);
        const double ua = a / n;
        const double ub = b / n;
        const double r = std::fabs(L);
        const double xi = s.x + r * (ua * cosTurn - ub * sinTurn);
        const double eta = s.y + r * (ub * cosTurn + ua * sinTurn);
        const bool settled = std::fabs(xi - o.xi) < 1e-10 && std::fabs(eta - o.eta) < 1e-10;
        o = ObserverAt(s, xi, eta, q);
        if (settled)
            break;
    }
    limb = q;
    if (q < 0.0)
        return std::nullopt;
    return o;
}

// 1 - x^2 - y1^2: positive while the axis meets the Earth.
double AxisMargin(const PolynomialElements& e, double t) {
    const State s = StateAt(e, t);
    const double y1 = s.y / s.rho1;
    return 1.0 - s.x * s.x - y1 * y1;
}

std::optional<GeoPoint> CentralPoint(const PolynomialElements& e, double t) {
    const State s = StateAt(e, t);
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    if (!(q > 0.0))
        return std::nullopt;
    return ToGeodetic(s, o);
}

std::optional<Vec3> LimitPointAt(const PolynomialElements& e, double t, int side) {
    const State s = StateAt(e, t);
    double limb = 0.0;
    const auto o = SolveLimit(s, 1, side, limb);
    if (!o)
        return std::nullopt;
    return EarthFixed(ToGeodetic(s, *o));
}

namespace {

// The offset of the whole UT minutes from t = 0, hours.
double MinuteGrid(const PolynomialElements& e) {
    const double minutes = ElementsTimeToJdUT(e, 0.0) * 1440.0;
    return (std::round(minutes) - minutes) / 60.0;
}

} // namespace

double CeilMinute(const PolynomialElements& e, double t) {
    const double g = MinuteGrid(e);
    return g + std::ceil((t - g) * 60.0 - 1e-6) / 60.0;
}

double FloorMinute(const PolynomialElements& e, double t) {
    const double g = MinuteGrid(e);
    return g + std::floor((t - g) * 60.0 + 1e-6) / 60.0;
}

double RoundMinute(const PolynomialElements& e, double t) {
    const double g = MinuteGrid(e);
    return g + std::round((t - g) * 60.0) / 60.0;
}

} // namespace path_geometry
