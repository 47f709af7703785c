#include "eclipse/finder.h"

#include "eclipse/besselian.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <cmath>

namespace {

// The mean new moon of lunation 0 (2000 January 6), Julian ephemeris day.
constexpr double kLunationZeroJde = 2451550.09766;

// No eclipse when the Moon at new moon is this far from its node (|sin F| of the
// mean argument of latitude, corrected): 0.36 is the bound of the mean theory, the
// rest a margin that leaves the decision to the full computation.
constexpr double kNodeLimitSinF = 0.40;

// Lunations in a Julian century.
constexpr double kLunationsPerCentury = 1236.85;

} // namespace

namespace {

// The mean phase k (a whole number at new moon, a half at full moon) and the
// two corrections in which new and full moon differ (Meeus, ch. 49).
LunationEstimate EstimatePhase(double k, double anomalyTerm, double solarTerm) {
    const double t = k / kLunationsPerCentury;
    const double t2 = t * t;
    const double t3 = t2 * t;
    const double t4 = t3 * t;
    const double jde = kLunationZeroJde + kMeanLunationDays * k + 0.00015437 * t2 -
                       0.000000150 * t3 + 0.00000000073 * t4;
    const double m = (2.5534 + 29.10535670 * k - 0.0000014 * t2 - 0.00000011 * t3) * kDegToRad;
    const double mp =
        (201.5643 + 385.81693528 * k + 0.0107582 * t2 + 0.00001238 * t3 - 0.000000058 * t4) *
        kDegToRad;
    const double f =
        (160.7108 + 390.67050284 * k - 0.0016118 * t2 - 0.00000227 * t3 + 0.000000011 * t4) *
        kDegToRad;
    const double omega = (124.7746 - 1.56375588 * k + 0.0020672 * t2 + 0.00000215 * t3) * kDegToRad;
    const double e = 1.0 - 0.002516 * t - 0.0000074 * t2;
    const double f1 = f - 0.02665 * kDegToRad * std::sin(omega);
    const double a1 = (299.77 + 0.107408 * k - 0.009173 * t2) * kDegToRad;

    LunationEstimate estimate;
    estimate.nearNode = std::fabs(std::sin(f1)) < kNodeLimitSinF;
    estimate.jdTT = jde + anomalyTerm * std::sin(mp) + solarTerm * e * std::sin(m) +
                    0.0161 * std::sin(2.0 * mp) - 0.0097 * std::sin(2.0 * f1) +
                    0.0073 * e * std::sin(mp - m) - 0.0050 * e * std::sin(mp + m) -
                    0.0023 * std::sin(mp - 2.0 * f1) + 0.0021 * e * std::sin(2.0 * m) +
                    0.0012 * std::sin(mp + 2.0 * f1) + 0.0006 * e * std::sin(2.0 * mp + m) -
                    0.0004 * std::sin(3.0 * mp) - 0.0003 * e * std::sin(m + 2.0 * f1) +
                    0.0003 * std::sin(a1) - 0.0002 * e * std::sin(m - 2.0 * f1) -
                    0.0002 * e * std::sin(2.0 * mp - m) - 0.0002 * std::sin(omega);
    return estimate;
}

} // namespace

LunationEstimate EstimateLunation(int lunation) {
    return EstimatePhase(lunation, -0.4075, 0.1721);
}

LunationEstimate EstimateFullMoon(int lunation) {
    return EstimatePhase(lunation + 0.5, -0.4065, 0.1727);
}

namespace {

// The whole TT hour nearest jdTT.
double NearestWholeHour(double jdTT) {
    return (std::round((jdTT - 0.5) * 24.0)) / 24.0 + 0.5;
}

} // namespace

int LunationNear(double jd) {
    const double k = std::floor((jd - kLunationZeroJde) / kMeanLunationDays);
    // Beyond any sensible range the count is clamped; callers check their dates.
    if (!(k > -1.0e8 && k < 1.0e8))
        return 0;
    return static_cast<int>(k);
}

