// Sunrise and sunset at a place: an estimate from the Sun at 0h UT, then one
// refinement with the Sun recomputed at each estimate.
#include "eclipse/riseset.h"

#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"

#include <cmath>

namespace {

constexpr double kSiderealRate = 0.002737909255830788;  // sidereal excess per degree
constexpr double kSiderealToSolar = 0.9972695664235307; // solar per sidereal time
constexpr double kDegreesToHours = 0.06666666666666667; // 1/15

struct SunAt {
    double ra;  // degrees
    double dec; // degrees
    double gst; // degrees
};

// Cosine of the hour angle at which the Sun's upper limb touches the horizon
// (standard altitude -51' at sea level, refraction and semi-diameter).
double CosHourAngle(double latitude, double declination, double height) {
    const double k = 1.0 / (1.0 + height / (1.0e6 * 6.378));
    return (std::cos((90.0 + (k + 50.0) / 60.0) * kDegToRad) -
            std::sin(latitude * kDegToRad) * std::sin(declination * kDegToRad)) /
           (std::cos(latitude * kDegToRad) * std::cos(declination * kDegToRad));
}

// UT hours of the event with local hour angle h (degrees), in [0, 24). The
// sidereal angle since 0h is reduced to [0, 360) before it becomes solar time:
// a full turn of sidereal time is 23.934 solar hours, not 24.
double EventTime(const SunAt& sun, double hourAngle, double longitude) {
    const double lst = std::fmod(sun.ra + hourAngle, 360.0);
    double sinceMidnight = std::fmod(lst - (sun.gst - kSiderealRate * longitude), 360.0);
    if (sinceMidnight < 0.0)
        sinceMidnight += 360.0;
    double t = sinceMidnight * kSiderealToSolar * kDegreesToHours - longitude * kDegreesToHours;
    if (t < 0.0)
        t += 24.0;
    return t;
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

RiseSetTimes SunRiseSet(double jd0, double lat, double lon, double height, bool applyDeltaT) {
    const auto sunAt = [&](double jd) {
        return SunOf(applyDeltaT ? ApparentPlacesAt(jd) : ApparentPlacesAt(jd, 0.0));
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
