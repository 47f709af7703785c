#include "eclipse/lunar_local.h"

#include "eclipse/besselian.h"
#include "ephemeris/constants.h"
#include "ephemeris/sidereal.h"

#include <cmath>

MoonInSky MoonInSkyAt(const LunarElements& e, const Observer& o, double jdUT) {
    const MoonGeocentric m = LunarMoonAt(e, jdUT);
    const double lat = o.latitude * kDegToRad;
    // The observer's geocentric place, Earth equatorial radii.
    const double u = std::atan((1.0 - kFlattening) * std::tan(lat));
    const double h = o.height / (kEarthRadiusKm * 1000.0);
    const double rhoSin = (1.0 - kFlattening) * std::sin(u) + h * std::sin(lat);
    const double rhoCos = std::cos(u) + h * std::cos(lat);
    // The Moon's topocentric hour angle and declination.
    const double hourAngle =
        (kHoursToDeg * GreenwichSiderealHours(jdUT) + o.longitude - m.ra) * kDegToRad;
    const double dec = m.dec * kDegToRad;
    const double sinPar = std::sin(m.parallax * kDegToRad);
    const double a = std::cos(dec) - rhoCos * sinPar * std::cos(hourAngle);
    const double shift = std::atan2(-rhoCos * sinPar * std::sin(hourAngle), a);
    const double topoDec = std::atan2((std::sin(dec) - rhoSin * sinPar) * std::cos(shift), a);
    const double topoH = hourAngle - shift;

    MoonInSky s;
    s.altitude = std::asin(std::sin(lat) * std::sin(topoDec) +
                           std::cos(lat) * std::cos(topoDec) * std::cos(topoH)) *
                 kRadToDeg;
    s.apparentAltitude = s.altitude + StandardRefraction(s.altitude);
    double az = std::atan2(-std::cos(topoDec) * std::sin(topoH),
                           std::sin(topoDec) * std::cos(lat) -
                               std::cos(topoDec) * std::sin(lat) * std::cos(topoH)) *
                kRadToDeg;
    if (az < 0.0)
        az += 360.0;
    s.azimuth = az >= 360.0 ? az - 360.0 : az;
    s.aboveHorizon = s.apparentAltitude > 0.0;
    return s;
}

LunarLocalCircumstances ComputeLunarLocal(const LunarEclipse& eclipse, const Observer& o) {
    LunarLocalCircumstances lc;
    const LunarContacts& k = eclipse.contacts;
    const std::pair<const char*, std::optional<double>> events[] = {
        {"P1", k.p1}, {"U1", k.u1}, {"U2", k.u2}, {"greatest", eclipse.jdGreatestUT},
        {"U3", k.u3}, {"U4", k.u4}, {"P4", k.p4}};
    for (const auto& [name, jd] : events) {
        if (jd)
            lc.events.push_back({name, *jd, MoonInSkyAt(eclipse.elements, o, *jd)});
    }
    // The phase that counts, sampled each minute (the Moon's altitude changes by
    // at most a quarter of a degree a minute) and at its ends.
    const std::optional<double> begin = k.u1 ? k.u1 : k.p1;
    const std::optional<double> end = k.u4 ? k.u4 : k.p4;
    if (!begin || !end)
        return lc;
    const double step = 1.0 / 1440.0;
    for (double jd = *begin;; jd += step) {
        const double at = jd < *end ? jd : *end;
        if (MoonInSkyAt(eclipse.elements, o, at).aboveHorizon) {
            lc.visible = true;
            break;
        }
        if (at >= *end)
            break;
    }
    return lc;
}
