#pragma once

// The Moon's track through the Earth's shadow: the penumbra and the umbra as
// circles, the Moon's centre's path across them, and the Moon's disc at each
// contact with its label, as plain numbers (no Qt here; render/lunar_diagram_painter.h
// draws it).

#include <string>
#include <vector>

struct DiagramPoint {
    double x = 0.0; // east, any unit (the model's), shadow axis at 0
    double y = 0.0; // north
};

struct LunarDiagram {
    double penumbraRadius = 0.0; // at greatest eclipse, the points' unit
    double umbraRadius = 0.0;
    double moonRadius = 0.0;
    std::vector<DiagramPoint> track; // the Moon's centre from first to last contact
    struct Moon {
        DiagramPoint centre;
        std::string label; // "P1", "U1", ..., "Greatest"
    };
    std::vector<Moon> moons;
    std::string title; // e.g. "Total lunar eclipse 2025-09-07"
    // Where on the map the diagram is drawn: around the antipode of the sub-lunar
    // point, where the eclipse is not seen and no curve of the Moon's horizon passes.
    double anchorLat = 0.0; // degrees
    double anchorLon = 0.0; // degrees east
    bool empty() const { return track.empty(); }
};
