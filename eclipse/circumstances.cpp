#include "eclipse/circumstances.h"

#include "eclipse/besselian.h"
#include "eclipse/path_geometry.h"
#include "eclipse/saros.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"
#include "ephemeris/horizon.h"

#include <cmath>
#include <optional>

namespace {

// The reach of the search for contacts either side of greatest eclipse, hours.
constexpr double kContactReach = 6.0;

double Square(double v) {
    return v * v;
}

// The point of the Earth's limb, the ellipse (cos t, rho1 sin t) of the
// fundamental plane, nearest to the point (x, y): its parameter t (radians).
double NearestLimbParameter(double x, double y, double rho1) {
    double theta = std::atan2(y / rho1, x);
    // Newton steps on the foot of the perpendicular; the ellipse is nearly a circle.
    for (int i = 0; i < 4; ++i) {
        const double c = std::cos(theta);
        const double s = std::sin(theta);
        const double ex = x - c;
        const double ey = y - rho1 * s;
        const double g = ex * s - ey * rho1 * c; // half the derivative of the squared distance
        const double dg = c * c + ex * c + rho1 * rho1 * s * s + ey * rho1 * s;
        if (dg == 0.0)
            break;
        theta -= g / dg;
    }
    return theta;
}

// Signed distance on the fundamental plane from the point (x, y) to the Earth's
// limb, the ellipse of semi-axes 1 (x) and rho1 (y): positive outside it.
double DistanceToLimb(double x, double y, double rho1) {
    const double theta = NearestLimbParameter(x, y, rho1);
    const double distance = std::hypot(x - std::cos(theta), y - rho1 * std::sin(theta));
    return Square(x) + Square(y / rho1) < 1.0 ? -distance : distance;
}

enum class Edge { Penumbra, UmbraOuter, UmbraInner };

// How far a contact condition is from being met at t: negative while the cone
// overlaps the Earth (Penumbra, UmbraOuter) or lies wholly on it (UmbraInner).
double ContactFunction(const PolynomialElements& p, double t, Edge edge) {
    const ElementsOfT e = EvaluateElements(p, t);
    const double s = DistanceToLimb(e.x, e.y, UnitSphereFrameOf(e.d).rho1);
    switch (edge) {
    case Edge::Penumbra:
        return s - e.l1;
    case Edge::UmbraOuter:
        return s - std::fabs(e.l2);
    case Edge::UmbraInner:
        return s + std::fabs(e.l2);
    }
    return 0.0;
}

// The root of f between a (f > 0) and b (f <= 0) by bisection to a millisecond.
template <typename F> double Bisect(F f, double a, double b) {
    for (int i = 0; i < 40 && std::fabs(b - a) > 1e-7; ++i) {
        const double m = 0.5 * (a + b);
        if (f(m) > 0.0)
            a = m;
        else
            b = m;
    }
    return 0.5 * (a + b);
}

// The two instants around tg (hours from t0) at which a contact condition starts
// and stops being met; none when it is not met at tg.
struct ContactPair {
    ContactInstant first;
    ContactInstant last;
};

ContactPair ContactsOf(const PolynomialElements& p, double tg, Edge edge) {
    ContactPair pair;
    auto f = [&](double t) { return ContactFunction(p, t, edge); };
    if (!(f(tg) <= 0.0))
        return pair;
    const double toUT = -p.deltaT / kSecondsPerDay;
    if (f(tg - kContactReach) > 0.0) {
        pair.first.present = true;
        pair.first.jdUT = p.jdT0 + Bisect(f, tg - kContactReach, tg) / 24.0 + toUT;
    }
    if (f(tg + kContactReach) > 0.0) {
        pair.last.present = true;
        pair.last.jdUT = p.jdT0 + Bisect(f, tg + kContactReach, tg) / 24.0 + toUT;
    }
    return pair;
}

// A point of the unit-sphere frame (xi, eta1, zeta1) on the Earth: geodetic
// latitude, longitude and the local hour angle of the axis (degrees), and the
// point's height above the fundamental plane in Earth radii (unscaled).
struct SurfacePoint {
    double lat = 0.0;
    double lon = 0.0;
    double hourAngle = 0.0;
    double zeta = 0.0;
    double rhoCosPhi = 0.0; // geocentric rho cos(phi'), Earth radii
};

SurfacePoint SurfacePointOf(double xi, double eta1, double zeta1, double d, double muUT) {
    const UnitSphereFrame f = UnitSphereFrameOf(d);
    const double sinU = eta1 * f.cosD1 + zeta1 * f.sinD1; // parametric latitude
    const double q = -eta1 * f.sinD1 + zeta1 * f.cosD1;
    const double h = std::atan2(xi, q); // local hour angle of the axis
    const double cosU = std::hypot(xi, q);
    SurfacePoint s;
    s.lat = std::atan2(sinU, cosU * kPolarRadius) * kRadToDeg;
    s.lon = path_geometry::ReduceLongitude(h * kRadToDeg - muUT);
    s.hourAngle = h * kRadToDeg;
    const double dr = d * kDegToRad;
    s.rhoCosPhi = cosU;
    s.zeta = kPolarRadius * sinU * std::sin(dr) + cosU * std::cos(dr) * std::cos(h);
    return s;
}

// The point of greatest eclipse on the limb (see GreatestLimbPoint).
SurfacePoint LimbPointTowards(double x, double y, double d, double muUT) {
    const double y1 = y / UnitSphereFrameOf(d).rho1;
    const double m1 = std::hypot(x, y1);
    if (!(m1 > 0.0))
        return SurfacePointOf(1.0, 0.0, 0.0, d, muUT);
    return SurfacePointOf(x / m1, y1 / m1, 0.0, d, muUT);
}

} // namespace

