#include "places/seen_from.h"

#include "eclipse/besselian.h"
#include "ephemeris/constants.h"
#include "places/country_map.h"

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <optional>
#include <string_view>
#include <utility>

namespace {

constexpr double kReachHours = 4.0; // either side of greatest eclipse
constexpr double kPathStepHours = 15.0 / 3600.0;
constexpr double kLimitStepHours = 1.0 / 3600.0;
constexpr double kPartialStepHours = 5.0 / 60.0;
constexpr double kGridDegrees = 1.0; // spacing of the partial zone's land points

// A land point on the fundamental plane's terms.
struct LandPoint {
    double rhoSin, rhoCos; // rho sin phi', rho cos phi' (Earth radii)
    double sinLon, cosLon;
    std::size_t area;
};

LandPoint LandPointAt(double latitude, double longitude, std::size_t area) {
    const double phi = latitude * kDegToRad;
    const double u = std::atan(kPolarRadius * std::tan(phi));
    const double lambda = longitude * kDegToRad;
    return {kPolarRadius * std::sin(u), std::cos(u), std::sin(lambda), std::cos(lambda), area};
}

// Land points about kGridDegrees apart (fewer per row towards the poles, so that each
// stands for about the same area), and one point of each area.
const std::vector<LandPoint>& LandPoints() {
    static const std::vector<LandPoint> points = [] {
        std::vector<LandPoint> out;
        for (double lat = -90.0 + kGridDegrees / 2; lat < 90.0; lat += kGridDegrees) {
            const int count = std::max(
                1, static_cast<int>(std::lround(360.0 / kGridDegrees * std::cos(lat * kDegToRad))));
            for (int k = 0; k < count; ++k) {
                const double lon = -180.0 + (k + 0.5) * 360.0 / count;
                const std::size_t area = MapAreaAt(lat, lon);
                if (area != 0)
                    out.push_back(LandPointAt(lat, lon, area));
            }
        }
        for (std::size_t area = 1; area < MapAreaCount(); ++area) {
            const MapAreaPoint p = MapAreaSamplePoint(area);
            out.push_back(LandPointAt(p.latitude, p.longitude, area));
        }
        return out;
    }();
    return points;
}

// The elements at one instant as the tests below use them.
struct Instant {
    double x, y, l1, l2, tanF1, tanF2;
    double sinD, cosD, sinMu, cosMu, mu; // mu: Greenwich hour angle from UT, radians
    double dx, dy, dd, dmu;              // per hour; dd, dmu in radians
    UnitSphereFrame frame;
};

Instant InstantAt(const PolynomialElements& e, double t) {
    const ElementsOfT v = EvaluateElements(e, t);
    const double d = v.d * kDegToRad;
    const double mu = HourAngleFromUT(e, v.mu) * kDegToRad;
    return {v.x,
            v.y,
            v.l1,
            v.l2,
            e.tanF1,
            e.tanF2,
            std::sin(d),
            std::cos(d),
            std::sin(mu),
            std::cos(mu),
            mu,
            v.dx,
            v.dy,
            v.dd * kDegToRad,
            v.dmu * kDegToRad,
            UnitSphereFrameOf(v.d)};
}

// Whether the point sees the penumbra with the Sun above the (geometric) horizon.
bool InPenumbra(const Instant& s, const LandPoint& p) {
    const double sinH = s.sinMu * p.cosLon + s.cosMu * p.sinLon;
    const double cosH = s.cosMu * p.cosLon - s.sinMu * p.sinLon;
    const double zeta = p.rhoSin * s.sinD + p.rhoCos * cosH * s.cosD;
    if (zeta <= 0.0)
        return false;
    const double xi = p.rhoCos * sinH;
    const double eta = p.rhoSin * s.cosD - p.rhoCos * cosH * s.sinD;
    const double radius = s.l1 - zeta * s.tanF1;
    return (xi - s.x) * (xi - s.x) + (eta - s.y) * (eta - s.y) < radius * radius;
}

// A point of the Earth's sunward side under the point (xi, eta) of the fundamental
// plane, in the unit-sphere frame: sin u (u the reduced latitude) and cos u cos theta
// (theta the point's hour angle), with its true height zeta above the plane.
struct Surface {
    double xi, sinU, cosUcosTheta, zeta;
};

std::optional<Surface> SurfaceUnder(const Instant& s, double xi, double eta) {
    const double eta1 = eta / s.frame.rho1;
    const double q = 1.0 - xi * xi - eta1 * eta1;
    if (q <= 0.0)
        return std::nullopt;
    const double zeta1 = std::sqrt(q);
    const double sinU = std::clamp(eta1 * s.frame.cosD1 + zeta1 * s.frame.sinD1, -1.0, 1.0);
    const double cosUcosTheta = zeta1 * s.frame.cosD1 - eta1 * s.frame.sinD1;
    return Surface{xi, sinU, cosUcosTheta, kPolarRadius * sinU * s.sinD + cosUcosTheta * s.cosD};
}

// The area under a surface point: geodetic latitude from tan(lat) = tan(u) / (b/a).
std::size_t AreaOf(const Instant& s, const Surface& p) {
    const double cosU = std::sqrt(std::max(0.0, 1.0 - p.sinU * p.sinU));
    const double latitude = std::atan2(p.sinU, kPolarRadius * cosU) / kDegToRad;
    double longitude = (std::atan2(p.xi, p.cosUcosTheta) - s.mu) / kDegToRad;
    longitude -= 360.0 * std::floor((longitude + 180.0) / 360.0);
    return MapAreaAt(latitude, std::min(longitude, 180.0));
}

// The area under the umbra or antumbra at the fraction of its radius (at the
// place's own height) in the direction angle (radians) from its centre; 0 at sea or
// off the Earth.
std::size_t AreaUnderShadow(const Instant& s, double fraction, double angle) {
    const double cosA = std::cos(angle), sinA = std::sin(angle);
    double zeta = 0.5;
    std::optional<Surface> p;
    for (int k = 0; k < 3; ++k) {
        const double r = fraction * std::fabs(s.l2 - zeta * s.tanF2);
        p = SurfaceUnder(s, s.x + r * cosA, s.y + r * sinA);
        if (!p)
            return 0;
        zeta = p->zeta;
    }
    return AreaOf(s, *p);
}

// The direction (radians on the fundamental plane) square to the shadow's motion
// over the ground below its centre: where its edge draws the limits.
double SideAngle(const Instant& s) {
    const std::optional<Surface> c = SurfaceUnder(s, s.x, s.y);
    const double zeta = c ? c->zeta : 0.0;
    const double eta = s.y; // the centre's own coordinates on the plane
    const double xiRate = s.dmu * (zeta * s.cosD - eta * s.sinD);
    const double etaRate = s.dmu * s.x * s.sinD - zeta * s.dd;
    return std::atan2(s.dx - xiRate, -(s.dy - etaRate));
}

template <typename T> void AddOnce(std::vector<T>& list, const T& value) {
    if (std::find(list.begin(), list.end(), value) == list.end())
        list.push_back(value);
}

} // namespace

