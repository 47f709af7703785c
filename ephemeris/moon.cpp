// The Moon from the principal terms of Brown's lunar theory.
#include "ephemeris/ephemeris.h"
#include "ephemeris/moon_series.h"
#include "ephemeris/timescales.h"

#include <cmath>

namespace {

constexpr double kArcsecToRad = 4.84813681109536e-06;
constexpr double kDegToRad = 0.017453292519943295;

struct LunarArguments {
    double d;
    double m;
    double mMoon;
    double f;
    double venus;
    double jupiter;
};

double Argument(const LunarTerm& t, const LunarArguments& a) {
    return NormalizeRadians(t.d * a.d + t.m * a.m + t.mMoon * a.mMoon + t.f * a.f +
                            t.phaseDeg * kDegToRad + t.venus * a.venus + t.jupiter * a.jupiter);
}

template <std::size_t N> double SumSines(const LunarTerm (&terms)[N], const LunarArguments& a) {
    double sum = 0.0;
    for (const LunarTerm& t : terms)
        sum += t.amplitude * std::sin(Argument(t, a));
    return sum;
}

template <std::size_t N> double SumCosines(const LunarTerm (&terms)[N], const LunarArguments& a) {
    double sum = 0.0;
    for (const LunarTerm& t : terms)
        sum += t.amplitude * std::cos(Argument(t, a));
    return sum;
}

LunarArguments ArgumentsOf(const CEphemeris& e) {
    return {e.m_moonElongation,  e.m_sunMeanAnomaly, e.m_moonMeanAnomaly,
            e.m_moonArgLatitude, e.m_venusArg,       e.m_jupiterArg};
}

} // namespace

void CEphemeris::ComputeMoonLatitudeFactors() {
    m_moonLatFactor1 = -0.0004664 * std::cos(m_moonNode);
    m_moonLatFactor2 = -7.54e-05 * std::cos(m_moonNode + m_nodeTermArg);
}

void CEphemeris::ComputeMoonLongitude() {
    const LunarArguments a = ArgumentsOf(*this);
    const double e = m_eccentricityFactor;
    const double sum1 = SumSines(kMoonLongitude1, a) * kArcsecToRad;
    const double sum2 = e * SumSines(kMoonLongitude2, a) * kArcsecToRad;
    const double sum3 = e * e * SumSines(kMoonLongitude3, a) * kArcsecToRad;
    m_moonLongitudeDeg =
        (m_moonEquationOfCentre + m_moonMeanLongitude + sum3 + sum2 + sum1) * 180.0 / m_pi;
}

void CEphemeris::ComputeMoonLatitude() {
    const LunarArguments a = ArgumentsOf(*this);
    const double e = m_eccentricityFactor;
    // The first term's amplitude varies with F: 18467.779 - 25.196 cos^2 F.
    const double cosF = std::cos(a.f);
    const double variablePart = -25.196 * cosF * cosF * std::sin(NormalizeRadians(a.f));
    const double sum1 = (SumSines(kMoonLatitude1, a) + variablePart) * kArcsecToRad;
    const double sum2 = e * SumSines(kMoonLatitude2, a) * kArcsecToRad;
    const double sum3 = e * e * SumSines(kMoonLatitude3, a) * kArcsecToRad;
    m_moonLatitudeDeg =
        (sum3 + sum2 + sum1) * (1.0 + m_moonLatFactor2) * (1.0 + m_moonLatFactor1) * 180.0 / m_pi;
}

void CEphemeris::ComputeMoonParallax() {
    const LunarArguments a = ArgumentsOf(*this);
    const double e = m_eccentricityFactor;
    const double sum1 = SumCosines(kMoonParallax1, a) * kArcsecToRad;
    const double sum2 = e * SumCosines(kMoonParallax2, a) * kArcsecToRad;
    const double sum3 = e * e * SumCosines(kMoonParallax3, a) * kArcsecToRad;
    m_moonParallaxDeg = (sum3 + m_moonParallaxElliptic + sum2 + sum1) * 180.0 / m_pi;
}
