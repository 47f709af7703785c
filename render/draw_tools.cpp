#include "render/draw_tools.h"

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
