#pragma once

// Lines on the map broken where they cross the antimeridian, for any point type with
// lat and lon members in degrees (longitudes within [-180, 180]). No Qt here.

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

// Pieces that do not cross the antimeridian: a step of more than 180 degrees in
// longitude is a crossing, and both pieces end on +-180 at the crossing's
// interpolated latitude. Pieces of fewer than two points are left out.
template <typename Point>
std::vector<std::vector<Point>> SplitAtAntimeridian(const std::vector<Point>& line) {
    std::vector<std::vector<Point>> pieces;
    std::vector<Point> piece;
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (k > 0 && std::fabs(line[k].lon - line[k - 1].lon) > 180.0) {
            const Point a = line[k - 1];
            const Point b = line[k];
            const double edge = a.lon > 0.0 ? 180.0 : -180.0;
            const double bUnwrapped = b.lon + (a.lon > 0.0 ? 360.0 : -360.0);
            const double f = (edge - a.lon) / (bUnwrapped - a.lon);
            const double lat = a.lat + f * (b.lat - a.lat);
            piece.push_back({lat, edge});
            if (piece.size() >= 2)
                pieces.push_back(piece);
            piece = {{lat, -edge}};
        }
        piece.push_back(line[k]);
    }
    if (piece.size() >= 2)
        pieces.push_back(std::move(piece));
    return pieces;
}

// A closed ring (first point equal to the last) of a polygon cut at the antimeridian
// into closed rings that do not cross it, for a polygon that is simple on the sphere.
// Longitudes are unwound along the ring; a ring that winds once around a pole is closed
// over that pole (the pole of its mean latitude's hemisphere). The ring is then cut at
// each odd multiple of 180 degrees it spans, the cut pieces joined along the cut as the
// polygon's inside runs there, and each piece shifted back into [-180, 180]. Every ring
// out runs counter-clockwise (longitude east, latitude north), as RFC 7946 asks.
template <typename Point>
std::vector<std::vector<Point>> SplitRingAtAntimeridian(const std::vector<Point>& ring) {
    std::vector<std::vector<Point>> out;
    if (ring.size() < 4)
        return out;
    // Unwound longitudes, the closing point left off.
    std::vector<Point> open;
    for (std::size_t k = 0; k + 1 < ring.size(); ++k) {
        Point p = ring[k];
        if (k > 0) {
            double step = std::remainder(p.lon - ring[k - 1].lon, 360.0);
            p.lon = open.back().lon + step;
        }
        open.push_back(p);
    }
    const double closing = std::remainder(ring.front().lon - ring[ring.size() - 2].lon, 360.0);
    const double winding = open.back().lon + closing - open.front().lon;
    if (std::fabs(winding) > 180.0) {
        double meanLat = 0.0;
        for (const Point& p : open)
            meanLat += p.lat / static_cast<double>(open.size());
        const double pole = meanLat >= 0.0 ? 90.0 : -90.0;
        const double end = open.back().lon + closing;
        open.push_back({open.front().lat, end});
        open.push_back({pole, end});
        open.push_back({pole, open.front().lon});
    }
    double lo = open.front().lon;
    double hi = lo;
    for (const Point& p : open) {
        lo = std::min(lo, p.lon);
        hi = std::max(hi, p.lon);
    }

    // Cuts the rings (open, unwound) at the line lon = x.
    auto cut = [](const std::vector<std::vector<Point>>& rings, double x) {
        std::vector<std::vector<Point>> result;
        for (std::vector<Point> r : rings) {
            for (Point& p : r)
                if (p.lon == x)
                    p.lon += 1e-9; // a vertex on the cut belongs to its east side
            // The ring's crossings of the line: after vertex k, at latitude lat.
            struct Crossing {
                std::size_t after;
                double lat;
            };
            std::vector<Crossing> crossings;
            const std::size_t n = r.size();
            for (std::size_t k = 0; k < n; ++k) {
                const Point& a = r[k];
                const Point& b = r[(k + 1) % n];
                if ((a.lon < x) != (b.lon < x)) {
                    const double f = (x - a.lon) / (b.lon - a.lon);
                    crossings.push_back({k, a.lat + f * (b.lat - a.lat)});
                }
            }
            if (crossings.empty()) {
                result.push_back(std::move(r));
                continue;
            }
            // The chains between consecutive crossings, each on one side of the line.
            const std::size_t m = crossings.size();
            std::vector<std::vector<Point>> chains(m);
            for (std::size_t c = 0; c < m; ++c) {
                const Crossing& from = crossings[c];
                const Crossing& to = crossings[(c + 1) % m];
                std::vector<Point>& chain = chains[c];
                chain.push_back({from.lat, x});
                for (std::size_t k = (from.after + 1) % n;; k = (k + 1) % n) {
                    chain.push_back(r[k]);
                    if (k == to.after)
                        break;
                }
                chain.push_back({to.lat, x});
            }
            // Along the line the inside lies between the 1st and 2nd crossing by
            // latitude, the 3rd and 4th, ...: a chain ending at one of a pair goes on
            // with the chain that starts at the other.
            std::vector<std::size_t> order(m);
            for (std::size_t c = 0; c < m; ++c)
                order[c] = c;
            std::sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return crossings[a].lat < crossings[b].lat;
            });
            std::vector<std::size_t> partner(m);
            for (std::size_t i = 0; i + 1 < m; i += 2) {
                partner[order[i]] = order[i + 1];
                partner[order[i + 1]] = order[i];
            }
            std::vector<bool> done(m, false);
            for (std::size_t c = 0; c < m; ++c) {
                if (done[c])
                    continue;
                std::vector<Point> piece;
                for (std::size_t k = c; !done[k];) {
                    done[k] = true;
                    piece.insert(piece.end(), chains[k].begin(), chains[k].end());
                    // Chain k ends at crossing k + 1; its partner starts the next chain.
                    k = partner[(k + 1) % m];
                }
                result.push_back(std::move(piece));
            }
        }
        return result;
    };

    std::vector<std::vector<Point>> rings = {open};
    for (double x = std::ceil((lo - 180.0) / 360.0) * 360.0 + 180.0; x < hi; x += 360.0)
        if (x > lo)
            rings = cut(rings, x);
    for (std::vector<Point>& r : rings) {
        double west = r.front().lon;
        for (const Point& p : r)
            west = std::min(west, p.lon);
        const double shift = -std::floor((west + 180.0 + 1e-7) / 360.0) * 360.0;
        double area = 0.0;
        for (std::size_t k = 0; k < r.size(); ++k) {
            Point& p = r[k];
            p.lon = std::clamp(p.lon + shift, -180.0, 180.0);
        }
        for (std::size_t k = 0; k < r.size(); ++k) {
            const Point& a = r[k];
            const Point& b = r[(k + 1) % r.size()];
            area += a.lon * b.lat - b.lon * a.lat;
        }
        if (area < 0.0)
            std::reverse(r.begin(), r.end());
        r.push_back(r.front());
        if (r.size() >= 4)
            out.push_back(std::move(r));
    }
    return out;
}
