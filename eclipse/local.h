#pragma once

#include "eclipse/circumstances.h"
#include "eclipse/kind.h"
#include "ephemeris/engine.h"

#include <optional>

// Local circumstances of a solar eclipse: what an observer at one place sees.
//
// The computation works on the polynomial Besselian elements the finder fits (or
// a canon prints), so that the same code runs on published elements and on
// elements from this program's ephemeris.

// An observer on the Earth's ellipsoid (IAU flattening).
struct Observer {
    double latitude = 0.0;  // geodetic, degrees, [-90, 90]
    double longitude = 0.0; // degrees, east positive
    double height = 0.0;    // metres above sea level
};

// The Sun seen from the observer at one instant.
struct SunPosition {
    double altitude = 0.0;         // geometric, degrees
    double apparentAltitude = 0.0; // with standard refraction, degrees
    double azimuth = 0.0;          // degrees from north through east, [0, 360)
    bool aboveHorizon = false;     // the centre's apparent altitude is above 0
};

// One contact or the maximum.
struct LocalEvent {
    double jdUT = 0.0; // Julian day, UT
    SunPosition sun;
};

struct LocalCircumstances {
    EclipseKind kind = EclipseKind::None; // None, Partial, Annular or Total
    std::optional<LocalEvent> c1;         // first contact (penumbra)
    std::optional<LocalEvent> c2;         // second contact: totality or annularity begins
    std::optional<LocalEvent> max;
    std::optional<LocalEvent> c3; // totality or annularity ends
    std::optional<LocalEvent> c4; // last contact
    double magnitude = 0.0;       // fraction of the Sun's diameter covered at maximum;
                                  // inside the path the Moon/Sun diameter ratio
    double obscuration = 0.0;     // fraction of the Sun's area covered at maximum
    double duration = 0.0;        // totality or annularity, seconds; 0 outside the path
    // The Sun's apparent centre is above the horizon at some instant between C1
    // and C4.
    bool visible = false;
    // The standard uncertainty of the contact times from that of Delta T,
    // seconds: a Delta T wrong by s seconds moves every UT contact by about s.
    double contactSigma = 0.0;
};

// Local circumstances from the elements. Contacts and maximum are searched within
// the elements' reach (t0 +- 4 h). Kind None when the penumbra misses the place.
LocalCircumstances ComputeLocalCircumstances(const PolynomialElements& e, const Observer& o);

// The Sun's position for the observer at t TT hours from t0.
SunPosition SunPositionAt(const PolynomialElements& e, const Observer& o, double t);

// Standard refraction (10 degrees C, 1010 hPa; Saemundsson) for a geometric
// altitude in degrees; degrees. Zero below -1 degree, where the Sun is set.
double StandardRefraction(double geometricAltitude);

// The first solar eclipse of the finder whose greatest eclipse lies after jdUT and
// from whose circumstances at the observer the Sun is above the horizon for some
// part, within `years` years; empty when none.
struct LocalEclipse {
    EclipseCircumstances eclipse;
    LocalCircumstances local;
};
std::optional<LocalEclipse> NextLocalEclipse(double jdUT, const Observer& o, double years,
                                             Ephemeris engine);
