#pragma once

// The Besselian elements of one eclipse as cubic polynomials in t = TT hours from
// a whole TT hour t0 near greatest eclipse, in the form published canons print:
// a(t) = a0 + a1 t + a2 t^2 + a3 t^3.
struct PolynomialElements {
    double jdT0 = 0.0;   // Julian day (TT) of the reference instant t0, a whole TT hour
    double t0Hour = 0.0; // t0 as an hour of its TT day, 0..23
    double deltaT = 0.0; // TT - UT used for the eclipse, seconds
    double x0 = 0.0, x1 = 0.0, x2 = 0.0, x3 = 0.0; // Earth equatorial radii (per hour^n)
    double y0 = 0.0, y1 = 0.0, y2 = 0.0, y3 = 0.0;
    double d0 = 0.0, d1 = 0.0, d2 = 0.0;    // axis declination, degrees
    double l10 = 0.0, l11 = 0.0, l12 = 0.0; // penumbral radius on the plane, Earth radii
    double l20 = 0.0, l21 = 0.0, l22 = 0.0; // umbral radius on the plane; < 0: total
    double mu0 = 0.0, mu1 = 0.0;            // ephemeris hour angle of the axis (reckoned from TT),
                                 // degrees; the hour angle at UT is mu - 0.00417807 deltaT
    double tanF1 = 0.0; // tangents of the penumbral and umbral half-angles
    double tanF2 = 0.0;
};

// The elements' values and first derivatives at t (TT hours from t0).
struct ElementsOfT {
    double x = 0.0, y = 0.0, d = 0.0, l1 = 0.0, l2 = 0.0;
    double mu = 0.0;            // ephemeris hour angle, degrees (not reduced)
    double dx = 0.0, dy = 0.0;  // Earth radii per hour
    double dd = 0.0, dmu = 0.0; // degrees per hour
};
ElementsOfT EvaluateElements(const PolynomialElements& p, double t);

// Greatest eclipse, TT hours from t0: the instant at which the shadow axis passes
// closest to the Earth's centre (x x' + y y' = 0), by Newton's method from t0.
double GreatestEclipseHours(const PolynomialElements& p);

// Fits the polynomials by least squares to the elements of the program's theories
// at jdT0 - 4, -2, 0, +2, +4 h (TT), with the Delta T of the instant jdT0 held
// fixed over the eclipse.
PolynomialElements FitPolynomialElements(double jdT0);
