#include "render/overlay_painter.h"

#include "render/map_overlay.h"
#include "render/projection.h"

#include <cstddef>

CRect ContactBlockRect(double zoomX, double zoomY) {
    return {TruncToInt(20 * zoomX), TruncToInt(350 * zoomY), TruncToInt(300 * zoomX),
            TruncToInt(410 * zoomY)};
}

void DrawContactLines(CDC& dc, double zoomX, double zoomY, const std::vector<std::string>& lines) {
    dc.SetMapMode(MM_TEXT);
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{TruncToInt(13 * zoomY)});
    dc.SetTextColor(RGB(0, 0, 0));
    dc.SetBkMode(TRANSPARENT);
    for (std::size_t i = 0; i < lines.size(); ++i) {
        dc.TextOut(TruncToInt(20 * zoomX),
                   TruncToInt((350.0 + 15.0 * static_cast<double>(i)) * zoomY),
                   QString::fromStdString(lines[i]));
    }
    dc.SelectObject(oldFont);
}

void DrawHourLabels(CDC& dc, double zoomX, const std::vector<ScreenHourLabel>& labels) {
    dc.SetMapMode(MM_TEXT);
    const LogicalFont oldFont = dc.SelectObject(LogicalFont{11});
    for (const ScreenHourLabel& label : labels) {
        dc.SetTextColor(RGB(0, 0, 0));
        dc.SetBkMode(TRANSPARENT);
        const QString text = QString::fromStdString(HourLabelText(label.hours));
        for (const LabelSpot& spot : HourLabelSpots(label.x, label.y, zoomX)) {
            dc.TextOut(spot.x, spot.y, text);
        }
    }
    dc.SelectObject(oldFont);
}
