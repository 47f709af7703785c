// The limits of the umbral and partial paths, curve by curve.
#include "eclipse/path_geometry.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

namespace path_geometry {

// A limit curve (cone, side) over [lo, hi] every step minutes, split where it
// leaves the Earth, with its ends on the limb found exactly.
std::vector<TimedCurve> LimitCurves(const PolynomialElements& e, int cone, int side, double lo,
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
        return TimedPoint{ElementsTimeToJdUT(e, t), ToGeodetic(s, *o)};
    };
    std::vector<TimedCurve> curves;
    TimedCurve current;
    const double step = stepMinutes * kMinute;
    double previousT = 0.0;
    bool previousOn = false;
    bool havePrevious = false;
    for (double t = CeilMinute(e, lo); t <= hi; t += step) {
        const double tm = RoundMinute(e, t);
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

} // namespace path_geometry
