#include "view/scene.h"

#include "geo/map_overlay.h"
#include "geo/projection.h"
#include "model/program_places.h"
#include "render/base_map_painter.h"
#include "render/draw_tools.h"
#include "render/limit_curves.h"
#include "render/lunar_diagram_painter.h"
#include "render/map_painter.h"
#include "render/overlay_painter.h"
#include "render/path_painter.h"
#include "render/town_labels.h"

#include <QPainter>

#include <cmath>
#include <future>
#include <utility>

void ReplaceShadow(Scene& scene, ShadowSnapshot shadow) {
    scene.penumbra = std::move(shadow.penumbra);
    scene.umbra = std::move(shadow.umbra);
    scene.hourOutlines.clear();
    scene.umbraPath = {};
    scene.limitCurves = {};
    scene.path = {};
    scene.pagePath = {};
    scene.eclipse = {};
    scene.lunar.reset();
    scene.lunarDiagram = {};
}

namespace {

std::vector<ScreenHourLabel> ScreenHourLabels(const Scene& scene, const MapView& view) {
    std::vector<ScreenHourLabel> labels;
    for (const HourOutline& outline : scene.hourOutlines) {
        if (const auto corner = OutlineCorner(outline.outline.lat, outline.outline.lon, view)) {
            labels.push_back({static_cast<double>(outline.hour), corner->x, corner->y});
        }
    }
    return labels;
}

// The gazetteer's towns, largest first, read once when a magnified map first needs them;
// none when the gazetteer cannot be read (the map is then drawn without names).
const std::vector<MapTown>& ProgramTowns() {
    static const std::vector<MapTown> towns = [] {
        std::vector<MapTown> result;
        const GazetteerLoad& load = ProgramGazetteer();
        for (Place& p : PlacesBySize(load.gazetteer, PlaceCount(load.gazetteer)))
            result.push_back({p.latitude, p.longitude, p.population, std::move(p.name)});
        return result;
    }();
    return towns;
}

} // namespace

std::vector<OutlinePixels> SceneOutlinePixels(const Scene& scene, const MapView& view) {
    const std::vector<HourOutline>& outlines = scene.hourOutlines;
    auto pixelsOf = [&view](const HourOutline& o) {
        return OutlinePixelsOf(view, o.outline.lat, o.outline.lon, o.runs);
    };
    std::future<std::vector<OutlinePixels>> odd;
    if (outlines.size() > 1) {
        odd = std::async(std::launch::async, [&outlines, &pixelsOf] {
            std::vector<OutlinePixels> result;
            for (std::size_t i = 1; i < outlines.size(); i += 2) {
                result.push_back(pixelsOf(outlines[i]));
            }
            return result;
        });
    }
    std::vector<OutlinePixels> pixels(outlines.size());
    for (std::size_t i = 0; i < outlines.size(); i += 2) {
        pixels[i] = pixelsOf(outlines[i]);
    }
    if (odd.valid()) {
        std::vector<OutlinePixels> done = odd.get();
        for (std::size_t k = 0; k < done.size(); ++k) {
            pixels[2 * k + 1] = std::move(done[k]);
        }
    }
    return pixels;
}

void PaintScene(CDC& dc, const Scene& scene, const MapView& view) {
    PaintScene(dc, scene, view, SceneOutlinePixels(scene, view));
}

void PaintScene(CDC& dc, const Scene& scene, const MapView& view,
                const std::vector<OutlinePixels>& outlines) {
    if (!scene.contactLines.empty()) {
        DrawContactLines(dc, view.zoomX, view.zoomY, scene.contactLines);
    }
    PaintSceneOnMap(dc, scene, view, outlines);
    if (!scene.path.empty()) {
        DrawPathLegend(dc, scene.path, view.zoomX, view.zoomY);
    }
}

void PaintMapFrame(CDC& dc, int clientWidth, int clientHeight, const Scene& scene,
                   const MapView& view) {
    if (scene.hourOutlines.empty()) {
        PaintStaticPicture(dc, clientWidth, clientHeight, view);
        PaintScene(dc, scene, view, {});
        return;
    }
    std::future<std::vector<OutlinePixels>> outlines =
        std::async(std::launch::async, [&scene, view] { return SceneOutlinePixels(scene, view); });
    PaintStaticPicture(dc, clientWidth, clientHeight, view);
    PaintScene(dc, scene, view, outlines.get());
}

