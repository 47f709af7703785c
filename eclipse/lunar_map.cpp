#include "eclipse/lunar_map.h"

#include "eclipse/local.h"
#include "ephemeris/constants.h"

#include <cmath>

double MoonHorizonAltitude(double parallax) {
    // The topocentric altitude whose refraction lifts it to 0, by iteration.
    double topocentric = -0.5;
    for (int i = 0; i < 6; ++i)
        topocentric = -StandardRefraction(topocentric);
    const double parallaxInAltitude =
        std::asin(std::sin(parallax * kDegToRad) * std::cos(topocentric * kDegToRad)) * kRadToDeg;
    return topocentric + parallaxInAltitude;
}

std::vector<MoonHorizonCurve> MoonHorizonCurves(const LunarEclipse& eclipse, int samples) {
    std::vector<MoonHorizonCurve> curves;
    if (samples < 3)
        return curves;
    const LunarContacts& k = eclipse.contacts;
    const std::pair<const char*, std::optional<double>> contacts[] = {
        {"P1", k.p1}, {"U1", k.u1}, {"U2", k.u2}, {"U3", k.u3}, {"U4", k.u4}, {"P4", k.p4}};
    for (const auto& [label, jd] : contacts) {
        if (!jd)
            continue;
        const MoonGeocentric moon = LunarMoonAt(eclipse.elements, *jd);
        MoonHorizonCurve c;
        c.label = label;
        c.jdUT = *jd;
        c.sublunar = {moon.dec, moon.sublunarLon};
        // Every point at the angular distance 90 - h from the sub-lunar point.
        const double distance = (90.0 - MoonHorizonAltitude(moon.parallax)) * kDegToRad;
        const double lat0 = moon.dec * kDegToRad;
        for (int i = 0; i < samples; ++i) {
            const double bearing = kTwoPi * i / (samples - 1);
            const double sinLat = std::sin(lat0) * std::cos(distance) +
                                  std::cos(lat0) * std::sin(distance) * std::cos(bearing);
            const double lat = std::asin(sinLat);
            const double dLon = std::atan2(std::sin(bearing) * std::sin(distance) * std::cos(lat0),
                                           std::cos(distance) - std::sin(lat0) * sinLat);
            double lon = std::remainder(moon.sublunarLon + dLon * kRadToDeg, 360.0);
            c.points.push_back({lat * kRadToDeg, lon});
        }
        curves.push_back(std::move(c));
    }
    return curves;
}
