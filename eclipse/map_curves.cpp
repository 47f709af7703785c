#include "eclipse/map_curves.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr double kMinute = 1.0 / 60.0; // hours
constexpr int kScanMinutes = 5;        // steps of the search for sunrise and sunset
constexpr double kStepKm = 120.0;      // a longer step of a curve is halved ...
constexpr int kRefineDepth = 6;        // ... at most this many times
constexpr int kLimbBisections = 32;    // ends on the limb

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

// The shadow at one instant: the elements and their rates, with the quantities of the
// frame in which the flattened Earth is the unit sphere (rho1 = sqrt(1 - e^2 cos^2 d),
// the axis tilted to d1).
struct Plane {
    double x = 0.0, y = 0.0, dx = 0.0, dy = 0.0; // Earth radii, per hour
    double sinD = 0.0, cosD = 1.0, dd = 0.0;     // dd radians per hour
    double mu = 0.0, dmu = 0.0;                  // hour angle from UT: radians, per hour
    double l1 = 0.0, l2 = 0.0, tanF1 = 0.0, tanF2 = 0.0;
    double rho1 = 1.0, rho2 = 1.0, sinD1 = 0.0, cosD1 = 1.0, sinD1D2 = 0.0, cosD1D2 = 1.0;
};

Plane PlaneAt(const ElementPolynomials& e, double t) {
    Plane s;
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
    s.l1 = Evaluate(e.l1, t);
    s.l2 = Evaluate(e.l2, t);
    s.tanF1 = e.tanF1;
    s.tanF2 = e.tanF2;
    const double polarRadius = 1.0 - kFlattening; // sqrt(1 - e^2)
    s.rho1 = std::sqrt(1.0 - kEccentricitySquared * s.cosD * s.cosD);
    s.rho2 = std::sqrt(1.0 - kEccentricitySquared * s.sinD * s.sinD);
    s.sinD1 = s.sinD / s.rho1;
    s.cosD1 = polarRadius * s.cosD / s.rho1;
    s.sinD1D2 = kEccentricitySquared * s.sinD * s.cosD / (s.rho1 * s.rho2);
    s.cosD1D2 = polarRadius / (s.rho1 * s.rho2);
    return s;
}

// A place on the Earth's sunward side at (xi, eta) of the fundamental plane, with
// zeta its height above the plane; q = 1 - xi^2 - eta1^2 is negative beyond the limb,
// where zeta1 is held at 0.
struct Spot {
    double xi = 0.0, eta = 0.0, zeta = 0.0, eta1 = 0.0, zeta1 = 0.0;
    double q = -1.0;
};

Spot SpotAt(const Plane& s, double xi, double eta) {
    Spot o;
    o.xi = xi;
    o.eta = eta;
    o.eta1 = eta / s.rho1;
    o.q = 1.0 - xi * xi - o.eta1 * o.eta1;
    o.zeta1 = o.q > 0.0 ? std::sqrt(o.q) : 0.0;
    o.zeta = s.rho2 * (o.zeta1 * s.cosD1D2 - o.eta1 * s.sinD1D2);
    return o;
}

double ReduceLongitude(double degrees) {
    double v = std::fmod(degrees, 360.0);
    if (v > 180.0)
        v -= 360.0;
    else if (v < -180.0)
        v += 360.0;
    return v;
}

GeoPoint Geodetic(const Plane& s, const Spot& o) {
    const double sinBeta = o.eta1 * s.cosD1 + o.zeta1 * s.sinD1;
    const double hourAngle = std::atan2(o.xi, o.zeta1 * s.cosD1 - o.eta1 * s.sinD1);
    const double cosBeta = std::sqrt(std::max(0.0, 1.0 - sinBeta * sinBeta));
    const double lat = std::atan2(sinBeta, (1.0 - kFlattening) * cosBeta) * kRadToDeg;
    return {lat, ReduceLongitude((hourAngle - s.mu) * kRadToDeg)};
}

