#pragma once

// What the contact-time run and the map command write over the window: the contact-time
// block and the hour labels of the penumbra outlines. Window pixels (one unit per pixel,
// y down); design coordinates are scaled by the zoom and truncated toward zero.

#include "geo/label_place.h"
#include "geo/map_view.h"
#include "platform/dc.h"

#include <string>
#include <vector>

// Window rectangle of the contact-time block, the area its wipe repaints.
CRect ContactBlockRect(double zoomX, double zoomY);

// The lines of the contact-time block, one under the other from (20, 350), in bold Arial
// 13 design pixels high, black.
void DrawContactLines(CDC& dc, double zoomX, double zoomY, const std::vector<std::string>& lines);

struct ScreenHourLabel {
    double hours = 0.0; // hour UT of the outline
    int x = 0;          // top-left corner of the outline, window pixels
    int y = 0;
};

// Each label "9h UT" once, in bold Arial 11 pixels high (not zoomed), black: at the
// corner of its outline pulled into the map's area (HourLabelMapSpot in the default
// view), or the nearest place below or above it that clears the labels placed before.
// On a moved map an outline whose corner lies off the area has no label.
void DrawHourLabels(CDC& dc, const MapView& view, const std::vector<ScreenHourLabel>& labels,
                    std::vector<LabelBox>& placed);
