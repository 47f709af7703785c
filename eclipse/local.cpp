#include "eclipse/local.h"

#include "eclipse/besselian.h"
#include "ephemeris/apparent.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kEarthRadiusM = kEarthRadiusKm * 1000.0;
// The hour angle of the axis drifts by this much per second of Delta T, degrees
// (the Earth's rotation rate, 1.002738 * 15 degrees an hour).
constexpr double kHourAngleDegPerSecond = 0.00417807;
// Contacts and maximum are sought within this many hours of t0.
constexpr double kReachHours = 4.0;
constexpr double kConvergedHours = 1e-7;
constexpr int kMaxIterations = 40;

double Poly(const std::array<double, 4>& c, double t) {
    return c[0] + t * (c[1] + t * (c[2] + t * c[3]));
}

double PolyRate(const std::array<double, 4>& c, double t) {
    return c[1] + t * (2.0 * c[2] + t * 3.0 * c[3]);
}

double PolyAcceleration(const std::array<double, 4>& c, double t) {
    return 2.0 * c[2] + 6.0 * c[3] * t;
}

// The observer's geocentric coordinates in Earth equatorial radii.
struct GeocentricObserver {
    double rhoSin = 0.0; // rho sin phi'
    double rhoCos = 0.0; // rho cos phi'
    double sinLat = 0.0; // of the geodetic latitude
    double cosLat = 1.0;
    double longitude = 0.0; // degrees, east positive
};

