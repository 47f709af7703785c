#pragma once

#include <array>
#include <span>

// The least-squares polynomial of the given degree (0 to 3) through samples
// (hours[i], values[i]); coefficients from the constant term up, the unused ones
// zero. The samples must number more than the degree and lie symmetric about
// zero within a few hours, where the normal equations are well conditioned.
std::array<double, 4> FitPolynomial(std::span<const double> hours, std::span<const double> values,
                                    int degree);

// The value and the first derivative of such a polynomial at t.
double EvaluatePolynomial(const std::array<double, 4>& c, double t);
double PolynomialRate(const std::array<double, 4>& c, double t);
