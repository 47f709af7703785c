#include "eclipse/path.h"

#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPolarRadius = 0.99664719;    // sqrt(1 - e^2), Earth equatorial radii
constexpr int kNodeCount = 7;                  // evaluations of the ephemeris for the fit
constexpr double kFitHalfHours = 4.5;          // the fit covers jd0 +- 4.5 hours
constexpr double kScanHalfHours = 4.5;         // curves are searched within tg +- 4.5 hours
constexpr double kMinute = 1.0 / 60.0;         // hours
constexpr int kPenumbraLimitStep = 3;          // minutes between points of the partial limits
constexpr double kBisectHours = 1e-4 / 3600.0; // ends are found to 0.1 ms

double Evaluate(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 0; --k)
        v = v * t + c[static_cast<std::size_t>(k)];
    return v;
}

double Derivative(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 1; --k)
        v = v * t + k * c[static_cast<std::size_t>(k)];
    return v;
}

double SecondDerivative(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 2; --k)
        v = v * t + k * (k - 1) * c[static_cast<std::size_t>(k)];
    return v;
}

double ReduceLongitude(double degrees) {
    double v = std::fmod(degrees, 360.0);
    if (v > 180.0)
        v -= 360.0;
    else if (v < -180.0)
        v += 360.0;
    return v;
}

// The elements and their rates (per hour) at one instant, with the quantities of
// the frame in which the flattened Earth is the unit sphere.
struct State {
    double x, y, dx, dy;
    double sinD, cosD, dd;       // dd radians per hour
    double mu, dmu;              // radians, radians per hour
    double l[2], dl[2], tanF[2]; // [0] penumbra, [1] umbra
    double rho1, rho2, sinD1, cosD1, sinD1D2, cosD1D2;
};

State StateAt(const ElementPolynomials& e, double t) {
    State s{};
    s.x = Evaluate(e.x, t);
    s.y = Evaluate(e.y, t);
    s.dx = Derivative(e.x, t);
    s.dy = Derivative(e.y, t);
    const double d = Evaluate(e.d, t) * kDegToRad;
    s.sinD = std::sin(d);
    s.cosD = std::cos(d);
    s.dd = Derivative(e.d, t) * kDegToRad;
    s.mu = Evaluate(e.mu, t) * kDegToRad;
    s.dmu = Derivative(e.mu, t) * kDegToRad;
    s.l[0] = Evaluate(e.l1, t);
    s.l[1] = Evaluate(e.l2, t);
    s.dl[0] = Derivative(e.l1, t);
    s.dl[1] = Derivative(e.l2, t);
    s.tanF[0] = e.tanF1;
    s.tanF[1] = e.tanF2;
    s.rho1 = std::sqrt(1.0 - kEccentricitySquared * s.cosD * s.cosD);
    s.rho2 = std::sqrt(1.0 - kEccentricitySquared * s.sinD * s.sinD);
    s.sinD1 = s.sinD / s.rho1;
    s.cosD1 = kPolarRadius * s.cosD / s.rho1;
    s.sinD1D2 = kEccentricitySquared * s.sinD * s.cosD / (s.rho1 * s.rho2);
    s.cosD1D2 = kPolarRadius / (s.rho1 * s.rho2);
    return s;
}

// A point of the Earth's surface on the fundamental plane: xi, eta (true) and
// zeta (true height), with eta1 and zeta1 of the unit-sphere frame.
struct Observer {
    double xi, eta, zeta, eta1, zeta1;
};

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

// Velocity of the observer on the fundamental plane (Earth radii per hour).
struct Velocity {
    double xi, eta, zeta;
};
Velocity ObserverVelocity(const State& s, const Observer& o) {
    return {s.dmu * (-o.eta * s.sinD + o.zeta * s.cosD), s.dmu * o.xi * s.sinD - s.dd * o.zeta,
            -s.dmu * o.xi * s.cosD + s.dd * o.eta};
}

