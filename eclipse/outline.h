#pragma once

#include "eclipse/besselian.h"

#include <vector>

enum class Cone { Penumbra, Umbra };

// A point on the Earth: geodetic latitude, longitude east positive, degrees,
// both within [-180, 180].
struct GeoPoint {
    double lat = 0.0;
    double lon = 0.0;
};

// Where one cone meets the Earth at one instant, sampled at heights
// zeta = 1/n, 2/n, ... above the fundamental plane (n = samples).
struct Outline {
    int hits = 0;                 // samples whose section meets the Earth's
    std::vector<double> lat, lon; // the points, up to four per hit, degrees
};

// A count of samples below 1 (or not finite, or absurdly large) traces nothing.
Outline TraceOutline(const BesselianElements& elements, Cone cone, double samples);

// Both cones at the instant jd (UT) from the engine's places, Delta T applied or
// not (without it the theories run at the UT instant).
struct ShadowSnapshot {
    Outline penumbra;
    Outline umbra;
};
ShadowSnapshot ShadowAt(double jd, bool applyDeltaT, double umbraSamples, double penumbraSamples,
                        Ephemeris engine);

// The point (xi, eta, zeta) of the frame in which the Earth is the unit sphere
// (see BesselianElements) as a place on the Earth.
GeoPoint FundamentalToGeodetic(const BesselianElements& elements, double xi, double eta,
                               double zeta);
