#pragma once

// The base map drawn as vectors in any view: sea, land filled from Natural Earth's rings,
// coasts and country borders, the level of detail chosen by scale, and the graticule.
// Window pixels (one unit per pixel, y down); drawn inside the view's map area only.

#include "geo/map_view.h"
#include "geo/vector_map.h"
#include "platform/dc.h"

#include <QPolygonF>
#include <QRectF>

#include <memory>

// A vector map made ready to draw: its lines in the design's Mercator pixels and as unit
// vectors for globes, each kind made once, when a view first asks for it.
class BaseMap {
public:
    explicit BaseMap(VectorMap map);
    ~BaseMap();
    BaseMap(const BaseMap&) = delete;
    BaseMap& operator=(const BaseMap&) = delete;

    const VectorMap& Map() const { return m_map; }
    struct Lines;
    Lines& Prepared() const { return *m_lines; }

private:
    VectorMap m_map;
    std::unique_ptr<Lines> m_lines;
};

// The program's vector map (resource :/map/world.kvm), read once; empty when it cannot be
// read.
const BaseMap& ProgramBaseMap();

// The detail the view's scale asks for: the coarse outlines until a degree of longitude
// covers 4 window pixels.
MapDetail DetailForView(const MapView& view);

// Sea, land, borders and graticule of the map's area.
void PaintVectorMap(CDC& dc, const MapView& view, const BaseMap& map);

// The part of a closed ring (any shape, first point not repeated at the end) inside a
// rectangle, as one ring whose interior is the ring's interior cut to the rectangle.
QPolygonF ClipRingToRect(const QPolygonF& ring, const QRectF& rect);

// The graticule's step, degrees, for lines at least minPixels apart at pixelsPerDegree.
double GraticuleStep(double pixelsPerDegree, double minPixels);

// The graticule's labels in the bands beside the map: latitudes right of the area,
// longitudes under it, each centred on its line (the default view: the design's texts).
// Nothing for a globe.
void PaintGraticuleLabels(CDC& dc, const MapView& view);
