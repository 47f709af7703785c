// Nutation (principal terms of Woolard's theory), the true obliquity, and the
// conversion from ecliptic to equatorial coordinates.
#include "ephemeris/ephemeris.h"

#include <cmath>

void CEphemeris::ComputeNutation() {
    const double t = m_T;
    const double node = m_moonNode;
    const double l = m_sunMeanLongitude;
    const double m = m_sunMeanAnomaly;
    const double lMoon = m_moonMeanLongitude;
    const double mMoon = m_moonMeanAnomaly;
    m_nutationLongitude =
        (0.2088 + 2e-05 * t) * std::sin(2 * node) - (17.2327 + 0.01737 * t) * std::sin(node) -
        1.273 * std::sin(2 * l) - 0.2037 * std::sin(2 * lMoon) + 0.0675 * std::sin(mMoon) +
        0.126 * std::sin(m) - 0.0497 * std::sin(2 * l + m) + 0.0214 * std::sin(2 * l - m);
    m_nutationObliquity = (9.21 + 0.00091 * t) * std::cos(node) -
                          (0.0904 - 4e-05 * t) * std::cos(2 * node) + 0.0884 * std::cos(2 * lMoon) +
                          0.552 * std::cos(2 * l) + 0.0216 * std::cos(2 * l + m) -
                          0.0093 * std::cos(2 * l - m);
}

void CEphemeris::ApplyNutationToMoon() {
    m_moonLongitudeDeg += m_nutationLongitude / 3600.0;
    m_trueObliquityDeg = m_meanObliquity * 180.0 / m_pi + m_nutationObliquity / 3600.0;
    m_convLongitude = m_moonLongitudeDeg * m_pi / 180.0;
    m_convLatitude = m_moonLatitudeDeg * m_pi / 180.0;
    m_convObliquity = m_trueObliquityDeg * m_pi / 180.0;
}

void CEphemeris::EclipticToEquatorial() {
    const double lambda = m_convLongitude;
    const double beta = m_convLatitude;
    const double eps = m_convObliquity;
    const double d =
        std::sin(eps) * std::cos(beta) * std::sin(lambda) + std::cos(eps) * std::sin(beta);
    const double declination = std::asin(std::fmax(-1.0, std::fmin(1.0, d)));
    const double y =
        std::cos(eps) * std::sin(lambda) * std::cos(beta) - std::sin(beta) * std::sin(eps);
    const double x = std::cos(lambda) * std::cos(beta);
    double alpha = std::atan2(y, x);
    if (alpha < 0.0)
        alpha += m_pi + m_pi;
    if (alpha >= m_pi + m_pi) // -0 and tiny negatives round up to 2 pi
        alpha = 0.0;
    m_convDeclination = declination * 180.0 / m_pi;
    m_convRightAscension = alpha * 180.0 / m_pi;
}
