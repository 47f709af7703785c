#pragma once

// The pieces of the theories behind ApparentPlacesAt, shared by sun.cpp,
// moon.cpp and nutation.cpp. Angles in radians unless the name says otherwise.

// Time arguments and the mean arguments of the Sun, the Moon and the planets at
// one instant of dynamical time.
struct FundamentalArguments {
    double t = 0.0; // Julian centuries (TT) from JD 2415020.0
    double t2 = 0.0;
    double t3 = 0.0;
    double sunMeanLongitude = 0.0;     // L
    double sunMeanAnomaly = 0.0;       // M
    double moonMeanLongitude = 0.0;    // L'
    double moonMeanAnomaly = 0.0;      // M'
    double moonNode = 0.0;             // Omega (corrected)
    double moonElongation = 0.0;       // D
    double moonArgLatitude = 0.0;      // F
    double nodeTermArg = 0.0;          // A
    double venus = 0.0;                // V
    double jupiter = 0.0;              // J
    double mars = 0.0;                 // Ma
    double saturn = 0.0;               // Sa
    double meanObliquity = 0.0;        // epsilon0
    double eccentricityFactor = 0.0;   // E, dimensionless
    double moonEquationOfCentre = 0.0; // from the corrected M'
    double moonParallaxElliptic = 0.0;
};

FundamentalArguments FundamentalArgumentsAt(double jdTheory);

// Geometric ecliptic place, degrees, without nutation.
struct MoonEcliptic {
    double longitude = 0.0; // degrees
    double latitude = 0.0;  // degrees
    double parallax = 0.0;  // degrees
};
MoonEcliptic MoonPlace(const FundamentalArguments& a);

// Apparent ecliptic place of the Sun (aberration included, nutation not).
struct SunEcliptic {
    double longitude = 0.0; // degrees
    double latitude = 0.0;  // degrees
    double distance = 0.0;  // AU
};
SunEcliptic SunPlace(const FundamentalArguments& a);

// Nutation in longitude and obliquity, arcseconds.
struct Nutation {
    double longitude = 0.0;
    double obliquity = 0.0;
};
Nutation NutationAt(const FundamentalArguments& a);

struct Equatorial {
    double rightAscension = 0.0; // degrees, [0, 360)
    double declination = 0.0;    // degrees
};
// Ecliptic longitude and latitude and the obliquity, all radians.
Equatorial EclipticToEquatorial(double longitude, double latitude, double obliquity);