// The place that sees its maximum at the instant of s with its offset from the axis,
// square to the shadow's motion relative to it and to the left of that motion (north
// for a shadow moving east), equal to alpha L1 + beta L2, the cones' radii at the
// place's height (negative: to the right).
//
// The relative motion turns with the place, steeply near the limb where the place's
// height zeta changes fastest, so the place is not iterated from the motion; it is
// found on the circle of its offset around the axis, at the direction psi where the
// direction to it stands square to the motion there. The Earth's turning moves a place
// by less than 0.3 Earth radii an hour, the shadow by more than 0.4: the motion stays
// within 50 degrees of the axis's own, and psi is bracketed within 80 degrees of square
// to the axis's motion.
Spot OnMaximumLine(const Plane& s, double alpha, double beta) {
    auto offsetAt = [&](const Spot& o) {
        return alpha * (s.l1 - o.zeta * s.tanF1) + beta * (s.l2 - o.zeta * s.tanF2);
    };
    const Spot axis = SpotAt(s, s.x, s.y);
    const double signedOffset = offsetAt(axis);
    if (std::fabs(signedOffset) < 1e-12)
        return axis;
    const double side = signedOffset > 0.0 ? 1.0 : -1.0;
    // The place in direction psi; its offset follows its height (a few steps: the cones
    // widen by tan f, below 0.005, per Earth radius of height).
    auto placeAt = [&](double psi) {
        const double c = std::cos(psi);
        const double n = std::sin(psi);
        Spot o = axis;
        for (int k = 0; k < 3; ++k) {
            const double r = std::fabs(offsetAt(o));
            o = SpotAt(s, s.x + r * c, s.y + r * n);
        }
        return o;
    };
    // The direction to the place against the motion relative to it: zero at the root.
    auto square = [&](double psi) {
        const Spot o = placeAt(psi);
        const double a = s.dx - s.dmu * (-o.eta * s.sinD + o.zeta * s.cosD);
        const double b = s.dy - (s.dmu * o.xi * s.sinD - s.dd * o.zeta);
        return std::cos(psi) * a + std::sin(psi) * b;
    };
    const double across = std::atan2(s.dy, s.dx) + side * 0.5 * kPi;
    constexpr double kBracket = 80.0 * kDegToRad;
    double lo = across - kBracket;
    double hi = across + kBracket;
    double fLo = square(lo);
    double fHi = square(hi);
    if (!(fLo * fHi < 0.0))
        return {};
    // Regula falsi, Illinois variant.
    int lastMoved = 0;
    for (int iteration = 0; iteration < 60 && hi - lo > 1e-12; ++iteration) {
        const double psi = (lo * fHi - hi * fLo) / (fHi - fLo);
        const double f = square(psi);
        if (f == 0.0)
            return placeAt(psi);
        if ((f < 0.0) == (fLo < 0.0)) {
            lo = psi;
            fLo = f;
            if (lastMoved == -1)
                fHi *= 0.5;
            lastMoved = -1;
        } else {
            hi = psi;
            fHi = f;
            if (lastMoved == 1)
                fLo *= 0.5;
            lastMoved = 1;
        }
    }
    return placeAt(0.5 * (lo + hi));
}

// One point of a curve traced along a parameter (a fraction across the zone, or an
// instant).
struct Sample {
    double param = 0.0;
    double q = -1.0; // as Spot::q: negative beyond the limb
    GeoPoint point;
};

template <typename At>
void Refine(const At& at, const Sample& from, const Sample& to, int depth,
            std::vector<Sample>& out) {
    if (depth >= kRefineDepth || ChordKm(from.point, to.point) <= kStepKm)
        return;
    const Sample mid = at(0.5 * (from.param + to.param));
    if (mid.q < 0.0)
        return;
    Refine(at, from, mid, depth + 1, out);
    out.push_back(mid);
    Refine(at, mid, to, depth + 1, out);
}

// The sample where the curve meets the limb between params on (q >= 0) and off.
template <typename At> Sample LimbBetween(const At& at, double on, double off) {
    for (int k = 0; k < kLimbBisections; ++k) {
        const double mid = 0.5 * (on + off);
        if (at(mid).q >= 0.0)
            on = mid;
        else
            off = mid;
    }
    return at(on);
}

// A curve sampled at params (in order): its pieces on the Earth's sunward side, each
// end that meets the limb found there, steps longer than kStepKm halved.
template <typename At>
std::vector<std::vector<Sample>> Trace(const At& at, const std::vector<double>& params) {
    std::vector<std::vector<Sample>> pieces;
    std::vector<Sample> piece;
    auto close = [&]() {
        if (piece.size() >= 2)
            pieces.push_back(std::move(piece));
        piece.clear();
    };
    std::optional<Sample> previous;
    for (const double p : params) {
        const Sample s = at(p);
        const bool on = s.q >= 0.0;
        if (previous && (previous->q >= 0.0) != on) {
            const Sample edge =
                on ? LimbBetween(at, p, previous->param) : LimbBetween(at, previous->param, p);
            if (on) {
                piece = {edge};
            } else {
                Refine(at, piece.back(), edge, 0, piece);
                piece.push_back(edge);
                close();
            }
        }
        if (on) {
            if (!piece.empty())
                Refine(at, piece.back(), s, 0, piece);
            piece.push_back(s);
        }
        previous = s;
    }
    close();
    return pieces;
}

