#include "eclipse/outline.h"

#include "ephemeris/constants.h"

#include <array>
#include <cmath>
#include <cstddef>

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

// The Earth-fixed direction of (xi, eta, zeta): px, py in the equator's plane (px toward
// the equinox), pz toward the north pole.
struct EquatorialPoint {
    double px, py, pz;
};

EquatorialPoint ToEquatorial(const GeodeticFrame& f, double xi, double eta, double zeta) {
    return {-xi * f.sinA - eta * f.cosA * f.sinD1 + zeta * f.cosA * f.cosD1,
            xi * f.cosA - eta * f.sinA * f.sinD1 + zeta * f.sinA * f.cosD1,
            eta * f.cosD1 + zeta * f.sinD1};
}

// Right ascension and geodetic latitude (radians) as a place on the Earth, degrees.
GeoPoint FromAngles(const GeodeticFrame& f, double rightAscension, double latitude) {
    // The angle is in (-180, 180], the sidereal angle [0, 360): one or two turns bring
    // the longitude into [-180, 180].
    double longitude = rightAscension * kRadToDeg - f.siderealDeg;
    while (longitude < -180.0)
        longitude += 360.0;
    return {latitude * kRadToDeg, longitude};
}

GeoPoint ToGeodetic(const GeodeticFrame& f, double xi, double eta, double zeta) {
    const EquatorialPoint p = ToEquatorial(f, xi, eta, zeta);
    const double rho = std::sqrt(p.px * p.px + p.py * p.py);
    // pz is the sine of the parametric latitude; tan(geodetic) = tan(parametric) / polar radius.
    return FromAngles(f, std::atan2(p.py, p.px), std::atan2(p.pz, rho * f.polarRadius));
}

// The angle of (x, y) followed along a branch of an outline: from the angle of the
// branch's previous point plus the small angle between the two directions, which is
// atan(cross / dot) and for |t| <= kSmallTurn is given by its series to within 1e-19 rad.
// Each step adds at most an ulp of the angle, so the angle is taken afresh from atan2
// every kTurnsPerAnchor steps (and wherever the step is not small): it stays within
// 1e-13 rad of atan2's, far below any pixel.
class FollowedAngle {
public:
    double operator()(double x, double y) {
        if (m_steps > 0 && m_steps < kTurnsPerAnchor) {
            const double dot = m_x * x + m_y * y;
            const double cross = m_x * y - m_y * x;
            if (dot > 0.0 && std::fabs(cross) <= kSmallTurn * dot) {
                const double t = cross / dot;
                const double t2 = t * t;
                const double angle =
                    m_angle + t * (1.0 - t2 * (1.0 / 3.0 - t2 * (1.0 / 5.0 - t2 * (1.0 / 7.0))));
                // Past the cut at +-pi atan2 answers the other side: taken afresh there.
                if (angle > -kPi && angle <= kPi)
                    return Keep(x, y, angle, m_steps + 1);
            }
        }
        return Keep(x, y, std::atan2(y, x), 1);
    }
    // The next point is not on this branch's track.
    void Break() { m_steps = 0; }

private:
    static constexpr double kSmallTurn = 0.01; // radians of turn between two points
    static constexpr int kTurnsPerAnchor = 64;

    double Keep(double x, double y, double angle, int steps) {
        m_x = x;
        m_y = y;
        m_angle = angle;
        m_steps = steps;
        return angle;
    }
    double m_x = 0.0, m_y = 0.0, m_angle = 0.0;
    int m_steps = 0;
};

// The places of one branch of an outline (one of the four candidates of each height),
// its right ascension and latitude followed from point to point.
struct BranchTrack {
    FollowedAngle rightAscension;
    FollowedAngle latitude;

    GeoPoint Place(const GeodeticFrame& f, double xi, double eta, double zeta) {
        const EquatorialPoint p = ToEquatorial(f, xi, eta, zeta);
        const double rho = std::sqrt(p.px * p.px + p.py * p.py);
        return FromAngles(f, rightAscension(p.px, p.py), latitude(rho * f.polarRadius, p.pz));
    }
    void Break() {
        rightAscension.Break();
        latitude.Break();
    }
};

bool TraceSection(const BesselianElements& e, const GeodeticFrame& frame, double zeta, double l,
                  double tanF, std::array<BranchTrack, 4>& tracks, Outline& outline) {
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
    if (!(disc > 0.0)) {
        for (BranchTrack& track : tracks)
            track.Break();
        return false;
    }

    const double root = std::sqrt(disc);
    const double eta1 = (root - c) / (2.0 * d);
    const double eta2 = (-c - root) / (2.0 * d);
    const double xi1 = std::sqrt(1.0 - eta1 * eta1 - a);
    const double xi2 = std::sqrt(1.0 - eta2 * eta2 - a);
    const struct {
        double xi;
        double eta;
    } candidates[] = {{xi1, eta1}, {-xi1, eta1}, {xi2, eta2}, {-xi2, eta2}};
    for (std::size_t i = 0; i < 4; ++i) {
        const auto& p = candidates[i];
        const double circle = (p.xi - x) * (p.xi - x) + (p.eta - y) * (p.eta - y);
        const double sphere = p.xi * p.xi + p.eta * p.eta + a;
        if (std::fabs(circle - w) <= kAcceptTolerance &&
            std::fabs(sphere - 1.0) <= kAcceptTolerance) {
            const GeoPoint point = tracks[i].Place(frame, p.xi, p.eta, zeta);
            outline.lat.push_back(point.lat);
            outline.lon.push_back(point.lon);
        } else {
            tracks[i].Break();
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
    std::array<BranchTrack, 4> tracks;
    double zeta = 0.0;
    for (long long k = 0; k < count; ++k) {
        zeta += increment;
        if (TraceSection(e, frame, zeta, l, tanF, tracks, outline))
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
