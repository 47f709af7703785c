#include "render/path_layer.h"

#include "export/map_export.h"

#include <utility>

namespace {

// The place where the step from a to b crosses the latitude lat.
GeoPoint AtLatitude(const GeoPoint& a, const GeoPoint& b, double lat) {
    const double f = (lat - a.lat) / (b.lat - a.lat);
    return {lat, a.lon + f * (b.lon - a.lon)};
}

// Cuts a line that does not cross the antimeridian to the band of latitudes.
void CutToBand(const std::vector<GeoPoint>& line, double south, double north,
               std::vector<std::vector<GeoPoint>>& out) {
    auto inside = [&](const GeoPoint& p) { return p.lat >= south && p.lat <= north; };
    std::vector<GeoPoint> piece;
    for (std::size_t k = 0; k < line.size(); ++k) {
        const GeoPoint& p = line[k];
        if (k > 0) {
            const GeoPoint& q = line[k - 1];
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
                const GeoPoint cut = AtLatitude(q, p, c.edge);
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

void Add(PathLayer& layer, PathLineKind kind, const std::vector<GeoPoint>& line, double south,
         double north) {
    for (auto& piece : CutForMap(line, south, north))
        layer.lines.push_back({kind, std::move(piece)});
}

void AddCurves(PathLayer& layer, PathLineKind kind, const std::vector<TimedCurve>& curves,
               double south, double north) {
    for (const TimedCurve& curve : curves) {
        std::vector<GeoPoint> line;
        line.reserve(curve.size());
        for (const TimedPoint& p : curve)
            line.push_back(p.point);
        Add(layer, kind, line, south, north);
    }
}

} // namespace

std::vector<std::vector<GeoPoint>> CutForMap(const std::vector<GeoPoint>& line, double south,
                                             double north) {
    std::vector<std::vector<GeoPoint>> out;
    for (const auto& piece : SplitAtAntimeridian(line))
        CutToBand(piece, south, north, out);
    return out;
}

PathLayer MakePathLayer(const EclipsePath& path, double south, double north) {
    PathLayer layer;
    if (path.kind == EclipseKind::None)
        return layer;
    AddCurves(layer, PathLineKind::RiseSetCurve, path.riseSetCurves, south, north);
    AddCurves(layer, PathLineKind::PartialLimit, path.penumbraNorth, south, north);
    AddCurves(layer, PathLineKind::PartialLimit, path.penumbraSouth, south, north);
    AddCurves(layer, PathLineKind::PathLimit, path.umbraNorth, south, north);
    AddCurves(layer, PathLineKind::PathLimit, path.umbraSouth, south, north);
    std::vector<GeoPoint> central;
    for (const PathRow& r : path.centralLine)
        central.push_back(r.central);
    Add(layer, PathLineKind::CentralLine, central, south, north);
    layer.umbral = path.kind != EclipseKind::Partial;
    const GeoPoint g = path.greatest.point;
    if (g.lat >= south && g.lat <= north)
        layer.greatest = g;
    return layer;
}
