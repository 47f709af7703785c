// The path of one eclipse from its polynomial elements: greatest eclipse, and the
// pieces (central line, limits, rise/set curves) put together.
#include "eclipse/path.h"

#include "eclipse/finder.h"
#include "eclipse/path_geometry.h"
#include "ephemeris/constants.h"

#include <algorithm>
#include <cmath>

using namespace path_geometry;

namespace {

constexpr double kScanHalfHours = 4.5; // curves are searched within tg +- 4.5 hours
constexpr int kPenumbraLimitStep = 3;  // minutes between points of the partial limits

// The row of the central line with the longest duration, refined by a golden-section
// search between its neighbours; an end row stays as it is.
std::optional<PathRow> GreatestDurationRow(const PolynomialElements& e,
                                           const std::vector<PathRow>& rows) {
    if (rows.empty())
        return std::nullopt;
    const auto longest =
        std::max_element(rows.begin(), rows.end(), [](const auto& a, const auto& b) {
            return a.durationSeconds < b.durationSeconds;
        });
    if (longest == rows.begin() || longest + 1 == rows.end())
        return *longest;
    double lo = JdUTToElementsTime(e, (longest - 1)->jd);
    double hi = JdUTToElementsTime(e, (longest + 1)->jd);
    const double ratio = 0.5 * (std::sqrt(5.0) - 1.0);
    double t1 = hi - ratio * (hi - lo);
    double t2 = lo + ratio * (hi - lo);
    double f1 = CentralDurationSeconds(e, t1);
    double f2 = CentralDurationSeconds(e, t2);
    // To a hundredth of a second of time: the duration changes by microseconds there.
    while (hi - lo > 0.01 / 3600.0) {
        if (f1 < f2) {
            lo = t1;
            t1 = t2;
            f1 = f2;
            t2 = lo + ratio * (hi - lo);
            f2 = CentralDurationSeconds(e, t2);
        } else {
            hi = t2;
            t2 = t1;
            f2 = f1;
            t1 = hi - ratio * (hi - lo);
            f1 = CentralDurationSeconds(e, t1);
        }
    }
    const PathRow refined = CentralRow(e, 0.5 * (lo + hi));
    return refined.durationSeconds >= longest->durationSeconds ? refined : *longest;
}

} // namespace

GreatestEclipse GreatestEclipseOf(const PolynomialElements& e) {
    const double t = GreatestEclipseHours(e);
    const State s = StateAt(e, t);
    GreatestEclipse g;
    g.jd = ElementsTimeToJdUT(e, t);
    g.gamma = std::copysign(std::hypot(s.x, s.y), s.y);
    g.l2 = s.l[1];
    double q = 0.0;
    const Observer o = ObserverAt(s, s.x, s.y, q);
    g.central = q > 0.0;
    // Where the axis misses the Earth, the point on the limb the circumstances give.
    g.point = g.central ? ToGeodetic(s, o)
                        : GreatestLimbPoint(s.x, s.y, std::atan2(s.sinD, s.cosD) * kRadToDeg,
                                            s.mu * kRadToDeg);
    return g;
}

EclipsePath ComputeEclipsePath(const PolynomialElements& e) {
    EclipsePath path;
    path.elements = e;
    path.greatest = GreatestEclipseOf(e);
    const double tg = GreatestEclipseHours(e);
    const State s = StateAt(e, tg);
    // No eclipse when the penumbra passes clear of the Earth.
    if (!(std::hypot(s.x, s.y / s.rho1) < 1.0 + s.l[0]))
        return path;
    const double lo = std::max(-kFitHalfHours, tg - kScanHalfHours);
    const double hi = std::min(kFitHalfHours, tg + kScanHalfHours);

    path.central = path.greatest.central;
    path.centralLine = CentralLine(e, tg, lo, hi);
    path.greatestDuration = GreatestDurationRow(e, path.centralLine);
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

EclipsePath EclipsePathOfDate(double jdDate, Ephemeris engine) {
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(jdDate, engine);
    if (!eclipse)
        return {};
    EclipsePath path = ComputeEclipsePath(eclipse->elements);
    path.engine = engine;
    return path;
}

double ChordKm(const GeoPoint& a, const GeoPoint& b) {
    const Vec3 p = EarthFixed(a);
    const Vec3 q = EarthFixed(b);
    const Vec3 d = {p.x - q.x, p.y - q.y, p.z - q.z};
    return std::sqrt(Dot(d, d)) * kEarthRadiusKm;
}
