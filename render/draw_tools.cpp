#include "render/draw_tools.h"

#include <utility>

void DrawBox(CDC& dc, int left, int top, int right, int bottom, COLORREF colour) {
    const QColor c = ToQColor(colour);
    const QPen oldPen = dc.SelectObject(QPen(c, 1));
    const QBrush oldBrush = dc.SelectObject(QBrush(c));
    dc.Rectangle(left, top, right, bottom);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void DrawLine(CDC& dc, int x, int y, int dx, int dy, int width, COLORREF colour) {
    const QPen oldPen =
        dc.SelectObject(QPen(ToQColor(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
    dc.MoveTo(x, y);
    dc.LineTo(x + dx, y + dy);
    dc.SelectObject(oldPen);
}

void DrawPlaceMark(CDC& dc, const ScreenPoint& point) {
    const auto x = TruncateCoordinate(point.x);
    const auto y = TruncateCoordinate(point.y);
    if (!x || !y)
        return;
    const COLORREF red = RGB(220, 0, 0);
    DrawLine(dc, *x - 6, *y, 13, 0, 2, red);
    DrawLine(dc, *x, *y - 6, 0, 13, 2, red);
}

void DrawKeyboardCursor(CDC& dc, const ScreenPoint& point) {
    const auto x = TruncateCoordinate(point.x);
    const auto y = TruncateCoordinate(point.y);
    if (!x || !y)
        return;
    const COLORREF white = RGB(255, 255, 255);
    const COLORREF black = RGB(0, 0, 0);
    // Four arms from 4 to 14 pixels off the centre, so the point itself stays visible.
    for (const auto& [colour, width] : {std::pair{white, 4}, std::pair{black, 2}}) {
        DrawLine(dc, *x - 14, *y, 10, 0, width, colour);
        DrawLine(dc, *x + 4, *y, 10, 0, width, colour);
        DrawLine(dc, *x, *y - 14, 0, 10, width, colour);
        DrawLine(dc, *x, *y + 4, 0, 10, width, colour);
    }
}
