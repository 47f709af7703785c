#pragma once

// Lunar eclipses: the Moon's passage through the Earth's shadow.
//
// The Moon's place is measured from the axis of the shadow on the plane through
// the Moon perpendicular to it, in Earth equatorial radii, as cubic polynomials in
// t = TT hours from a whole TT hour near greatest eclipse, fitted from a few
// evaluations of the ephemeris. Greatest eclipse and the contacts are solved on
// the polynomials.

#include "eclipse/kind.h"
#include "ephemeris/engine.h"

#include <array>
#include <optional>
#include <string_view>
#include <vector>

// How the Earth's atmosphere enlarges the shadow: the radii of the geometric
// cones at the Moon (angles from the Earth's centre) rho = pi_moon + pi_sun -+ s_sun
// become
//   Chauvenet: 1.02 (0.998340 pi_moon + pi_sun -+ s_sun), the radii enlarged by 1/50;
//   Danjon:    1.01 x 0.998340 pi_moon + pi_sun -+ s_sun, 1/85 of the Earth's radius
//              added to the parallax.
// 0.998340 reduces the equatorial parallax to the Earth's radius at 45 degrees.
enum class ShadowRule { Chauvenet, Danjon };

// "chauvenet" or "danjon"; the rule of a name, or none for any other text.
std::string_view ShadowRuleName(ShadowRule rule);
std::optional<ShadowRule> ParseShadowRule(std::string_view name);

// The rule that reproduces the published catalogues this program is checked against.
inline constexpr ShadowRule kDefaultShadowRule = ShadowRule::Chauvenet;

using Cubic = std::array<double, 4>; // c0 + c1 t + c2 t^2 + c3 t^3

// The Moon and the shadow over one eclipse, polynomials in t (TT hours from jdT0).
struct LunarElements {
    double jdT0 = 0.0;   // whole TT hour
    double deltaT = 0.0; // TT - UT, seconds, held over the eclipse
    Ephemeris engine = Ephemeris::Precise;
    Cubic x{}, y{}; // the Moon's centre from the shadow axis, Earth equatorial radii at the
                    // Moon's distance; x toward increasing right ascension, y north
    Cubic penumbra{}, umbra{}; // radii of the shadow at the Moon, Earth radii (rule applied)
    Cubic moonRA{}, moonDec{}; // the Moon's apparent place, degrees (RA not reduced)
    Cubic moonParallax{};      // equatorial horizontal parallax, degrees
    ShadowRule rule = kDefaultShadowRule;
    double referenceRA = 0.0; // degrees: the fitted right ascension continues from it
};

// Fits the elements to the ephemeris at jdT0 + -4, -2, 0, 2, 4 h (TT).
LunarElements FitLunarElements(double jdT0, Ephemeris engine, ShadowRule rule);

// The Moon's radius in the elements' unit (the Earth's equatorial radius).
inline constexpr double kLunarRadius = 0.2725076;

struct LunarContacts {
    std::optional<double> p1, u1, u2, u3, u4, p4; // Julian days, UT
};

struct LunarEclipse {
    int lunation = 0; // the new moon before it (0: 2000 January 6)
    int saros = 0;
    EclipseKind kind = EclipseKind::Penumbral; // Penumbral, Partial or Total
    double jdGreatestTT = 0.0;                 // the Moon's centre closest to the shadow's axis
    double jdGreatestUT = 0.0;
    double deltaT = 0.0;             // seconds
    double deltaTUncertainty = 0.0;  // seconds, 1 sigma
    double gamma = 0.0;              // that least distance, Earth radii, negative south
    double penumbralMagnitude = 0.0; // fraction of the Moon's diameter inside the
    double umbralMagnitude = 0.0;    // penumbra, the umbra, at greatest (negative: outside)
    LunarContacts contacts;
    double penumbralDurationS = 0.0; // P4 - P1
    double partialDurationS = 0.0;   // U4 - U1; 0 when absent
    double totalDurationS = 0.0;     // U3 - U2; 0 when absent
    double sublunarLat = 0.0;        // degrees (the Moon's declination)
    double sublunarLon = 0.0;        // degrees east, [-180, 180]
    LunarElements elements;
};

// The eclipse at the full moon after the new moon of a lunation, if the Moon
// enters the penumbra.
std::optional<LunarEclipse> LunarEclipseOfLunation(int lunation, Ephemeris engine,
                                                   ShadowRule rule = kDefaultShadowRule);

// Every lunar eclipse whose greatest eclipse (UT) lies in [jdFromUT, jdToUT), in order.
std::vector<LunarEclipse> LunarEclipsesBetween(double jdFromUT, double jdToUT, Ephemeris engine,
                                               ShadowRule rule = kDefaultShadowRule);

// The first lunar eclipse after jdUT, the last before it (within 30 lunations),
// the one whose greatest eclipse falls on the UT day beginning at jd0.
std::optional<LunarEclipse> NextLunarEclipse(double jdUT, Ephemeris engine,
                                             ShadowRule rule = kDefaultShadowRule);
std::optional<LunarEclipse> PreviousLunarEclipse(double jdUT, Ephemeris engine,
                                                 ShadowRule rule = kDefaultShadowRule);
std::optional<LunarEclipse> LunarEclipseOnDate(double jd0, Ephemeris engine,
                                               ShadowRule rule = kDefaultShadowRule);

// The Moon's geocentric place at a UT instant within the elements' reach.
struct MoonGeocentric {
    double ra = 0.0;          // degrees
    double dec = 0.0;         // degrees
    double parallax = 0.0;    // degrees
    double sublunarLon = 0.0; // degrees east, [-180, 180]
};
MoonGeocentric LunarMoonAt(const LunarElements& e, double jdUT);
