#include "eclipse/outline.h"

#include "ephemeris/constants.h"

#include <cmath>

namespace {

// A candidate outline point is accepted when it lies on both the cone's circle
// and the Earth's section to within rounding noise.
constexpr double kAcceptTolerance = 1e-9;

// Intersects the cone's circular section at height zeta, radius l - zeta tan f
// around (x, y), with the Earth's section there. In the frame where the Earth is
// the unit sphere that section is the circle of radius sqrt(1 - zeta^2); the
// cone's section stays a circle to within the flattening times its radius.
// Returns whether the two sections meet; appends the accepted points.
// What the conversion to the Earth needs of one instant's elements, computed once
// for all the points of an outline.
struct GeodeticFrame {
    double sinA;
    double cosA;
    double sinD1;
    double cosD1;
    double siderealDeg; // Greenwich sidereal angle, degrees
    double polarRadius; // Earth radii
};

GeodeticFrame FrameOf(const BesselianElements& e) {
    const double a = e.a * kDegToRad;
    return {std::sin(a), std::cos(a), e.sinD1, e.cosD1, kHoursToDeg * e.siderealHours,
            kPolarRadius};
}

GeoPoint ToGeodetic(const GeodeticFrame& f, double xi, double eta, double zeta) {
    const double px = -xi * f.sinA - eta * f.cosA * f.sinD1 + zeta * f.cosA * f.cosD1;
    const double py = xi * f.cosA - eta * f.sinA * f.sinD1 + zeta * f.sinA * f.cosD1;
    const double pz = eta * f.cosD1 + zeta * f.sinD1;

    // atan2 gives (-180, 180], the sidereal angle [0, 360): one or two turns bring
    // the longitude into [-180, 180].
    double longitude = std::atan2(py, px) * kRadToDeg - f.siderealDeg;
    while (longitude < -180.0)
        longitude += 360.0;
    const double rho = std::sqrt(px * px + py * py);
    // pz is the sine of the parametric latitude; tan(geodetic) = tan(parametric) / polar radius.
    return {std::atan2(pz, rho * f.polarRadius) * kRadToDeg, longitude};
}

bool TraceSection(const BesselianElements& e, const GeodeticFrame& frame, double zeta, double l,
                  double tanF, Outline& outline) {
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
            const GeoPoint point = ToGeodetic(frame, p.xi, p.eta, zeta);
            outline.lat.push_back(point.lat);
            outline.lon.push_back(point.lon);
        }
    }
    return true;
}

} // namespace

GeoPoint FundamentalToGeodetic(const BesselianElements& e, double xi, double eta, double zeta) {
    return ToGeodetic(FrameOf(e), xi, eta, zeta);
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
    const GeodeticFrame frame = FrameOf(e);
    // Most sections meet the Earth in two points: room for them at once, not by doubling.
    outline.lat.reserve(static_cast<std::size_t>(2 * count));
    outline.lon.reserve(static_cast<std::size_t>(2 * count));
    double zeta = 0.0;
    for (long long k = 0; k < count; ++k) {
        zeta += increment;
        if (TraceSection(e, frame, zeta, l, tanF, outline))
            ++outline.hits;
    }
    return outline;
}

ShadowSnapshot ShadowAt(double jd, bool applyDeltaT, double umbraSamples, double penumbraSamples,
                        Ephemeris engine) {
    const BesselianElements e =
        ElementsAt(applyDeltaT ? ApparentPlacesAt(jd, engine) : ApparentPlacesAt(jd, 0.0, engine));
    return {TraceOutline(e, Cone::Penumbra, penumbraSamples),
            TraceOutline(e, Cone::Umbra, umbraSamples)};
}