// Earth-fixed unit vectors (x to longitude 0, z to the north pole).
struct Vec3 {
    double x, y, z;
};
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

// The fundamental plane's axes in Earth-fixed coordinates.
struct Frame {
    Vec3 i, j, k;
};
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
double AxisMargin(const ElementPolynomials& e, double t) {
    const State s = StateAt(e, t);
    const double y1 = s.y / s.rho1;
    return 1.0 - s.x * s.x - y1 * y1;
}

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

double JdAt(const ElementPolynomials& e, double t) {
    return e.jd0 + t / 24.0;
}

std::optional<GeoPoint> CentralPoint(const ElementPolynomials& e, double t) {
    const State s = StateAt(e, t);
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    if (!(q > 0.0))
        return std::nullopt;
    return ToGeodetic(s, o);
}

std::optional<Vec3> LimitPointAt(const ElementPolynomials& e, double t, int side) {
    const State s = StateAt(e, t);
    double limb = 0.0;
    const auto o = SolveLimit(s, 1, side, limb);
    if (!o)
        return std::nullopt;
    return EarthFixed(ToGeodetic(s, *o));
}

// Distance (Earth radii) from the central point c at t to one limit, along the
// horizontal line through c square to the central line's direction: the limit's
// point on that line is found by the secant method over the limit's instants,
// starting from the limit's point at t (limitAtT) and the central line's speed.
std::optional<double> CrossPathDistance(const ElementPolynomials& e, double t, const GeoPoint& c,
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

PathRow CentralRow(const ElementPolynomials& e, double t) {
    const State s = StateAt(e, t);
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    PathRow row;
    row.jd = JdAt(e, t);
    row.central = ToGeodetic(s, o);

    const double L = s.l[1] - o.zeta * s.tanF[1];
    const double r = std::fabs(L);
    row.total = L < 0.0;
    const Velocity v = ObserverVelocity(s, o);
    const double a = s.dx - v.xi;
    const double b = s.dy - v.eta;
    const double n = std::hypot(a, b);
    // The radius changes with the observer's height as the Earth turns.
    const double dr = std::copysign(1.0, L) * (s.dl[1] - v.zeta * s.tanF[1]);
    if (n > std::fabs(dr))
        row.durationSeconds = 3600.0 * 2.0 * r * n / (n * n - dr * dr);

    // Across the motion on the fundamental plane, projected onto the horizontal
    // plane of the central point.
    const Frame f = FrameOf(s);
    const Vec3 up = Up(row.central);
    const double across = n > 0.0 ? (-b * Dot(up, f.i) + a * Dot(up, f.j)) / n : 0.0;
    const double stretch = std::sqrt(std::max(1e-12, 1.0 - across * across));
    row.widthKm = 2.0 * r / stretch * kEarthRadiusKm;
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
std::vector<PathRow> CentralLine(const ElementPolynomials& e, double tg, double lo, double hi) {
    std::vector<PathRow> rows;
    if (!(AxisMargin(e, tg) > 0.0))
        return rows;
    auto margin = [&e](double t) { return AxisMargin(e, t); };
    double first = std::ceil(tg * 60.0) / 60.0;
    while (first - kMinute >= lo && AxisMargin(e, first - kMinute) > 0.0)
        first -= kMinute;
    double last = std::floor(tg * 60.0) / 60.0;
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
        rows.push_back(CentralRow(e, std::round(t * 60.0) / 60.0));
    if (endsOnLimb) {
        const double t = Bisect(margin, last, last + kMinute);
        if (t - last > 0.01 / 3600.0)
            rows.push_back(CentralRow(e, t));
    }
    return rows;
}

// A limit curve (cone, side) over [lo, hi] every step minutes, split where it
// leaves the Earth, with its ends on the limb found exactly.
std::vector<TimedCurve> LimitCurves(const ElementPolynomials& e, int cone, int side, double lo,
                                    double hi, int stepMinutes) {
    auto limbAt = [&](double t) {
        double limb = -1.0;
        SolveLimit(StateAt(e, t), cone, side, limb);
        return limb;
    };
    auto pointAt = [&](double t) -> std::optional<TimedPoint> {
        const State s = StateAt(e, t);
        double limb = 0.0;
        const auto o = SolveLimit(s, cone, side, limb);
        if (!o)
            return std::nullopt;
        return TimedPoint{JdAt(e, t), ToGeodetic(s, *o)};
    };
    std::vector<TimedCurve> curves;
    TimedCurve current;
    const double step = stepMinutes * kMinute;
    double previousT = 0.0;
    bool previousOn = false;
    bool havePrevious = false;
    for (double t = std::ceil(lo * 60.0) / 60.0; t <= hi; t += step) {
        const double tm = std::round(t * 60.0) / 60.0;
        const auto p = pointAt(tm);
        if (p && havePrevious && !previousOn && limbAt(previousT) < 0.0) {
            // Entering: the end on the limb first.
            const double te = Bisect(limbAt, previousT, tm) + kBisectHours;
            if (const auto end = pointAt(std::min(te, tm)); end && tm - te > 1.0 / 3600.0)
                current.push_back(*end);
        }
        if (p) {
            current.push_back(*p);
        } else if (previousOn) {
            if (limbAt(tm) < 0.0) {
                const double te = Bisect(limbAt, previousT, tm) - kBisectHours;
                if (const auto end = pointAt(std::max(te, previousT));
                    end && te - previousT > 1.0 / 3600.0)
                    current.push_back(*end);
            }
            curves.push_back(std::move(current));
            current.clear();
        }
        previousOn = p.has_value();
        previousT = tm;
        havePrevious = true;
    }
    if (current.size() >= 1)
        curves.push_back(std::move(current));
    std::erase_if(curves, [](const TimedCurve& c) { return c.size() < 2; });
    return curves;
}

// Where the penumbra's edge crosses the limb at t: the two crossings, or none.
// The limb is the unit circle of the unit-sphere frame; the crossing angle is
// refined so that the edge's radius at the place's own height is met.
struct LimbCrossings {
    bool exist = false;
    double margin = 0.0; // > 0 while the edge crosses the limb
    GeoPoint first, second;
};
LimbCrossings CrossingsAt(const ElementPolynomials& e, double t) {
    const State s = StateAt(e, t);
    const double y1 = s.y / s.rho1;
    const double dist = std::hypot(s.x, y1);
    const double l = s.l[0];
    LimbCrossings c;
    c.margin = std::min(1.0 + l - dist, dist - std::fabs(1.0 - l));
    if (!(c.margin > 0.0))
        return c;
    auto edge = [&s](double phi) {
        const double xi = std::cos(phi);
        const double eta1 = std::sin(phi);
        const double zeta = -s.rho2 * eta1 * s.sinD1D2;
        const double r = s.l[0] - zeta * s.tanF[0];
        const double dxi = xi - s.x;
        const double deta = s.rho1 * eta1 - s.y;
        return dxi * dxi + deta * deta - r * r;
    };
    const double base = std::atan2(y1, s.x);
    const double half =
        std::acos(std::clamp((1.0 + dist * dist - l * l) / (2.0 * dist), -1.0, 1.0));
    GeoPoint points[2];
    for (int k = 0; k < 2; ++k) {
        double phi = base + (k == 0 ? half : -half);
        for (int iteration = 0; iteration < 30; ++iteration) {
            const double h = 1e-7;
            const double value = edge(phi);
            const double slope = (edge(phi + h) - edge(phi - h)) / (2.0 * h);
            if (std::fabs(value) < 1e-12 || !(std::fabs(slope) > 1e-12))
                break;
            phi -= value / slope;
        }
        double q = 0.0;
        const Observer o = ObserverAt(s, std::cos(phi), s.rho1 * std::sin(phi), q);
        points[k] = ToGeodetic(s, {o.xi, o.eta, o.zeta, std::sin(phi), 0.0});
    }
    c.exist = true;
    c.first = points[0];
    c.second = points[1];
    return c;
}

// The curves along which the eclipse begins or ends at sunrise or sunset: for
// each stretch of time during which the penumbra's edge crosses the limb, one
// branch forward and the other back, joined at the stretch's ends.
std::vector<TimedCurve> RiseSetCurves(const ElementPolynomials& e, double lo, double hi) {
    auto margin = [&e](double t) { return CrossingsAt(e, t).margin; };
    std::vector<TimedCurve> curves;
    TimedCurve forward, back;
    auto close = [&]() {
        if (forward.size() + back.size() >= 2) {
            TimedCurve curve = forward;
            curve.insert(curve.end(), back.rbegin(), back.rend());
            curves.push_back(std::move(curve));
        }
        forward.clear();
        back.clear();
    };
    double previousT = 0.0;
    bool previousOn = false;
    bool havePrevious = false;
    for (double t = std::ceil(lo * 60.0) / 60.0; t <= hi; t += kMinute) {
        const double tm = std::round(t * 60.0) / 60.0;
        const LimbCrossings c = CrossingsAt(e, tm);
        if (c.exist && havePrevious && !previousOn) {
            const double te = Bisect(margin, previousT, tm) + kBisectHours;
            const LimbCrossings end = CrossingsAt(e, std::min(te, tm));
            if (end.exist)
                forward.push_back({JdAt(e, te), end.first});
        }
        if (c.exist) {
            forward.push_back({JdAt(e, tm), c.first});
            back.push_back({JdAt(e, tm), c.second});
        } else if (previousOn) {
            const double te = Bisect(margin, previousT, tm) - kBisectHours;
            const LimbCrossings end = CrossingsAt(e, std::max(te, previousT));
            if (end.exist)
                forward.push_back({JdAt(e, te), end.first});
            close();
        }
        previousOn = c.exist;
        previousT = tm;
        havePrevious = true;
    }
    close();
    // A stretch that closes at both ends is a loop: end where it began.
    for (TimedCurve& c : curves)
        if (c.size() > 2 && ChordKm(c.front().point, c.back().point) < 50.0)
            c.push_back(c.front());
    return curves;
}

// The umbral cone of the elements b with the canon's lunar radius for the umbra,
// 0.272281 Earth radii (a mean radius below the mountains of the limb), in place of
// the radius ElementsAt used: the Moon-Sun distance follows from b's own cone.
constexpr double kCanonUmbraRadius = 0.272281;
double CanonUmbraL2(const BesselianElements& b, double& tanF2) {
    const double sunRadius = 696000.0 / kEarthRadiusKm;
    const double distance = (sunRadius - kMoonRadiusUmbra) / std::sin(b.f2);
    const double f2 = std::asin((sunRadius - kCanonUmbraRadius) / distance);
    tanF2 = std::tan(f2);
    return b.z * tanF2 - kCanonUmbraRadius / std::cos(f2);
}

// Solves the 6 x 6 normal equations of a least-squares fit (Gaussian
// elimination with partial pivoting); returns the coefficients.
ElementPolynomial FitPolynomial(const std::array<double, kNodeCount>& s,
                                const std::array<double, kNodeCount>& v) {
    double m[kElementTerms][kElementTerms + 1] = {};
    for (int n = 0; n < kNodeCount; ++n) {
        double pi[kElementTerms];
        pi[0] = 1.0;
        for (int k = 1; k < kElementTerms; ++k)
            pi[k] = pi[k - 1] * s[static_cast<std::size_t>(n)];
        for (int r = 0; r < kElementTerms; ++r) {
            for (int c = 0; c < kElementTerms; ++c)
                m[r][c] += pi[r] * pi[c];
            m[r][kElementTerms] += pi[r] * v[static_cast<std::size_t>(n)];
        }
    }
    for (int col = 0; col < kElementTerms; ++col) {
        int pivot = col;
        for (int r = col + 1; r < kElementTerms; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
                pivot = r;
        for (int c = 0; c <= kElementTerms; ++c)
            std::swap(m[col][c], m[pivot][c]);
        for (int r = col + 1; r < kElementTerms; ++r) {
            const double f = m[r][col] / m[col][col];
            for (int c = col; c <= kElementTerms; ++c)
                m[r][c] -= f * m[col][c];
        }
    }
    ElementPolynomial out{};
    for (int r = kElementTerms - 1; r >= 0; --r) {
        double sum = m[r][kElementTerms];
        for (int c = r + 1; c < kElementTerms; ++c)
            sum -= m[r][c] * out[static_cast<std::size_t>(c)];
        out[static_cast<std::size_t>(r)] = sum / m[r][r];
    }
    return out;
}

// Coefficients in s = t / scale turned into coefficients in t.
ElementPolynomial Unscale(ElementPolynomial c, double scale) {
    double factor = 1.0;
    for (double& v : c) {
        v *= factor;
        factor /= scale;
    }
    return c;
}

} // namespace

ElementPolynomials FitElementsFromEphemeris(double jdCentre) {
    std::array<double, kNodeCount> s{}, x{}, y{}, d{}, mu{}, l1{}, l2{};
    ElementPolynomials out;
    out.jd0 = jdCentre;
    double tanF1 = 0.0;
    double tanF2 = 0.0;
    for (int n = 0; n < kNodeCount; ++n) {
        const auto k = static_cast<std::size_t>(n);
        // Chebyshev extrema: the fit's error stays even over the whole window.
        s[k] = -std::cos(kPi * n / (kNodeCount - 1));
        const double t = s[k] * kFitHalfHours;
        const BesselianElements b = ElementsAt(ApparentPlacesAt(jdCentre + t / 24.0));
        x[k] = b.x;
        y[k] = b.y;
        d[k] = b.d;
        mu[k] = b.mu;
        if (n > 0)
            while (mu[k] < mu[k - 1])
                mu[k] += 360.0;
        l1[k] = b.l1;
        double tanF2Canon = 0.0;
        l2[k] = CanonUmbraL2(b, tanF2Canon);
        tanF1 += b.tanF1 / kNodeCount;
        tanF2 += tanF2Canon / kNodeCount;
        if (n == kNodeCount / 2)
            out.deltaT = b.deltaT;
    }
    out.x = Unscale(FitPolynomial(s, x), kFitHalfHours);
    out.y = Unscale(FitPolynomial(s, y), kFitHalfHours);
    out.d = Unscale(FitPolynomial(s, d), kFitHalfHours);
    out.mu = Unscale(FitPolynomial(s, mu), kFitHalfHours);
    out.l1 = Unscale(FitPolynomial(s, l1), kFitHalfHours);
    out.l2 = Unscale(FitPolynomial(s, l2), kFitHalfHours);
    out.tanF1 = tanF1;
    out.tanF2 = tanF2;
    return out;
}

ElementPolynomials FromPolynomialElements(const PolynomialElements& p) {
    ElementPolynomials e;
    e.jd0 = p.jdT0 - p.deltaT / kSecondsPerDay;
    e.deltaT = p.deltaT;
    e.x = {p.x0, p.x1, p.x2, p.x3};
    e.y = {p.y0, p.y1, p.y2, p.y3};
    e.d = {p.d0, p.d1, p.d2};
    e.mu = {p.mu0 - kSiderealDegreesPerSecond * p.deltaT, p.mu1};
    e.l1 = {p.l10, p.l11, p.l12};
    e.l2 = {p.l20, p.l21, p.l22};
    e.tanF1 = p.tanF1;
    e.tanF2 = p.tanF2;
    return e;
}

GreatestEclipse FindGreatestEclipse(const ElementPolynomials& e, double jdGuess) {
    double t = (jdGuess - e.jd0) * 24.0;
    for (int iteration = 0; iteration < 20; ++iteration) {
        const double x = Evaluate(e.x, t), y = Evaluate(e.y, t);
        const double dx = Derivative(e.x, t), dy = Derivative(e.y, t);
        const double g = x * dx + y * dy;
        const double slope =
            dx * dx + dy * dy + x * SecondDerivative(e.x, t) + y * SecondDerivative(e.y, t);
        if (!(slope > 0.0))
            break;
        const double step = g / slope;
        t -= step;
        if (std::fabs(step) < 1e-9)
            break;
    }
    const State s = StateAt(e, t);
    GreatestEclipse g;
    g.jd = JdAt(e, t);
    g.gamma = std::copysign(std::hypot(s.x, s.y), s.y);
    g.l2 = s.l[1];
    double q = 0.0;
    Observer o = ObserverAt(s, s.x, s.y, q);
    g.central = q > 0.0;
    if (!g.central) {
        const double y1 = s.y / s.rho1;
        const double r = std::hypot(s.x, y1);
        o = ObserverAt(s, s.x / r, s.rho1 * y1 / r, q);
        o.eta1 = y1 / r;
        o.zeta1 = 0.0;
    }
    g.point = ToGeodetic(s, o);
    return g;
}

EclipsePath ComputeEclipsePath(const ElementPolynomials& e, double jdGuess) {
    EclipsePath path;
    path.elements = e;
    path.greatest = FindGreatestEclipse(e, jdGuess);
    const double tg = (path.greatest.jd - e.jd0) * 24.0;
    const State s = StateAt(e, tg);
    // No eclipse when the penumbra passes clear of the Earth.
    if (!(std::hypot(s.x, s.y / s.rho1) < 1.0 + s.l[0]))
        return path;
    const double lo = std::max(-kFitHalfHours, tg - kScanHalfHours);
    const double hi = std::min(kFitHalfHours, tg + kScanHalfHours);

    path.central = path.greatest.central;
    path.centralLine = CentralLine(e, tg, lo, hi);
    path.umbraNorth = LimitCurves(e, 1, 1, lo, hi, 1);
    path.umbraSouth = LimitCurves(e, 1, -1, lo, hi, 1);
    path.penumbraNorth = LimitCurves(e, 0, 1, lo, hi, kPenumbraLimitStep);
    path.penumbraSouth = LimitCurves(e, 0, -1, lo, hi, kPenumbraLimitStep);
    path.riseSetCurves = RiseSetCurves(e, lo, hi);

    if (!path.centralLine.empty()) {
        const bool anyTotal = std::any_of(path.centralLine.begin(), path.centralLine.end(),
                                          [](const PathRow& r) { return r.total; });
        const bool anyAnnular = std::any_of(path.centralLine.begin(), path.centralLine.end(),
                                            [](const PathRow& r) { return !r.total; });
        path.kind = anyTotal && anyAnnular ? EclipseKind::Hybrid
                    : anyTotal             ? EclipseKind::Total
                                           : EclipseKind::Annular;
    } else if (!path.umbraNorth.empty() || !path.umbraSouth.empty()) {
        path.kind = path.greatest.l2 < 0.0 ? EclipseKind::Total : EclipseKind::Annular;
    } else {
        path.kind = EclipseKind::Partial;
    }
    return path;
}

EclipsePath EclipsePathOfDate(double jdDate) {
    // The axis at every sixth hour of the date; between two of them it moves on
    // a nearly straight line, which gives the instant of closest approach to the
    // Earth's centre to within minutes. Near full moon z < 0: no shadow.
    constexpr int kSamples = 5;
    constexpr double kSpacing = 6.0; // hours
    BesselianElements samples[kSamples];
    int best = -1;
    for (int k = 0; k < kSamples; ++k) {
        samples[k] = ElementsAt(ApparentPlacesAt(jdDate + k * kSpacing / 24.0));
        const BesselianElements& b = samples[k];
        const double r = b.x * b.x + b.y * b.y;
        const double rBest =
            best < 0 ? 0.0 : samples[best].x * samples[best].x + samples[best].y * samples[best].y;
        if (b.z > 0.0 && (best < 0 || r < rBest))
            best = k;
    }
    if (best < 0)
        return {};
    const int other = best + 1 < kSamples ? best + 1 : best - 1;
    const BesselianElements& a = samples[best];
    const BesselianElements& b = samples[other];
    const double vx = (b.x - a.x) / ((other - best) * kSpacing);
    const double vy = (b.y - a.y) / ((other - best) * kSpacing);
    const double v2 = vx * vx + vy * vy;
    if (!(v2 > 0.0))
        return {};
    const double tClosest =
        std::clamp(best * kSpacing - (a.x * vx + a.y * vy) / v2, -kSpacing, 24.0 + kSpacing);
    // Passing farther than 1.6 Earth radii the penumbra misses the Earth.
    const double px = a.x + vx * (tClosest - best * kSpacing);
    const double py = a.y + vy * (tClosest - best * kSpacing);
    if (px * px + py * py > 1.7 * 1.7)
        return {};
    // A whole minute of UT, so that the rows fall on whole minutes.
    const double centre = jdDate + std::round(tClosest * 60.0) / 1440.0;
    const ElementPolynomials e = FitElementsFromEphemeris(centre);
    EclipsePath path = ComputeEclipsePath(e, centre);
    if (!(path.greatest.jd >= jdDate && path.greatest.jd < jdDate + 1.0))
        return {};
    return path;
}

double ChordKm(const GeoPoint& a, const GeoPoint& b) {
    const Vec3 p = EarthFixed(a);
    const Vec3 q = EarthFixed(b);
    const Vec3 d = {p.x - q.x, p.y - q.y, p.z - q.z};
    return std::sqrt(Dot(d, d)) * kEarthRadiusKm;
}

std::vector<std::vector<GeoPoint>> ShadowOutlineAt(const ElementPolynomials& e, double jd,
                                                   bool umbra) {
    const State s = StateAt(e, (jd - e.jd0) * 24.0);
    const int cone = umbra ? 1 : 0;
    constexpr int kPoints = 360;
    std::vector<std::optional<GeoPoint>> ring(kPoints);
    for (int k = 0; k < kPoints; ++k) {
        const double theta = k * kTwoPi / kPoints;
        double q = 0.0;
        Observer o = ObserverAt(s, s.x, s.y, q);
        o.zeta = 0.0;
        for (int iteration = 0; iteration < 4; ++iteration) {
            const double r = std::fabs(s.l[cone] - o.zeta * s.tanF[cone]);
            o = ObserverAt(s, s.x + r * std::cos(theta), s.y + r * std::sin(theta), q);
        }
        if (q >= 0.0)
            ring[static_cast<std::size_t>(k)] = ToGeodetic(s, o);
    }
    // Start just after a gap so that no run is cut at the ring's seam.
    int start = 0;
    for (int k = 0; k < kPoints; ++k)
        if (!ring[static_cast<std::size_t>(k)]) {
            start = (k + 1) % kPoints;
            break;
        }
    const bool whole = std::all_of(ring.begin(), ring.end(), [](const auto& p) { return p; });
    std::vector<std::vector<GeoPoint>> runs;
    std::vector<GeoPoint> run;
    for (int n = 0; n <= kPoints; ++n) {
        const auto& p = ring[static_cast<std::size_t>((start + n) % kPoints)];
        if (p && (n < kPoints || whole)) {
            run.push_back(*p);
        } else if (!run.empty()) {
            runs.push_back(std::move(run));
            run.clear();
        }
    }
    if (run.size() >= 2)
        runs.push_back(std::move(run));
    std::erase_if(runs, [](const auto& r) { return r.size() < 2; });
    return runs;
}
