// The central line: its rows minute by minute, with width, limits and duration.
#include "eclipse/path_geometry.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

namespace path_geometry {

// Distance (Earth radii) from the central point c at t to one limit, along the
// horizontal line through c square to the central line's direction: the limit's
// point on that line is found by the secant method over the limit's instants,
// starting from the limit's point at t (limitAtT) and the central line's speed.
std::optional<double> CrossPathDistance(const PolynomialElements& e, double t, const GeoPoint& c,
                                        const GeoPoint& limitAtT, int side) {
    constexpr double h = 0.25 * kMinute;
    const auto before = CentralPoint(e, t - h);
    const auto after = CentralPoint(e, t + h);
    const Vec3 centre = EarthFixed(c);
    const Vec3 from = before ? EarthFixed(*before) : centre;
    const Vec3 to = after ? EarthFixed(*after) : centre;
    const double span = (before ? h : 0.0) + (after ? h : 0.0);
    const Vec3 up = Up(c);
    Vec3 along = {to.x - from.x, to.y - from.y, to.z - from.z};
    const double vertical = Dot(along, up);
    along = {along.x - vertical * up.x, along.y - vertical * up.y, along.z - vertical * up.z};
    const double length = std::sqrt(Dot(along, along));
    if (!(length > 0.0) || !(span > 0.0))
        return std::nullopt;
    along = {along.x / length, along.y / length, along.z / length};
    auto offsetOf = [&](const Vec3& p) {
        return Dot({p.x - centre.x, p.y - centre.y, p.z - centre.z}, along);
    };
    auto offset = [&](double tau) -> std::optional<double> {
        const auto p = LimitPointAt(e, tau, side);
        if (!p)
            return std::nullopt;
        return offsetOf(*p);
    };
    double t0 = t;
    std::optional<double> f0 = offsetOf(EarthFixed(limitAtT));
    double t1 = t - *f0 / (length / span);
    std::optional<double> f1 = offset(t1);
    for (int iteration = 0; iteration < 8 && f0 && f1; ++iteration) {
        if (std::fabs(*f1) < 1e-8 || *f1 == *f0)
            break;
        const double t2 = t1 - *f1 * (t1 - t0) / (*f1 - *f0);
        if (!(std::fabs(t2 - t) < 0.5))
            return std::nullopt;
        t0 = t1;
        f0 = f1;
        t1 = t2;
        f1 = offset(t1);
    }
    if (!f1 || std::fabs(*f1) > 1e-6)
        return std::nullopt;
    const auto p = LimitPointAt(e, t1, side);
    const Vec3 d = {p->x - centre.x, p->y - centre.y, p->z - centre.z};
    return std::sqrt(Dot(d, d));
}

namespace {

// The umbra's radius at the central point, and the shadow's speed relative to it.
struct CentralMotion {
    double L;  // umbral radius at the observer, Earth radii (< 0: total)
    double a;  // d(x - xi)/dt, Earth radii per hour
    double b;  // d(y - eta)/dt
    double n;  // hypot(a, b)
    double dr; // rate of |L| as the observer's height changes with the turning Earth
};

CentralMotion MotionAt(const State& s, const Observer& o) {
    CentralMotion m{};
    m.L = s.l[1] - o.zeta * s.tanF[1];
    const Velocity v = ObserverVelocity(s, o);
    m.a = s.dx - v.xi;
    m.b = s.dy - v.eta;
    m.n = std::hypot(m.a, m.b);
    m.dr = std::copysign(1.0, m.L) * (s.dl[1] - v.zeta * s.tanF[1]);
    return m;
}

double DurationSeconds(const CentralMotion& m) {
    if (!(m.n > std::fabs(m.dr)))
        return 0.0;
    return 3600.0 * 2.0 * std::fabs(m.L) * m.n / (m.n * m.n - m.dr * m.dr);
}

} // namespace

double PathWidthKm(const State& s, const Observer& o) {
    const CentralMotion m = MotionAt(s, o);
    const double along = m.n > 0.0 ? (m.a * o.xi + m.b * o.eta) / m.n : 0.0;
    return 2.0 * std::fabs(m.L) / std::max(1e-9, std::hypot(o.zeta, along)) * kEarthRadiusKm;
}

double CentralDurationSeconds(const PolynomialElements& e, double t) {
    const State s = StateAt(e, t);
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    return q > 0.0 ? DurationSeconds(MotionAt(s, o)) : 0.0;
}

PathRow CentralRow(const PolynomialElements& e, double t) {
    const State s = StateAt(e, t);
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    PathRow row;
    row.jd = ElementsTimeToJdUT(e, t);
    row.central = ToGeodetic(s, o);

    const CentralMotion m = MotionAt(s, o);
    row.total = m.L < 0.0;
    row.durationSeconds = DurationSeconds(m);
    row.widthKm = PathWidthKm(s, o);

    const Frame f = FrameOf(s);
    const Vec3 up = Up(row.central);
    row.sunAltitude = std::asin(std::clamp(Dot(up, f.k), -1.0, 1.0)) * kRadToDeg;

    double limb = 0.0;
    if (const auto north = SolveLimit(s, 1, 1, limb))
        row.north = ToGeodetic(s, *north);
    if (const auto south = SolveLimit(s, 1, -1, limb))
        row.south = ToGeodetic(s, *south);
    if (row.north && row.south) {
        const auto north = CrossPathDistance(e, t, row.central, *row.north, 1);
        const auto south = CrossPathDistance(e, t, row.central, *row.south, -1);
        if (north && south)
            row.limitsDistanceKm = (*north + *south) * kEarthRadiusKm;
    }
    return row;
}

// The central line: whole minutes while the axis meets the Earth, and its ends.
std::vector<PathRow> CentralLine(const PolynomialElements& e, double tg, double lo, double hi) {
    std::vector<PathRow> rows;
    if (!(AxisMargin(e, tg) > 0.0))
        return rows;
    auto margin = [&e](double t) { return AxisMargin(e, t); };
    double first = CeilMinute(e, tg);
    while (first - kMinute >= lo && AxisMargin(e, first - kMinute) > 0.0)
        first -= kMinute;
    double last = FloorMinute(e, tg);
    while (last + kMinute <= hi && AxisMargin(e, last + kMinute) > 0.0)
        last += kMinute;
    const bool startsOnLimb = first - kMinute >= lo;
    const bool endsOnLimb = last + kMinute <= hi;
    if (startsOnLimb) {
        const double t = Bisect(margin, first - kMinute, first);
        if (first - t > 0.01 / 3600.0)
            rows.push_back(CentralRow(e, t));
    }
    for (double t = first; t <= last + 1e-9; t += kMinute)
        rows.push_back(CentralRow(e, RoundMinute(e, t)));
    if (endsOnLimb) {
        const double t = Bisect(margin, last, last + kMinute);
        if (t - last > 0.01 / 3600.0)
            rows.push_back(CentralRow(e, t));
    }
    return rows;
}

} // namespace path_geometry