namespace {

constexpr int kSearchLunations = 30;

// Elements fitted about one hour are re-expanded about another up to this many
// hours away (the fit's window still covers greatest eclipse +- 3.5 h).
constexpr double kRecentreHours = 1.0;

// How far the classic engine's shadow axis may lie from the precise one's, Earth
// radii, in its least distance from the Earth's centre and in l1 together. Measured at
// every lunation near a node over -2000..3000 and every seventh beyond: at most 0.015
// at -2000, 0.002 over 1000..3000 and 0.08 at 10000, growing with the square of the
// time from the present. The bound below exceeds the measured gap 1.6 to 5 times.
double EngineGap(int lunation) {
    const double fortyCenturies = lunation / (40.0 * kLunationsPerCentury);
    return 0.01 + 0.03 * fortyCenturies * fortyCenturies;
}

// Whether the shadow axis, moving in a straight line through its places at
// jdT0 -+ 2 h (TT), passes farther from the Earth's centre than any eclipse
// allows (1 + l1 and a margin for the path's curvature): the cheap test that
// spares the full fit for the lunations near a node without an eclipse. The
// classic engine decides for both, with the gap between the engines added to the
// margin for the precise one.
bool AxisPassesFarAway(double jdT0, int lunation, Ephemeris engine) {
    const double deltaT = DeltaTSeconds(jdT0, engine);
    const double toUT = deltaT / kSecondsPerDay;
    const BesselianElements a =
        ElementsAt(ApparentPlacesAt(jdT0 - 2.0 / 24.0 - toUT, deltaT, Ephemeris::Classic));
    const BesselianElements b =
        ElementsAt(ApparentPlacesAt(jdT0 + 2.0 / 24.0 - toUT, deltaT, Ephemeris::Classic));
    const double vx = b.x - a.x;
    const double vy = b.y - a.y;
    const double length = std::hypot(vx, vy);
    if (!(length > 0.0))
        return false;
    const double missDistance = std::fabs(a.x * vy - a.y * vx) / length;
    const double margin = 0.05 + (engine == Ephemeris::Precise ? EngineGap(lunation) : 0.0);
    return missDistance > 1.0 + a.l1 + margin;
}

} // namespace

std::optional<EclipseCircumstances> EclipseOfLunation(int lunation, Ephemeris engine) {
    const LunationEstimate estimate = EstimateLunation(lunation);
    if (!estimate.nearNode)
        return std::nullopt;
    double jdT0 = NearestWholeHour(estimate.jdTT);
    if (AxisPassesFarAway(jdT0, lunation, engine))
        return std::nullopt;
    PolynomialElements elements = FitPolynomialElements(jdT0, engine);
    std::optional<EclipseCircumstances> c = CircumstancesOf(elements, lunation, engine);
    // Reckon the polynomials from the whole hour nearest greatest eclipse, as the
    // canons do: re-expanded when that hour lies well within the fit's window,
    // fitted again about it when not.
    for (int i = 0; i < 2 && c; ++i) {
        const double nearest = NearestWholeHour(c->jdGreatestTT);
        if (std::fabs(nearest - jdT0) < 0.5 / 24.0)
            break;
        elements = std::fabs(nearest - jdT0) * 24.0 <= kRecentreHours
                       ? RecentredElements(elements, nearest)
                       : FitPolynomialElements(nearest, engine);
        jdT0 = nearest;
        c = CircumstancesOf(elements, lunation, engine);
    }
    return c;
}

std::vector<EclipseCircumstances> EclipsesBetween(double jdFromUT, double jdToUT,
                                                  Ephemeris engine) {
    std::vector<EclipseCircumstances> found;
    if (!(jdFromUT < jdToUT))
        return found;
    const int first = LunationNear(jdFromUT) - 1;
    const int last = LunationNear(jdToUT) + 1;
    for (int k = first; k <= last; ++k) {
        const std::optional<EclipseCircumstances> c = EclipseOfLunation(k, engine);
        if (c && c->jdGreatestUT >= jdFromUT && c->jdGreatestUT < jdToUT)
            found.push_back(*c);
    }
    return found;
}

std::optional<EclipseCircumstances> NextEclipse(double jdUT, Ephemeris engine) {
    const int start = LunationNear(jdUT) - 1;
    for (int k = start; k < start + kSearchLunations; ++k) {
        const std::optional<EclipseCircumstances> c = EclipseOfLunation(k, engine);
        if (c && c->jdGreatestUT > jdUT)
            return c;
    }
    return std::nullopt;
}

std::optional<EclipseCircumstances> PreviousEclipse(double jdUT, Ephemeris engine) {
    const int start = LunationNear(jdUT) + 2;
    for (int k = start; k > start - kSearchLunations; --k) {
        const std::optional<EclipseCircumstances> c = EclipseOfLunation(k, engine);
        if (c && c->jdGreatestUT < jdUT)
            return c;
    }
    return std::nullopt;
}

std::optional<EclipseCircumstances> EclipseOnDate(double jd0, Ephemeris engine) {
    if (!(std::fabs(jd0) < 1e8))
        return std::nullopt;
    const std::vector<EclipseCircumstances> found = EclipsesBetween(jd0, jd0 + 1.0, engine);
    if (found.empty())
        return std::nullopt;
    return found.front();
}
