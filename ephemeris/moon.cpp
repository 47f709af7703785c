// The Moon from the principal terms of Brown's lunar theory.
#include "ephemeris/constants.h"
#include "ephemeris/moon_series.h"
#include "ephemeris/multiples.h"
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

struct LunarMultiples {
    Multiples d, m, mMoon, f;
};

// The sine (or cosine) of a term's argument: the product of its multiples as complex
// numbers; the few planetary terms, with a phase, directly.
double Periodic(const LunarTerm& t, const LunarArguments& a, const LunarMultiples& k, bool cosine) {
    if (t.venus != 0 || t.jupiter != 0 || t.phaseDeg != 0.0) {
        const double arg =
            NormalizeRadians(t.d * a.d + t.m * a.m + t.mMoon * a.mMoon + t.f * a.f +
                             t.phaseDeg * kDegToRad + t.venus * a.venus + t.jupiter * a.jupiter);
        return cosine ? std::cos(arg) : std::sin(arg);
    }
    const int id = kMaxMultiple + t.d;
    const int im = kMaxMultiple + t.m;
    const int iMoon = kMaxMultiple + t.mMoon;
    const int iF = kMaxMultiple + t.f;
    // (d)(m): cos and sin of d D + m M, then times M' and F.
    double c = k.d.cos[id] * k.m.cos[im] - k.d.sin[id] * k.m.sin[im];
    double s = k.d.sin[id] * k.m.cos[im] + k.d.cos[id] * k.m.sin[im];
    double c2 = c * k.mMoon.cos[iMoon] - s * k.mMoon.sin[iMoon];
    double s2 = s * k.mMoon.cos[iMoon] + c * k.mMoon.sin[iMoon];
    c = c2 * k.f.cos[iF] - s2 * k.f.sin[iF];
    s = s2 * k.f.cos[iF] + c2 * k.f.sin[iF];
    return cosine ? c : s;
}

template <std::size_t N>
double SumSines(const LunarTerm (&terms)[N], const LunarArguments& a, const LunarMultiples& k) {
    double sum = 0.0;
    for (const LunarTerm& t : terms)
        sum += t.amplitude * Periodic(t, a, k, false);
    return sum;
}

template <std::size_t N>
double SumCosines(const LunarTerm (&terms)[N], const LunarArguments& a, const LunarMultiples& k) {
    double sum = 0.0;
    for (const LunarTerm& t : terms)
        sum += t.amplitude * Periodic(t, a, k, true);
    return sum;
}

} // namespace

MoonEcliptic MoonPlace(const FundamentalArguments& f) {
    const LunarArguments a = {f.moonElongation,  f.sunMeanAnomaly, f.moonMeanAnomaly,
                              f.moonArgLatitude, f.venus,          f.jupiter};
    const LunarMultiples k = {MultiplesOf(a.d), MultiplesOf(a.m), MultiplesOf(a.mMoon),
                              MultiplesOf(a.f)};
    const double e = f.eccentricityFactor;
    MoonEcliptic moon;

    const double longitude1 = SumSines(kMoonLongitude1, a, k) * kArcsecToRad;
    const double longitude2 = e * SumSines(kMoonLongitude2, a, k) * kArcsecToRad;
    const double longitude3 = e * e * SumSines(kMoonLongitude3, a, k) * kArcsecToRad;
    moon.longitude =
        (f.moonEquationOfCentre + f.moonMeanLongitude + longitude3 + longitude2 + longitude1) *
        180.0 / kPi;

    // The first latitude term's amplitude varies with F: 18467.779 - 25.196 cos^2 F.
    const double cosF = std::cos(a.f);
    const double variablePart = -25.196 * cosF * cosF * std::sin(NormalizeRadians(a.f));
    const double latitude1 = (SumSines(kMoonLatitude1, a, k) + variablePart) * kArcsecToRad;
    const double latitude2 = e * SumSines(kMoonLatitude2, a, k) * kArcsecToRad;
    const double latitude3 = e * e * SumSines(kMoonLatitude3, a, k) * kArcsecToRad;
    const double factor1 = -0.0004664 * std::cos(f.moonNode);
    const double factor2 = -7.54e-05 * std::cos(f.moonNode + f.nodeTermArg);
    moon.latitude =
        (latitude3 + latitude2 + latitude1) * (1.0 + factor2) * (1.0 + factor1) * 180.0 / kPi;

    const double parallax1 = SumCosines(kMoonParallax1, a, k) * kArcsecToRad;
    const double parallax2 = e * SumCosines(kMoonParallax2, a, k) * kArcsecToRad;
    const double parallax3 = e * e * SumCosines(kMoonParallax3, a, k) * kArcsecToRad;
    moon.parallax = (parallax3 + f.moonParallaxElliptic + parallax2 + parallax1) * 180.0 / kPi;
    return moon;
}
