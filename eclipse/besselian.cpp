#include "eclipse/besselian.h"

#include "ephemeris/constants.h"

#include <cmath>

namespace {

struct Vector {
    double x;
    double y;
    double z;
};

double Dot(const Vector& a, const Vector& b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}

// Geocentric equatorial rectangular coordinates of a body at right ascension ra
// and declination dec (degrees) and distance r.
Vector Rectangular(double ra, double dec, double r) {
    const double raRad = ra * kDegToRad;
    const double decRad = dec * kDegToRad;
    return {r * std::cos(raRad) * std::cos(decRad), r * std::sin(raRad) * std::cos(decRad),
            r * std::sin(decRad)};
}

} // namespace

BesselianElements ElementsAt(const ApparentPlaces& p) {
    const double sunRadius = // Earth radii
        p.engine == Ephemeris::Precise
            ? std::sin(kSunSemiDiameterAtUnitDistanceArcsec * kArcsecToRad) * kAuKm / kEarthRadiusKm
            : kSunRadiusKm / kEarthRadiusKm;
    const double arc = 1.0 / std::sin(kDegToRad / 3600.0); // arcseconds per radian
    const double sunParallax = arc * (kEarthRadiusKm / kAuKm) / p.sunDistance; // arcseconds
    const double sunDistance = 1.0 / std::sin(sunParallax / 3600.0 * kDegToRad);
    const double moonDistance = 1.0 / std::sin(p.moonParallax * kDegToRad);

    const Vector moon = Rectangular(p.moonRA, p.moonDec, moonDistance);
    const Vector sun = Rectangular(p.sunRA, p.sunDec, sunDistance);

    // The shadow axis points from the Moon toward the Sun: G = Sun - Moon.
    const Vector g = {sun.x - moon.x, sun.y - moon.y, sun.z - moon.z};
    const double gLength = std::sqrt(Dot(g, g));
    const Vector axis = {g.x / gLength, g.y / gLength, g.z / gLength};
    const double d = std::asin(axis.z);
    const double a = std::atan2(axis.y, axis.x);
    const Vector planeX = {-std::sin(a), std::cos(a), 0.0};
    const Vector planeY = {-std::cos(a) * std::sin(d), -std::sin(a) * std::sin(d), std::cos(d)};

    BesselianElements e;
    e.jd = p.jd;
    e.deltaT = p.deltaT;
    e.x = Dot(planeX, moon);
    e.y = Dot(planeY, moon);
    e.z = Dot(axis, moon);
    e.d = d * kRadToDeg;
    e.a = a * kRadToDeg;
    e.siderealHours = p.siderealHours;
    e.mu = std::fmod(kHoursToDeg * e.siderealHours - e.a, 360.0);
    if (e.mu < 0.0)
        e.mu += 360.0;

    e.f1 = std::asin((sunRadius + kMoonRadiusPenumbra) / gLength);
    e.f2 = std::asin((sunRadius - kMoonRadiusUmbra) / gLength);
    e.tanF1 = std::tan(e.f1);
    e.tanF2 = std::tan(e.f2);
    e.l1 = e.z * e.tanF1 + kMoonRadiusPenumbra / std::cos(e.f1);
    e.l2 = e.z * e.tanF2 - kMoonRadiusUmbra / std::cos(e.f2);

    const UnitSphereFrame frame = UnitSphereFrameOf(e.d);
    e.rho1 = frame.rho1;
    e.sinD1 = frame.sinD1;
    e.cosD1 = frame.cosD1;
    return e;
}

UnitSphereFrame UnitSphereFrameOf(double dDegrees) {
    // The Earth's polar axis scaled by 1 / (polar radius) tilts the axis to d1
    // and stretches y by 1 / rho1.
    const double sinD = std::sin(dDegrees * kDegToRad);
    const double cosD = std::cos(dDegrees * kDegToRad);
    UnitSphereFrame f;
    f.rho1 = std::sqrt(1.0 - kEccentricitySquared * cosD * cosD);
    f.rho2 = std::sqrt(1.0 - kEccentricitySquared * sinD * sinD);
    f.sinD1 = sinD / f.rho1;
    f.cosD1 = kPolarRadius * cosD / f.rho1;
    f.sinD1D2 = kEccentricitySquared * sinD * cosD / (f.rho1 * f.rho2);
    f.cosD1D2 = kPolarRadius / (f.rho1 * f.rho2);
    return f;
}
