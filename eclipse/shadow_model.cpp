#include "eclipse/shadow_model.h"

#include "ephemeris/timescales.h"

#include <cmath>
#include <utility>

namespace {

constexpr double kFlattening = 0.00335281;
constexpr double kEccentricitySquared = 0.00670562 - kFlattening * kFlattening;
const double kPolarRadius = std::sqrt(1.0 - kEccentricitySquared); // Earth radii

// A candidate outline point is accepted when it lies on both the cone's circle
// and the Earth's section to within rounding noise.
constexpr double kAcceptTolerance = 1e-9;

double Dot(const double a[3], double x, double y, double z) {
    return a[0] * x + a[1] * y + a[2] * z;
}

struct Vector {
    double x;
    double y;
    double z;
};

// Geocentric equatorial rectangular coordinates of a body at right ascension
// raHours, declination decDeg and distance r.
Vector Rectangular(double raHours, double decDeg, double r) {
    constexpr double deg = 0.017453292519943295;
    const double ra = 15.0 * raHours * deg;
    const double dec = decDeg * deg;
    return {r * std::cos(ra) * std::cos(dec), r * std::sin(ra) * std::cos(dec), r * std::sin(dec)};
}

// Reduces an angle in (-360, 360) to [-180, 180].
double ReduceTo180(double v) {
    if (v > 180.0 && v <= 360.0)
        return v - 360.0;
    if (v >= -360.0 && v < -180.0)
        return v + 360.0;
    return v;
}

} // namespace

CShadowModel::CShadowModel(std::vector<double> sunRAHours, std::vector<double> sunDec,
                           std::vector<double> moonRAHours, std::vector<double> moonDec,
                           std::vector<double> sunDistance, std::vector<double> moonParallax,
                           std::vector<double> stepJD, double pointLat, double pointLon)
    : m_sunRAHours(std::move(sunRAHours)), m_sunDec(std::move(sunDec)),
      m_moonRAHours(std::move(moonRAHours)), m_moonDec(std::move(moonDec)),
      m_sunDistance(std::move(sunDistance)), m_moonParallax(std::move(moonParallax)),
      m_stepJD(std::move(stepJD)), m_pointLat(pointLat), m_pointLon(pointLon) {
    m_pi = 3.141592653589793;
    m_degToRad = 0.017453292519943295;
    m_earthRadiusKm = 1.0e3 * 6.37814;
    m_auKm = 149597870.0;
    m_sunRadius = 1.0e5 * 6.96 / m_earthRadiusKm;
    m_moonRadius = 1.0e3 * 1.738 / m_earthRadiusKm;
    ComputeDerivedQuantities();
    ComputeElements();
}

void CShadowModel::ComputeDerivedQuantities() {
    const double arc = 1.0 / std::sin(m_degToRad / 3600.0); // arcseconds per radian
    for (std::size_t i = 0; i < m_sunDistance.size(); ++i) {
        m_sunParallax.push_back(arc * (m_earthRadiusKm / m_auKm) / m_sunDistance[i]);
        m_moonParallaxArcmin.push_back(60.0 * m_moonParallax[i]);
        m_moonDistance.push_back(arc / (3600.0 * m_moonParallax[i]));
        m_sunSemiDiameter.push_back((m_sunRadius / (m_sunDistance[i] * m_auKm / m_earthRadiusKm)) /
                                    m_degToRad);
        m_moonSemiDiameter.push_back((m_moonRadius / m_moonDistance[i]) / m_degToRad);
    }
}

double CShadowModel::SiderealTimeAt0h(double jd0) {
    const double t = (jd0 - 2451545.0) * 2.7378507871321012e-05;
    double s = 24110.54841 + 8640184.812866 * t + 9.3104e-2 * t * t - 6.2e-6 * t * t * t;
    if (s < 0.0)
        s = std::fmod(s, 86400.0) + 86400.0;
    if (s > 86400.0)
        s = std::fmod(s, 86400.0);
    return s / 3600.0;
}

double CShadowModel::StepSiderealTime(int step) const {
    const double jd = m_stepJD[static_cast<std::size_t>(step)];
    const double h = JulianDayToHours(jd);
    const double jd0 = jd - h / 24.0;
    return std::fmod(h * 1.0027379092558308 + SiderealTimeAt0h(jd0), 24.0);
}

