#include "view/path_layer.h"

namespace {

void AddCurves(PathLayer& layer, PathLineKind kind, const std::vector<TimedCurve>& curves,
               double south, double north) {
    for (const TimedCurve& curve : curves) {
        std::vector<MapPlace> line;
        line.reserve(curve.size());
        for (const TimedPoint& p : curve)
            line.push_back({p.point.lat, p.point.lon});
        AddPathLine(layer, kind, line, south, north);
    }
}

} // namespace

PathLayer MakePathLayer(const EclipsePath& path, double south, double north) {
    PathLayer layer;
    if (path.kind == EclipseKind::None)
        return layer;
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
    return layer;
}
