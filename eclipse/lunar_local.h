#pragma once

// What one place sees of a lunar eclipse: the Moon's place in its sky at each
// contact, and whether the eclipse can be watched from there.

#include "eclipse/local.h"
#include "eclipse/lunar.h"

#include <string>
#include <vector>

// The Moon seen from the observer (topocentric: parallax applied).
struct MoonInSky {
    double altitude = 0.0;         // geometric, of the centre, degrees
    double apparentAltitude = 0.0; // with standard refraction, degrees
    double azimuth = 0.0;          // degrees from north through east, [0, 360)
    bool aboveHorizon = false;     // the apparent centre is above 0
};

struct LunarLocalEvent {
    std::string name; // "P1", "U1", "U2", "greatest", "U3", "U4", "P4"
    double jdUT = 0.0;
    MoonInSky moon;
};

struct LunarLocalCircumstances {
    std::vector<LunarLocalEvent> events; // in time order; absent contacts left out
    // The Moon is above the horizon during some part of an umbral phase (U1..U4), or
    // for a penumbral eclipse of the penumbral phase (P1..P4).
    bool visible = false;
};

MoonInSky MoonInSkyAt(const LunarElements& e, const Observer& o, double jdUT);

LunarLocalCircumstances ComputeLunarLocal(const LunarEclipse& eclipse, const Observer& o);
