#include "geo/path_layer.h"

#include "geo/antimeridian.h"

#include <cmath>
#include <utility>

namespace {

// The place where the step from a to b crosses the latitude lat.
MapPlace AtLatitude(const MapPlace& a, const MapPlace& b, double lat) {
    const double f = (lat - a.lat) / (b.lat - a.lat);
    return {lat, a.lon + f * (b.lon - a.lon)};
}

// Cuts a line that does not cross the antimeridian to the band of latitudes.
void CutToBand(const std::vector<MapPlace>& line, double south, double north,
               std::vector<std::vector<MapPlace>>& out) {
    auto inside = [&](const MapPlace& p) { return p.lat >= south && p.lat <= north; };
    std::vector<MapPlace> piece;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const MapPlace& p = line[k];
        if (k > 0) {
            const MapPlace& q = line[k - 1];
            // The step may leave or enter the band, or pass over it: its crossings of
            // the two edges in the order the step meets them.
            struct Crossing {
                double fraction;
                double edge;
            };
            std::vector<Crossing> crossings;
            for (const double edge : {south, north})
                if ((q.lat - edge) * (p.lat - edge) < 0.0)
                    crossings.push_back({(edge - q.lat) / (p.lat - q.lat), edge});
            if (crossings.size() == 2 && crossings[0].fraction > crossings[1].fraction)
                std::swap(crossings[0], crossings[1]);
            bool in = inside(q);
            for (const Crossing& c : crossings) {
                const MapPlace cut = AtLatitude(q, p, c.edge);
                if (in) {
                    piece.push_back(cut);
                    if (piece.size() >= 2)
                        out.push_back(piece);
                    piece.clear();
                } else {
                    piece = {cut};
                }
                in = !in;
            }
        }
        if (inside(p))
            piece.push_back(p);
    }
    if (piece.size() >= 2)
        out.push_back(std::move(piece));
}

} // namespace

std::vector<std::vector<MapPlace>> CutForMap(const std::vector<MapPlace>& line, double south,
                                             double north) {
    std::vector<std::vector<MapPlace>> out;
    for (const auto& piece : SplitAtAntimeridian(line))
        CutToBand(piece, south, north, out);
    return out;
}

void AddPathLine(PathLayer& layer, PathLineKind kind, const std::vector<MapPlace>& line,
                 double south, double north) {
    for (auto& piece : CutForMap(line, south, north))
        layer.lines.push_back({kind, std::move(piece), {}});
}

std::optional<std::vector<MapPlace>> PathBand(const PathLayer& layer) {
    // Consecutive pieces of one curve meet on the antimeridian at one latitude.
    std::vector<std::vector<MapPlace>> limits;
    for (const PathLine& line : layer.lines) {
        if (line.kind != PathLineKind::PathLimit || line.points.empty()) {
            continue;
        }
        if (!limits.empty()) {
            const MapPlace a = limits.back().back();
            const MapPlace b = line.points.front();
            if (std::fabs(std::fabs(a.lon) - 180.0) < 1e-9 &&
                std::fabs(std::fabs(b.lon) - 180.0) < 1e-9 && a.lon == -b.lon &&
                std::fabs(a.lat - b.lat) < 1e-9) {
                limits.back().insert(limits.back().end(), line.points.begin() + 1,
                                     line.points.end());
                continue;
            }
        }
        limits.push_back(line.points);
    }
    if (limits.size() != 2) {
        return std::nullopt;
    }
    std::vector<MapPlace> ring = limits[0];
    ring.insert(ring.end(), limits[1].rbegin(), limits[1].rend());
    return ring;
}
