// The curves along which the eclipse begins or ends at sunrise or sunset.
#include "eclipse/path_geometry.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

namespace path_geometry {

// Where the penumbra's edge crosses the limb at t: the two crossings, or none.
// The limb is the unit circle of the unit-sphere frame; the crossing angle is
// refined so that the edge's radius at the place's own height is met.
struct LimbCrossings {
    bool exist = false;
    double margin = 0.0; // > 0 while the edge crosses the limb
    GeoPoint first, second;
};
LimbCrossings CrossingsAt(const PolynomialElements& e, double t) {
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
std::vector<TimedCurve> RiseSetCurves(const PolynomialElements& e, double lo, double hi) {
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
    for (double t = CeilMinute(e, lo); t <= hi; t += kMinute) {
        const double tm = RoundMinute(e, t);
        const LimbCrossings c = CrossingsAt(e, tm);
        if (c.exist && havePrevious && !previousOn) {
            const double te = Bisect(margin, previousT, tm) + kBisectHours;
            const LimbCrossings end = CrossingsAt(e, std::min(te, tm));
            if (end.exist)
                forward.push_back({ElementsTimeToJdUT(e, te), end.first});
        }
        if (c.exist) {
            forward.push_back({ElementsTimeToJdUT(e, tm), c.first});
            back.push_back({ElementsTimeToJdUT(e, tm), c.second});
        } else if (previousOn) {
            const double te = Bisect(margin, previousT, tm) - kBisectHours;
            const LimbCrossings end = CrossingsAt(e, std::max(te, previousT));
            if (end.exist)
                forward.push_back({ElementsTimeToJdUT(e, te), end.first});
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

} // namespace path_geometry