// The hours (from the elements' jd0) while the penumbra touches the Earth: from the
// first to the last point of the curves along which the eclipse begins or ends at
// sunrise or sunset, and of the partial limits.
std::optional<std::pair<double, double>> PenumbralHours(const EclipsePath& path) {
    double first = INFINITY;
    double last = -INFINITY;
    for (const auto* curves : {&path.riseSetCurves, &path.penumbraNorth, &path.penumbraSouth})
        for (const TimedCurve& c : *curves)
            for (const TimedPoint& p : c) {
                first = std::min(first, p.jd);
                last = std::max(last, p.jd);
            }
    if (!(first < last))
        return std::nullopt;
    const double jd0 = path.elements.jd0;
    return std::pair{(first - jd0) * 24.0, (last - jd0) * 24.0};
}

TimedPoint Timed(const ElementPolynomials& e, double t, const GeoPoint& point) {
    return {e.jd0 + t / 24.0, point};
}

// A place as a unit vector (xi, eta1, zeta1) of the frame in which the Earth is the unit
// sphere; zeta1 > 0 on the sunward side, 0 on the limb. Unlike (xi, eta) of the plane it
// moves smoothly through the limb, where a place's height changes fastest.
struct Unit {
    double x = 0.0, y = 0.0, z = 0.0;
};

Unit Normalized(double x, double y, double z) {
    const double n = std::sqrt(x * x + y * y + z * z);
    return {x / n, y / n, z / n};
}

Spot SpotOf(const Plane& s, const Unit& p) {
    Spot o;
    o.xi = p.x;
    o.eta1 = p.y;
    o.eta = s.rho1 * p.y;
    o.zeta1 = p.z;
    o.zeta = s.rho2 * (p.z * s.cosD1D2 - p.y * s.sinD1D2);
    o.q = p.z >= 0.0 ? p.z * p.z : -p.z * p.z;
    return o;
}

// The condition of maximum at p: the offset (u, v) from the axis times the shadow's
// motion relative to p, zero where they stand square, with its gradient in p.
struct Square {
    double value = 0.0;
    Unit gradient;                    // not of unit length
    double offset = 0.0, limit = 0.0; // |(u, v)| and L1 at p
    double leftward = 0.0;            // the offset's component to the left of the motion
};

Square SquareAt(const Plane& s, const Unit& p) {
    const Spot o = SpotOf(s, p);
    const double a = s.dx - s.dmu * (-o.eta * s.sinD + o.zeta * s.cosD);
    const double b = s.dy - s.dmu * o.xi * s.sinD + s.dd * o.zeta;
    const double u = o.xi - s.x;
    const double v = o.eta - s.y;
    const double byXi = a - v * s.dmu * s.sinD;
    const double byEta = b + u * s.dmu * s.sinD;
    const double byZeta = -u * s.dmu * s.cosD + v * s.dd;
    Square q;
    q.value = u * a + v * b;
    q.gradient = {byXi, s.rho1 * byEta - s.rho2 * s.sinD1D2 * byZeta, s.rho2 * s.cosD1D2 * byZeta};
    q.offset = std::hypot(u, v);
    q.limit = s.l1 - o.zeta * s.tanF1;
    q.leftward = (-b * u + a * v) / std::hypot(a, b);
    return q;
}

// p moved along the sphere onto the nearest place of the line of maximum.
Unit Corrected(const Plane& s, Unit p) {
    for (int iteration = 0; iteration < 8; ++iteration) {
        const Square q = SquareAt(s, p);
        const Unit& g = q.gradient;
        const double radial = g.x * p.x + g.y * p.y + g.z * p.z;
        const Unit t = {g.x - radial * p.x, g.y - radial * p.y, g.z - radial * p.z};
        const double n2 = t.x * t.x + t.y * t.y + t.z * t.z;
        if (!(n2 > 0.0))
            break;
        const double k = q.value / n2;
        p = Normalized(p.x - k * t.x, p.y - k * t.y, p.z - k * t.z);
        if (std::fabs(q.value) < 1e-13)
            break;
    }
    return p;
}