void CShadowModel::ComputeElements() {
    const double deg = m_degToRad;
    for (std::size_t i = 0; i < m_stepJD.size(); ++i) {
        const double rs = 1.0 / std::sin(m_sunParallax[i] / 3600.0 * deg);
        const double rm = 1.0 / std::sin(m_moonParallaxArcmin[i] / 60.0 * deg);

        const Vector moon = Rectangular(m_moonRAHours[i], m_moonDec[i], rm);
        const double mx = moon.x, my = moon.y, mz = moon.z;
        m_moonX.push_back(mx);
        m_moonY.push_back(my);
        m_moonZ.push_back(mz);

        const Vector sun = Rectangular(m_sunRAHours[i], m_sunDec[i], rs);
        const double sx = sun.x, sy = sun.y, sz = sun.z;
        m_sunX.push_back(sx);
        m_sunY.push_back(sy);
        m_sunZ.push_back(sz);

        // The shadow axis points from the Moon toward the Sun: G = Sun - Moon.
        const double gx = sx - mx;
        const double gy = sy - my;
        const double gz = sz - mz;
        const double gLength = std::sqrt(gy * gy + gz * gz + gx * gx);
        m_axisUnit[0] = gx / gLength;
        m_axisUnit[1] = gy / gLength;
        m_axisUnit[2] = gz / gLength;
        m_zAxisX.push_back(m_axisUnit[0]);
        m_zAxisY.push_back(m_axisUnit[1]);
        m_zAxisZ.push_back(m_axisUnit[2]);

        const double d = std::asin(m_axisUnit[2]);
        const double a = std::atan2(m_axisUnit[1], m_axisUnit[0]);
        m_axisRA.push_back(a / deg);
        m_axisDec.push_back(d / deg);
        m_sinD.push_back(std::sin(d));
        m_cosD.push_back(std::cos(d));

        m_siderealTime = StepSiderealTime(static_cast<int>(i));
        m_stepSiderealHours.push_back(m_siderealTime);
        double mu = std::fmod(15.0 * m_siderealTime - a / deg, 360.0);
        if (mu < 0.0)
            mu += 360.0;
        m_mu.push_back(mu);

        m_planeXUnit[0] = -std::sin(a);
        m_planeXUnit[1] = std::cos(a);
        m_planeXUnit[2] = 0.0;
        m_xAxisX.push_back(m_planeXUnit[0]);
        m_xAxisY.push_back(m_planeXUnit[1]);
        m_xAxisZ.push_back(m_planeXUnit[2]);

        m_planeYUnit[0] = -std::cos(a) * std::sin(d);
        m_planeYUnit[1] = -std::sin(a) * std::sin(d);
        m_planeYUnit[2] = std::cos(d);
        m_yAxisX.push_back(m_planeYUnit[0]);
        m_yAxisY.push_back(m_planeYUnit[1]);
        m_yAxisZ.push_back(m_planeYUnit[2]);

        const double z = Dot(m_axisUnit, mx, my, mz);
        m_x.push_back(Dot(m_planeXUnit, mx, my, mz));
        m_y.push_back(Dot(m_planeYUnit, mx, my, mz));
        m_z.push_back(z);

        const double f1 = std::asin((m_sunRadius + m_moonRadius) / gLength);
        const double f2 = std::asin((m_sunRadius - m_moonRadius) / gLength);
        m_f1.push_back(f1);
        m_f2.push_back(f2);
        m_tanF1.push_back(std::tan(f1));
        m_tanF2.push_back(std::tan(f2));
        m_l1.push_back(z * std::tan(f1) + m_moonRadius / std::cos(f1));
        m_l2.push_back(z * std::tan(f2) - m_moonRadius / std::cos(f2));

        // The frame in which the flattened Earth becomes the unit sphere: its
        // polar axis scaled by 1 / (polar radius) tilts the axis to d1 and
        // stretches y by 1 / rho1.
        const double rho1 = std::sqrt(1.0 - kEccentricitySquared * std::cos(d) * std::cos(d));
        m_rho1.push_back(rho1);
        m_sinD1.push_back(std::sin(d) / rho1);
        m_cosD1.push_back(kPolarRadius * std::cos(d) / rho1);
    }
}

