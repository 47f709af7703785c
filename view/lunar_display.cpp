#include "view/lunar_layer.h"

#include "eclipse/lunar_map.h"

PathLayer MakeLunarPathLayer(const LunarEclipse& eclipse, double south, double north) {
    PathLayer layer;
    for (const MoonHorizonCurve& c : MoonHorizonCurves(eclipse)) {
        std::vector<MapPlace> line;
        line.reserve(c.points.size());
        for (const GeoPoint& p : c.points)
            line.push_back({p.lat, p.lon});
        const std::size_t first = layer.lines.size();
        AddPathLine(layer, PathLineKind::MoonVisibility, line, south, north);
        // The label goes with the longest piece of the curve.
        std::size_t longest = first;
        for (std::size_t i = first; i < layer.lines.size(); ++i)
            if (layer.lines[i].points.size() > layer.lines[longest].points.size())
                longest = i;
        if (longest < layer.lines.size())
            layer.lines[longest].label = c.label;
    }
    layer.umbral = eclipse.kind != EclipseKind::Penumbral;
    if (eclipse.sublunarLat >= south && eclipse.sublunarLat <= north)
        layer.greatest = MapPlace{eclipse.sublunarLat, eclipse.sublunarLon};
    return layer;
}
