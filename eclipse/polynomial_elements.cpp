#include "eclipse/polynomial_elements.h"

#include "eclipse/besselian.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <array>
#include <cmath>

namespace {

// The fit's sample instants, TT hours from t0.
constexpr int kSampleCount = 5;
constexpr std::array<double, kSampleCount> kSampleHours = {-4.0, -2.0, 0.0, 2.0, 4.0};

using Samples = std::array<double, kSampleCount>;

// Least-squares polynomial of the given degree (at most 3) through the samples;
// coefficients from the constant term up. Normal equations, solved by Gaussian
// elimination with partial pivoting (at most 4 x 4, well conditioned for
// symmetric samples within +-4 h). Five samples leave one degree of freedom
// over the cubic: the elements' quartic terms are below 1e-8 Earth radii.
std::array<double, 4> FitPolynomial(const Samples& values, int degree) {
    const int n = degree + 1;
    double m[4][5] = {};
    for (int s = 0; s < kSampleCount; ++s) {
        double powers[7] = {1.0};
        for (int k = 1; k < 7; ++k)
            powers[k] = powers[k - 1] * kSampleHours[static_cast<std::size_t>(s)];
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                m[r][c] += powers[r + c];
            m[r][n] += powers[r] * values[static_cast<std::size_t>(s)];
        }
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
                pivot = r;
        for (int c = 0; c <= n; ++c)
            std::swap(m[col][c], m[pivot][c]);
        for (int r = 0; r < n; ++r) {
            if (r == col)
                continue;
            const double factor = m[r][col] / m[col][col];
            for (int c = col; c <= n; ++c)
                m[r][c] -= factor * m[col][c];
        }
    }
    std::array<double, 4> coefficients = {};
    for (int r = 0; r < n; ++r)
        coefficients[static_cast<std::size_t>(r)] = m[r][n] / m[r][r];
    return coefficients;
}

// Delta T for a TT instant: that of the UT instant it belongs to.
double DeltaTForTT(double jdTT) {
    double deltaT = DeltaTSeconds(jdTT);
    for (int i = 0; i < 2; ++i)
        deltaT = DeltaTSeconds(jdTT - deltaT / kSecondsPerDay);
    return deltaT;
}

} // namespace

ElementsOfT EvaluateElements(const PolynomialElements& p, double t) {
    ElementsOfT e;
    e.x = p.x0 + t * (p.x1 + t * (p.x2 + t * p.x3));
    e.y = p.y0 + t * (p.y1 + t * (p.y2 + t * p.y3));
    e.d = p.d0 + t * (p.d1 + t * p.d2);
    e.l1 = p.l10 + t * (p.l11 + t * p.l12);
    e.l2 = p.l20 + t * (p.l21 + t * p.l22);
    e.mu = p.mu0 + t * p.mu1;
    e.dx = p.x1 + t * (2.0 * p.x2 + 3.0 * t * p.x3);
    e.dy = p.y1 + t * (2.0 * p.y2 + 3.0 * t * p.y3);
    e.dd = p.d1 + 2.0 * t * p.d2;
    e.dmu = p.mu1;
    return e;
}

double GreatestEclipseHours(const PolynomialElements& p) {
    double t = 0.0;
    for (int i = 0; i < 8; ++i) {
        const ElementsOfT e = EvaluateElements(p, t);
        const double ddx = 2.0 * p.x2 + 6.0 * t * p.x3;
        const double ddy = 2.0 * p.y2 + 6.0 * t * p.y3;
        const double g = e.x * e.dx + e.y * e.dy;
        const double dg = e.dx * e.dx + e.dy * e.dy + e.x * ddx + e.y * ddy;
        if (!(dg > 0.0))
            break;
        const double step = g / dg;
        t -= step;
        if (std::fabs(step) < 1e-9)
            break;
    }
    return t;
}

PolynomialElements FitPolynomialElements(double jdT0) {
    PolynomialElements p;
    p.jdT0 = jdT0;
    const double dayFraction = jdT0 + 0.5 - std::floor(jdT0 + 0.5);
    p.t0Hour = std::round(dayFraction * 24.0 * 1000.0) / 1000.0;
    p.deltaT = DeltaTForTT(jdT0);

    Samples x{}, y{}, d{}, l1{}, l2{}, mu{};
    double previousMu = 0.0;
    double turns = 0.0;
    for (std::size_t s = 0; s < kSampleCount; ++s) {
        const double jdTT = jdT0 + kSampleHours[s] / 24.0;
        const BesselianElements e =
            ElementsAt(ApparentPlacesAt(jdTT - p.deltaT / kSecondsPerDay, p.deltaT));
        x[s] = e.x;
        y[s] = e.y;
        d[s] = e.d;
        l1[s] = e.l1;
        l2[s] = e.l2;
        // mu runs at 15 degrees an hour through 360: unwrap it.
        if (s > 0 && e.mu < previousMu)
            turns += 360.0;
        previousMu = e.mu;
        mu[s] = e.mu + turns;
        if (s == kSampleCount / 2) {
            p.tanF1 = e.tanF1;
            p.tanF2 = e.tanF2;
        }
    }
    const auto cx = FitPolynomial(x, 3);
    const auto cy = FitPolynomial(y, 3);
    const auto cd = FitPolynomial(d, 2);
    const auto c1 = FitPolynomial(l1, 2);
    const auto c2 = FitPolynomial(l2, 2);
    const auto cm = FitPolynomial(mu, 1);
    p.x0 = cx[0], p.x1 = cx[1], p.x2 = cx[2], p.x3 = cx[3];
    p.y0 = cy[0], p.y1 = cy[1], p.y2 = cy[2], p.y3 = cy[3];
    p.d0 = cd[0], p.d1 = cd[1], p.d2 = cd[2];
    p.l10 = c1[0], p.l11 = c1[1], p.l12 = c1[2];
    p.l20 = c2[0], p.l21 = c2[1], p.l22 = c2[2];
    // The canon's mu is reckoned from TT: the sidereal angle ran Delta T further.
    p.mu0 = std::fmod(cm[0] + kSiderealDegreesPerSecond * p.deltaT, 360.0);
    if (p.mu0 < 0.0)
        p.mu0 += 360.0;
    p.mu1 = cm[1];
    return p;
}
