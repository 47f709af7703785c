#pragma once

#include <span>

// Polynomials in time as the eclipse computations use them: coefficients from the
// constant term up, c[0] + c[1] t + c[2] t^2 + ...

// The least-squares polynomial with coefficients.size() terms (1 to
// kMaxFitTerms) through the samples (t[i], values[i]), written into coefficients.
// The samples must number at least as many as the terms and lie about zero within a
// range of about one unit of t (scale t first), where the normal equations are well
// conditioned.
inline constexpr int kMaxFitTerms = 6;
void FitPolynomial(std::span<const double> t, std::span<const double> values,
                   std::span<double> coefficients);

// The value of a polynomial at t, and its first and second derivatives.
double EvaluatePolynomial(std::span<const double> c, double t);
double PolynomialRate(std::span<const double> c, double t);
double PolynomialAcceleration(std::span<const double> c, double t);
