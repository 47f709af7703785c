#include "eclipse/polynomial_fit.h"

#include <cmath>
#include <cstddef>
#include <utility>

// The normal equations, solved by Gaussian elimination with partial pivoting.
void FitPolynomial(std::span<const double> t, std::span<const double> values,
                   std::span<double> coefficients) {
    const int n = static_cast<int>(coefficients.size());
    if (n < 1 || n > kMaxFitTerms)
        return;
    double m[kMaxFitTerms][kMaxFitTerms + 1] = {};
    for (std::size_t s = 0; s < t.size() && s < values.size(); ++s) {
        double powers[2 * kMaxFitTerms - 1] = {1.0};
        for (int k = 1; k < 2 * n - 1; ++k)
            powers[k] = powers[k - 1] * t[s];
        for (int r = 0; r < n; ++r) {
            for (int c = 0; c < n; ++c)
                m[r][c] += powers[r + c];
            m[r][n] += powers[r] * values[s];
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
    for (int r = n - 1; r >= 0; --r) {
        double sum = m[r][n];
        for (int c = r + 1; c < n; ++c)
            sum -= m[r][c] * coefficients[static_cast<std::size_t>(c)];
        coefficients[static_cast<std::size_t>(r)] = sum / m[r][r];
    }
}

double EvaluatePolynomial(std::span<const double> c, double t) {
    double v = 0.0;
    for (std::size_t k = c.size(); k-- > 0;)
        v = v * t + c[k];
    return v;
}

double PolynomialRate(std::span<const double> c, double t) {
    double v = 0.0;
    for (std::size_t k = c.size(); k-- > 1;)
        v = v * t + static_cast<double>(k) * c[k];
    return v;
}

double PolynomialAcceleration(std::span<const double> c, double t) {
    double v = 0.0;
    for (std::size_t k = c.size(); k-- > 2;)
        v = v * t + static_cast<double>(k * (k - 1)) * c[k];
    return v;
}
