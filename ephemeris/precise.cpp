// The apparent places of the precise engine. Both theories are taken to the mean
// ecliptic and equinox of date (VSOP87D is referred to them; the ELP/MPP02 longitude
// gets the same general precession as VSOP87D's, Laskar's), and from there to the true equator of
// date through nutation in longitude (IAU 2000B) and the true obliquity: the mean obliquity of 1980
// (the IAU 1976 precession's) plus nutation in obliquity. The Moon is the apparent one, with its
// light time, and has lunar laser ranging's tidal acceleration.
#include "ephemeris/precise.h"

#include "ephemeris/constants.h"
#include "ephemeris/elp_mpp02.h"
#include "ephemeris/sidereal.h"
#include "ephemeris/theory.h"
#include "ephemeris/vsop87d.h"

#include <erfa.h>

#include <cmath>

namespace {

constexpr double kJ2000 = 2451545.0;
constexpr double kMjdZero = 2400000.5;
constexpr double kDaysPerCentury = 36525.0;
constexpr double kLightKmPerSecond = 299792.458;
// Light time of the Moon's mean distance, seconds: the Moon is evaluated this much
// earlier and moved on by its mean motion for the rest of its actual light time.
constexpr double kMoonMeanLightTime = 384400.0 / kLightKmPerSecond;
constexpr double kSecondsPerCentury = kSecondsPerDay * kDaysPerCentury;

// The VSOP87 Sun to the FK5 system (Bretagnon and Francou's correction, as given by
// Meeus, Astronomical Algorithms, 2nd ed., eq. 32.3), longitude and latitude radians,
// t Julian centuries from J2000.0.
void ToFk5(double t, double& longitude, double& latitude) {
    const double l = longitude - (1.397 * t + 0.00031 * t * t) * kDegToRad;
    const double c = std::cos(l);
    const double s = std::sin(l);
    longitude += (-0.09033 + 0.03916 * (c + s) * std::tan(latitude)) * kArcsecToRad;
    latitude += 0.03916 * (c - s) * kArcsecToRad;
}

// The general precession in longitude from J2000.0 that VSOP87D is referred to the
// equinox of date with (Laskar 1986, A&A 157, 59, to the fifth power that VSOP87D
// carries: its Earth's secular longitude terms exceed VSOP87B's by exactly these),
// radians, t Julian centuries: ELP/MPP02 reckons the Moon's longitude on the ecliptic
// of date from the departure point of J2000.0, and this takes it to the same equinox
// of date as the Sun. The IAU 1976 polynomial (5029.0966 t + 1.11113 t^2 - 0.000006 t^3)
// agrees to 0.01" over 1600..2400 but lacks Laskar's t^4 term, and at -2000 would put
// the Moon 62" ahead of the Sun's frame (greatest eclipse two minutes early).
double GeneralPrecession(double t) {
    const double tau = t / 10.0; // Julian millennia
    return (50290.966 + (111.1971 + (0.07732 + (-0.235316 - 0.0018055 * tau) * tau) * tau) * tau) *
           tau * kArcsecToRad;
}

// The Moon's tidal acceleration taken from DE405's, which the DE405 fit of ELP/MPP02 carries, to
// lunar laser ranging's (constants.h), Julian centuries. In ELP/MPP02 the tidal part of the
// Moon's secular acceleration sits in the t^2 coefficient of the mean longitude W1 (t from
// J2000.0, the theory's epoch), and through W1 in the arguments D, F and l of every term; a
// change dn of it (-0.032"/cy^2) moves the Moon along its orbit as if the theory ran
// (dn / 2) t^2 / nu later, nu being W1's rate: -0.016" t^2, 40 s earlier at -2000. Run that way,
// the Sun's mean longitude in D and the node and perigee move by 7.5 % and under 1 % of the
// shift too, which moves the Moon by under 1 % of its 22" at -2000.
double TidalShiftCenturies(double t) {
    constexpr double halfDifference =
        0.5 * (kTidalAccelerationLlr - kTidalAccelerationDe405) * kArcsecToRad; // rad / cy^2
    return halfDifference * t * t / ElpMeanLongitudeRate();
}

} // namespace

ApparentPlaces PreciseApparentPlacesAt(double jd, double deltaTSeconds) {
    const double jdTT = jd + deltaTSeconds / kSecondsPerDay;
    const double t = (jdTT - kJ2000) / kDaysPerCentury;

    double nutationLongitude = 0.0; // radians
    double nutationObliquity = 0.0;
    eraNut00b(kMjdZero, jdTT - kMjdZero, &nutationLongitude, &nutationObliquity);
    const double obliquity = eraObl80(kMjdZero, jdTT - kMjdZero) + nutationObliquity;

    // The Sun: the Earth seen from the Sun, turned round, in FK5, with the aberration of
    // the Earth's orbital motion (20.4898" at 1 AU).
    const VsopEarth earth = Vsop87dEarth(t / 10.0);
    double sunLongitude = earth.longitude + kPi;
    double sunLatitude = -earth.latitude;
    ToFk5(t, sunLongitude, sunLatitude);
    sunLongitude += nutationLongitude - 20.4898 * kArcsecToRad / earth.radius;
    const Equatorial sun = EclipticToEquatorial(sunLongitude, sunLatitude, obliquity);

    // The Moon where it was when the light left it.
    const ElpMoon moon =
        ElpMpp02Moon(t + TidalShiftCenturies(t) - kMoonMeanLightTime / kSecondsPerCentury);
    const double lightTimeRest = moon.distance / kLightKmPerSecond - kMoonMeanLightTime;
    const double moonLongitude = moon.longitude + GeneralPrecession(t) -
                                 ElpMeanLongitudeRate() * lightTimeRest / kSecondsPerCentury;
    const Equatorial moonEq =
        EclipticToEquatorial(moonLongitude + nutationLongitude, moon.latitude, obliquity);

    ApparentPlaces p;
    p.jd = jd;
    p.deltaT = deltaTSeconds;
    p.sunRA = sun.rightAscension;
    p.sunDec = sun.declination;
    p.sunDistance = earth.radius;
    p.moonRA = moonEq.rightAscension;
    p.moonDec = moonEq.declination;
    p.moonParallax = std::asin(kEarthRadiusKm / moon.distance) * kRadToDeg;
    p.siderealAngle = TheorySiderealAngle(jdTT);
    // Apparent sidereal time at the UT instant (UT taken for UT1): mean sidereal time of
    // IAU 1982 and the equation of the equinoxes, the canon's (a sidereal time of IAU
    // 2000 drifts from it by 0.016 degrees at -2000).
    const double gast =
        eraGmst82(kMjdZero, jd - kMjdZero) + nutationLongitude * std::cos(obliquity);
    p.siderealHours = eraAnp(gast) * kRadToDeg * kDegToHours;
    p.engine = Ephemeris::Precise;
    return p;
}
