#include "eclipse/lunar.h"

#include "eclipse/finder.h"
#include "eclipse/path_geometry.h"
#include "eclipse/polynomial_fit.h"
#include "eclipse/saros.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"
#include "ephemeris/sidereal.h"

#include <cmath>

namespace {

constexpr int kSampleCount = 5;
constexpr std::array<double, kSampleCount> kSampleHours = {-4.0, -2.0, 0.0, 2.0, 4.0};

// The Earth's radius at 45 degrees of latitude over its equatorial radius: the
// traditional rules take the shadow of a sphere of that radius.
constexpr double kMeanRadiusFactor = 0.998340;
constexpr double kChauvenetEnlargement = 1.0 + 1.0 / 50.0;
constexpr double kDanjonEnlargement = 1.0 + 1.0 / 85.0;

// Shadow radii at the Moon as angles from the Earth's centre, radians.
struct ShadowAngles {
    double penumbra = 0.0;
    double umbra = 0.0;
};

ShadowAngles ShadowAnglesOf(const ApparentPlaces& p, ShadowRule rule) {
    const double moonParallax = p.moonParallax * kDegToRad;
    const double sunKm = p.sunDistance * kAuKm;
    const double sunParallax = std::asin(kEarthRadiusKm / sunKm);
    const double sunRadius = std::asin(kSunRadiusKm / sunKm);
    const double earth = kMeanRadiusFactor * moonParallax;
    if (rule == ShadowRule::Danjon)
        return {kDanjonEnlargement * earth + sunParallax + sunRadius,
                kDanjonEnlargement * earth + sunParallax - sunRadius};
    return {kChauvenetEnlargement * (earth + sunParallax + sunRadius),
            kChauvenetEnlargement * (earth + sunParallax - sunRadius)};
}

// The fitted quantities of one instant: x, y, the penumbra's and the umbra's radii,
// the Moon's right ascension (continued from referenceRA), declination and parallax,
// and the degree of each one's polynomial.
constexpr std::size_t kElementCount = 7;
using ElementSample = std::array<double, kElementCount>;
constexpr std::array<int, kElementCount> kElementDegrees = {3, 3, 2, 2, 3, 3, 2};

// +- 4 h / sqrt 2: the zeros of the second Chebyshev polynomial over the window.
constexpr std::array<double, 2> kCorrectionHours = {-2.8284271247461903, 2.8284271247461903};

ElementSample SampleOf(const ApparentPlaces& p, ShadowRule rule, double referenceRA) {
    // The Moon's unit vector resolved on the plane perpendicular to the shadow axis
    // (the antisolar direction): its length is the sine of the Moon's distance from
    // the axis.
    const double dm = p.moonDec * kDegToRad;
    const double da = -p.sunDec * kDegToRad;
    const double h = (p.moonRA - p.sunRA - 180.0) * kDegToRad;
    const double sinParallax = std::sin(p.moonParallax * kDegToRad);
    const ShadowAngles a = ShadowAnglesOf(p, rule);
    return {std::cos(dm) * std::sin(h) / sinParallax,
            (std::sin(dm) * std::cos(da) - std::cos(dm) * std::sin(da) * std::cos(h)) / sinParallax,
            std::sin(a.penumbra) / sinParallax,
            std::sin(a.umbra) / sinParallax,
            referenceRA + path_geometry::ReduceLongitude(p.moonRA - referenceRA),
            p.moonDec,
            p.moonParallax};
}

double DeltaTForTT(double jdTT, Ephemeris engine) {
    double deltaT = DeltaTSeconds(jdTT, engine);
    for (int i = 0; i < 2; ++i)
        deltaT = DeltaTSeconds(jdTT - deltaT / kSecondsPerDay, engine);
    return deltaT;
}

double NearestWholeHour(double jdTT) {
    return std::round((jdTT - 0.5) * 24.0) / 24.0 + 0.5;
}

// The Moon's distance from the shadow axis at t, Earth radii.
double AxisDistance(const LunarElements& e, double t) {
    return std::hypot(EvaluatePolynomial(e.x, t), EvaluatePolynomial(e.y, t));
}

// Greatest eclipse: x x' + y y' = 0, by Newton's method from t0.
double GreatestHours(const LunarElements& e) {
    double t = 0.0;
    for (int i = 0; i < 10; ++i) {
        const double x = EvaluatePolynomial(e.x, t), y = EvaluatePolynomial(e.y, t);
        const double dx = PolynomialRate(e.x, t), dy = PolynomialRate(e.y, t);
        const double ddx = 2.0 * e.x[2] + 6.0 * t * e.x[3];
        const double ddy = 2.0 * e.y[2] + 6.0 * t * e.y[3];
        const double dg = dx * dx + dy * dy + x * ddx + y * ddy;
        if (!(dg > 0.0))
            break;
        const double step = (x * dx + y * dy) / dg;
        t -= step;
        if (std::fabs(step) < 1e-10)
            break;
    }
    return t;
}

// The instant (hours from t0) at which the Moon's centre, moving away from greatest
// eclipse tg in the direction `side` (-1 before, +1 after), reaches the distance
// edge(t) from the axis; none when it is not inside that edge at tg. Newton steps kept
// within a bracket that bisection narrows.
std::optional<double> EdgeCrossing(const LunarElements& e, double tg, int side,
                                   double (*edge)(const LunarElements&, double)) {
    const auto f = [&](double t) { return AxisDistance(e, t) - edge(e, t); };
    if (!(f(tg) < 0.0))
        return std::nullopt;
    double inside = tg;
    double outside = tg + side * 5.0;
    if (!(f(outside) > 0.0))
        return std::nullopt;
    double t = 0.5 * (inside + outside);
    for (int i = 0; i < 60; ++i) {
        const double value = f(t);
        (value > 0.0 ? outside : inside) = t;
        const double h = 1e-4;
        const double slope = (f(t + h) - f(t - h)) / (2.0 * h);
        double next = t - value / slope;
        const bool inBracket = (next - inside) * (next - outside) < 0.0;
        if (!inBracket || !std::isfinite(next))
            next = 0.5 * (inside + outside);
        if (std::fabs(next - t) < 1e-8)
            return next;
        t = next;
    }
    return t;
}

double PenumbraOuter(const LunarElements& e, double t) {
    return EvaluatePolynomial(e.penumbra, t) + kLunarRadius;
}
double UmbraOuter(const LunarElements& e, double t) {
    return EvaluatePolynomial(e.umbra, t) + kLunarRadius;
}
double UmbraInner(const LunarElements& e, double t) {
    return EvaluatePolynomial(e.umbra, t) - kLunarRadius;
}

double ToJdUT(const LunarElements& e, double t) {
    return e.jdT0 + t / 24.0 - e.deltaT / kSecondsPerDay;
}

std::optional<LunarEclipse> EclipseOf(const LunarElements& e, int lunation) {
    const double tg = GreatestHours(e);
    const double m = AxisDistance(e, tg);
    const double penumbra = EvaluatePolynomial(e.penumbra, tg);
    const double umbra = EvaluatePolynomial(e.umbra, tg);
    LunarEclipse c;
    c.penumbralMagnitude = (penumbra + kLunarRadius - m) / (2.0 * kLunarRadius);
    if (!(c.penumbralMagnitude > 0.0))
        return std::nullopt;
    c.umbralMagnitude = (umbra + kLunarRadius - m) / (2.0 * kLunarRadius);
    c.kind = c.umbralMagnitude >= 1.0  ? EclipseKind::Total
             : c.umbralMagnitude > 0.0 ? EclipseKind::Partial
                                       : EclipseKind::Penumbral;
    c.lunation = lunation;
    c.saros = SarosSeries(lunation, kLunarSarosReference);
    c.elements = e;
    c.deltaT = e.deltaT;
    c.jdGreatestTT = e.jdT0 + tg / 24.0;
    c.jdGreatestUT = ToJdUT(e, tg);
    c.deltaTUncertainty = DeltaTUncertaintySeconds(c.jdGreatestUT);
    c.gamma = EvaluatePolynomial(e.y, tg) < 0.0 ? -m : m;

    const auto contact = [&](int side, double (*edge)(const LunarElements&, double)) {
        const std::optional<double> t = EdgeCrossing(e, tg, side, edge);
        return t ? std::optional<double>(ToJdUT(e, *t)) : std::nullopt;
    };
    LunarContacts& k = c.contacts;
    k.p1 = contact(-1, PenumbraOuter);
    k.p4 = contact(+1, PenumbraOuter);
    k.u1 = contact(-1, UmbraOuter);
    k.u4 = contact(+1, UmbraOuter);
    k.u2 = contact(-1, UmbraInner);
    k.u3 = contact(+1, UmbraInner);
    const auto seconds = [](const std::optional<double>& a, const std::optional<double>& b) {
        return a && b ? (*b - *a) * kSecondsPerDay : 0.0;
    };
    c.penumbralDurationS = seconds(k.p1, k.p4);
    c.partialDurationS = seconds(k.u1, k.u4);
    c.totalDurationS = seconds(k.u2, k.u3);

    const MoonGeocentric moon = LunarMoonAt(e, c.jdGreatestUT);
    c.sublunarLat = moon.dec;
    c.sublunarLon = moon.sublunarLon;
    return c;
}

constexpr int kSearchLunations = 30;

} // namespace

