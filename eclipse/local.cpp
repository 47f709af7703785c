#include "eclipse/local.h"

#include "eclipse/besselian.h"
#include "eclipse/finder.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"
#include "ephemeris/horizon.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEarthRadiusM = kEarthRadiusKm * 1000.0;
// Contacts and maximum are sought within this many hours of t0.
constexpr double kReachHours = 4.0;
constexpr double kConvergedHours = 1e-7;
constexpr int kMaxIterations = 40;

// The observer's geocentric coordinates in Earth equatorial radii.
struct GeocentricObserver {
    double rhoSin = 0.0;    // rho sin phi'
    double rhoCos = 0.0;    // rho cos phi'
    double latitude = 0.0;  // geodetic, degrees
    double longitude = 0.0; // degrees, east positive
};

GeocentricObserver Geocentric(const Observer& o) {
    const double phi = o.latitude * kDegToRad;
    const double axisRatio = kPolarRadius;
    const double u = std::atan(axisRatio * std::tan(phi));
    const double h = o.height / kEarthRadiusM;
    GeocentricObserver g;
    g.latitude = o.latitude;
    g.rhoSin = axisRatio * std::sin(u) + h * std::sin(phi);
    g.rhoCos = std::cos(u) + h * std::cos(phi);
    g.longitude = o.longitude;
    return g;
}

// The shadow relative to the observer at t TT hours from t0.
struct ShadowState {
    double u = 0.0;           // x - xi
    double v = 0.0;           // y - eta
    double a = 0.0;           // du/dt, per hour
    double b = 0.0;           // dv/dt, per hour
    double l1 = 0.0;          // penumbra's radius in the observer's plane
    double l2 = 0.0;          // umbra's radius there; < 0: total
    double hourAngle = 0.0;   // local hour angle of the axis, radians
    double declination = 0.0; // radians
};

ShadowState StateAt(const PolynomialElements& p, const GeocentricObserver& g, double t) {
    const ElementsOfT e = EvaluateElements(p, t);
    const double d = e.d * kDegToRad;
    const double dRate = e.dd * kDegToRad;
    const double muRate = e.dmu * kDegToRad;
    const double h = (HourAngleFromUT(p, e.mu) + g.longitude) * kDegToRad;
    const double sinD = std::sin(d);
    const double cosD = std::cos(d);
    const double sinH = std::sin(h);
    const double cosH = std::cos(h);
    const double xi = g.rhoCos * sinH;
    const double eta = g.rhoSin * cosD - g.rhoCos * cosH * sinD;
    const double zeta = g.rhoSin * sinD + g.rhoCos * cosH * cosD;
    const double xiRate = muRate * g.rhoCos * cosH;
    const double etaRate = muRate * xi * sinD - zeta * dRate;
    ShadowState s;
    s.u = e.x - xi;
    s.v = e.y - eta;
    s.a = e.dx - xiRate;
    s.b = e.dy - etaRate;
    s.l1 = e.l1 - zeta * p.tanF1;
    s.l2 = e.l2 - zeta * p.tanF2;
    s.hourAngle = h;
    s.declination = d;
    return s;
}

// The instant of least distance between the observer and the axis, hours from t0.
std::optional<double> LocalMaximum(const PolynomialElements& e, const GeocentricObserver& g,
                                   double start) {
    double t = start;
    for (int i = 0; i < kMaxIterations; ++i) {
        const ShadowState s = StateAt(e, g, t);
        const double n2 = s.a * s.a + s.b * s.b;
        if (!(n2 > 0.0))
            return std::nullopt;
        const double step = -(s.u * s.a + s.v * s.b) / n2;
        t += std::clamp(step, -1.0, 1.0);
        if (!(std::fabs(t) <= kReachHours))
            return std::nullopt;
        if (std::fabs(step) < kConvergedHours)
            return t;
    }
    return std::nullopt;
}

// The instant at which the observer lies on a cone's edge, hours from t0: the
// first (sign -1) or last (sign +1) contact, iterated from the maximum.
std::optional<double> Contact(const PolynomialElements& e, const GeocentricObserver& g,
                              double start, double sign, bool umbra) {
    double t = start;
    for (int i = 0; i < kMaxIterations; ++i) {
        const ShadowState s = StateAt(e, g, t);
        const double radius = umbra ? std::fabs(s.l2) : s.l1;
        const double n2 = s.a * s.a + s.b * s.b;
        if (!(n2 > 0.0) || !(radius > 0.0))
            return std::nullopt;
        const double n = std::sqrt(n2);
        const double sinPsi = std::clamp((s.u * s.b - s.v * s.a) / (n * radius), -1.0, 1.0);
        const double cosPsi = std::sqrt(1.0 - sinPsi * sinPsi);
        const double step = -(s.u * s.a + s.v * s.b) / n2 + sign * radius * cosPsi / n;
        t += std::clamp(step, -2.0, 2.0);
        if (!(std::fabs(t) <= kReachHours))
            return std::nullopt;
        if (std::fabs(step) < kConvergedHours) {
            const ShadowState c = StateAt(e, g, t);
            const double r = umbra ? std::fabs(c.l2) : c.l1;
            if (std::fabs(std::hypot(c.u, c.v) - r) > 1e-6)
                return std::nullopt;
            return t;
        }
    }
    return std::nullopt;
}

