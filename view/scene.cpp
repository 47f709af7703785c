#include "view/scene.h"

#include "render/draw_tools.h"
#include "render/limit_curves.h"
#include "render/lunar_diagram_painter.h"
#include "render/map_overlay.h"
#include "render/map_painter.h"
#include "render/overlay_painter.h"
#include "render/path_painter.h"
#include "render/projection.h"

#include <utility>

void ReplaceShadow(Scene& scene, ShadowSnapshot shadow) {
    scene.penumbra = std::move(shadow.penumbra);
    scene.umbra = std::move(shadow.umbra);
    scene.hourOutlines.clear();
    scene.umbraPath = {};
    scene.limitCurves = {};
    scene.path = {};
    scene.eclipse = {};
    scene.lunar.reset();
    scene.lunarDiagram = {};
}

namespace {

std::vector<ScreenHourLabel> ScreenHourLabels(const Scene& scene, double zoomX, double zoomY) {
    std::vector<ScreenHourLabel> labels;
    for (const HourOutline& outline : scene.hourOutlines) {
        if (const auto corner =
                OutlineCorner(outline.outline.lat, outline.outline.lon, zoomX, zoomY)) {
            labels.push_back({static_cast<double>(outline.hour), corner->x, corner->y});
        }
    }
    return labels;
}

} // namespace

void PaintScene(CDC& dc, const Scene& scene, double zoomX, double zoomY) {
    if (!scene.contactLines.empty()) {
        DrawContactLines(dc, zoomX, zoomY, scene.contactLines);
    }
    PlotPointBoxes(dc, zoomX, zoomY, scene.penumbra.lat, scene.penumbra.lon,
                   map_colours::kPenumbra);
    PlotPointBoxes(dc, zoomX, zoomY, scene.umbra.lat, scene.umbra.lon, map_colours::kUmbra);
    for (const HourOutline& outline : scene.hourOutlines) {
        PlotPointBoxes(dc, zoomX, zoomY, outline.outline.lat, outline.outline.lon,
                       map_colours::kPenumbra);
    }
    PlotPointBoxes(dc, zoomX, zoomY, scene.umbraPath.lat, scene.umbraPath.lon, map_colours::kUmbra);
    if (!scene.path.empty()) {
        DrawPathLayer(dc, scene.path, zoomX, zoomY);
        DrawPathLegend(dc, scene.path, zoomX, zoomY);
    }
    if (!scene.hourOutlines.empty()) {
        DrawHourLabels(dc, zoomX, ScreenHourLabels(scene, zoomX, zoomY));
    }
    const LimitCurveSeries& limits = scene.limitCurves;
    if (!limits.latitudes.empty()) {
        PlotLimitCurvePoints(dc, zoomX, zoomY, limits.latitudes, limits.rise, limits.set);
    }
    if (!scene.lunarDiagram.empty()) {
        DrawLunarDiagram(dc, LunarDiagramRect(scene.lunarDiagram, zoomX, zoomY),
                         scene.lunarDiagram);
    }
    if (scene.place) {
        DrawPlaceMark(dc, ProjectToScreen(scene.place->lat, scene.place->lon, zoomX, zoomY));
    }
}

std::vector<HourLabel> MapHourLabels(const Scene& scene, double zoomX, double zoomY) {
    std::vector<HourLabel> result;
    for (const ScreenHourLabel& label : ScreenHourLabels(scene, zoomX, zoomY)) {
        const LabelSpot spot = HourLabelMapSpot(label.x, label.y, zoomX);
        if (const auto position = InverseScreenProjection(spot.x, spot.y, zoomX, zoomY)) {
            result.push_back({label.hours, TruncToInt(position->lon), TruncToInt(position->lat)});
        }
    }
    return result;
}

std::string PrintFootnote(const Scene& scene) {
    std::string text = "Shadow, outlines and limit curves: classic ephemeris";
    if (!scene.path.empty())
        text += "; path of the shadow: " + std::string(EphemerisName(scene.eclipse.engine)) +
                " ephemeris";
    return text + ".";
}

PrintPageContent PageContent(const Scene& scene, double zoomX, double zoomY, std::string title) {
    PrintPageContent content{
        scene.contactLines,
        {},
        {},
        {scene.limitCurves.latitudes, scene.limitCurves.rise, scene.limitCurves.set},
        MapHourLabels(scene, zoomX, zoomY),
        std::move(title),
    };
    content.penumbra.push_back({scene.penumbra.lat, scene.penumbra.lon});
    for (const HourOutline& outline : scene.hourOutlines) {
        content.penumbra.push_back({outline.outline.lat, outline.outline.lon});
    }
    content.umbra.push_back({scene.umbra.lat, scene.umbra.lon});
    content.umbra.push_back({scene.umbraPath.lat, scene.umbraPath.lon});
    if (!scene.path.empty()) {
        content.path = &scene.path;
    }
    content.footnote = PrintFootnote(scene);
    return content;
}