// The direction of the line of maximum at p (unit, tangent to the sphere).
Unit Along(const Plane& s, const Unit& p) {
    const Unit g = SquareAt(s, p).gradient;
    return Normalized(p.y * g.z - p.z * g.y, p.z * g.x - p.x * g.z, p.x * g.y - p.y * g.x);
}

constexpr double kTraceStep = 0.015; // radians of the unit sphere, about 100 km
constexpr int kTraceSteps = 400;

enum class End { Limit, Limb, Open };

struct Traced {
    std::vector<Unit> points;
    End end = End::Open;
};

// The line of maximum of s from `start` in `direction` until it reaches the limit of the
// partial eclipse (offset L1) or the limb, each end found by bisection along the last step.
Traced TraceLine(const Plane& s, const Unit& start, Unit direction) {
    Traced out;
    out.points.push_back(start);
    Unit p = start;
    for (int step = 0; step < kTraceSteps; ++step) {
        Unit along = Along(s, p);
        if (along.x * direction.x + along.y * direction.y + along.z * direction.z < 0.0)
            along = {-along.x, -along.y, -along.z};
        direction = along;
        auto stepTo = [&](double fraction) {
            const double h = kTraceStep * fraction;
            return Corrected(s,
                             Normalized(p.x + h * along.x, p.y + h * along.y, p.z + h * along.z));
        };
        const Unit next = stepTo(1.0);
        const Square q = SquareAt(s, next);
        const bool pastLimit = q.offset > q.limit;
        const bool pastLimb = next.z < 0.0;
        if (!pastLimit && !pastLimb) {
            out.points.push_back(next);
            p = next;
            continue;
        }
        double in = 0.0;
        double outside = 1.0;
        for (int k = 0; k < kLimbBisections; ++k) {
            const double mid = 0.5 * (in + outside);
            const Unit m = stepTo(mid);
            const Square qm = SquareAt(s, m);
            if (qm.offset <= qm.limit && m.z >= 0.0)
                in = mid;
            else
                outside = mid;
        }
        Unit end = stepTo(in);
        const Square qe = SquareAt(s, end);
        out.end = qe.limit - qe.offset < end.z ? End::Limit : End::Limb;
        if (out.end == End::Limb)
            end.z = 0.0;
        out.points.push_back(end);
        return out;
    }
    return out;
}

// The places of the limb (the Sun on the horizon) that see their maximum at the instant
// of s within the partial eclipse: the roots of the condition along the limb.
std::vector<Unit> LimbRoots(const Plane& s) {
    constexpr int kSamples = 180;
    auto at = [&](double phi) { return Unit{std::cos(phi), std::sin(phi), 0.0}; };
    std::vector<Unit> roots;
    double previous = SquareAt(s, at(0.0)).value;
    for (int k = 1; k <= kSamples; ++k) {
        double lo = kTwoPi * (k - 1) / kSamples;
        double hi = kTwoPi * k / kSamples;
        const double value = SquareAt(s, at(hi)).value;
        const bool crosses = (previous < 0.0) != (value < 0.0);
        const double fLo = previous;
        previous = value;
        if (!crosses)
            continue;
        for (int i = 0; i < 50; ++i) {
            const double mid = 0.5 * (lo + hi);
            if ((SquareAt(s, at(mid)).value < 0.0) == (fLo < 0.0))
                lo = mid;
            else
                hi = mid;
        }
        const Unit root = at(0.5 * (lo + hi));
        const Square q = SquareAt(s, root);
        if (q.offset <= q.limit)
            roots.push_back(root);
    }
    return roots;
}

double Distance(const Unit& a, const Unit& b) {
    return std::sqrt((a.x - b.x) * (a.x - b.x) + (a.y - b.y) * (a.y - b.y) +
                     (a.z - b.z) * (a.z - b.z));
}

