#include "model/path_layer.h"

#include "eclipse/finder_text.h"
#include "eclipse/map_curves.h"

#include <cstdio>

namespace {

std::vector<MapPlace> Places(const std::vector<GeoPoint>& points) {
    std::vector<MapPlace> line;
    line.reserve(points.size());
    for (const GeoPoint& p : points)
        line.push_back({p.lat, p.lon});
    return line;
}

std::vector<MapPlace> Places(const TimedCurve& curve) {
    std::vector<MapPlace> line;
    line.reserve(curve.size());
    for (const TimedPoint& p : curve)
        line.push_back({p.point.lat, p.point.lon});
    return line;
}

// The line cut for the map, every piece with the label.
void AddLabelled(PathLayer& layer, PathLineKind kind, const std::vector<MapPlace>& line,
                 const std::string& label, double south, double north) {
    const std::size_t before = layer.lines.size();
    AddPathLine(layer, kind, line, south, north);
    for (std::size_t k = before; k < layer.lines.size(); ++k)
        layer.lines[k].label = label;
}

void AddCurves(PathLayer& layer, PathLineKind kind, const std::vector<TimedCurve>& curves,
               double south, double north) {
    for (const TimedCurve& curve : curves)
        AddPathLine(layer, kind, Places(curve), south, north);
}

} // namespace

PathLayer MakePathLayer(const EclipsePath& path, double south, double north) {
    if (path.kind == EclipseKind::None)
        return {};
    return MakePathLayer(path, ComputeMapCurves(path), south, north);
}

PathLayer MakePathLayer(const EclipsePath& path, const MapCurves& curves, double south,
                        double north) {
    PathLayer layer;
    if (path.kind == EclipseKind::None)
        return layer;
    // Under the limits and the central line: the curves across the partial zone.
    for (const MagnitudeLine& line : curves.magnitudeLines) {
        char label[16];
        std::snprintf(label, sizeof label, "%.1f", line.magnitude);
        for (const TimedCurve& piece : line.pieces)
            AddLabelled(layer, PathLineKind::MagnitudeLine, Places(piece), label, south, north);
    }
    for (const MaximumLine& line : curves.maximumLines) {
        // "17:30 UT": the hour and minute of the ISO instant.
        const std::string label = FormatInstant(line.jd).substr(11, 5) + " UT";
        for (const auto& piece : line.pieces)
            AddLabelled(layer, PathLineKind::MaximumLine, Places(piece), label, south, north);
    }
    AddCurves(layer, PathLineKind::RiseSetMaximum, curves.riseSetMaxima, south, north);

    AddCurves(layer, PathLineKind::RiseSetCurve, path.riseSetCurves, south, north);
    AddCurves(layer, PathLineKind::PartialLimit, path.penumbraNorth, south, north);
    AddCurves(layer, PathLineKind::PartialLimit, path.penumbraSouth, south, north);
    AddCurves(layer, PathLineKind::PathLimit, path.umbraNorth, south, north);
    AddCurves(layer, PathLineKind::PathLimit, path.umbraSouth, south, north);
    std::vector<MapPlace> central;
    for (const PathRow& r : path.centralLine)
        central.push_back({r.central.lat, r.central.lon});
    AddPathLine(layer, PathLineKind::CentralLine, central, south, north);
    layer.umbral = path.kind != EclipseKind::Partial;
    const GeoPoint g = path.greatest.point;
    if (g.lat >= south && g.lat <= north)
        layer.greatest = MapPlace{g.lat, g.lon};
    if (path.greatestDuration) {
        const GeoPoint d = path.greatestDuration->central;
        if (d.lat >= south && d.lat <= north)
            layer.greatestDuration = MapPlace{d.lat, d.lon};
    }
    return layer;
}
