#include "eclipse/polynomial_elements.h"

#include "eclipse/besselian.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <array>
#include <cmath>

namespace {

constexpr std::size_t kNodeCount = 7; // instants the theories are evaluated at for one fit

// Coefficients in s = t / scale turned into coefficients in t.
ElementPolynomial Unscale(ElementPolynomial c, double scale) {
    double factor = 1.0;
    for (double& v : c) {
        v *= factor;
        factor /= scale;
    }
    return c;
}

// Delta T for a TT instant: that of the UT instant it belongs to.
double DeltaTForTT(double jdTT, Ephemeris engine) {
    double deltaT = DeltaTSeconds(jdTT, engine);
    for (int i = 0; i < 2; ++i)
        deltaT = DeltaTSeconds(jdTT - deltaT / kSecondsPerDay, engine);
    return deltaT;
}

} // namespace

ElementsOfT EvaluateElements(const PolynomialElements& p, double t) {
    ElementsOfT e;
    e.x = EvaluatePolynomial(p.x, t);
    e.y = EvaluatePolynomial(p.y, t);
    e.d = EvaluatePolynomial(p.d, t);
    e.l1 = EvaluatePolynomial(p.l1, t);
    e.l2 = EvaluatePolynomial(p.l2, t);
    e.mu = EvaluatePolynomial(p.mu, t);
    e.dx = PolynomialRate(p.x, t);
    e.dy = PolynomialRate(p.y, t);
    e.dd = PolynomialRate(p.d, t);
    e.dmu = PolynomialRate(p.mu, t);
    e.dl1 = PolynomialRate(p.l1, t);
    e.dl2 = PolynomialRate(p.l2, t);
    return e;
}

double HourAngleFromUT(const PolynomialElements& p, double mu) {
    return mu - kSiderealDegreesPerSecond * p.deltaT;
}

double ElementsTimeToJdUT(const PolynomialElements& p, double t) {
    return p.jdT0 + t / 24.0 - p.deltaT / kSecondsPerDay;
}

double JdUTToElementsTime(const PolynomialElements& p, double jdUT) {
    return (jdUT + p.deltaT / kSecondsPerDay - p.jdT0) * 24.0;
}

namespace {

// c(t + h) as a polynomial in t: the binomial expansion of every term.
ElementPolynomial Shifted(const ElementPolynomial& c, double h) {
    ElementPolynomial out{};
    for (int k = 0; k < kElementTerms; ++k) {
        double binomial = 1.0; // C(k, j)
        double power = 1.0;    // h^(k - j), built from j = k down
        for (int j = k; j >= 0; --j) {
            out[static_cast<std::size_t>(j)] += c[static_cast<std::size_t>(k)] * binomial * power;
            binomial = binomial * j / (k - j + 1);
            power *= h;
        }
    }
    return out;
}

} // namespace

PolynomialElements RecentredElements(const PolynomialElements& p, double jdT0) {
    const double h = (jdT0 - p.jdT0) * 24.0;
    PolynomialElements q = p;
    q.jdT0 = jdT0;
    const double dayFraction = jdT0 + 0.5 - std::floor(jdT0 + 0.5);
    q.t0Hour = std::round(dayFraction * 24.0 * 1000.0) / 1000.0;
    for (ElementPolynomial* c : {&q.x, &q.y, &q.d, &q.l1, &q.l2, &q.mu})
        *c = Shifted(*c, h);
    q.mu[0] -= std::floor(q.mu[0] / 360.0) * 360.0;
    return q;
}

double GreatestEclipseHours(const PolynomialElements& p) {
    double t = 0.0;
    for (int i = 0; i < 20; ++i) {
        const double x = EvaluatePolynomial(p.x, t);
        const double y = EvaluatePolynomial(p.y, t);
        const double dx = PolynomialRate(p.x, t);
        const double dy = PolynomialRate(p.y, t);
        const double g = x * dx + y * dy;
        const double dg = dx * dx + dy * dy + x * PolynomialAcceleration(p.x, t) +
                          y * PolynomialAcceleration(p.y, t);
        if (!(dg > 0.0))
            break;
        const double step = g / dg;
        t -= step;
        if (std::fabs(step) < 1e-9)
            break;
    }
    return t;
}