std::string_view ShadowRuleName(ShadowRule rule) {
    return rule == ShadowRule::Danjon ? "danjon" : "chauvenet";
}

std::optional<ShadowRule> ParseShadowRule(std::string_view name) {
    if (name == "chauvenet")
        return ShadowRule::Chauvenet;
    if (name == "danjon")
        return ShadowRule::Danjon;
    return std::nullopt;
}

namespace {

// A theory's places at t TT hours from t0, with the elements' Delta T.
ApparentPlaces PlacesAt(const LunarElements& e, double hours, Ephemeris theory) {
    return ApparentPlacesAt(e.jdT0 + hours / 24.0 - e.deltaT / kSecondsPerDay, e.deltaT, theory);
}

// The elements' shape over the window from the classic theories, which cost a
// tenth of the precise ones.
LunarElements ClassicShape(double jdT0, Ephemeris engine, ShadowRule rule) {
    LunarElements e;
    e.jdT0 = jdT0;
    e.engine = engine;
    e.rule = rule;
    e.deltaT = DeltaTForTT(jdT0, engine);
    std::array<ElementSample, kSampleCount> samples{};
    double referenceRA = 0.0;
    for (std::size_t s = 0; s < kSampleCount; ++s) {
        const ApparentPlaces p = PlacesAt(e, kSampleHours[s], Ephemeris::Classic);
        if (s == 0)
            referenceRA = p.moonRA;
        samples[s] = SampleOf(p, rule, referenceRA);
    }
    e.referenceRA = referenceRA;
    std::array<Cubic*, kElementCount> fitted = {&e.x,      &e.y,       &e.penumbra,    &e.umbra,
                                                &e.moonRA, &e.moonDec, &e.moonParallax};
    for (std::size_t q = 0; q < kElementCount; ++q) {
        std::array<double, kSampleCount> values{};
        for (std::size_t s = 0; s < kSampleCount; ++s)
            values[s] = samples[s][q];
        *fitted[q] = {};
        FitPolynomial(kSampleHours, values,
                      std::span<double>(*fitted[q]).first(kElementDegrees[q] + 1));
    }
    return e;
}

// The classic shape moved onto the engine's places.
void MoveOntoEngine(LunarElements& e) {
    if (e.engine == Ephemeris::Classic)
        return;
    std::array<Cubic*, kElementCount> fitted = {&e.x,      &e.y,       &e.penumbra,    &e.umbra,
                                                &e.moonRA, &e.moonDec, &e.moonParallax};
    // The precise theories differ from the classic ones by terms of periods of days
    // and longer, a straight line over the window (its curvature moves the Moon by
    // less than 0.05"): it is taken through the engine's places at two instants, the
    // nodes that make the line's greatest error over the window least.
    std::array<ElementSample, 2> difference{};
    for (std::size_t n = 0; n < 2; ++n) {
        const ElementSample precise =
            SampleOf(PlacesAt(e, kCorrectionHours[n], e.engine), e.rule, e.referenceRA);
        for (std::size_t q = 0; q < kElementCount; ++q)
            difference[n][q] = precise[q] - EvaluatePolynomial(*fitted[q], kCorrectionHours[n]);
    }
    for (std::size_t q = 0; q < kElementCount; ++q) {
        const double slope =
            (difference[1][q] - difference[0][q]) / (kCorrectionHours[1] - kCorrectionHours[0]);
        (*fitted[q])[0] += difference[0][q] - slope * kCorrectionHours[0];
        (*fitted[q])[1] += slope;
    }
}

} // namespace