// The line of maximum eclipse at the instant of s: from the axis's point both ways when
// the axis meets the Earth, and inward from every place of the limb on it that those two
// halves do not reach; each piece from its left (northern) end to its right.
std::vector<std::vector<Unit>> MaximumLineAt(const Plane& s) {
    std::vector<std::vector<Unit>> pieces;
    std::vector<Unit> limbEnds;
    const Spot axis = SpotAt(s, s.x, s.y);
    if (axis.q > 0.0) {
        const Unit a = {axis.xi, axis.eta1, axis.zeta1};
        const Unit along = Along(s, a);
        Traced one = TraceLine(s, a, along);
        Traced other = TraceLine(s, a, {-along.x, -along.y, -along.z});
        for (const Traced* t : {&one, &other})
            if (t->end == End::Limb)
                limbEnds.push_back(t->points.back());
        std::vector<Unit> line(one.points.rbegin(), one.points.rend());
        line.insert(line.end(), other.points.begin() + 1, other.points.end());
        pieces.push_back(std::move(line));
    }
    for (const Unit& root : LimbRoots(s)) {
        const bool reached = std::any_of(limbEnds.begin(), limbEnds.end(),
                                         [&](const Unit& e) { return Distance(e, root) < 1e-4; });
        if (reached)
            continue;
        // Inward: toward the sunward side.
        Traced t = TraceLine(s, root, {0.0, 0.0, 1.0});
        if (t.end == End::Limb)
            limbEnds.push_back(t.points.back());
        limbEnds.push_back(root);
        if (t.points.size() >= 2)
            pieces.push_back(std::move(t.points));
    }
    for (auto& piece : pieces)
        if (SquareAt(s, piece.front()).leftward < SquareAt(s, piece.back()).leftward)
            std::reverse(piece.begin(), piece.end());
    return pieces;
}

// The curves of maximum eclipse at sunrise and at sunset: the places of the limb that
// see their maximum there, within the partial eclipse. They are the zero line of the
// condition of maximum over the limb's angle phi and the time t, traced from seeds (the
// roots at instants kScanMinutes apart) with steps of kRiseSetStep in (phi, t hours)
// until the offset reaches L1 (the limit of the partial eclipse) or the time the
// penumbral phase.
constexpr double kRiseSetStep = 0.01;

std::vector<TimedCurve> RiseSetMaxima(const ElementPolynomials& e, double first, double last) {
    struct Point {
        double phi, t;
    };
    auto unit = [](double phi) { return Unit{std::cos(phi), std::sin(phi), 0.0}; };
    auto value = [&](const Point& p) { return SquareAt(PlaneAt(e, p.t), unit(p.phi)).value; };
    auto inside = [&](const Point& p) {
        const Square q = SquareAt(PlaneAt(e, p.t), unit(p.phi));
        return q.offset <= q.limit;
    };
    // The gradient of the condition in (phi, t).
    auto gradient = [&](const Point& p) {
        const Plane s = PlaneAt(e, p.t);
        const Unit g = SquareAt(s, unit(p.phi)).gradient;
        const double byPhi = -std::sin(p.phi) * g.x + std::cos(p.phi) * g.y;
        constexpr double h = 1e-4;
        const double byT = (value({p.phi, p.t + h}) - value({p.phi, p.t - h})) / (2.0 * h);
        return std::pair{byPhi, byT};
    };
    auto correct = [&](Point p) {
        for (int iteration = 0; iteration < 8; ++iteration) {
            const double f = value(p);
            const auto [gp, gt] = gradient(p);
            const double n2 = gp * gp + gt * gt;
            if (!(n2 > 0.0))
                break;
            p = {p.phi - f * gp / n2, p.t - f * gt / n2};
            if (std::fabs(f) < 1e-13)
                break;
        }
        return p;
    };
    // From p in direction sign (+1: time runs forward at the start) until an end.
    auto trace = [&](Point p, double sign, const Point& seed) {
        std::vector<Point> out;
        double dPhi = 0.0, dT = 0.0;
        for (int step = 0; step < 4000; ++step) {
            const auto [gp, gt] = gradient(p);
            const double n = std::hypot(gp, gt);
            double tp = -gt / n, tt = gp / n;
            if (step == 0 ? tt * sign < 0.0 : tp * dPhi + tt * dT < 0.0) {
                tp = -tp;
                tt = -tt;
            }
            dPhi = tp;
            dT = tt;
            auto stepTo = [&](double fraction) {
                return correct(
                    {p.phi + fraction * kRiseSetStep * tp, p.t + fraction * kRiseSetStep * tt});
            };
            const Point next = stepTo(1.0);
            if (!inside(next)) {
                double in = 0.0, outside = 1.0;
                for (int k = 0; k < kLimbBisections; ++k) {
                    const double mid = 0.5 * (in + outside);
                    (inside(stepTo(mid)) ? in : outside) = mid;
                }
                out.push_back(stepTo(in));
                return out;
            }
            if (next.t < first - 0.5 || next.t > last + 0.5)
                return out;
            out.push_back(next);
            p = next;
            // Back at the seed: a closed curve.
            const double back = std::remainder(p.phi - seed.phi, kTwoPi);
            if (step > 3 && std::hypot(back, p.t - seed.t) < 0.6 * kRiseSetStep) {
                out.push_back(seed);
                return out;
            }
        }
        return out;
    };

    std::vector<Point> seeds;
    const double step = kScanMinutes * kMinute;
    for (double t = first; t <= last; t += step)
        for (const Unit& r : LimbRoots(PlaneAt(e, t)))
            seeds.push_back({std::atan2(r.y, r.x), t});

    std::vector<TimedCurve> out;
    std::vector<bool> used(seeds.size(), false);
    for (std::size_t k = 0; k < seeds.size(); ++k) {
        if (used[k])
            continue;
        const Point seed = seeds[k];
        std::vector<Point> forward = trace(seed, 1.0, seed);
        const bool closed = !forward.empty() && forward.back().phi == seed.phi &&
                            forward.back().t == seed.t && forward.size() > 1;
        std::vector<Point> line;
        if (!closed) {
            const std::vector<Point> backward = trace(seed, -1.0, seed);
            line.assign(backward.rbegin(), backward.rend());
        }
        line.push_back(seed);
        line.insert(line.end(), forward.begin(), forward.end());
        for (std::size_t j = k; j < seeds.size(); ++j)
            for (const Point& p : line)
                if (std::hypot(std::remainder(p.phi - seeds[j].phi, kTwoPi), p.t - seeds[j].t) <
                    2.0 * kRiseSetStep) {
                    used[j] = true;
                    break;
                }
        if (line.size() < 2)
            continue;
        TimedCurve curve;
        for (const Point& p : line) {
            const Plane s = PlaneAt(e, p.t);
            curve.push_back(Timed(e, p.t, Geodetic(s, SpotOf(s, unit(p.phi)))));
        }
        out.push_back(std::move(curve));
    }
    return out;
}
} // namespace

