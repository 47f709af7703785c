// Newcomb's theory of the Sun, and the fundamental arguments shared with the Moon.
#include "ephemeris/constants.h"
#include "ephemeris/multiples.h"
#include "ephemeris/sun_series.h"
#include "ephemeris/theory.h"
#include "ephemeris/timescales.h"

#include <cmath>
#include <iterator>

namespace {

// A polynomial in T with coefficients in arcseconds.
struct ArgumentPolynomial {
    double c0;
    double c1;
    double c2;
    double c3;
};

// clang-format off
constexpr ArgumentPolynomial kSunMeanLongitude  = {1006908.04, 129602768.13,   1.089,  0.0};
constexpr ArgumentPolynomial kSunMeanAnomaly    = {1290513.0,  129596579.1,   -0.54,  -0.012};
constexpr ArgumentPolynomial kMoonMeanLongitude = {973562.99,  1732564379.31, -4.08,   0.0068};
constexpr ArgumentPolynomial kMoonMeanAnomaly   = {1065976.59, 1717915856.79, 33.09,   0.0518};
constexpr ArgumentPolynomial kMoonNode          = {933059.79,  -6962911.23,    7.48,   0.008};
constexpr ArgumentPolynomial kMoonElongation    = {1262654.95, 1602961611.18, -5.17,   0.0068};
constexpr ArgumentPolynomial kMoonArgLatitude   = {40503.2,    1739527290.54, -11.56, -0.0012};
constexpr ArgumentPolynomial kNodeTermArg       = {990180.0,   -8280.0,        0.0,    0.0};
constexpr ArgumentPolynomial kVenusArg          = {227053.33,  81066394.75,    0.0,    0.0};
constexpr ArgumentPolynomial kJupiterArg        = {797930.71,  118672081.0,    0.0,    0.0};
constexpr ArgumentPolynomial kMarsArg           = {597416.58,  60692650.801,   0.0,    0.0};
constexpr ArgumentPolynomial kSaturnArg         = {695276.28,  125198132.551,  0.0,    0.0};
constexpr ArgumentPolynomial kMeanObliquity     = {84428.26,   -46.845,       -0.0059, 0.00181};
// clang-format on

// The sum of a * cos(phase + m M + k P) over a table: each term's cosine from the
// multiples of M and P and its phase's sine and cosine (computed once per table) as a
// product of complex numbers.
template <std::size_t N> struct Phases {
    double sin[N];
    double cos[N];
};

template <const auto& terms> const auto& PhasesOf() {
    static const auto phases = [] {
        Phases<std::size(terms)> p;
        for (std::size_t i = 0; i < std::size(terms); ++i) {
            p.sin[i] = std::sin(terms[i].phaseDeg * kDegToRad);
            p.cos[i] = std::cos(terms[i].phaseDeg * kDegToRad);
        }
        return p;
    }();
    return phases;
}

template <const auto& terms>
double SumPlanet(const Multiples& meanAnomaly, const Multiples& planet) {
    const auto& phases = PhasesOf<terms>();
    double sum = 0.0;
    for (std::size_t i = 0; i < std::size(terms); ++i) {
        const SunPlanetTerm& t = terms[i];
        const int im = kMaxMultiple + t.m;
        const int ik = kMaxMultiple + t.k;
        const double c =
            meanAnomaly.cos[im] * planet.cos[ik] - meanAnomaly.sin[im] * planet.sin[ik];
        const double s =
            meanAnomaly.sin[im] * planet.cos[ik] + meanAnomaly.cos[im] * planet.sin[ik];
        sum += t.amplitude * (phases.cos[i] * c - phases.sin[i] * s);
    }
    return sum;
}

template <std::size_t N>
double SumLunar(const SunLunarTerm (&terms)[N], double d, double m, double mMoon, bool cosine) {
    double sum = 0.0;
    for (const SunLunarTerm& t : terms) {
        const double arg = NormalizeRadians(t.d * d + t.m * m + t.mMoon * mMoon);
        sum += t.amplitude * (cosine ? std::cos(arg) : std::sin(arg));
    }
    return sum;
}

template <std::size_t N>
double SumLunarLatitude(const SunLunarLatitudeTerm (&terms)[N], double m, double mMoon, double f) {
    double sum = 0.0;
    for (const SunLunarLatitudeTerm& t : terms)
        sum += t.amplitude * std::sin(NormalizeRadians(t.m * m + t.mMoon * mMoon + t.f * f));
    return sum;
}

} // namespace

