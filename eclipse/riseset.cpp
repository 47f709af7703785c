// Sunrise and sunset at the observer: an estimate from the Sun at the run's
// first instant, then one refinement with the Sun recomputed at each estimate.
#include "ephemeris/ephemeris.h"
#include "render/sexagesimal.h"

#include <cmath>
#include <cstring>

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
    const double deg = 0.017453292519943295;
    const double k = 1.0 / (1.0 + height / (1.0e6 * 6.378));
    return (std::cos((90.0 + (k + 50.0) / 60.0) * deg) -
            std::sin(latitude * deg) * std::sin(declination * deg)) /
           (std::cos(latitude * deg) * std::cos(declination * deg));
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
    return 360.0 - std::acos(cosH) / 0.017453292519943295;
}
double SetHourAngle(double cosH) {
    return std::acos(cosH) / 0.017453292519943295;
}

SunAt FirstStep(const CEphemeris& e) {
    return {std::fmod(e.m_sunRA[0], 360.0), std::fmod(e.m_sunDec[0], 360.0),
            std::fmod(e.m_sunGST[0], 360.0)};
}

} // namespace

void CEphemeris::RiseSet(const char* body) {
    m_riseUT = std::nan("");
    m_setUT = std::nan("");
    if (body == nullptr || std::strcmp(body, "SUNCE") != 0 || m_sunRA.empty())
        return;

    const double lat = m_observerLatitude;
    const double lon = m_observerLongitude;
    const double height = m_observerHeight;

    const SunAt first = FirstStep(*this);
    const double cosH = CosHourAngle(lat, first.dec, height);
    const double riseEstimate = EventTime(first, RiseHourAngle(cosH), lon);
    const double setEstimate = EventTime(first, SetHourAngle(cosH), lon);

    // Refine each estimate with the Sun recomputed at that instant, on the same
    // civil day the run was built for. Without an estimate there is nothing to refine.
    const auto refine = [&](double estimate, bool rising) {
        if (std::isnan(estimate))
            return estimate;
        const CSexagesimal hms(estimate);
        const CEphemeris at(m_day, m_month, m_year, hms.m_dSeconds, hms.m_nMinutes, hms.m_nWhole, 1,
                            1, m_applyDeltaT, lat, lon, height);
        // The Sun's place moves to the estimate; the sidereal angle stays that of
        // 0h, from which the event's time is counted. (The refined run's own
        // angle is the 0h formula applied at the estimate, which would cancel the
        // Sun's motion in right ascension and undo the refinement.)
        SunAt sun = FirstStep(at);
        sun.gst = first.gst;
        const double cosHAt = CosHourAngle(lat, sun.dec, height);
        return EventTime(sun, rising ? RiseHourAngle(cosHAt) : SetHourAngle(cosHAt), lon);
    };
    m_riseUT = refine(riseEstimate, true);
    m_setUT = refine(setEstimate, false);
}