std::optional<EclipseCircumstances> CircumstancesOf(const PolynomialElements& p, int lunation,
                                                    Ephemeris engine) {
    const double tg = GreatestEclipseHours(p);
    const ElementsOfT e = EvaluateElements(p, tg);
    const UnitSphereFrame frame = UnitSphereFrameOf(e.d);
    const double limbDistance = DistanceToLimb(e.x, e.y, frame.rho1);
    if (!(limbDistance < e.l1))
        return std::nullopt; // the penumbra misses the Earth

    EclipseCircumstances c;
    c.lunation = lunation;
    c.saros = SarosSeries(lunation, kSolarSarosReference);
    c.elements = p;
    c.engine = engine;
    c.deltaT = p.deltaT;
    c.jdGreatestTT = p.jdT0 + tg / 24.0;
    c.jdGreatestUT = ElementsTimeToJdUT(p, tg);
    // A Delta T wrong by sigma seconds turns the Earth under the shadow by
    // sigma times its rotation: the path moves east or west by that much.
    c.deltaTSigma = DeltaTUncertaintySeconds(c.jdGreatestUT);
    c.lonSigma = c.deltaTSigma * kSiderealDegreesPerSecond;
    const double axisDistance = std::hypot(e.x, e.y);
    c.gamma = e.y < 0.0 ? -axisDistance : axisDistance;
    const double muUT = HourAngleFromUT(p, e.mu);
    const double y1 = e.y / frame.rho1;
    const double m1 = std::hypot(e.x, y1);
    c.central = m1 < 1.0;

    SurfacePoint point;
    if (c.central) {
        point = SurfacePointOf(e.x, y1, std::sqrt(1.0 - m1 * m1), e.d, muUT);
        const double bigL1 = e.l1 - point.zeta * p.tanF1;
        const double bigL2 = e.l2 - point.zeta * p.tanF2;
        c.magnitude = (bigL1 - bigL2) / (bigL1 + bigL2);
        c.type = bigL2 < 0.0 ? EclipseKind::Total : EclipseKind::Annular;

        // Duration and width on the central line, as the path's rows give them.
        c.centralDurationS = path_geometry::CentralDurationSeconds(p, tg);
        const path_geometry::State s = path_geometry::StateAt(p, tg);
        // A path of which one limit lies off the Earth (the umbra's northern or southern
        // edge passes beyond the limb) has no width, as published tables say ("n", "s").
        double q = 0.0;
        double limb = 0.0;
        c.hasPathWidth = path_geometry::SolveLimit(s, 1, 1, limb).has_value() &&
                         path_geometry::SolveLimit(s, 1, -1, limb).has_value();
        if (c.hasPathWidth)
            c.pathWidthKm =
                path_geometry::PathWidthKm(s, path_geometry::ObserverAt(s, s.x, s.y, q));

        // Hybrid: the path starts or ends annular (at the limb zeta = 0, L2 = l2)
        // around a total middle.
        if (c.type == EclipseKind::Total) {
            auto inside = [&](double t) {
                const ElementsOfT et = EvaluateElements(p, t);
                return std::hypot(et.x, et.y / UnitSphereFrameOf(et.d).rho1) - 1.0;
            };
            const double begin = Bisect(inside, tg - kContactReach, tg);
            const double end = Bisect(inside, tg + kContactReach, tg);
            if (EvaluateElements(p, begin).l2 > 0.0 || EvaluateElements(p, end).l2 > 0.0)
                c.type = EclipseKind::Hybrid;
        }
    } else {
        point = LimbPointTowards(e.x, e.y, e.d, muUT);
        const double gap = limbDistance; // the ellipsoid's limb to the axis
        c.magnitude = (e.l1 - gap) / (e.l1 + e.l2);
        if (gap < std::fabs(e.l2))
            c.type = e.l2 < 0.0 ? EclipseKind::Total : EclipseKind::Annular;
    }
    c.lat = point.lat;
    c.lon = point.lon;
    const Horizontal sun = HorizontalOf(c.lat, e.d, point.hourAngle);
    c.sunAltitude = sun.altitude;
    c.sunAzimuth = sun.azimuth;

    const ContactPair penumbra = ContactsOf(p, tg, Edge::Penumbra);
    c.p1 = penumbra.first;
    c.p4 = penumbra.last;
    const ContactPair outer = ContactsOf(p, tg, Edge::UmbraOuter);
    c.u1 = outer.first;
    c.u4 = outer.last;
    const ContactPair inner = ContactsOf(p, tg, Edge::UmbraInner);
    c.u2 = inner.first;
    c.u3 = inner.last;
    return c;
}

GeoPoint GreatestLimbPoint(double x, double y, double d, double muUT) {
    const SurfacePoint s = LimbPointTowards(x, y, d, muUT);
    return {s.lat, s.lon};
}
