#pragma once

// The canon's polynomial Besselian elements (tests/data) and an evaluation of
// the shadow on the Earth from them written independently of eclipse/path.*:
// vectors in the Earth-fixed frame and the ellipsoid's own equation, no
// reduction to the unit sphere, no velocity formulas.

#include <array>
#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace canon {

constexpr double kPi = 3.14159265358979323846;
constexpr double kRad = kPi / 180.0;
constexpr double kE2 = 0.00669438; // the canon's Earth: flattening 1/298.257
constexpr double kRadiusKm = 6378.137;

struct Elements {
    std::string date; // UT date of greatest eclipse
    char type = 'P';
    bool central = false;
    double jdT0 = 0.0;   // Julian day (TT) of t = 0
    double deltaT = 0.0; // the canon's
    std::array<double, 4> x{}, y{}, d{}, l1{}, l2{}, mu{};
    double tanF1 = 0.0, tanF2 = 0.0;
    double widthKm = 0.0, durationS = 0.0; // published, catalogue only
    double jdGreatestTt = 0.0;
};

inline double Poly(const std::array<double, 4>& c, double t) {
    return c[0] + t * (c[1] + t * (c[2] + t * c[3]));
}

inline std::vector<std::string> Split(std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<std::string> out;
    std::stringstream s(line);
    std::string cell;
    while (std::getline(s, cell, ','))
        out.push_back(cell);
    if (!line.empty() && line.back() == ',')
        out.emplace_back();
    return out;
}

inline std::vector<std::map<std::string, std::string>> ReadCsv(const std::string& path) {
    std::ifstream in(path);
    std::string line;
    std::getline(in, line);
    const auto header = Split(line);
    std::vector<std::map<std::string, std::string>> rows;
    while (std::getline(in, line)) {
        const auto cells = Split(line);
        std::map<std::string, std::string> row;
        for (std::size_t k = 0; k < header.size() && k < cells.size(); ++k)
            row[header[k]] = cells[k];
        rows.push_back(row);
    }
    return rows;
}

// Julian day of 0h of a Gregorian date "YYYY-MM-DD" (years after 1582).
inline double JdOfDate(const std::string& iso) {
    int y = std::stoi(iso.substr(0, 4)), m = std::stoi(iso.substr(5, 2)),
        d = std::stoi(iso.substr(8, 2));
    if (m <= 2) {
        y -= 1;
        m += 12;
    }
    const int a = y / 100;
    return std::floor(365.25 * (y + 4716)) + std::floor(30.6001 * (m + 1)) + d + 2 - a + a / 4 -
           1524.5;
}

inline double Get(const std::map<std::string, std::string>& r, const std::string& k) {
    const auto it = r.find(k);
    return it == r.end() || it->second.empty() ? 0.0 : std::stod(it->second);
}

template <std::size_t N>
std::array<double, 4> Coefficients(const std::map<std::string, std::string>& r,
                                   const std::string& name) {
    std::array<double, 4> c{};
    for (std::size_t k = 0; k < N; ++k)
        c[k] = Get(r, name + std::to_string(k));
    return c;
}

// solar_eclipses.csv
inline std::vector<Elements> ReadReference(const std::string& path) {
    std::vector<Elements> out;
    for (const auto& r : ReadCsv(path)) {
        Elements e;
        e.date = r.at("date");
        e.type = r.at("type")[0];
        e.central = r.at("umbra") == "central";
        e.jdT0 = JdOfDate(r.at("t0_date_tdt")) + Get(r, "t0") / 24.0;
        e.deltaT = Get(r, "delta_t_s");
        e.x = Coefficients<4>(r, "x");
        e.y = Coefficients<4>(r, "y");
        e.d = Coefficients<3>(r, "d");
        e.l1 = Coefficients<3>(r, "l1");
        e.l2 = Coefficients<3>(r, "l2");
        e.mu = Coefficients<2>(r, "mu");
        e.tanF1 = Get(r, "tanf1");
        e.tanF2 = Get(r, "tanf2");
        out.push_back(e);
    }
    return out;
}

