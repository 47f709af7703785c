#include "eclipse/map_curves.h"

#include "eclipse/path_geometry.h"
#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>
#include <optional>

namespace {

constexpr int kLimbBisections = 32; // ends of a curve

using path_geometry::Observer;
using path_geometry::ObserverAt;
using path_geometry::State;
using path_geometry::StateAt;
using path_geometry::ToGeodetic;

// The hours (TT from the elements' t0) while the penumbra touches the Earth: from the
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
    return std::pair{JdUTToElementsTime(path.elements, first),
                     JdUTToElementsTime(path.elements, last)};
}

TimedPoint Timed(const PolynomialElements& e, double t, const GeoPoint& point) {
    return {ElementsTimeToJdUT(e, t), point};
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

// The place p on the fundamental plane; zeta1 = 0 on the limb.
Observer ObserverOf(const State& s, const Unit& p) {
    return {p.x, s.rho1 * p.y, s.rho2 * (p.z * s.cosD1D2 - p.y * s.sinD1D2), p.y, p.z};
}

// The gradient of p's frame components (xi, eta, zeta) carried to p.
Unit ToUnitGradient(const State& s, double byXi, double byEta, double byZeta) {
    return {byXi, s.rho1 * byEta - s.rho2 * s.sinD1D2 * byZeta, s.rho2 * s.cosD1D2 * byZeta};
}

// The condition of maximum at p: the offset (u, v) from the axis times the shadow's
// motion relative to p, zero where they stand square, with its gradient in p.
struct Square {
    double value = 0.0;
    Unit gradient;                    // not of unit length
    double offset = 0.0, limit = 0.0; // |(u, v)| and L1 at p
    double leftward = 0.0;            // the offset's component to the left of the motion
};

Square SquareAt(const State& s, const Unit& p) {
    const Observer o = ObserverOf(s, p);
    const double a = s.dx - s.dmu * (-o.eta * s.sinD + o.zeta * s.cosD);
    const double b = s.dy - s.dmu * o.xi * s.sinD + s.dd * o.zeta;
    const double u = o.xi - s.x;
    const double v = o.eta - s.y;
    const double byXi = a - v * s.dmu * s.sinD;
    const double byEta = b + u * s.dmu * s.sinD;
    const double byZeta = -u * s.dmu * s.cosD + v * s.dd;
    Square q;
    q.value = u * a + v * b;
    q.gradient = ToUnitGradient(s, byXi, byEta, byZeta);
    q.offset = std::sqrt(u * u + v * v);
    q.limit = s.l[0] - o.zeta * s.tanF[0];
    q.leftward = (-b * u + a * v) / std::sqrt(a * a + b * b);
    return q;
}

// p moved along the sphere onto the nearest place of the line of maximum.
Unit Corrected(const State& s, Unit p) {
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
Unit Along(const State& s, const Unit& p) {
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
Traced TraceLine(const State& s, const Unit& start, Unit direction) {
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
std::vector<Unit> LimbRoots(const State& s) {
    constexpr int kSamples = 90;
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
        for (int i = 0; i < 40; ++i) {
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
std::vector<std::vector<Unit>> MaximumLineAt(const State& s, const std::vector<Unit>& roots) {
    std::vector<std::vector<Unit>> pieces;
    std::vector<Unit> limbEnds;
    double q = 0.0;
    const Observer axis = ObserverAt(s, s.x, s.y, q);
    if (q > 0.0) {
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
    for (const Unit& root : roots) {
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

// A condition on a place p at the instant of s, with its gradient in p.
struct Condition {
    double value = 0.0;
    Unit gradient;
};

Condition MaximumCondition(const State& s, const Unit& p) {
    const Square q = SquareAt(s, p);
    return {q.value, q.gradient};
}

// The offset from the axis at which the magnitude at maximum is m: the magnitude
// (L1 - offset) / (L1 + L2) is m at the offset (1 - m) L1 - m L2.
Condition MagnitudeCondition(const State& s, const Unit& p, double m) {
    const Observer o = ObserverOf(s, p);
    const double u = o.xi - s.x;
    const double v = o.eta - s.y;
    const double r = std::sqrt(u * u + v * v);
    const double l1 = s.l[0] - o.zeta * s.tanF[0];
    const double l2 = s.l[1] - o.zeta * s.tanF[1];
    const double byZeta = (1.0 - m) * s.tanF[0] - m * s.tanF[1];
    return {r - ((1.0 - m) * l1 - m * l2),
            r > 0.0 ? ToUnitGradient(s, u / r, v / r, byZeta) : ToUnitGradient(s, 0, 0, byZeta)};
}

// The Sun on the horizon: the place on the limb.
Condition HorizonCondition(const State&, const Unit& p) {
    return {p.z, {0.0, 0.0, 1.0}};
}

// A point of a curve over the places and the time.
struct Traced4 {
    Unit p;
    double t = 0.0; // TT hours from the elements' t0
};

constexpr double kCurveStep = 0.02; // of the sphere (radians) and time (hours) together
constexpr int kCurveSteps = 3000;

// The curves along which the condition of maximum and a second condition both hold,
// traced through the places and the time from seeds (points that satisfy both) with
// steps of kCurveStep, until `outside` (the end of the curve's domain: the limb, or the
// limit of the partial eclipse) or the end of the penumbral phase; ends found by
// bisection along the last step. Seeds that a curve passes are used up.
template <typename Second, typename Outside>
std::vector<TimedCurve> TraceCurves(const PolynomialElements& e, std::vector<Traced4> seeds,
                                    double first, double last, const Second& second,
                                    const Outside& outside) {
    constexpr double h = 1e-4; // hours, for the rates in time
    struct Row {
        double f[2];
        double j[2][3]; // by the two tangent directions of the sphere and by t
    };
    // A basis of the sphere's tangent plane at p.
    auto basis = [](const Unit& p) {
        const Unit k = std::fabs(p.z) < 0.9 ? Unit{0.0, 0.0, 1.0} : Unit{1.0, 0.0, 0.0};
        const Unit e1 =
            Normalized(k.y * p.z - k.z * p.y, k.z * p.x - k.x * p.z, k.x * p.y - k.y * p.x);
        const Unit e2 = {p.y * e1.z - p.z * e1.y, p.z * e1.x - p.x * e1.z, p.x * e1.y - p.y * e1.x};
        return std::pair{e1, e2};
    };
    auto dot = [](const Unit& a, const Unit& b) { return a.x * b.x + a.y * b.y + a.z * b.z; };
    auto values = [&](const State& s, const Unit& p, Condition out[2]) {
        out[0] = MaximumCondition(s, p);
        out[1] = second(s, p);
    };
    auto jacobian = [&](const Traced4& x, const Unit& e1, const Unit& e2) {
        Condition now[2], later[2], earlier[2];
        values(StateAt(e, x.t), x.p, now);
        values(StateAt(e, x.t + h), x.p, later);
        values(StateAt(e, x.t - h), x.p, earlier);
        Row r{};
        for (int i = 0; i < 2; ++i) {
            r.f[i] = now[i].value;
            r.j[i][0] = dot(now[i].gradient, e1);
            r.j[i][1] = dot(now[i].gradient, e2);
            r.j[i][2] = (later[i].value - earlier[i].value) / (2.0 * h);
        }
        return r;
    };
    auto move = [](const Traced4& x, const Unit& e1, const Unit& e2, double a, double b,
                   double dt) {
        return Traced4{Normalized(x.p.x + a * e1.x + b * e2.x, x.p.y + a * e1.y + b * e2.y,
                                  x.p.z + a * e1.z + b * e2.z),
                       x.t + dt};
    };
    // Newton's method, least change, with the Jacobian of the start held.
    auto correct = [&](Traced4 x) {
        const auto [e1, e2] = basis(x.p);
        const Row r = jacobian(x, e1, e2);
        double m[2][2];
        for (int a = 0; a < 2; ++a)
            for (int b = 0; b < 2; ++b)
                m[a][b] = r.j[a][0] * r.j[b][0] + r.j[a][1] * r.j[b][1] + r.j[a][2] * r.j[b][2];
        const double det = m[0][0] * m[1][1] - m[0][1] * m[1][0];
        if (!(std::fabs(det) > 0.0))
            return x;
        double f[2] = {r.f[0], r.f[1]};
        for (int iteration = 0; iteration < 8; ++iteration) {
            const double w0 = (m[1][1] * f[0] - m[0][1] * f[1]) / det;
            const double w1 = (m[0][0] * f[1] - m[1][0] * f[0]) / det;
            double d[3];
            for (int c = 0; c < 3; ++c)
                d[c] = -(r.j[0][c] * w0 + r.j[1][c] * w1);
            x = move(x, e1, e2, d[0], d[1], d[2]);
            Condition c[2];
            values(StateAt(e, x.t), x.p, c);
            f[0] = c[0].value;
            f[1] = c[1].value;
            if (std::fabs(f[0]) < 1e-12 && std::fabs(f[1]) < 1e-12)
                break;
        }
        return x;
    };
    auto distance2 = [](const Traced4& a, const Traced4& b) {
        return (a.p.x - b.p.x) * (a.p.x - b.p.x) + (a.p.y - b.p.y) * (a.p.y - b.p.y) +
               (a.p.z - b.p.z) * (a.p.z - b.p.z) + (a.t - b.t) * (a.t - b.t);
    };
    // From the seed in the direction whose time runs with `sign`.
    auto trace = [&](const Traced4& seed, double sign) {
        std::vector<Traced4> out;
        Traced4 x = seed;
        Unit dp{};
        double dt = 0.0;
        for (int step = 0; step < kCurveSteps; ++step) {
            // Named without a structured binding: the lambda below captures them.
            const auto frame = basis(x.p);
            const auto& e1 = frame.first;
            const auto& e2 = frame.second;
            const Row r = jacobian(x, e1, e2);
            // The direction in which both conditions stay: the cross product of their
            // gradients in (e1, e2, t).
            double d[3] = {r.j[0][1] * r.j[1][2] - r.j[0][2] * r.j[1][1],
                           r.j[0][2] * r.j[1][0] - r.j[0][0] * r.j[1][2],
                           r.j[0][0] * r.j[1][1] - r.j[0][1] * r.j[1][0]};
            const double n = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
            if (!(n > 0.0))
                break;
            for (double& c : d)
                c /= n;
            const Unit along = {d[0] * e1.x + d[1] * e2.x, d[0] * e1.y + d[1] * e2.y,
                                d[0] * e1.z + d[1] * e2.z};
            const bool reverse = step == 0 ? d[2] * sign < 0.0 : dot(along, dp) + d[2] * dt < 0.0;
            const double k = reverse ? -1.0 : 1.0;
            dp = {k * along.x, k * along.y, k * along.z};
            dt = k * d[2];
            auto stepTo = [&](double fraction) {
                const double a = fraction * kCurveStep;
                return correct(move(x, e1, e2, a * k * d[0], a * k * d[1], a * dt));
            };
            const Traced4 next = stepTo(1.0);
            if (outside(StateAt(e, next.t), next.p)) {
                double in = 0.0, out2 = 1.0;
                for (int b = 0; b < kLimbBisections; ++b) {
                    const double mid = 0.5 * (in + out2);
                    const Traced4 m = stepTo(mid);
                    (outside(StateAt(e, m.t), m.p) ? out2 : in) = mid;
                }
                out.push_back(stepTo(in));
                return std::pair{out, false};
            }
            if (next.t < first - 0.5 || next.t > last + 0.5)
                return std::pair{out, false};
            out.push_back(next);
            x = next;
            if (step > 3 && distance2(x, seed) < 0.36 * kCurveStep * kCurveStep) {
                out.push_back(seed);
                return std::pair{out, true};
            }
        }
        return std::pair{out, false};
    };

    std::vector<TimedCurve> curves;
    std::vector<bool> used(seeds.size(), false);
    for (std::size_t k = 0; k < seeds.size(); ++k) {
        if (used[k])
            continue;
        const Traced4 seed = correct(seeds[k]);
        const auto [forward, closed] = trace(seed, 1.0);
        std::vector<Traced4> line;
        if (!closed) {
            const auto backward = trace(seed, -1.0).first;
            line.assign(backward.rbegin(), backward.rend());
        }
        line.push_back(seed);
        line.insert(line.end(), forward.begin(), forward.end());
        for (std::size_t j = k + 1; j < seeds.size(); ++j)
            used[j] = used[j] || std::any_of(line.begin(), line.end(), [&](const Traced4& p) {
                          return distance2(p, seeds[j]) < 4.0 * kCurveStep * kCurveStep;
                      });
        if (line.size() < 2)
            continue;
        TimedCurve curve;
        for (const Traced4& x : line) {
            const State s = StateAt(e, x.t);
            curve.push_back(Timed(e, x.t, ToGeodetic(s, ObserverOf(s, x.p))));
        }
        curves.push_back(std::move(curve));
    }
    return curves;
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
    const PolynomialElements& e = path.elements;

    // The lines of maximum at whole tenth minutes of UT (Julian days x.5 + k / 144); their
    // places on the limb seed the curves of maximum at sunrise and sunset, their crossings
    // of each magnitude the lines of equal magnitude.
    std::vector<Traced4> horizonSeeds;
    std::vector<std::vector<Traced4>> magnitudeSeeds(kMagnitudeLineValues.size());
    const double perDay = 1440.0 / kMaximumLineMinutes;
    const double jdLast = ElementsTimeToJdUT(e, last);
    for (double k = std::ceil((ElementsTimeToJdUT(e, first) - 0.5) * perDay);
         0.5 + k / perDay <= jdLast; k += 1.0) {
        const double jd = 0.5 + k / perDay;
        const double t = JdUTToElementsTime(e, jd);
        const State s = StateAt(e, t);
        const std::vector<Unit> roots = LimbRoots(s);
        for (const Unit& r : roots)
            horizonSeeds.push_back({r, t});
        MaximumLine line;
        line.jd = jd;
        for (const auto& piece : MaximumLineAt(s, roots)) {
            std::vector<GeoPoint> points;
            for (const Unit& p : piece)
                points.push_back(ToGeodetic(s, ObserverOf(s, p)));
            line.pieces.push_back(std::move(points));
            for (std::size_t m = 0; m < kMagnitudeLineValues.size(); ++m) {
                const double magnitude = kMagnitudeLineValues[m];
                for (std::size_t i = 1; i < piece.size(); ++i) {
                    const double a = MagnitudeCondition(s, piece[i - 1], magnitude).value;
                    const double b = MagnitudeCondition(s, piece[i], magnitude).value;
                    if ((a < 0.0) == (b < 0.0))
                        continue;
                    const double f = a / (a - b);
                    const Unit& p = piece[i - 1];
                    const Unit& q = piece[i];
                    magnitudeSeeds[m].push_back(
                        {Normalized(p.x + f * (q.x - p.x), p.y + f * (q.y - p.y),
                                    p.z + f * (q.z - p.z)),
                         t});
                }
            }
        }
        if (!line.pieces.empty())
            curves.maximumLines.push_back(std::move(line));
    }

    curves.riseSetMaxima = TraceCurves(e, horizonSeeds, first, last, HorizonCondition,
                                       [](const State& s, const Unit& p) {
                                           const Square q = SquareAt(s, p);
                                           return q.offset > q.limit;
                                       });
    for (std::size_t m = 0; m < kMagnitudeLineValues.size(); ++m) {
        const double magnitude = kMagnitudeLineValues[m];
        MagnitudeLine line;
        line.magnitude = magnitude;
        line.pieces = TraceCurves(
            e, magnitudeSeeds[m], first, last,
            [magnitude](const State& s, const Unit& p) {
                return MagnitudeCondition(s, p, magnitude);
            },
            [](const State&, const Unit& p) { return p.z < 0.0; });
        curves.magnitudeLines.push_back(std::move(line));
    }
    return curves;
}
