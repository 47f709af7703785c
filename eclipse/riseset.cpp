// Sunrise and sunset at a place: an estimate from the Sun at 0h UT, then one
// refinement with the Sun recomputed at each estimate.
#include "eclipse/riseset.h"

#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"

#include <cmath>

namespace {

constexpr double kSiderealToSolar = 0.9972695664235307; // solar per sidereal time

struct SunAt {
    double ra;  // degrees
    double dec; // degrees
    double gst; // degrees
};

// Cosine of the hour angle at which the Sun's upper limb touches the horizon
// (the centre 51' below it at sea level, refraction and semi-diameter, and the
// dip of the horizon from a height in metres).
double CosHourAngle(double latitude, double declination, double height) {
    const double dip = 1.76 * std::sqrt(std::fmax(0.0, height)); // arc minutes
    return (std::cos((90.0 + (51.0 + dip) / 60.0) * kDegToRad) -
            std::sin(latitude * kDegToRad) * std::sin(declination * kDegToRad)) /
           (std::cos(latitude * kDegToRad) * std::cos(declination * kDegToRad));
}

// UT hours of the event with local hour angle h (degrees) at the longitude, in
// [0, 24): the sidereal angle from Greenwich's at 0h to the event's local one,
// less the longitude, is reduced to [0, 360) before it becomes solar time (a full
// turn of sidereal time is 23.934 solar hours, not 24).
double EventTime(const SunAt& sun, double hourAngle, double longitude) {
    const double lst = std::fmod(sun.ra + hourAngle, 360.0);
    double sinceMidnight = std::fmod(lst - longitude - sun.gst, 360.0);
    if (sinceMidnight < 0.0)
        sinceMidnight += 360.0;
    return sinceMidnight * kSiderealToSolar * kDegToHours;
}

double RiseHourAngle(double cosH) {
    return 360.0 - std::acos(cosH) * kRadToDeg;
}
double SetHourAngle(double cosH) {
    return std::acos(cosH) * kRadToDeg;
}

SunAt SunOf(const ApparentPlaces& p) {
    return {std::fmod(p.sunRA, 360.0), std::fmod(p.sunDec, 360.0),
            std::fmod(p.siderealAngle, 360.0)};
}

} // namespace

RiseSetTimes SunRiseSet(double jd0, double lat, double lon, double height, bool applyDeltaT,
                        Ephemeris engine) {
    const auto sunAt = [&](double jd) {
        return SunOf(applyDeltaT ? ApparentPlacesAt(jd, engine)
                                 : ApparentPlacesAt(jd, 0.0, engine));
    };
    const SunAt first = sunAt(jd0);
    const double cosH = CosHourAngle(lat, first.dec, height);
    const double riseEstimate = EventTime(first, RiseHourAngle(cosH), lon);
    const double setEstimate = EventTime(first, SetHourAngle(cosH), lon);

    // Refine each estimate with the Sun recomputed at that instant of the same
    // civil day. Without an estimate there is nothing to refine.
    const auto refine = [&](double estimate, bool rising) {
        if (std::isnan(estimate))
            return estimate;
        // The Sun's place moves to the estimate; the sidereal angle stays that of
        // 0h, from which the event's time is counted. (The angle of the estimate
        // instant would cancel the Sun's motion in right ascension.)
        SunAt sun = sunAt(jd0 + estimate / 24.0);
        sun.gst = first.gst;
        const double cosHAt = CosHourAngle(lat, sun.dec, height);
        return EventTime(sun, rising ? RiseHourAngle(cosHAt) : SetHourAngle(cosHAt), lon);
    };
    return {refine(riseEstimate, true), refine(setEstimate, false)};
}