GeocentricObserver Geocentric(const Observer& o) {
    const double phi = o.latitude * kDegToRad;
    const double axisRatio = 1.0 - kFlattening;
    const double u = std::atan(axisRatio * std::tan(phi));
    const double h = o.height / kEarthRadiusM;
    GeocentricObserver g;
    g.sinLat = std::sin(phi);
    g.cosLat = std::cos(phi);
    g.rhoSin = axisRatio * std::sin(u) + h * g.sinLat;
    g.rhoCos = std::cos(u) + h * g.cosLat;
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

ShadowState StateAt(const CubicElements& e, const GeocentricObserver& g, double t) {
    const double d = Poly(e.d, t) * kDegToRad;
    const double dRate = PolyRate(e.d, t) * kDegToRad;
    const double muRate = PolyRate(e.mu, t) * kDegToRad;
    const double h = (Poly(e.mu, t) - kHourAngleDegPerSecond * e.deltaT + g.longitude) * kDegToRad;
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
    s.u = Poly(e.x, t) - xi;
    s.v = Poly(e.y, t) - eta;
    s.a = PolyRate(e.x, t) - xiRate;
    s.b = PolyRate(e.y, t) - etaRate;
    s.l1 = Poly(e.l1, t) - zeta * e.tanF1;
    s.l2 = Poly(e.l2, t) - zeta * e.tanF2;
    s.hourAngle = h;
    s.declination = d;
    return s;
}

// The instant of least distance between the observer and the axis, hours from t0.
std::optional<double> LocalMaximum(const CubicElements& e, const GeocentricObserver& g,
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
std::optional<double> Contact(const CubicElements& e, const GeocentricObserver& g, double start,
                              double sign, bool umbra) {
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
    const double sinD = std::sin(s.declination);
    const double cosD = std::cos(s.declination);
    const double sinH = std::sin(s.hourAngle);
    const double cosH = std::cos(s.hourAngle);
    const double sinAlt = std::clamp(g.sinLat * sinD + g.cosLat * cosD * cosH, -1.0, 1.0);
    SunPosition p;
    p.altitude = std::asin(sinAlt) * kRadToDeg;
    p.apparentAltitude = p.altitude + StandardRefraction(p.altitude);
    double az = std::atan2(-cosD * sinH, sinD * g.cosLat - cosD * cosH * g.sinLat) * kRadToDeg;
    if (az < 0.0)
        az += 360.0;
    p.azimuth = az >= 360.0 ? az - 360.0 : az;
    p.aboveHorizon = p.apparentAltitude > 0.0;
    return p;
}

LocalEvent EventAt(const CubicElements& e, const GeocentricObserver& g, double t) {
    return {ElementsTimeToJdUT(e, t), SunPositionFor(StateAt(e, g, t), g)};
}

// Least-squares cubic through values at t = -3, -2, ..., 3 hours.
std::array<double, 4> FitCubic(const std::array<double, 7>& values) {
    double m[4][5] = {};
    for (int i = 0; i < 7; ++i) {
        const double t = i - 3.0;
        const double powers[4] = {1.0, t, t * t, t * t * t};
        for (int r = 0; r < 4; ++r) {
            for (int c = 0; c < 4; ++c)
                m[r][c] += powers[r] * powers[c];
            m[r][4] += powers[r] * values[static_cast<std::size_t>(i)];
        }
    }
    // Gaussian elimination; the normal matrix is positive definite.
    for (int p = 0; p < 4; ++p) {
        for (int r = p + 1; r < 4; ++r) {
            const double f = m[r][p] / m[p][p];
            for (int c = p; c < 5; ++c)
                m[r][c] -= f * m[p][c];
        }
    }
    std::array<double, 4> coef{};
    for (int r = 3; r >= 0; --r) {
        double s = m[r][4];
        for (int c = r + 1; c < 4; ++c)
            s -= m[r][c] * coef[static_cast<std::size_t>(c)];
        coef[static_cast<std::size_t>(r)] = s / m[r][r];
    }
    return coef;
}

// The whole TT hour nearest a Julian day (TT).
double NearestWholeHour(double jdTT) {
    return std::round((jdTT - 0.5) * 24.0) / 24.0 + 0.5;
}

// Meeus's estimate of the eclipse at new moon k (k = 0 at 2000 January 6; Astronomical
// Algorithms, chapter 54): the instant (JDE, TT) and gamma, or nothing when the
// Moon is too far from a node for any solar eclipse.
struct NewMoonEstimate {
    double jde = 0.0;
    double gamma = 0.0;
    double u = 0.0; // umbral radius on the fundamental plane
};

std::optional<NewMoonEstimate> EstimateNewMoon(double k) {
    const double T = k / 1236.85;
    const double T2 = T * T;
    const double F = (160.7108 + 390.67050284 * k - 0.0016118 * T2) * kDegToRad;
    if (std::fabs(std::sin(F)) > 0.36)
        return std::nullopt;
    const double jdeMean = 2451550.09766 + 29.530588861 * k + 0.00015437 * T2;
    const double M = (2.5534 + 29.10535670 * k - 0.0000014 * T2) * kDegToRad;
    const double Mp = (201.5643 + 385.81693528 * k + 0.0107582 * T2) * kDegToRad;
    const double omega = (124.7746 - 1.56375588 * k + 0.0020672 * T2) * kDegToRad;
    const double E = 1.0 - 0.002516 * T - 0.0000074 * T2;
    const double F1 = F - 0.02665 * kDegToRad * std::sin(omega);
    const double A1 = (299.77 + 0.107408 * k - 0.009173 * T2) * kDegToRad;
    NewMoonEstimate n;
    n.jde = jdeMean - 0.4075 * std::sin(Mp) + 0.1721 * E * std::sin(M) + 0.0161 * std::sin(2 * Mp) -
            0.0097 * std::sin(2 * F1) + 0.0073 * E * std::sin(Mp - M) -
            0.0050 * E * std::sin(Mp + M) - 0.0023 * std::sin(Mp - 2 * F1) +
            0.0021 * E * std::sin(2 * M) + 0.0012 * std::sin(Mp + 2 * F1) +
            0.0006 * E * std::sin(2 * Mp + M) - 0.0004 * std::sin(3 * Mp) -
            0.0003 * E * std::sin(M + 2 * F1) + 0.0003 * std::sin(A1) -
            0.0002 * E * std::sin(M - 2 * F1) - 0.0002 * E * std::sin(2 * Mp - M) -
            0.0002 * std::sin(omega);
    const double P = 0.2070 * E * std::sin(M) + 0.0024 * E * std::sin(2 * M) -
                     0.0392 * std::sin(Mp) + 0.0116 * std::sin(2 * Mp) -
                     0.0073 * E * std::sin(Mp + M) + 0.0067 * E * std::sin(Mp - M) +
                     0.0118 * std::sin(2 * F1);
    const double Q = 5.2207 - 0.0048 * E * std::cos(M) + 0.0020 * E * std::cos(2 * M) -
                     0.3299 * std::cos(Mp) - 0.0060 * E * std::cos(Mp + M) +
                     0.0041 * E * std::cos(Mp - M);
    const double W = std::fabs(std::cos(F1));
    n.gamma = (P * std::cos(F1) + Q * std::sin(F1)) * (1.0 - 0.0048 * W);
    n.u = 0.0059 + 0.0046 * E * std::cos(M) - 0.0182 * std::cos(Mp) + 0.0004 * std::cos(2 * Mp) -
          0.0005 * std::cos(M + Mp);
    // The penumbra misses the Earth beyond 1.5433 + u; a margin for the estimate.
    if (std::fabs(n.gamma) > 1.5433 + n.u + 0.1)
        return std::nullopt;
    return n;
}

// The eclipse at new moon k from this program's ephemeris: elements fitted about the
// whole TT hour nearest greatest eclipse. Empty when the penumbra misses the Earth.
std::optional<FoundEclipse> EclipseAtNewMoon(double k) {
    const std::optional<NewMoonEstimate> estimate = EstimateNewMoon(k);
    if (!estimate)
        return std::nullopt;
    FoundEclipse f;
    double t0 = NearestWholeHour(estimate->jde);
    for (int pass = 0;; ++pass) {
        f.elements = FitElements(t0);
        f.greatest = GreatestEclipseOf(f.elements);
        if (std::fabs(f.greatest.t) <= 0.5)
            break;
        if (pass == 2 || !(std::fabs(f.greatest.t) <= 6.0))
            return std::nullopt;
        t0 = NearestWholeHour(t0 + f.greatest.t / 24.0);
    }
    f.greatestJdUT = ElementsTimeToJdUT(f.elements, f.greatest.t);
    // The penumbra touches the Earth (the ellipsoid as the unit sphere with y
    // stretched by 1 / rho1).
    const CubicElements& e = f.elements;
    const double t = f.greatest.t;
    const double cosD = std::cos(Poly(e.d, t) * kDegToRad);
    const double rho1 = std::sqrt(1.0 - kEccentricitySquared * cosD * cosD);
    if (std::hypot(Poly(e.x, t), Poly(e.y, t) / rho1) >= 1.0 + Poly(e.l1, t))
        return std::nullopt;
    return f;
}

constexpr double kSynodicMonth = 29.530588861;
constexpr double kNewMoon2000 = 2451550.09766; // JDE of the mean new moon, 2000 January 6

// The number of the mean new moon at or before jd.
double LunationBefore(double jd) {
    return std::floor((jd - kNewMoon2000) / kSynodicMonth);
}

} // namespace

double StandardRefraction(double geometricAltitude) {
    if (!(geometricAltitude >= -1.0))
        return 0.0;
    const double h = geometricAltitude;
    const double arcmin = 1.02 / std::tan((h + 10.3 / (h + 5.11)) * kDegToRad);
    return arcmin / 60.0;
}

double ElementsTimeToJdUT(const CubicElements& e, double t) {
    return e.t0JdTT + t / 24.0 - e.deltaT / kSecondsPerDay;
}

SunPosition SunPositionAt(const CubicElements& e, const Observer& o, double t) {
    const GeocentricObserver g = Geocentric(o);
    return SunPositionFor(StateAt(e, g, t), g);
}

LocalCircumstances ComputeLocalCircumstances(const CubicElements& e, const Observer& o) {
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

    lc.kind = LocalKind::Partial;
    lc.max = EventAt(e, g, *tMax);
    lc.c1 = EventAt(e, g, *t1);
    lc.c4 = EventAt(e, g, *t4);
    const double sunRadius = 0.5 * (m.l1 + m.l2);
    const double moonRadius = 0.5 * (m.l1 - m.l2);
    lc.magnitude = (m.l1 - separation) / (m.l1 + m.l2);
    lc.obscuration = OverlapArea(sunRadius, moonRadius, separation) / (kPi * sunRadius * sunRadius);
    if (separation < std::fabs(m.l2)) {
        const std::optional<double> t2 = Contact(e, g, *tMax, -1.0, true);
        const std::optional<double> t3 = Contact(e, g, *tMax, +1.0, true);
        if (t2 && t3) {
            lc.kind = m.l2 < 0.0 ? LocalKind::Total : LocalKind::Annular;
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

CubicElements FitElements(double t0JdTT) {
    constexpr double sunRadius = 696000.0 / kEarthRadiusKm;
    const double deltaT = DeltaTSeconds(t0JdTT);
    std::array<double, 7> x{}, y{}, d{}, mu{}, l1{}, l2{};
    double tanF1 = 0.0;
    double tanF2 = 0.0;
    for (std::size_t i = 0; i < 7; ++i) {
        const double t = static_cast<double>(i) - 3.0;
        const double jd = t0JdTT + t / 24.0 - deltaT / kSecondsPerDay;
        const BesselianElements b = ElementsAt(ApparentPlacesAt(jd, deltaT));
        // The distance Moon-Sun from the penumbral half-angle, then both cones again
        // with the canon's lunar radii.
        const double gLength = (sunRadius + kMoonRadiusPenumbra) / std::sin(b.f1);
        const double f1 = std::asin((sunRadius + kCanonMoonRadiusPenumbra) / gLength);
        const double f2 = std::asin((sunRadius - kCanonMoonRadiusUmbra) / gLength);
        x[i] = b.x;
        y[i] = b.y;
        d[i] = b.d;
        double hourAngle = b.mu + kHourAngleDegPerSecond * deltaT;
        if (i > 0) {
            while (hourAngle < mu[i - 1])
                hourAngle += 360.0;
        }
        mu[i] = hourAngle;
        l1[i] = b.z * std::tan(f1) + kCanonMoonRadiusPenumbra / std::cos(f1);
        l2[i] = b.z * std::tan(f2) - kCanonMoonRadiusUmbra / std::cos(f2);
        if (i == 3) {
            tanF1 = std::tan(f1);
            tanF2 = std::tan(f2);
        }
    }
    CubicElements e;
    e.t0JdTT = t0JdTT;
    e.deltaT = deltaT;
    e.x = FitCubic(x);
    e.y = FitCubic(y);
    e.d = FitCubic(d);
    e.mu = FitCubic(mu);
    e.l1 = FitCubic(l1);
    e.l2 = FitCubic(l2);
    e.tanF1 = tanF1;
    e.tanF2 = tanF2;
    return e;
}

GreatestEclipse GreatestEclipseOf(const CubicElements& e) {
    double t = 0.0;
    for (int i = 0; i < kMaxIterations; ++i) {
        const double x = Poly(e.x, t);
        const double y = Poly(e.y, t);
        const double xr = PolyRate(e.x, t);
        const double yr = PolyRate(e.y, t);
        const double f = x * xr + y * yr;
        const double fr =
            xr * xr + yr * yr + x * PolyAcceleration(e.x, t) + y * PolyAcceleration(e.y, t);
        if (!(fr > 0.0))
            break;
        const double step = std::clamp(-f / fr, -1.0, 1.0);
        t += step;
        if (std::fabs(step) < kConvergedHours)
            break;
    }
    const double y = Poly(e.y, t);
    const double r = std::hypot(Poly(e.x, t), y);
    return {t, y < 0.0 ? -r : r};
}

AxisPoint AxisPointAt(const CubicElements& e, double t) {
    const double d = Poly(e.d, t) * kDegToRad;
    const double rho1 = std::sqrt(1.0 - kEccentricitySquared * std::cos(d) * std::cos(d));
    const double sinD1 = std::sin(d) / rho1;
    const double cosD1 = std::sqrt(1.0 - kEccentricitySquared) * std::cos(d) / rho1;
    double x = Poly(e.x, t);
    double y1 = Poly(e.y, t) / rho1;
    AxisPoint p;
    p.distance = std::hypot(x, y1);
    p.onEarth = p.distance < 1.0;
    double zeta1 = 0.0;
    if (p.onEarth) {
        zeta1 = std::sqrt(1.0 - p.distance * p.distance);
    } else if (p.distance > 0.0) {
        x /= p.distance;
        y1 /= p.distance;
    }
    // On the unit sphere the latitude is the parametric one.
    const double sinU = std::clamp(y1 * cosD1 + zeta1 * sinD1, -1.0, 1.0);
    const double u = std::asin(sinU);
    const double theta = std::atan2(x, -y1 * sinD1 + zeta1 * cosD1) * kRadToDeg;
    p.latitude =
        std::atan2(std::sin(u), std::sqrt(1.0 - kEccentricitySquared) * std::cos(u)) * kRadToDeg;
    double lon = theta - (Poly(e.mu, t) - kHourAngleDegPerSecond * e.deltaT);
    lon = std::fmod(lon, 360.0);
    if (lon <= -180.0)
        lon += 360.0;
    else if (lon > 180.0)
        lon -= 360.0;
    p.longitude = lon;
    return p;
}

std::optional<FoundEclipse> EclipseOnDay(double jd0) {
    if (!(std::fabs(jd0) < 1e8))
        return std::nullopt;
    // The true new moon lies within about 0.6 days of the mean one; Delta T moves it
    // by up to a few hours in the years the program covers.
    const double k0 = LunationBefore(jd0);
    for (double k = k0 - 1.0; k <= k0 + 2.0; k += 1.0) {
        const std::optional<FoundEclipse> f = EclipseAtNewMoon(k);
        if (f && f->greatestJdUT >= jd0 && f->greatestJdUT < jd0 + 1.0)
            return f;
    }
    return std::nullopt;
}

std::optional<LocalEclipse> NextLocalEclipse(double jdUT, const Observer& o, double years) {
    if (!(std::fabs(jdUT) < 1e8) || !(years >= 0.0) || !(years < 1e4))
        return std::nullopt;
    const double end = jdUT + years * 365.25;
    const double lastK = LunationBefore(end) + 2.0;
    for (double k = LunationBefore(jdUT) - 1.0; k <= lastK; k += 1.0) {
        const std::optional<FoundEclipse> f = EclipseAtNewMoon(k);
        if (!f || f->greatestJdUT <= jdUT || f->greatestJdUT > end)
            continue;
        const LocalCircumstances lc = ComputeLocalCircumstances(f->elements, o);
        if (lc.kind != LocalKind::None && lc.visible)
            return LocalEclipse{*f, lc};
    }
    return std::nullopt;
}