LunarElements FitLunarElements(double jdT0, Ephemeris engine, ShadowRule rule) {
    LunarElements e = ClassicShape(jdT0, engine, rule);
    MoveOntoEngine(e);
    return e;
}

MoonGeocentric LunarMoonAt(const LunarElements& e, double jdUT) {
    const double t = ((jdUT - e.jdT0) * kSecondsPerDay + e.deltaT) / 3600.0;
    MoonGeocentric m;
    m.ra = std::fmod(EvaluatePolynomial(e.moonRA, t) + 720.0, 360.0);
    m.dec = EvaluatePolynomial(e.moonDec, t);
    m.parallax = EvaluatePolynomial(e.moonParallax, t);
    m.sublunarLon =
        path_geometry::ReduceLongitude(m.ra - kHoursToDeg * GreenwichSiderealHours(jdUT));
    return m;
}

std::optional<LunarEclipse> LunarEclipseOfLunation(int lunation, Ephemeris engine,
                                                   ShadowRule rule) {
    const LunationEstimate estimate = EstimateFullMoon(lunation);
    if (!estimate.nearNode)
        return std::nullopt;
    double jdT0 = NearestWholeHour(estimate.jdTT);
    LunarElements e = ClassicShape(jdT0, engine, rule);
    // Re-centre the polynomials when greatest eclipse lies beyond the next hour.
    for (int i = 0; i < 2; ++i) {
        const double nearest = NearestWholeHour(jdT0 + GreatestHours(e) / 24.0);
        if (std::fabs(nearest - jdT0) < 0.5 / 24.0)
            break;
        jdT0 = nearest;
        e = ClassicShape(jdT0, engine, rule);
    }
    // The theories differ by far less than this in the Moon's distance from the axis
    // (Earth radii): beyond it the Moon misses the penumbra in either.
    constexpr double kTheoryMargin = 0.01;
    const double tg = GreatestHours(e);
    if (AxisDistance(e, tg) > EvaluatePolynomial(e.penumbra, tg) + kLunarRadius + kTheoryMargin)
        return std::nullopt;
    MoveOntoEngine(e);
    return EclipseOf(e, lunation);
}

