#include "eclipse/contacts.h"

#include "eclipse/finder.h"
#include "eclipse/outline.h"
#include "eclipse/polynomial_elements.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <cmath>
#include <optional>

namespace {

constexpr int kLastStep = kContactStepsPerDay - 1;

// The sampled test at one minute of the date, with the elements the run of
// 1440 steps would compute there.
BesselianElements SampledElements(double jdStart, int step, Ephemeris engine) {
    const double jd = jdStart + step / static_cast<double>(kContactStepsPerDay);
    return ElementsAt(ApparentPlacesAt(jd, DeltaTSeconds(jd, engine), engine));
}

bool SampledHit(double jdStart, int step, Cone cone, Ephemeris engine) {
    const BesselianElements e = SampledElements(jdStart, step, engine);
    return TraceOutline(e, cone, kContactSamples).hits > 0;
}

// An eclipse's window on the date may start this long before its estimated
// maximum or end this long after it: the penumbral phase (under 3.7 h either
// side), the estimate's error and the difference between the theories in
// ancient times (under 2 h), with a margin. Days.
constexpr double kEclipseReach = 0.35;

// The fitted elements of the eclipse that can touch the date, if any: the one
// nearest the date's middle of those whose greatest eclipse lies within reach.
std::optional<PolynomialElements> ElementsNearDate(double jdStart, Ephemeris engine) {
    const std::vector<EclipseCircumstances> found =
        EclipsesBetween(jdStart - kEclipseReach, jdStart + 1.0 + kEclipseReach, engine);
    const EclipseCircumstances* best = nullptr;
    for (const EclipseCircumstances& c : found)
        if (!best || std::fabs(c.jdGreatestUT - jdStart - 0.5) <
                         std::fabs(best->jdGreatestUT - jdStart - 0.5))
            best = &c;
    if (!best)
        return std::nullopt;
    return best->elements;
}

// The sampled test's condition as a continuous margin, from the fitted elements
// at t (TT hours from t0): the section at height zeta meets the Earth's when
// |R - D| < r < R + D (R the Earth's section radius, r the cone's, D the distance
// of their centres in the frame where the Earth is the unit sphere). margin > 0
// exactly where the test finds a hit, up to rounding.
struct ConeGeometry {
    double d = 0.0; // centre distance D
    double l = 0.0;
    double tanF = 0.0;
};

ConeGeometry GeometryAt(const PolynomialElements& p, double t, Cone cone) {
    const ElementsOfT e = EvaluateElements(p, t);
    ConeGeometry g;
    g.d = std::hypot(e.x, e.y / UnitSphereFrameOf(e.d).rho1);
    g.l = cone == Cone::Penumbra ? e.l1 : e.l2;
    g.tanF = cone == Cone::Penumbra ? p.tanF1 : p.tanF2;
    return g;
}

double SectionMargin(const ConeGeometry& g, double zeta) {
    const double bigR = std::sqrt(std::fmax(0.0, 1.0 - zeta * zeta));
    const double r = std::fabs(g.l - zeta * g.tanF);
    return std::fmin(bigR + g.d - r, r - std::fabs(bigR - g.d));
}

// The lowest sample (zeta = 1/n) has the largest R + r: the cone meets the Earth
// at some height only while it meets it there, and the first and last hits of an
// eclipse are hits at that height. Positive while D < R + r there.
double OuterMargin(const PolynomialElements& p, double t, Cone cone) {
    const ConeGeometry g = GeometryAt(p, t, cone);
    const double zeta = 1.0 / kContactSamples;
    return std::sqrt(1.0 - zeta * zeta) + std::fabs(g.l - zeta * g.tanF) - g.d;
}

// The largest margin over all sampled heights: the fit's version of the test.
double SampledMargin(const PolynomialElements& p, double t, Cone cone) {
    const ConeGeometry g = GeometryAt(p, t, cone);
    const long long count = static_cast<long long>(kContactSamples);
    const double increment = 1.0 / kContactSamples;
    double zeta = 0.0;
    double best = -1.0e9;
    for (long long k = 0; k < count; ++k) {
        zeta += increment;
        best = std::fmax(best, SectionMargin(g, zeta));
    }
    return best;
}

// Margins this far from zero are decided by the fit alone: the fit and the
// varying Delta T of the minute-by-minute run move the shadow by well under
// 1e-3 Earth radii (about seven seconds of its motion).
constexpr double kUndecided = 1.0e-3;

struct Search {
    const PolynomialElements& p;
    double jdStart;
    Cone cone;
    Ephemeris engine;

    double HoursOfStep(int step) const {
        return JdUTToElementsTime(p, jdStart + step / static_cast<double>(kContactStepsPerDay));
    }

