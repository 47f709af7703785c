#include "render/overlay_painter.h"

#include <algorithm>
#include <cmath>

#include "render/map_overlay.h"
#include "render/projection.h"

#include <cstddef>

CRect ContactBlockRect(double zoomX, double zoomY) {
    return {TruncToInt(20 * zoomX), TruncToInt(350 * zoomY), TruncToInt(300 * zoomX),
            TruncToInt(410 * zoomY)};
}

void DrawContactLines(CDC& dc, double zoomX, double zoomY, const std::vector<std::string>& lines) {
    dc.SetMapMode(MM_TEXT);
    // The lines run right towards the legend's columns, which close up with the width:
    // the text shrinks with whichever zoom is the smaller.
    const LogicalFont oldFont =
        dc.SelectObject(LogicalFont{TruncToInt(13 * std::min(zoomX, zoomY))});
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        dc.TextOut(TruncToInt(20 * zoomX),
                   TruncToInt((350.0 + 15.0 * static_cast<double>(i)) * zoomY),
                   QString::fromStdString(lines[i]));
    }
    dc.SelectObject(oldFont);
}

void DrawHourLabels(CDC& dc, const MapView& view, const std::vector<ScreenHourLabel>& labels,
                    std::vector<LabelBox>& placed) {
    dc.SetMapMode(MM_TEXT);
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    const double width = std::trunc(view.areaWidth * view.zoomX);
    const double height = std::trunc(view.areaHeight * view.zoomY);
    const LabelBox area{0.0, 0.0, width, height};
    for (const ScreenHourLabel& label : labels) {
        // On a moved map an outline whose corner lies off the area is labelled nowhere:
        // pulled to the edge, its label would stand by another outline.
        if (!IsDefaultView(view) &&
            (label.x < 0 || label.y < 0 || label.x >= width || label.y >= height)) {
            continue;
        }
        const QString text = QString::fromStdString(HourLabelText(label.hours));
        const QSizeF size = dc.TextExtent(text);
        const double x =
            std::clamp(static_cast<double>(label.x), 0.0, std::max(0.0, width - size.width()));
        const double y =
            std::clamp(static_cast<double>(label.y), 0.0, std::max(0.0, height - size.height()));
        std::vector<LabelBox> candidates;
        for (int k = 0; k < 8; ++k) {
            candidates.push_back({x, y + k * size.height(), size.width(), size.height()});
            if (k > 0) {
                candidates.push_back({x, y - k * size.height(), size.width(), size.height()});
            }
        }
        if (const auto box = PlaceLabel(placed, candidates, area)) {
            dc.TextOut(TruncToInt(box->left), TruncToInt(box->top), text);
        }
    }
    dc.SelectObject(oldFont);
}