std::vector<LunarEclipse> LunarEclipsesBetween(double jdFromUT, double jdToUT, Ephemeris engine,
                                               ShadowRule rule) {
    std::vector<LunarEclipse> found;
    if (!(jdFromUT < jdToUT))
        return found;
    const int first = LunationNear(jdFromUT) - 1;
    const int last = LunationNear(jdToUT) + 1;
    for (int k = first; k <= last; ++k) {
        const std::optional<LunarEclipse> c = LunarEclipseOfLunation(k, engine, rule);
        if (c && c->jdGreatestUT >= jdFromUT && c->jdGreatestUT < jdToUT)
            found.push_back(*c);
    }
    return found;
}

std::optional<LunarEclipse> NextLunarEclipse(double jdUT, Ephemeris engine, ShadowRule rule) {
    const int start = LunationNear(jdUT) - 1;
    for (int k = start; k < start + kSearchLunations; ++k) {
        const std::optional<LunarEclipse> c = LunarEclipseOfLunation(k, engine, rule);
        if (c && c->jdGreatestUT > jdUT)
            return c;
    }
    return std::nullopt;
}

std::optional<LunarEclipse> PreviousLunarEclipse(double jdUT, Ephemeris engine, ShadowRule rule) {
    const int start = LunationNear(jdUT) + 1;
    for (int k = start; k > start - kSearchLunations; --k) {
        const std::optional<LunarEclipse> c = LunarEclipseOfLunation(k, engine, rule);
        if (c && c->jdGreatestUT < jdUT)
            return c;
    }
    return std::nullopt;
}

std::optional<LunarEclipse> LunarEclipseOnDate(double jd0, Ephemeris engine, ShadowRule rule) {
    if (!(std::fabs(jd0) < 1e8))
        return std::nullopt;
    const std::vector<LunarEclipse> found = LunarEclipsesBetween(jd0, jd0 + 1.0, engine, rule);
    if (found.empty())
        return std::nullopt;
    return found.front();
}
