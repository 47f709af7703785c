#pragma once

#include "ephemeris/apparent.h"

// The precise engine's places (ApparentPlacesAt with Ephemeris::Precise): the Moon of
// ELP/MPP02, the Sun from the VSOP87D Earth, nutation, obliquity and sidereal time
// from ERFA.
ApparentPlaces PreciseApparentPlacesAt(double jd, double deltaTSeconds);
