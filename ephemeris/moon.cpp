// The Moon from the principal terms of Brown's lunar theory.
#include "ephemeris/constants.h"
#include "ephemeris/moon_series.h"
#include "ephemeris/theory.h"
#include "ephemeris/timescales.h"

#include <cmath>

namespace {

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

} // namespace

MoonEcliptic MoonPlace(const FundamentalArguments& f) {
    const LunarArguments a = {f.moonElongation,  f.sunMeanAnomaly, f.moonMeanAnomaly,
                              f.moonArgLatitude, f.venus,          f.jupiter};
    const double e = f.eccentricityFactor;
    MoonEcliptic moon;

    const double longitude1 = SumSines(kMoonLongitude1, a) * kArcsecToRad;
    const double longitude2 = e * SumSines(kMoonLongitude2, a) * kArcsecToRad;
    const double longitude3 = e * e * SumSines(kMoonLongitude3, a) * kArcsecToRad;
    moon.longitude =
        (f.moonEquationOfCentre + f.moonMeanLongitude + longitude3 + longitude2 + longitude1) *
        180.0 / kPi;

    // The first latitude term's amplitude varies with F: 18467.779 - 25.196 cos^2 F.
    const double cosF = std::cos(a.f);
    const double variablePart = -25.196 * cosF * cosF * std::sin(NormalizeRadians(a.f));
    const double latitude1 = (SumSines(kMoonLatitude1, a) + variablePart) * kArcsecToRad;
    const double latitude2 = e * SumSines(kMoonLatitude2, a) * kArcsecToRad;
    const double latitude3 = e * e * SumSines(kMoonLatitude3, a) * kArcsecToRad;
    const double factor1 = -0.0004664 * std::cos(f.moonNode);
    const double factor2 = -7.54e-05 * std::cos(f.moonNode + f.nodeTermArg);
    moon.latitude =
        (latitude3 + latitude2 + latitude1) * (1.0 + factor2) * (1.0 + factor1) * 180.0 / kPi;

    const double parallax1 = SumCosines(kMoonParallax1, a) * kArcsecToRad;
    const double parallax2 = e * SumCosines(kMoonParallax2, a) * kArcsecToRad;
    const double parallax3 = e * e * SumCosines(kMoonParallax3, a) * kArcsecToRad;
    moon.parallax = (parallax3 + f.moonParallaxElliptic + parallax2 + parallax1) * 180.0 / kPi;
    return moon;
}