namespace {

// The elements at one node as the fit takes them: x, y, d, l1, l2, mu (reckoned from
// TT, not yet unwrapped), tan f1, tan f2.
enum Field { kX, kY, kD, kL1, kL2, kMu, kTanF1, kTanF2, kFieldCount };
using NodeValues = std::array<double, kFieldCount>;

NodeValues ValuesAt(double jdTT, double deltaT, Ephemeris engine) {
    const BesselianElements e =
        ElementsAt(ApparentPlacesAt(jdTT - deltaT / kSecondsPerDay, deltaT, engine));
    // The canon's mu is reckoned from TT: the sidereal angle ran Delta T further.
    return {e.x, e.y, e.d, e.l1, e.l2, e.mu + kSiderealDegreesPerSecond * deltaT, e.tanF1, e.tanF2};
}

// One precise evaluation costs about six classic ones. Over the fit's nine hours the
// two engines differ by a slowly changing amount (the classic theories' truncated
// terms, the nutation model, mean against apparent sidereal time), so the precise
// engine runs at every other node only (s = -1, -1/2, 1/2, 1, the extrema of a cubic
// Chebyshev polynomial) and the classic one at the nodes between, corrected by the
// cubic through the four differences. Measured against the precise theory at 37
// instants of the window for every 20th lunation near a node over -1999..3000: x
// within 9e-8, y within 4e-8 Earth radii, mu within 5e-7 degrees (seven precise nodes:
// 1.5e-8, 6e-9 and 1e-7); a quadratic through three precise nodes would leave 1.2e-6.
constexpr std::size_t kPreciseNodeStride = 2;
constexpr std::size_t kCorrectionTerms = kNodeCount / kPreciseNodeStride + 1;

std::array<NodeValues, kNodeCount> NodeValuesOf(const std::array<double, kNodeCount>& s,
                                                double jdT0, double deltaT, Ephemeris engine) {
    std::array<NodeValues, kNodeCount> v{};
    auto jdOf = [&](std::size_t n) { return jdT0 + s[n] * kFitHalfHours / 24.0; };
    if (engine == Ephemeris::Classic) {
        for (std::size_t n = 0; n < kNodeCount; ++n)
            v[n] = ValuesAt(jdOf(n), deltaT, engine);
        return v;
    }
    std::array<double, kCorrectionTerms> sPrecise{};
    std::array<NodeValues, kCorrectionTerms> difference{};
    for (std::size_t k = 0; k < kCorrectionTerms; ++k) {
        const std::size_t n = k * kPreciseNodeStride;
        sPrecise[k] = s[n];
        v[n] = ValuesAt(jdOf(n), deltaT, Ephemeris::Precise);
        const NodeValues classic = ValuesAt(jdOf(n), deltaT, Ephemeris::Classic);
        for (std::size_t f = 0; f < kFieldCount; ++f)
            difference[k][f] = v[n][f] - classic[f];
        // The two hour angles may lie on either side of 360.
        difference[k][kMu] -= std::round(difference[k][kMu] / 360.0) * 360.0;
    }
    for (std::size_t n = 1; n < kNodeCount; n += kPreciseNodeStride)
        v[n] = ValuesAt(jdOf(n), deltaT, Ephemeris::Classic);
    for (std::size_t f = 0; f < kFieldCount; ++f) {
        std::array<double, kCorrectionTerms> values{};
        for (std::size_t k = 0; k < kCorrectionTerms; ++k)
            values[k] = difference[k][f];
        std::array<double, kCorrectionTerms> cubic{};
        FitPolynomial(sPrecise, values, cubic);
        for (std::size_t n = 1; n < kNodeCount; n += kPreciseNodeStride)
            v[n][f] += EvaluatePolynomial(cubic, s[n]);
    }
    return v;
}

} // namespace

PolynomialElements FitPolynomialElements(double jdT0, Ephemeris engine) {
    PolynomialElements p;
    p.jdT0 = jdT0;
    const double dayFraction = jdT0 + 0.5 - std::floor(jdT0 + 0.5);
    p.t0Hour = std::round(dayFraction * 24.0 * 1000.0) / 1000.0;
    p.deltaT = DeltaTForTT(jdT0, engine);

    std::array<double, kNodeCount> s{};
    for (std::size_t n = 0; n < kNodeCount; ++n)
        s[n] = -std::cos(kPi * static_cast<double>(n) / (kNodeCount - 1));
    const std::array<NodeValues, kNodeCount> nodes = NodeValuesOf(s, jdT0, p.deltaT, engine);
    std::array<double, kNodeCount> values{};
    auto fit = [&](Field field, ElementPolynomial& out) {
        for (std::size_t n = 0; n < kNodeCount; ++n)
            values[n] = nodes[n][field];
        if (field == kMu) // mu runs at 15 degrees an hour through 360: unwrap it
            for (std::size_t n = 1; n < kNodeCount; ++n)
                while (values[n] < values[n - 1])
                    values[n] += 360.0;
        FitPolynomial(s, values, out);
        out = Unscale(out, kFitHalfHours);
    };
    fit(kX, p.x);
    fit(kY, p.y);
    fit(kD, p.d);
    fit(kL1, p.l1);
    fit(kL2, p.l2);
    fit(kMu, p.mu);
    p.tanF1 = nodes[kNodeCount / 2][kTanF1];
    p.tanF2 = nodes[kNodeCount / 2][kTanF2];
    // The constant term in [0, 360), as the canons print it.
    const double turns = std::floor(p.mu[0] / 360.0) * 360.0;
    p.mu[0] -= turns;
    return p;
}
