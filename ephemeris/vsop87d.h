#pragma once

// The heliocentric Earth of the planetary theory VSOP87 (Bretagnon and Francou 1988),
// version D: referred to the ecliptic and equinox of date.
struct VsopEarth {
    double longitude = 0.0; // radians, not reduced to one turn
    double latitude = 0.0;  // radians
    double radius = 0.0;    // AU
};

// tau: Julian millennia of dynamical time (TT, taken for TDB) from J2000.0.
VsopEarth Vsop87dEarth(double tau);