// Area common to two discs of radii r1 and r2 whose centres lie c apart.
double OverlapArea(double r1, double r2, double c) {
    if (c >= r1 + r2)
        return 0.0;
    const double small = std::min(r1, r2);
    if (c <= std::fabs(r1 - r2))
        return kPi * small * small;
    const double a1 =
        std::acos(std::clamp((c * c + r1 * r1 - r2 * r2) / (2.0 * c * r1), -1.0, 1.0));
    const double a2 =
        std::acos(std::clamp((c * c + r2 * r2 - r1 * r1) / (2.0 * c * r2), -1.0, 1.0));
    const double kite =
        0.5 *
        std::sqrt(std::max(0.0, (-c + r1 + r2) * (c + r1 - r2) * (c - r1 + r2) * (c + r1 + r2)));
    return r1 * r1 * a1 + r2 * r2 * a2 - kite;
}

SunPosition SunPositionFor(const ShadowState& s, const GeocentricObserver& g) {
    const Horizontal sun =
        HorizontalOf(g.latitude, s.declination * kRadToDeg, s.hourAngle * kRadToDeg);
    SunPosition p;
    p.altitude = sun.altitude;
    p.apparentAltitude = p.altitude + StandardRefraction(p.altitude);
    p.azimuth = sun.azimuth;
    p.aboveHorizon = p.apparentAltitude > 0.0;
    return p;
}

LocalEvent EventAt(const PolynomialElements& e, const GeocentricObserver& g, double t) {
    return {ElementsTimeToJdUT(e, t), SunPositionFor(StateAt(e, g, t), g)};
}

} // namespace

double StandardRefraction(double geometricAltitude) {
    if (!(geometricAltitude >= -1.0))
        return 0.0;
    const double h = geometricAltitude;
    const double arcmin = 1.02 / std::tan((h + 10.3 / (h + 5.11)) * kDegToRad);
    return arcmin / 60.0;
}

SunPosition SunPositionAt(const PolynomialElements& e, const Observer& o, double t) {
    const GeocentricObserver g = Geocentric(o);
    return SunPositionFor(StateAt(e, g, t), g);
}

LocalCircumstances ComputeLocalCircumstances(const PolynomialElements& e, const Observer& o) {
    LocalCircumstances lc;
    const GeocentricObserver g = Geocentric(o);
    const std::optional<double> tMax = LocalMaximum(e, g, 0.0);
    if (!tMax)
        return lc;
    const ShadowState m = StateAt(e, g, *tMax);
    const double separation = std::hypot(m.u, m.v);
    if (!(separation < m.l1))
        return lc;
    const std::optional<double> t1 = Contact(e, g, *tMax, -1.0, false);
    const std::optional<double> t4 = Contact(e, g, *tMax, +1.0, false);
    if (!t1 || !t4)
        return lc;

    lc.kind = EclipseKind::Partial;
    lc.max = EventAt(e, g, *tMax);
    lc.c1 = EventAt(e, g, *t1);
    lc.c4 = EventAt(e, g, *t4);
    lc.contactSigma = DeltaTUncertaintySeconds(lc.max->jdUT);
    const double sunRadius = 0.5 * (m.l1 + m.l2);
    const double moonRadius = 0.5 * (m.l1 - m.l2);
    lc.magnitude = (m.l1 - separation) / (m.l1 + m.l2);
    lc.obscuration = OverlapArea(sunRadius, moonRadius, separation) / (kPi * sunRadius * sunRadius);
    if (separation < std::fabs(m.l2)) {
        const std::optional<double> t2 = Contact(e, g, *tMax, -1.0, true);
        const std::optional<double> t3 = Contact(e, g, *tMax, +1.0, true);
        if (t2 && t3) {
            lc.kind = m.l2 < 0.0 ? EclipseKind::Total : EclipseKind::Annular;
            lc.magnitude = (m.l1 - m.l2) / (m.l1 + m.l2);
            lc.c2 = EventAt(e, g, *t2);
            lc.c3 = EventAt(e, g, *t3);
            lc.duration = (*t3 - *t2) * 3600.0;
        }
    }

    // Visible when the Sun is up at some instant between the outer contacts.
    constexpr int kSamples = 12;
    lc.visible = lc.c1->sun.aboveHorizon || lc.max->sun.aboveHorizon || lc.c4->sun.aboveHorizon;
    for (int i = 1; i < kSamples && !lc.visible; ++i) {
        const double t = *t1 + (*t4 - *t1) * i / kSamples;
        lc.visible = SunPositionFor(StateAt(e, g, t), g).aboveHorizon;
    }
    return lc;
}

std::optional<LocalEclipse> NextLocalEclipse(double jdUT, const Observer& o, double years,
                                             Ephemeris engine) {
    if (!(std::fabs(jdUT) < 1e8) || !(years >= 0.0) || !(years < 1e4))
        return std::nullopt;
    const double end = jdUT + years * 365.25;
    const int last = LunationNear(end) + 1;
    for (int k = LunationNear(jdUT) - 1; k <= last; ++k) {
        const std::optional<EclipseCircumstances> c = EclipseOfLunation(k, engine);
        if (!c || c->jdGreatestUT <= jdUT || c->jdGreatestUT > end)
            continue;
        const LocalCircumstances lc = ComputeLocalCircumstances(c->elements, o);
        if (lc.kind != EclipseKind::None && lc.visible)
            return LocalEclipse{*c, lc};
    }
    return std::nullopt;
}
