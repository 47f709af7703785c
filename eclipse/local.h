#pragma once

#include <array>
#include <optional>

// Local circumstances of a solar eclipse: what an observer at one place sees.
//
// The computation works on cubic Besselian elements about a reference instant t0,
// as the published canons give them, so that the same code runs on published
// elements and on elements fitted to this program's ephemeris.

// Cubic Besselian elements: a(t) = a[0] + a[1] t + a[2] t^2 + a[3] t^3 with t in TT
// hours from t0. x, y, l1, l2 in Earth equatorial radii; d and mu in degrees. mu is
// the ephemeris hour angle (reckoned from TT, as in the canons): the Greenwich
// hour angle of the axis at the UT instant is mu - 0.00417807 * deltaT.
struct CubicElements {
    double t0JdTT = 0.0; // Julian day (TT) of t0
    double deltaT = 0.0; // TT - UT, seconds
    std::array<double, 4> x{};
    std::array<double, 4> y{};
    std::array<double, 4> d{};
    std::array<double, 4> mu{};
    std::array<double, 4> l1{};
    std::array<double, 4> l2{};
    double tanF1 = 0.0;
    double tanF2 = 0.0;
};

// The Moon's radius in Earth equatorial radii as the canon takes it: the mean
// radius for the penumbra, a smaller one below the mountains of the limb for the
// umbra.
inline constexpr double kCanonMoonRadiusPenumbra = 0.272488;
inline constexpr double kCanonMoonRadiusUmbra = 0.272281;

// An observer on the Earth's ellipsoid (IAU flattening).
struct Observer {
    double latitude = 0.0;  // geodetic, degrees, [-90, 90]
    double longitude = 0.0; // degrees, east positive
    double height = 0.0;    // metres above sea level
};

enum class LocalKind { None, Partial, Annular, Total };

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
    LocalKind kind = LocalKind::None;
    std::optional<LocalEvent> c1; // first contact (penumbra)
    std::optional<LocalEvent> c2; // second contact: totality or annularity begins
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
};

// Local circumstances from the elements. Contacts and maximum are searched within
// the elements' reach (t0 +- 4 h). Kind None when the penumbra misses the place.
LocalCircumstances ComputeLocalCircumstances(const CubicElements& e, const Observer& o);

// The Sun's position for the observer at t TT hours from t0.
SunPosition SunPositionAt(const CubicElements& e, const Observer& o, double t);

// Standard refraction (10 degrees C, 1010 hPa; Saemundsson) for a geometric
// altitude in degrees; degrees. Zero below -1 degree, where the Sun is set.
double StandardRefraction(double geometricAltitude);

// Julian day (UT) of t TT hours from t0.
double ElementsTimeToJdUT(const CubicElements& e, double t);

// Cubic elements fitted to this program's ephemeris (ElementsAt) over t0 +- 3 h,
// with the canon's lunar radii for the cones. t0JdTT should be a whole TT hour near
// greatest eclipse.
CubicElements FitElements(double t0JdTT);

// The instant of greatest eclipse (the axis nearest the Earth's centre) from the
// elements, TT hours from t0, and the least distance of the axis, Earth radii.
struct GreatestEclipse {
    double t = 0.0;
    double gamma = 0.0; // signed as y: positive when the axis passes north
};
GreatestEclipse GreatestEclipseOf(const CubicElements& e);

// Where the shadow axis meets the Earth at t TT hours from t0; when it misses, the
// point of the Earth's limb nearest to it (where the Sun is on the horizon).
struct AxisPoint {
    double latitude = 0.0;  // geodetic, degrees
    double longitude = 0.0; // degrees, east positive, (-180, 180]
    bool onEarth = false;   // the axis meets the Earth
    double distance = 0.0;  // axis from the centre in the frame where the Earth is the
                            // unit sphere (y stretched by 1 / rho1)
};
AxisPoint AxisPointAt(const CubicElements& e, double t);

// The eclipse near a new moon: its elements and greatest eclipse. Empty when the
// penumbra misses the Earth.
struct FoundEclipse {
    CubicElements elements;
    GreatestEclipse greatest;
    double greatestJdUT = 0.0;
};

// The solar eclipse whose greatest eclipse falls on the UT day that begins at
// jd0 (0h UT); empty when there is none.
std::optional<FoundEclipse> EclipseOnDay(double jd0);

// The first solar eclipse whose greatest eclipse lies after jdUT and from whose
// circumstances at the observer the Sun is above the horizon for some part,
// within `years` years; empty when none.
struct LocalEclipse {
    FoundEclipse eclipse;
    LocalCircumstances local;
};
std::optional<LocalEclipse> NextLocalEclipse(double jdUT, const Observer& o, double years);