FundamentalArguments FundamentalArgumentsAt(double jdTheory) {
    FundamentalArguments a;
    const double t = (jdTheory - 2415020.0) * (1.0 / 36525.0);
    const double t2 = t * t;
    const double t3 = t2 * t;
    a.t = t;
    a.t2 = t2;
    a.t3 = t3;
    const auto argument = [&](const ArgumentPolynomial& p) {
        return NormalizeRadians((p.c0 + t * p.c1 + t2 * p.c2 + t3 * p.c3) * kArcsecToRad);
    };
    a.sunMeanLongitude = argument(kSunMeanLongitude);
    a.sunMeanAnomaly = argument(kSunMeanAnomaly);
    a.moonMeanLongitude = argument(kMoonMeanLongitude);
    a.moonMeanAnomaly = argument(kMoonMeanAnomaly);
    a.moonNode = argument(kMoonNode);
    a.moonElongation = argument(kMoonElongation);
    a.moonArgLatitude = argument(kMoonArgLatitude);
    a.nodeTermArg = argument(kNodeTermArg);
    a.venus = argument(kVenusArg);
    a.jupiter = argument(kJupiterArg);
    a.mars = argument(kMarsArg);
    a.saturn = argument(kSaturnArg);
    a.meanObliquity = argument(kMeanObliquity);
    a.eccentricityFactor = 1.0 - 0.0024954 * t - 7.522e-06 * t2;

    // Long-period corrections to the mean arguments (arcseconds).
    const double s1 = std::sin((184320.0 + 72720.0 * t) * kArcsecToRad);
    a.sunMeanLongitude -= 6.4 * s1 * kArcsecToRad;
    a.sunMeanAnomaly -= 6.4 * s1 * kArcsecToRad;
    const double w = 14.27 * std::sin((346.56 + 132.87 * t - 0.0091731 * t2) * kDegToRad);
    const double sinNode = std::sin(a.moonNode);
    a.moonMeanLongitude += (0.84 * s1 + 7.261 * sinNode + w) * kArcsecToRad;
    a.moonMeanAnomaly += (2.94 * s1 + 9.337 * sinNode + w) * kArcsecToRad;
    a.moonNode +=
        (15.58 * std::sin(a.moonNode + a.nodeTermArg) + 95.96 * sinNode + 0.63 * s1) * kArcsecToRad;
    const double node = a.moonNode;
    a.moonElongation += (7.24 * s1 + 7.261 * std::sin(node) + w) * kArcsecToRad;
    a.moonArgLatitude +=
        (0.21 * s1 + w - 88.699 * std::sin(node) - 15.58 * std::sin(node + a.nodeTermArg)) *
        kArcsecToRad;

    // The Moon's equation of the centre and elliptic parallax, from the corrected M'.
    const double mm = a.moonMeanAnomaly;
    a.moonEquationOfCentre =
        (22639.5 * std::sin(mm) + 769.016 * std::sin(2 * mm) + 36.124 * std::sin(3 * mm) +
         1.938 * std::sin(4 * mm) + 0.113 * std::sin(5 * mm)) *
        kArcsecToRad;
    a.moonParallaxElliptic =
        (3422.7 + 186.5398 * std::cos(mm) + 10.1657 * std::cos(2 * mm) + 0.6215 * std::cos(3 * mm) +
         0.0401 * std::cos(4 * mm) + 0.0026 * std::cos(5 * mm)) *
        kArcsecToRad;
    return a;
}

SunEcliptic SunPlace(const FundamentalArguments& a) {
    const double t = a.t;
    const double t2 = a.t2;
    const double a1 = (315.6 + 893.3 * t) * kDegToRad;
    const double a2 = (57.24 + 150.27 * t) * kDegToRad;
    const double a3 = (31.8 + 119.0 * t) * kDegToRad;
    const double longPeriod =
        (0.202 * std::sin(a1) + (1.882 - 0.016 * t) * std::sin(a2) + 0.226 * std::sin(a3)) *
        kArcsecToRad;

    const double meanLongitude = std::fmod(a.sunMeanLongitude + longPeriod, kTwoPi);
    const double m = std::fmod(a.sunMeanAnomaly + longPeriod, kTwoPi);

    const double equationOfCentre =
        ((6910.057 - 17.24 * t - 0.052 * t2) * std::sin(m) +
         (72.338 - 0.361 * t) * std::sin(2 * m) + (1.054 - 0.001 * t) * std::sin(3 * m) +
         0.018 * std::sin(4 * m)) *
        kArcsecToRad;
    const double radiusVector = 1.00014033 - 0.01674928 * std::cos(m) -
                                0.00014027 * std::cos(2 * m) - 1.76e-06 * std::cos(3 * m) -
                                3e-08 * std::cos(4 * m) - 7e-07 * t +
                                (4.179e-05 * t + 1.26e-07 * t2) * std::cos(m) +
                                (1e-08 * std::cos(3 * m) + 7e-07 * std::cos(2 * m)) * t;

    const double d = a.moonElongation;
    const double mMoon = a.moonMeanAnomaly;
    const double f = a.moonArgLatitude;
    const Multiples mk = MultiplesOf(m);
    const Multiples venus = MultiplesOf(a.venus);
    const Multiples mars = MultiplesOf(a.mars);
    const Multiples jupiter = MultiplesOf(a.jupiter);
    const Multiples saturn = MultiplesOf(a.saturn);
    const double longitudePerturbation =
        SumPlanet<kSunLongitudeVenus>(mk, venus) + SumPlanet<kSunLongitudeMars>(mk, mars) +
        SumPlanet<kSunLongitudeJupiter>(mk, jupiter) + SumPlanet<kSunLongitudeSaturn>(mk, saturn) +
        SumLunar(kSunLongitudeMoon, d, m, mMoon, false);
    const double radiusPerturbation = // units of 1e-7 AU
        SumPlanet<kSunRadiusSaturn>(mk, saturn) + SumPlanet<kSunRadiusJupiter>(mk, jupiter) +
        SumPlanet<kSunRadiusMars>(mk, mars) + SumPlanet<kSunRadiusVenus>(mk, venus) +
        SumLunar(kSunRadiusMoon, d, m, mMoon, true);
    const double latitude =
        (SumLunarLatitude(kSunLatitudeMoon, m, mMoon, f) +
         SumPlanet<kSunLatitudeJupiter>(mk, jupiter) + SumPlanet<kSunLatitudeVenus>(mk, venus)) *
        kArcsecToRad;

    // Annual aberration: -20.47" and its small variation with the anomaly.
    const double longitude = meanLongitude + longitudePerturbation * kArcsecToRad;
    SunEcliptic sun;
    sun.longitude =
        (equationOfCentre + longitude - 20.47 * kArcsecToRad - 0.342 * kArcsecToRad * std::cos(m)) *
        180.0 / kPi;
    sun.latitude = latitude * 180.0 / kPi;
    sun.distance = radiusVector + 1.0e-6 * radiusPerturbation * 0.1;
    return sun;
}
