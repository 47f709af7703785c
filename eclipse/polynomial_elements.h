#pragma once

#include "eclipse/polynomial_fit.h"
#include "ephemeris/engine.h"

#include <array>

// The Besselian elements of one eclipse as polynomials in t = TT hours from a
// whole TT hour t0 near greatest eclipse: a(t) = a[0] + a[1] t + a[2] t^2 + ...
// A canon's published cubics fill the first four terms (the rest stay zero);
// the program's own fit fills all of them. The hour angle mu is an ephemeris
// hour angle, reckoned from TT, as the canons print it.
inline constexpr int kElementTerms = 6;
using ElementPolynomial = std::array<double, kElementTerms>;

struct PolynomialElements {
    double jdT0 = 0.0;            // Julian day (TT) of the reference instant t0, a whole TT hour
    double t0Hour = 0.0;          // t0 as an hour of its TT day, 0..23
    double deltaT = 0.0;          // TT - UT used for the eclipse, seconds
    ElementPolynomial x{}, y{};   // the axis on the fundamental plane, Earth equatorial radii
    ElementPolynomial d{};        // declination of the axis, degrees
    ElementPolynomial l1{}, l2{}; // penumbral and umbral radii on the plane; l2 < 0: total
    ElementPolynomial mu{};       // ephemeris hour angle of the axis, degrees (unwrapped)
    double tanF1 = 0.0;           // tangents of the penumbral and umbral half-angles
    double tanF2 = 0.0;
};

// The elements' values and first derivatives at t (TT hours from t0).
struct ElementsOfT {
    double x = 0.0, y = 0.0, d = 0.0, l1 = 0.0, l2 = 0.0;
    double mu = 0.0;            // ephemeris hour angle, degrees (not reduced)
    double dx = 0.0, dy = 0.0;  // Earth radii per hour
    double dd = 0.0, dmu = 0.0; // degrees per hour
    double dl1 = 0.0, dl2 = 0.0;
};
ElementsOfT EvaluateElements(const PolynomialElements& p, double t);

// The Greenwich hour angle reckoned from UT of an ephemeris hour angle mu (degrees):
// the Earth has turned Delta T less than the TT clock says.
double HourAngleFromUT(const PolynomialElements& p, double mu);

// Julian day (UT) of t TT hours from t0, and back.
double ElementsTimeToJdUT(const PolynomialElements& p, double t);
double JdUTToElementsTime(const PolynomialElements& p, double jdUT);

// The same polynomials about another whole TT hour jdT0 (the terms re-expanded; no
// evaluation of the theories), for elements that are to be read from there.
PolynomialElements RecentredElements(const PolynomialElements& p, double jdT0);

// Greatest eclipse, TT hours from t0: the instant at which the shadow axis passes
// closest to the Earth's centre (x x' + y y' = 0), by Newton's method from t0.
double GreatestEclipseHours(const PolynomialElements& p);

// The half-width of the fit's window, hours either side of t0: the elements are
// good to 1e-7 Earth radii within it.
inline constexpr double kFitHalfHours = 4.5;

// Fits the polynomials by least squares to the elements of the engine's theories
// at seven instants over jdT0 +- kFitHalfHours (TT, the extrema of a Chebyshev
// polynomial, so that the error stays even over the window), with the Delta T of
// the instant jdT0 held fixed over the eclipse. The precise engine is evaluated at
// four of them, the classic one, corrected by the precise, at the other three.
PolynomialElements FitPolynomialElements(double jdT0, Ephemeris engine);