SeenFrom WhereSeen(const PolynomialElements& elements) {
    SeenFrom seen;
    const double tg = GreatestEclipseHours(elements);
    const double first = std::max(tg - kReachHours, -kFitHalfHours);
    const double last = std::min(tg + kReachHours, kFitHalfHours);

    // The path: the shadow's centre and three rings round it every 15 s, and every
    // second its two sides, where the limits run (slivers of a country inside a
    // limit are a few km wide).
    // Each country at the instant the shadow first touched it.
    std::vector<std::pair<double, std::string>> touched;
    const auto touch = [&](double t, std::size_t area) {
        if (area == 0)
            return;
        const std::string_view country = MapAreaOf(area).country;
        const auto known = std::find_if(touched.begin(), touched.end(),
                                        [&](const auto& c) { return c.second == country; });
        if (known == touched.end())
            touched.emplace_back(t, std::string(country));
        else
            known->first = std::min(known->first, t);
    };
    const auto onEarth = [](const Instant& s) {
        return std::hypot(s.x, s.y) <= 1.0 + std::fabs(s.l2) + s.tanF2;
    };
    double from = last, to = first; // while the shadow may touch the Earth
    for (double t = first; t <= last; t += kPathStepHours) {
        const Instant s = InstantAt(elements, t);
        if (!onEarth(s))
            continue;
        from = std::min(from, t - kPathStepHours);
        to = std::max(to, t + kPathStepHours);
        for (const auto& [fraction, count] : {std::pair{0.0, 1}, {0.4, 6}, {0.75, 12}, {0.995, 24}})
            for (int k = 0; k < count; ++k)
                touch(t, AreaUnderShadow(s, fraction, 2.0 * kPi * k / count));
    }
    for (double t = std::max(from, first); t <= std::min(to, last); t += kLimitStepHours) {
        const Instant s = InstantAt(elements, t);
        if (!onEarth(s))
            continue;
        const double side = SideAngle(s);
        for (const double fraction : {0.97, 0.995})
            for (const double angle : {side, side + kPi})
                touch(t, AreaUnderShadow(s, fraction, angle));
    }
    std::stable_sort(touched.begin(), touched.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& c : touched)
        seen.path.push_back(std::move(c.second));

    // The partial zone: land points that see the penumbra at one of the instants.
    std::vector<Instant> instants;
    for (double t = first; t <= last; t += kPartialStepHours)
        instants.push_back(InstantAt(elements, t));
    std::vector<int> cellsOfRegion(MapRegionCount(), 0);
    for (const LandPoint& p : LandPoints()) {
        const bool sees = std::any_of(instants.begin(), instants.end(),
                                      [&](const Instant& s) { return InPenumbra(s, p); });
        if (sees)
            ++cellsOfRegion[MapAreaOf(p.area).regionIndex];
    }
    std::vector<std::size_t> regions;
    for (std::size_t r = 0; r < cellsOfRegion.size(); ++r)
        if (cellsOfRegion[r] > 0)
            regions.push_back(r);
    std::stable_sort(regions.begin(), regions.end(), [&](std::size_t a, std::size_t b) {
        return cellsOfRegion[a] > cellsOfRegion[b];
    });
    for (const std::size_t r : regions)
        seen.partial.emplace_back(MapRegionName(r));
    return seen;
}