// eclipse_catalogue_sample.csv, the years firstYear to lastYear (astronomical numbering;
// the dates are Gregorian from 1583 on, so JdOfDate holds only there).
inline std::vector<Elements> ReadCatalogue(const std::string& path, int firstYear = 1600,
                                           int lastYear = 2200) {
    std::vector<Elements> out;
    for (const auto& r : ReadCsv(path)) {
        const std::string ut = r.at("date_ut_iso");
        const std::size_t dash = ut.find('-', 1);
        const int year = std::stoi(ut.substr(0, dash));
        if (year < firstYear || year > lastYear)
            continue;
        Elements e;
        e.date = ut.substr(0, ut.find('T'));
        e.type = r.at("type")[0];
        e.central = Get(r, "path_width_km") > 0.0;
        e.jdGreatestTt = Get(r, "jd_td");
        const double day0 = std::floor(e.jdGreatestTt - 0.5) + 0.5;
        e.jdT0 = day0 + Get(r, "t0_td_h") / 24.0;
        if (e.jdT0 - e.jdGreatestTt > 0.5)
            e.jdT0 -= 1.0;
        else if (e.jdGreatestTt - e.jdT0 > 0.5)
            e.jdT0 += 1.0;
        e.deltaT = Get(r, "delta_t_s");
        e.x = Coefficients<4>(r, "x");
        e.y = Coefficients<4>(r, "y");
        e.d = Coefficients<4>(r, "d");
        e.l1 = Coefficients<4>(r, "l1");
        e.l2 = Coefficients<4>(r, "l2");
        e.mu = Coefficients<4>(r, "mu");
        e.tanF1 = Get(r, "tanf1");
        e.tanF2 = Get(r, "tanf2");
        e.widthKm = Get(r, "path_width_km");
        e.durationS = Get(r, "central_duration_s");
        out.push_back(e);
    }
    return out;
}

struct Vec {
    double x, y, z;
};
inline Vec operator+(Vec a, Vec b) {
    return {a.x + b.x, a.y + b.y, a.z + b.z};
}
inline Vec operator-(Vec a, Vec b) {
    return {a.x - b.x, a.y - b.y, a.z - b.z};
}
inline Vec operator*(double s, Vec a) {
    return {s * a.x, s * a.y, s * a.z};
}
inline double Dot(Vec a, Vec b) {
    return a.x * b.x + a.y * b.y + a.z * b.z;
}
inline Vec Cross(Vec a, Vec b) {
    return {a.y * b.z - a.z * b.y, a.z * b.x - a.x * b.z, a.x * b.y - a.y * b.x};
}
inline Vec Unit(Vec a) {
    return (1.0 / std::sqrt(Dot(a, a))) * a;
}

// The shadow at one UT instant, Earth-fixed, lengths in Earth equatorial radii.
struct Shadow {
    Vec i, j, k; // fundamental plane east, north, and the axis toward the Sun
    double x, y, l1, l2, tanF1, tanF2;
};

// deltaT: the TT - UT with which the UT instant is read (the elements are in TT,
// the hour angle is turned to the Earth's rotation at that UT).
inline Shadow ShadowAt(const Elements& e, double jdUt, double deltaT) {
    const double t = (jdUt + deltaT / 86400.0 - e.jdT0) * 24.0;
    const double d = Poly(e.d, t) * kRad;
    const double h = (Poly(e.mu, t) - 0.00417807 * deltaT) * kRad;
    Shadow s;
    s.k = {std::cos(d) * std::cos(h), -std::cos(d) * std::sin(h), std::sin(d)};
    s.i = {std::sin(h), std::cos(h), 0.0};
    s.j = Cross(s.k, s.i);
    s.x = Poly(e.x, t);
    s.y = Poly(e.y, t);
    s.l1 = Poly(e.l1, t);
    s.l2 = Poly(e.l2, t);
    s.tanF1 = e.tanF1;
    s.tanF2 = e.tanF2;
    return s;
}

