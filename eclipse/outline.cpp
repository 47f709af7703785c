#include "eclipse/outline.h"

#include "ephemeris/constants.h"

#include <cmath>

namespace {

// A candidate outline point is accepted when it lies on both the cone's circle
// and the Earth's section to within rounding noise.
constexpr double kAcceptTolerance = 1e-9;

// Reduces an angle in (-360, 360) to [-180, 180].
double ReduceTo180(double v) {
    if (v > 180.0 && v <= 360.0)
        return v - 360.0;
    if (v >= -360.0 && v < -180.0)
        return v + 360.0;
    return v;
}

// Intersects the cone's circular section at height zeta, radius l - zeta tan f
// around (x, y), with the Earth's section there. In the frame where the Earth is
// the unit sphere that section is the circle of radius sqrt(1 - zeta^2); the
// cone's section stays a circle to within the flattening times its radius.
// Returns whether the two sections meet; appends the accepted points.
bool TraceSection(const BesselianElements& e, double zeta, double l, double tanF,
                  Outline& outline) {
    const double x = e.x;
    const double y = e.y / e.rho1;

    const double radius = l - zeta * tanF;
    const double w = radius * radius;
    const double a = zeta * zeta;
    const double b = w - (x * x + y * y) + a - 1.0;
    const double k = 4.0 * x * x - b * b - 4.0 * x * x * a;
    const double c = 4.0 * b * y;
    const double d = 4.0 * (x * x + y * y);
    const double disc = c * c + 4.0 * d * k;
    if (!(disc > 0.0))
        return false;

    const double root = std::sqrt(disc);
    const double eta1 = (root - c) / (2.0 * d);
    const double eta2 = (-c - root) / (2.0 * d);
    const double xi1 = std::sqrt(1.0 - eta1 * eta1 - a);
    const double xi2 = std::sqrt(1.0 - eta2 * eta2 - a);
    const struct {
        double xi;
        double eta;
    } candidates[] = {{xi1, eta1}, {-xi1, eta1}, {xi2, eta2}, {-xi2, eta2}};
    for (const auto& p : candidates) {
        const double circle = (p.xi - x) * (p.xi - x) + (p.eta - y) * (p.eta - y);
        const double sphere = p.xi * p.xi + p.eta * p.eta + a;
        if (std::fabs(circle - w) <= kAcceptTolerance &&
            std::fabs(sphere - 1.0) <= kAcceptTolerance) {
            const GeoPoint point = FundamentalToGeodetic(e, p.xi, p.eta, zeta);
            outline.lat.push_back(point.lat);
            outline.lon.push_back(point.lon);
        }
    }
    return true;
}

} // namespace

GeoPoint FundamentalToGeodetic(const BesselianElements& e, double xi, double eta, double zeta) {
    const double a = e.a * kDegToRad;
    const double sinA = std::sin(a);
    const double cosA = std::cos(a);
    const double px = -xi * sinA - eta * cosA * e.sinD1 + zeta * cosA * e.cosD1;
    const double py = xi * cosA - eta * sinA * e.sinD1 + zeta * sinA * e.cosD1;
    const double pz = eta * e.cosD1 + zeta * e.sinD1;

    const double longitude = std::atan2(py, px) * kRadToDeg - kHoursToDeg * e.siderealHours;
    const double rho = std::sqrt(px * px + py * py);
    // pz is the sine of the parametric latitude; tan(geodetic) = tan(parametric) / polar radius.
    const double polarRadius = std::sqrt(1.0 - kEccentricitySquared);
    const double latitude = std::fmod(std::atan2(pz, rho * polarRadius) * kRadToDeg, 360.0);
    return {ReduceTo180(latitude), ReduceTo180(std::fmod(longitude, 360.0))};
}

Outline TraceOutline(const BesselianElements& e, Cone cone, double samples) {
    Outline outline;
    // Counts beyond any sensible sampling (or NaN) are treated as none. With the
    // Moon behind the Earth (near full moon) there is no shadow cone toward it.
    if (!(samples >= 1.0 && samples < 1.0e9) || !(e.z > 0.0))
        return outline;
    const bool penumbra = cone == Cone::Penumbra;
    const double l = penumbra ? e.l1 : e.l2;
    const double tanF = penumbra ? e.tanF1 : e.tanF2;
    const long long count = static_cast<long long>(samples);
    const double increment = 1.0 / samples;
    double zeta = 0.0;
    for (long long k = 0; k < count; ++k) {
        zeta += increment;
        if (TraceSection(e, zeta, l, tanF, outline))
            ++outline.hits;
    }
    return outline;
}

ShadowSnapshot ShadowAt(double jd, bool applyDeltaT, double umbraSamples, double penumbraSamples) {
    const BesselianElements e =
        ElementsAt(applyDeltaT ? ApparentPlacesAt(jd) : ApparentPlacesAt(jd, 0.0));
    return {TraceOutline(e, Cone::Penumbra, penumbraSamples),
            TraceOutline(e, Cone::Umbra, umbraSamples)};
}