namespace {

// "Europe" of "Europe (west)"; the whole name when it has no parenthesis.
std::string_view Continent(std::string_view region) {
    const std::size_t open = region.find(" (");
    return open == std::string_view::npos ? region : region.substr(0, open);
}

std::string_view Part(std::string_view region) {
    const std::size_t open = region.find(" (");
    return open == std::string_view::npos ? std::string_view()
                                          : region.substr(open + 2, region.size() - open - 3);
}

std::string Joined(const std::vector<std::string>& words) {
    std::string out;
    for (const std::string& w : words)
        out += (out.empty() ? "" : ", ") + w;
    return out;
}

} // namespace

std::string DescribeSeenFrom(const SeenFrom& seen) {
    // Regions of one continent together, at the place of its first.
    std::vector<std::string> continents, words;
    for (const std::string& region : seen.partial)
        AddOnce(continents, std::string(Continent(region)));
    for (const std::string& continent : continents) {
        std::vector<std::string> parts;
        for (const std::string& region : seen.partial)
            if (Continent(region) == continent && !Part(region).empty())
                parts.emplace_back(Part(region));
        std::size_t ofContinent = 0;
        for (std::size_t r = 0; r < MapRegionCount(); ++r)
            if (Continent(MapRegionName(r)) == continent)
                ++ofContinent;
        if (parts.empty() || parts.size() == ofContinent)
            words.push_back(continent);
        else
            words.push_back(continent + " (" + Joined(parts) + ")");
    }
    std::string text;
    if (!seen.path.empty())
        text = "Path: " + Joined(seen.path);
    if (!words.empty())
        text += (text.empty() ? "" : " \xC2\xB7 ") + std::string("Partial: ") + Joined(words);
    return text;
}