inline Vec Surface(double latDeg, double lonDeg) {
    const double la = latDeg * kRad, lo = lonDeg * kRad;
    const double n = 1.0 / std::sqrt(1.0 - kE2 * std::sin(la) * std::sin(la));
    return {n * std::cos(la) * std::cos(lo), n * std::cos(la) * std::sin(lo),
            n * (1.0 - kE2) * std::sin(la)};
}

inline Vec Up(double latDeg, double lonDeg) {
    const double la = latDeg * kRad, lo = lonDeg * kRad;
    return {std::cos(la) * std::cos(lo), std::cos(la) * std::sin(lo), std::sin(la)};
}

// Geodetic latitude and longitude of a point on the ellipsoid.
inline std::array<double, 2> Geodetic(Vec p) {
    return {std::atan2(p.z, std::hypot(p.x, p.y) * (1.0 - kE2)) / kRad,
            std::atan2(p.y, p.x) / kRad};
}

// Where the axis meets the ellipsoid on the Sun's side; false if it misses.
inline bool AxisPoint(const Shadow& s, Vec& out) {
    const Vec o = s.x * s.i + s.y * s.j;
    const double b2 = 1.0 - kE2;
    const double a = s.k.x * s.k.x + s.k.y * s.k.y + s.k.z * s.k.z / b2;
    const double b = 2.0 * (o.x * s.k.x + o.y * s.k.y + o.z * s.k.z / b2);
    const double c = o.x * o.x + o.y * o.y + o.z * o.z / b2 - 1.0;
    const double disc = b * b - 4.0 * a * c;
    if (disc < 0.0)
        return false;
    out = o + ((-b + std::sqrt(disc)) / (2.0 * a)) * s.k;
    return true;
}

// How far the place p stands outside the umbra (< 0: inside), Earth radii.
inline double UmbraMargin(const Shadow& s, Vec p) {
    const double u = Dot(p, s.i) - s.x, v = Dot(p, s.j) - s.y;
    return std::hypot(u, v) - std::fabs(s.l2 - Dot(p, s.k) * s.tanF2);
}

inline double PenumbraMargin(const Shadow& s, Vec p) {
    const double u = Dot(p, s.i) - s.x, v = Dot(p, s.j) - s.y;
    return std::hypot(u, v) - (s.l1 - Dot(p, s.k) * s.tanF1);
}

// The least margin of a place over jd +- 20 minutes (golden-section search).
template <typename Margin>
double LeastMargin(const Elements& e, double deltaT, Vec p, double jd, Margin margin) {
    double a = jd - 20.0 / 1440.0, b = jd + 20.0 / 1440.0;
    const double g = 0.6180339887498949;
    double c = b - g * (b - a), d = a + g * (b - a);
    double fc = margin(ShadowAt(e, c, deltaT), p), fd = margin(ShadowAt(e, d, deltaT), p);
    for (int k = 0; k < 60; ++k) {
        if (fc < fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - g * (b - a);
            fc = margin(ShadowAt(e, c, deltaT), p);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + g * (b - a);
            fd = margin(ShadowAt(e, d, deltaT), p);
        }
    }
    return std::min(fc, fd);
}

// The place nearest (lat, lon) where the least margin is zero: Newton steps
// along the margin's gradient over the ground.
template <typename Margin>
std::array<double, 2> NearestLimit(const Elements& e, double deltaT, double lat, double lon,
                                   double jd, Margin margin) {
    for (int k = 0; k < 6; ++k) {
        const double step = 0.005;
        const double m = LeastMargin(e, deltaT, Surface(lat, lon), jd, margin);
        const double mn = LeastMargin(e, deltaT, Surface(lat + step, lon), jd, margin);
        const double me = LeastMargin(e, deltaT, Surface(lat, lon + step), jd, margin);
        const double cosLat = std::cos(lat * kRad);
        const double gn = (mn - m) / step;            // per degree north
        const double ge = (me - m) / (step * cosLat); // per degree east on the ground
        const double g2 = gn * gn + ge * ge;
        if (!(g2 > 0.0))
            break;
        lat -= m * gn / g2;
        lon -= m * ge / g2 / cosLat;
    }
    return {lat, lon};
}

