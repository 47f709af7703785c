#include "ephemeris/apparent.h"

#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"
#include "ephemeris/precise.h"
#include "ephemeris/sidereal.h"
#include "ephemeris/theory.h"

#include <cmath>

ApparentPlaces ApparentPlacesAt(double jd, double deltaTSeconds) {
    const double jdTheory = jd + deltaTSeconds / kSecondsPerDay;
    const FundamentalArguments a = FundamentalArgumentsAt(jdTheory);
    const Nutation nutation = NutationAt(a);
    const double obliquity =
        (a.meanObliquity * 180.0 / kPi + nutation.obliquity / 3600.0) * kPi / 180.0;

    const MoonEcliptic moon = MoonPlace(a);
    const Equatorial moonEq =
        EclipticToEquatorial((moon.longitude + nutation.longitude / 3600.0) * kPi / 180.0,
                             moon.latitude * kPi / 180.0, obliquity);

    const SunEcliptic sun = SunPlace(a);
    const Equatorial sunEq =
        EclipticToEquatorial(nutation.longitude * kPi / 648000.0 + sun.longitude * kPi / 180.0,
                             sun.latitude * kPi / 180.0, obliquity);

    ApparentPlaces p;
    p.jd = jd;
    p.deltaT = deltaTSeconds;
    p.sunRA = sunEq.rightAscension;
    p.sunDec = sunEq.declination;
    p.sunDistance = sun.distance;
    p.moonRA = moonEq.rightAscension;
    p.moonDec = moonEq.declination;
    p.moonParallax = moon.parallax;
    p.siderealAngle = TheorySiderealAngle(jdTheory);
    p.siderealHours = GreenwichSiderealHours(jd);
    return p;
}

ApparentPlaces ApparentPlacesAt(double jd) {
    return ApparentPlacesAt(jd, DeltaTSeconds(jd));
}

ApparentPlaces ApparentPlacesAt(double jd, double deltaTSeconds, Ephemeris engine) {
    return engine == Ephemeris::Precise ? PreciseApparentPlacesAt(jd, deltaTSeconds)
                                        : ApparentPlacesAt(jd, deltaTSeconds);
}

ApparentPlaces ApparentPlacesAt(double jd, Ephemeris engine) {
    return ApparentPlacesAt(jd, DeltaTSeconds(jd, engine), engine);
}

std::vector<ApparentPlaces> Tabulate(double jdStart, int stepCount, int stepsPerDay,
                                     bool applyDeltaT) {
    std::vector<ApparentPlaces> run;
    if (stepCount < 1 || stepsPerDay < 1)
        return run;
    run.reserve(static_cast<std::size_t>(stepCount));
    const double perDay = stepsPerDay;
    for (int i = 0; i < stepCount; ++i) {
        const double jd = jdStart + i / perDay;
        run.push_back(ApparentPlacesAt(jd, applyDeltaT ? DeltaTSeconds(jd) : 0.0));
    }
    return run;
}