MapCurves ComputeMapCurves(const EclipsePath& path) {
    MapCurves curves;
    if (path.kind == EclipseKind::None)
        return curves;
    const auto hours = PenumbralHours(path);
    if (!hours)
        return curves;
    const auto [first, last] = *hours;
    const ElementPolynomials& e = path.elements;

    // Julian days of whole UT minutes are x.5 + k / 1440.
    const double perDay = 1440.0 / kMaximumLineMinutes;
    const double jdFirst = e.jd0 + first / 24.0;
    const double jdLast = e.jd0 + last / 24.0;
    for (double k = std::ceil((jdFirst - 0.5) * perDay); 0.5 + k / perDay <= jdLast; k += 1.0) {
        const double jd = 0.5 + k / perDay;
        const Plane s = PlaneAt(e, (jd - e.jd0) * 24.0);
        MaximumLine line;
        line.jd = jd;
        for (const auto& piece : MaximumLineAt(s)) {
            std::vector<GeoPoint> points;
            for (const Unit& p : piece)
                points.push_back(Geodetic(s, SpotOf(s, p)));
            line.pieces.push_back(std::move(points));
        }
        if (!line.pieces.empty())
            curves.maximumLines.push_back(std::move(line));
    }

    curves.riseSetMaxima = RiseSetMaxima(e, first, last);

    std::vector<double> minutes;
    for (double t = std::floor(first * 60.0) / 60.0; t <= last + kMinute; t += kMinute)
        minutes.push_back(t);
    for (const double magnitude : kMagnitudeLineValues) {
        MagnitudeLine line;
        line.magnitude = magnitude;
        for (const double side : {1.0, -1.0}) {
            // At the offset (1 - m) L1 - m L2 the magnitude (L1 - offset) / (L1 + L2) is m.
            auto at = [&](double t) {
                const Plane s = PlaneAt(e, t);
                const Spot o = OnMaximumLine(s, side * (1.0 - magnitude), -side * magnitude);
                return Sample{t, o.q, o.q >= 0.0 ? Geodetic(s, o) : GeoPoint{}};
            };
            for (const auto& piece : Trace(at, minutes)) {
                TimedCurve c;
                for (const Sample& p : piece)
                    c.push_back(Timed(e, p.param, p.point));
                line.pieces.push_back(std::move(c));
            }
        }
        curves.magnitudeLines.push_back(std::move(line));
    }
    return curves;
}