// The duration of totality or annularity at a fixed place around jd, seconds.
inline double Duration(const Elements& e, double deltaT, Vec p, double jd) {
    auto inside = [&](double t) { return UmbraMargin(ShadowAt(e, t, deltaT), p); };
    auto edge = [&](double in, double out) {
        for (int k = 0; k < 50; ++k) {
            const double m = 0.5 * (in + out);
            (inside(m) < 0.0 ? in : out) = m;
        }
        return 0.5 * (in + out);
    };
    if (inside(jd) >= 0.0)
        return 0.0;
    return (edge(jd, jd + 10.0 / 1440.0) - edge(jd, jd - 10.0 / 1440.0)) * 86400.0;
}

// The direction in which the axis moves over the fixed place c at jd, on the
// fundamental plane (a unit vector).
inline Vec MotionOver(const Elements& e, double deltaT, double jd, Vec c) {
    const double h = 10.0 / 86400.0;
    const Shadow before = ShadowAt(e, jd - h, deltaT);
    const Shadow after = ShadowAt(e, jd + h, deltaT);
    const Shadow s = ShadowAt(e, jd, deltaT);
    const double a = (after.x - Dot(c, after.i)) - (before.x - Dot(c, before.i));
    const double b = (after.y - Dot(c, after.j)) - (before.y - Dot(c, before.j));
    return Unit(a * s.i + b * s.j);
}

// The path width as published tables define it: 2 |L| / sqrt(zeta^2 + (p . m)^2) at the
// central point p (Earth radii; zeta = p . k), with m the direction in which the axis
// moves over that fixed place. On a sphere that is the band the shadow sweeps, cut by
// the horizontal plane; the tables keep the expression on the ellipsoid, where |p| < 1.
// (That band cut by the ellipsoid's horizontal plane, across the ground track, lies up
// to 5 km off the tables' widths at a low Sun: 2.3 km below them for 2021 December 4.)
inline double Width(const Elements& e, double deltaT, double jd) {
    Vec c;
    const Shadow s = ShadowAt(e, jd, deltaT);
    if (!AxisPoint(s, c))
        return 0.0;
    const Vec m = MotionOver(e, deltaT, jd, c);
    const double r = std::fabs(s.l2 - Dot(c, s.k) * s.tanF2);
    return 2.0 * r / std::hypot(Dot(c, s.k), Dot(c, m)) * kRadiusKm;
}

// How far the edge of the band the umbra sweeps lies beyond the Earth's outline at jd, on
// one side (+1 north: left of the motion; -1 south), Earth radii on the fundamental
// plane: > 0 where that limit has left the sunlit Earth.
inline double EdgeBeyondLimb(const Elements& e, double deltaT, double jd, int side) {
    Vec c;
    const Shadow s = ShadowAt(e, jd, deltaT);
    if (!AxisPoint(s, c))
        return 1.0;
    const Vec left = (1.0 * side) * Cross(s.k, MotionOver(e, deltaT, jd, c));
    const Vec axis = s.x * s.i + s.y * s.j;
    auto meets = [&](double reach) {
        Shadow line = s;
        const Vec o = axis + reach * left;
        line.x = Dot(o, s.i);
        line.y = Dot(o, s.j);
        Vec ignored;
        return AxisPoint(line, ignored);
    };
    double in = 0.0, out = 3.0; // along left from the axis: on and off the Earth
    for (int k = 0; k < 50; ++k)
        (meets(0.5 * (in + out)) ? in : out) = 0.5 * (in + out);
    return std::fabs(s.l2) - 0.5 * (in + out);
}

} // namespace canon
