#include "eclipse/polynomial_elements.h"

#include "eclipse/besselian.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <array>
#include <cmath>

namespace {

constexpr int kNodeCount = 7; // evaluations of the theories for one fit

// Least-squares polynomial of kElementTerms terms through the values at the
// nodes s (in units of the window's half-width): the normal equations, solved by
// Gaussian elimination with partial pivoting. Coefficients from the constant up.
ElementPolynomial FitPolynomial(const std::array<double, kNodeCount>& s,
                                const std::array<double, kNodeCount>& v) {
    constexpr int n = kElementTerms;
    double m[n][n + 1] = {};
    for (int k = 0; k < kNodeCount; ++k) {
        double powers[n];
        powers[0] = 1.0;
        for (int j = 1; j < n; ++j)
            powers[j] = powers[j - 1] * s[static_cast<std::size_t>(k)];
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                m[r][c] += powers[r] * powers[c];
            m[r][n] += powers[r] * v[static_cast<std::size_t>(k)];
        }
    }
    for (int col = 0; col < n; ++col) {
        int pivot = col;
        for (int r = col + 1; r < n; ++r)
            if (std::fabs(m[r][col]) > std::fabs(m[pivot][col]))
                pivot = r;
        for (int c = 0; c <= n; ++c)
            std::swap(m[col][c], m[pivot][c]);
        for (int r = col + 1; r < n; ++r) {
            const double f = m[r][col] / m[col][col];
            for (int c = col; c <= n; ++c)
                m[r][c] -= f * m[col][c];
        }
    }
    ElementPolynomial out{};
    for (int r = n - 1; r >= 0; --r) {
        double sum = m[r][n];
        for (int c = r + 1; c < n; ++c)
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

// Delta T for a TT instant: that of the UT instant it belongs to.
double DeltaTForTT(double jdTT, Ephemeris engine) {
    double deltaT = DeltaTSeconds(jdTT, engine);
    for (int i = 0; i < 2; ++i)
        deltaT = DeltaTSeconds(jdTT - deltaT / kSecondsPerDay, engine);
    return deltaT;
}

} // namespace

double EvaluatePolynomial(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 0; --k)
        v = v * t + c[static_cast<std::size_t>(k)];
    return v;
}

double PolynomialRate(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 1; --k)
        v = v * t + k * c[static_cast<std::size_t>(k)];
    return v;
}

double PolynomialAcceleration(const ElementPolynomial& c, double t) {
    double v = 0.0;
    for (int k = kElementTerms - 1; k >= 2; --k)
        v = v * t + k * (k - 1) * c[static_cast<std::size_t>(k)];
    return v;
}

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

PolynomialElements FitPolynomialElements(double jdT0, Ephemeris engine) {
    PolynomialElements p;
    p.jdT0 = jdT0;
    const double dayFraction = jdT0 + 0.5 - std::floor(jdT0 + 0.5);
    p.t0Hour = std::round(dayFraction * 24.0 * 1000.0) / 1000.0;
    p.deltaT = DeltaTForTT(jdT0, engine);

    std::array<double, kNodeCount> s{}, x{}, y{}, d{}, l1{}, l2{}, mu{};
    for (int n = 0; n < kNodeCount; ++n) {
        const auto k = static_cast<std::size_t>(n);
        s[k] = -std::cos(kPi * n / (kNodeCount - 1));
        const double jdTT = jdT0 + s[k] * kFitHalfHours / 24.0;
        const BesselianElements e =
            ElementsAt(ApparentPlacesAt(jdTT - p.deltaT / kSecondsPerDay, p.deltaT, engine));
        x[k] = e.x;
        y[k] = e.y;
        d[k] = e.d;
        l1[k] = e.l1;
        l2[k] = e.l2;
        // mu runs at 15 degrees an hour through 360: unwrap it. The canon's mu is
        // reckoned from TT: the sidereal angle ran Delta T further.
        mu[k] = e.mu + kSiderealDegreesPerSecond * p.deltaT;
        if (n > 0)
            while (mu[k] < mu[k - 1])
                mu[k] += 360.0;
        if (n == kNodeCount / 2) {
            p.tanF1 = e.tanF1;
            p.tanF2 = e.tanF2;
        }
    }
    p.x = Unscale(FitPolynomial(s, x), kFitHalfHours);
    p.y = Unscale(FitPolynomial(s, y), kFitHalfHours);
    p.d = Unscale(FitPolynomial(s, d), kFitHalfHours);
    p.l1 = Unscale(FitPolynomial(s, l1), kFitHalfHours);
    p.l2 = Unscale(FitPolynomial(s, l2), kFitHalfHours);
    p.mu = Unscale(FitPolynomial(s, mu), kFitHalfHours);
    // The constant term in [0, 360), as the canons print it.
    const double turns = std::floor(p.mu[0] / 360.0) * 360.0;
    p.mu[0] -= turns;
    return p;
}