void CShadowModel::ConvertPoint(double xi, double eta, double zeta, int step) {
    const std::size_t i = static_cast<std::size_t>(step);
    const double deg = m_degToRad;
    m_siderealTime = 15.0 * m_stepSiderealHours[i];

    // (xi, eta, zeta) lies on the unit sphere of the scaled frame (tilted to d1).
    const double sinA = -m_xAxisX[i];
    const double cosA = m_xAxisY[i];
    const double sinD1 = m_sinD1[i];
    const double cosD1 = m_cosD1[i];
    const double px = -xi * sinA - eta * cosA * sinD1 + zeta * cosA * cosD1;
    const double py = xi * cosA - eta * sinA * sinD1 + zeta * sinA * cosD1;
    const double pz = eta * cosD1 + zeta * sinD1;

    const double longitude = std::atan2(py, px) / deg - m_siderealTime;
    const double rho = std::sqrt(px * px + py * py);
    // pz is the sine of the parametric latitude; tan(geodetic) = tan(parametric) / polar radius.
    const double latitude = std::fmod(std::atan2(pz, rho * kPolarRadius) / deg, 360.0);

    m_pointLat = ReduceTo180(latitude);
    m_pointLon = ReduceTo180(std::fmod(longitude, 360.0));
}

void CShadowModel::run(double umbraSteps, double penumbraSteps) {
    const auto pass = [this](double samples, auto trace) {
        // Counts beyond any sensible sampling (or NaN) are treated as none.
        if (!(samples >= 1.0 && samples < 1.0e9))
            return;
        const long long count = static_cast<long long>(samples);
        const double increment = 1.0 / samples;
        for (std::size_t j = 0; j < m_l1.size(); ++j) {
            double zeta = 0.0;
            for (long long k = 0; k < count; ++k) {
                zeta += increment;
                (this->*trace)(static_cast<int>(j), zeta);
            }
        }
    };
    pass(penumbraSteps, &CShadowModel::TracePenumbra);
    pass(umbraSteps, &CShadowModel::TraceUmbra);
}

void CShadowModel::TracePenumbra(int step, double zeta) {
    const std::size_t j = static_cast<std::size_t>(step);
    Trace(step, zeta, m_l1[j], m_tanF1[j], m_penumbraHits, m_penumbraLat, m_penumbraLon);
}

void CShadowModel::TraceUmbra(int step, double zeta) {
    const std::size_t j = static_cast<std::size_t>(step);
    Trace(step, zeta, m_l2[j], m_tanF2[j], m_umbraHits, m_umbraLat, m_umbraLon);
}

// Intersects the cone's circular section at height zeta, radius l - zeta tan f
// around (x, y), with the Earth's section there. In the frame where the Earth is
// the unit sphere that section is the circle of radius sqrt(1 - zeta^2); the
// cone's section stays a circle to within the flattening times its radius.
void CShadowModel::Trace(int step, double zeta, double l, double tanF, std::vector<int>& hits,
                         std::vector<double>& lats, std::vector<double>& lons) {
    const std::size_t j = static_cast<std::size_t>(step);
    // With the Moon behind the Earth (near full moon) there is no shadow cone
    // toward the Earth at all.
    if (!(m_z[j] > 0.0))
        return;
    const double x = m_x[j];
    const double y = m_y[j] / m_rho1[j]; // in the frame where the Earth is the unit sphere

    const double radius = l - zeta * tanF;
    const double w = radius * radius;
    const double a = zeta * zeta;
    const double b = w - (x * x + y * y) + a - 1.0;
    const double k = 4.0 * x * x - b * b - 4.0 * x * x * a;
    const double c = 4.0 * b * y;
    const double d = 4.0 * (x * x + y * y);
    const double e = c * c + 4.0 * d * k;
    if (!(e > 0.0))
        return;
    hits.push_back(step);

    const double rootE = std::sqrt(e);
    const double eta1 = (rootE - c) / (2.0 * d);
    const double eta2 = (-c - rootE) / (2.0 * d);
    const double eta1Squared = eta1 * eta1;
    const double eta2Squared = eta2 * eta2;
    const double xi1 = std::sqrt(1.0 - eta1Squared - a);
    const double xi2 = std::sqrt(1.0 - eta2Squared - a);

    const struct {
        double xi;
        double eta;
        double etaSquared;
    } candidates[] = {
        {xi1, eta1, eta1Squared},
        {-xi1, eta1, eta1Squared},
        {xi2, eta2, eta2Squared},
        {-xi2, eta2, eta2Squared},
    };
    for (const auto& p : candidates) {
        const double circle = (p.xi - x) * (p.xi - x) + (p.eta - y) * (p.eta - y);
        const double sphere = p.xi * p.xi + p.etaSquared + a;
        if (std::fabs(circle - w) <= kAcceptTolerance &&
            std::fabs(sphere - 1.0) <= kAcceptTolerance) {
            ConvertPoint(p.xi, p.eta, zeta, step);
            lats.push_back(m_pointLat);
            lons.push_back(m_pointLon);
        }
    }
}