void PaintSceneOnMap(CDC& dc, const Scene& scene, const MapView& view) {
    PaintSceneOnMap(dc, scene, view, SceneOutlinePixels(scene, view));
}

void PaintSceneOnMap(CDC& dc, const Scene& scene, const MapView& view,
                     const std::vector<OutlinePixels>& pixels) {
    // Everything on a moved map stays inside its area (the design's map draws its edge
    // rows' boxes whole, as it always has).
    QPainter& painter = dc.Painter();
    painter.save();
    if (!IsDefaultView(view)) {
        painter.setClipRect(QRectF(0.0, 0.0, std::trunc(view.areaWidth * view.zoomX),
                                   std::trunc(view.areaHeight * view.zoomY)));
    }
    PlotPointBoxes(dc, view, scene.penumbra.lat, scene.penumbra.lon, map_colours::kPenumbra);
    PlotPointBoxes(dc, view, scene.umbra.lat, scene.umbra.lon, map_colours::kUmbra);
    // Each outline's label corner comes from the pass that found its boxes.
    const std::vector<HourOutline>& outlines = scene.hourOutlines;
    std::vector<ScreenHourLabel> hourLabels;
    dc.SetMapMode(MM_TEXT);
    for (std::size_t i = 0; i < outlines.size() && i < pixels.size(); ++i) {
        dc.FillBoxes(pixels[i].boxes, 2, map_colours::kPenumbra);
        if (const auto& corner = pixels[i].corner) {
            hourLabels.push_back({static_cast<double>(outlines[i].hour), corner->x, corner->y});
        }
    }
    // The umbra's minute-by-minute points where the path has no band of its own to show.
    if (IsDefaultView(view) || scene.path.empty()) {
        PlotPointBoxes(dc, view, scene.umbraPath.lat, scene.umbraPath.lon, map_colours::kUmbra);
    }
    // The hour labels take their places first; the path's labels find room around them.
    std::vector<LabelBox> placed;
    if (!scene.hourOutlines.empty()) {
        DrawHourLabels(dc, view, hourLabels, placed);
    }
    // The design's map writes "Sunrise UT" and "Sunset UT" where it always has: the
    // path's labels keep clear of them.
    const LimitCurveSeries& limits = scene.limitCurves;
    for (const LabelBox& caption :
         DesignLimitCaptions(dc, view, limits.latitudes, limits.rise, limits.set)) {
        placed.push_back(caption);
    }
    if (!scene.path.empty()) {
        DrawPathLayer(dc, scene.path, view, placed);
    }
    // Towns take the room the eclipse's own labels leave.
    if (!IsDefaultView(view)) {
        DrawTownLabels(dc, view, ProgramTowns(), placed);
    }
    if (!limits.latitudes.empty()) {
        PlotLimitCurvePoints(dc, view, limits.latitudes, limits.rise, limits.set, &placed);
    }
    if (!scene.lunarDiagram.empty()) {
        // At the design's map the diagram sits by its anchor; on a moved map, in a corner.
        const CRect box = IsDefaultView(view)
                              ? LunarDiagramRect(scene.lunarDiagram, view.zoomX, view.zoomY)
                              : LunarDiagramCornerRect(view.areaHeight, view.zoomX, view.zoomY);
        DrawLunarDiagram(dc, box, scene.lunarDiagram);
    }
    if (scene.place) {
        if (const auto p = ViewPosition(view, scene.place->lat, scene.place->lon)) {
            DrawPlaceMark(dc, *p);
        }
    }
    if (!scene.path.empty()) {
        DrawPathMarkers(dc, scene.path, view);
    }
    painter.restore();
}

std::vector<HourLabel> MapHourLabels(const Scene& scene, double zoomX, double zoomY) {
    std::vector<HourLabel> result;
    for (const ScreenHourLabel& label : ScreenHourLabels(scene, DefaultView(zoomX, zoomY))) {
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
    if (!scene.pagePath.empty()) {
        content.path = &scene.pagePath;
    }
    content.footnote = PrintFootnote(scene);
    return content;
}

void PaintMapPicture(CDC& dc, const Scene& scene, const MapView& view) {
    dc.SetMapMode(MM_TEXT);
    dc.SetBkMode(TRANSPARENT);
    PaintVectorMap(dc, view, ProgramBaseMap());
    PaintSceneOnMap(dc, scene, view);
}
