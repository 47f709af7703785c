#pragma once

// What the commands show over the static picture, kept by the view in layers: the window
// draws it on every repaint and the printed page prints it. A command changes the layers
// it owns and leaves the others; a new kind of result is one more layer here, drawn in
// PaintScene and printed by PageContent.

#include "eclipse/lunar.h"
#include "eclipse/outline.h"
#include "eclipse/path.h"
#include "geo/lunar_diagram.h"
#include "geo/map_view.h"
#include "geo/path_layer.h"
#include "model/eclipse_map.h"
#include "render/map_painter.h"
#include "render/print_page.h"

#include <optional>
#include <string>
#include <vector>

class CDC;

struct Scene {
    std::vector<std::string> contactLines; // the contact-time block under the map, or none
    Outline penumbra;                      // the shadow of one instant (snapshot, frame)
    Outline umbra;
    std::vector<HourOutline> hourOutlines; // the map command's hourly penumbra outlines
    Outline umbraPath;                     // the map command's umbra, minute by minute
    LimitCurveSeries limitCurves;          // the map command's sunrise and sunset series
    EclipsePath eclipse;                   // the map command's eclipse, for export
    PathLayer path;     // the map command's central line, path limits, partial limits and
                        // sunrise and sunset curves, and greatest eclipse, pole to pole
    PathLayer pagePath; // the same cut to the printed map's latitudes
    std::optional<GeoPoint> place; // the place of the last local circumstances, marked
    // The map command's lunar eclipse (its curves are the path layer) and the diagram
    // of the Moon's track through the shadow.
    std::optional<LunarEclipse> lunar;
    LunarDiagram lunarDiagram;
};

// The shadow of an instant takes the place of the last shadow and of everything the last
// map command drew over the map; the contact-time block stays.
void ReplaceShadow(Scene& scene, ShadowSnapshot shadow);

// The window's layers in drawing order: the contact block, the shadow, the hourly
// outlines, the umbra path (its minute-by-minute points in the default view), the path's
// lines, the hour labels at the top-left corner of their outlines (an outline without
// points has no label), the limit curves, the place and the greatest eclipse's marker.
// Window pixels of the view; labels never overlap.
void PaintScene(CDC& dc, const Scene& scene, const MapView& view);
// The layers on the map alone (no contact block, no legend), inside the view's area.
void PaintSceneOnMap(CDC& dc, const Scene& scene, const MapView& view);

// The boxes and label corners of the scene's hourly outlines in a view, every second
// outline on another thread; nothing is drawn. The two painters above work them out
// first; a frame that draws the base map as well hands them in, worked out meanwhile.
std::vector<OutlinePixels> SceneOutlinePixels(const Scene& scene, const MapView& view);
void PaintScene(CDC& dc, const Scene& scene, const MapView& view,
                const std::vector<OutlinePixels>& outlines);
void PaintSceneOnMap(CDC& dc, const Scene& scene, const MapView& view,
                     const std::vector<OutlinePixels>& outlines);

// What the window shows of the map in a view (PaintStaticPicture, then PaintScene): the
// outlines' boxes are worked out on other threads while the base map is drawn.
void PaintMapFrame(CDC& dc, int clientWidth, int clientHeight, const Scene& scene,
                   const MapView& view);
// The map alone in a view: the base map, the scene's layers on it and a frame. Window
// pixels of the view's area, from (0, 0).
void PaintMapPicture(CDC& dc, const Scene& scene, const MapView& view);

// The hour labels at their places on the map, whole degrees, as the window at the zoom
// shows them.
std::vector<HourLabel> MapHourLabels(const Scene& scene, double zoomX, double zoomY);

// The page's share of the scene: the contact lines, every penumbra and umbra point, the
// limit curves and the hour labels (placed as the window at the zoom shows them). The
// content refers to the scene's points, which must outlive it.
PrintPageContent PageContent(const Scene& scene, double zoomX, double zoomY, std::string title);

// The printed page's footnote: the theories behind what the page shows.
std::string PrintFootnote(const Scene& scene);