    // The step (possibly beyond the date) whose instant lies just after t hours from t0.
    double StepOfHours(double t) const {
        return (ElementsTimeToJdUT(p, t) - jdStart) * kContactStepsPerDay;
    }

    bool Hit(int step) const {
        const double margin = SampledMargin(p, HoursOfStep(step), cone);
        if (margin > kUndecided)
            return true;
        if (margin < -kUndecided)
            return false;
        return SampledHit(jdStart, step, cone, engine);
    }
};

// Bisection between a (f <= 0) and b (f > 0) to a tenth of a second.
template <typename F> double Bisect(F f, double a, double b) {
    for (int i = 0; i < 40 && std::fabs(b - a) > 3e-5; ++i) {
        const double m = 0.5 * (a + b);
        if (f(m) > 0.0)
            b = m;
        else
            a = m;
    }
    return 0.5 * (a + b);
}

// The time of the largest outer margin near greatest eclipse (golden section).
double PeakOfOuterMargin(const PolynomialElements& p, double tg, Cone cone) {
    double a = tg - 0.5;
    double b = tg + 0.5;
    const double ratio = 0.6180339887498949;
    for (int i = 0; i < 40; ++i) {
        const double m1 = b - ratio * (b - a);
        const double m2 = a + ratio * (b - a);
        if (OuterMargin(p, m1, cone) < OuterMargin(p, m2, cone))
            a = m1;
        else
            b = m2;
    }
    return 0.5 * (a + b);
}

// First and last steps of the date with a hit of one cone; false when none.
bool FindCone(const PolynomialElements& p, double jdStart, Cone cone, Ephemeris engine, int& first,
              int& last) {
    const double peak = PeakOfOuterMargin(p, GreatestEclipseHours(p), cone);
    auto outer = [&](double t) { return OuterMargin(p, t, cone); };
    // Outside the outer contacts no height can meet the Earth: hits lie between.
    constexpr double kReachHours = 7.0;
    if (!(outer(peak) > -kUndecided))
        return false;
    const double begin = outer(peak - kReachHours) > 0.0 ? peak - kReachHours
                                                         : Bisect(outer, peak - kReachHours, peak);
    const double end = outer(peak + kReachHours) > 0.0 ? peak + kReachHours
                                                       : Bisect(outer, peak + kReachHours, peak);
    const Search search{p, jdStart, cone, engine};
    // Two steps of margin either side: the minutes beyond are decided by the fit.
    const double firstStep = std::ceil(search.StepOfHours(begin)) - 2.0;
    const double lastStep = std::floor(search.StepOfHours(end)) + 2.0;
    if (lastStep < 0.0 || firstStep > kLastStep)
        return false;
    const int from = static_cast<int>(std::fmax(0.0, firstStep));
    const int to = static_cast<int>(std::fmin(static_cast<double>(kLastStep), lastStep));
    int step = from;
    while (step <= to && !search.Hit(step))
        ++step;
    if (step > to)
        return false;
    first = step;
    step = to;
    while (step > first && !search.Hit(step))
        --step;
    last = step;
    return true;
}

} // namespace

double ContactStepJD(const ContactTimes& contacts, int step) {
    return contacts.jdStart + step / static_cast<double>(kContactStepsPerDay);
}

ContactTimes ContactTimesOfDate(double jdStart, Ephemeris engine) {
    ContactTimes c;
    c.jdStart = jdStart;
    if (!std::isfinite(jdStart))
        return c;
    const std::optional<PolynomialElements> p = ElementsNearDate(jdStart, engine);
    if (!p)
        return c;
    c.eclipse =
        FindCone(*p, jdStart, Cone::Penumbra, engine, c.firstPenumbraStep, c.lastPenumbraStep);
    if (c.eclipse)
        c.umbral = FindCone(*p, jdStart, Cone::Umbra, engine, c.firstUmbraStep, c.lastUmbraStep);
    if (!c.eclipse)
        c.firstPenumbraStep = c.lastPenumbraStep = 0;
    if (!c.umbral)
        c.firstUmbraStep = c.lastUmbraStep = 0;
    return c;
}

ContactTimes SampledContactTimesOfDate(double jdStart, Ephemeris engine) {
    ContactTimes c;
    c.jdStart = jdStart;
    for (int step = 0; step < kContactStepsPerDay; ++step) {
        const BesselianElements e = SampledElements(jdStart, step, engine);
        if (TraceOutline(e, Cone::Penumbra, kContactSamples).hits > 0) {
            if (!c.eclipse)
                c.firstPenumbraStep = step;
            c.eclipse = true;
            c.lastPenumbraStep = step;
        }
        if (TraceOutline(e, Cone::Umbra, kContactSamples).hits > 0) {
            if (!c.umbral)
                c.firstUmbraStep = step;
            c.umbral = true;
            c.lastUmbraStep = step;
        }
    }
    return c;
}
