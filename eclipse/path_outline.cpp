// The outline of a cone on the Earth at one instant, from the path's elements.
#include "eclipse/path_geometry.h"

#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

using namespace path_geometry;

std::vector<std::vector<GeoPoint>> ShadowOutlineAt(const PolynomialElements& e, double jd,
                                                   bool umbra) {
    const State s = StateAt(e, JdUTToElementsTime(e, jd));
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
