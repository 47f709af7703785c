// Nutation (principal terms of Woolard's theory) and the conversion from
// ecliptic to equatorial coordinates.
#include "ephemeris/constants.h"
#include "ephemeris/theory.h"

#include <cmath>

Nutation NutationAt(const FundamentalArguments& a) {
    const double t = a.t;
    const double node = a.moonNode;
    const double l = a.sunMeanLongitude;
    const double m = a.sunMeanAnomaly;
    const double lMoon = a.moonMeanLongitude;
    const double mMoon = a.moonMeanAnomaly;
    Nutation n;
    n.longitude = (0.2088 + 2e-05 * t) * std::sin(2 * node) -
                  (17.2327 + 0.01737 * t) * std::sin(node) - 1.273 * std::sin(2 * l) -
                  0.2037 * std::sin(2 * lMoon) + 0.0675 * std::sin(mMoon) + 0.126 * std::sin(m) -
                  0.0497 * std::sin(2 * l + m) + 0.0214 * std::sin(2 * l - m);
    n.obliquity = (9.21 + 0.00091 * t) * std::cos(node) -
                  (0.0904 - 4e-05 * t) * std::cos(2 * node) + 0.0884 * std::cos(2 * lMoon) +
                  0.552 * std::cos(2 * l) + 0.0216 * std::cos(2 * l + m) -
                  0.0093 * std::cos(2 * l - m);
    return n;
}

Equatorial EclipticToEquatorial(double lambda, double beta, double eps) {
    const double d =
        std::sin(eps) * std::cos(beta) * std::sin(lambda) + std::cos(eps) * std::sin(beta);
    const double declination = std::asin(std::fmax(-1.0, std::fmin(1.0, d)));
    const double y =
        std::cos(eps) * std::sin(lambda) * std::cos(beta) - std::sin(beta) * std::sin(eps);
    const double x = std::cos(lambda) * std::cos(beta);
    double alpha = std::atan2(y, x);
    if (alpha < 0.0)
        alpha += kTwoPi;
    if (alpha >= kTwoPi) // -0 and tiny negatives round up to 2 pi
        alpha = 0.0;
    return {alpha * 180.0 / kPi, declination * 180.0 / kPi};
}
