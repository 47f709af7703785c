#include "eclipse/polynomial_fit.h"

#include <cmath>
#include <utility>

// Normal equations, solved by Gaussian elimination with partial pivoting (at most
// 4 x 4).
std::array<double, 4> FitPolynomial(std::span<const double> hours, std::span<const double> values,
                                    int degree) {
    const int n = degree + 1;
    double m[4][5] = {};
    for (std::size_t s = 0; s < hours.size() && s < values.size(); ++s) {
        double powers[7] = {1.0};
        for (int k = 1; k < 7; ++k)
            powers[k] = powers[k - 1] * hours[s];
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

double EvaluatePolynomial(const std::array<double, 4>& c, double t) {
    return c[0] + t * (c[1] + t * (c[2] + t * c[3]));
}

double PolynomialRate(const std::array<double, 4>& c, double t) {
    return c[1] + t * (2.0 * c[2] + 3.0 * t * c[3]);
}
