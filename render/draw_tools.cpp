#include "render/draw_tools.h"

namespace {

CPen GeometricPen(int width, unsigned style, COLORREF colour) {
    CPen pen;
    pen.CreatePen(style | PS_GEOMETRIC | PS_ENDCAP_FLAT | PS_JOIN_MITER, width, colour);
    return pen;
}

} // namespace

void CDrawTools::DrawBox(CDC& dc, int left, int top, int right, int bottom, int penWidth,
                         unsigned penStyle, COLORREF penColour, COLORREF brushColour) const {
    CBrush brush;
    brush.CreateSolidBrush(brushColour);
    const CPen oldPen = dc.SelectObject(GeometricPen(penWidth, penStyle, penColour));
    const CBrush oldBrush = dc.SelectObject(brush);
    dc.Rectangle(left, top, right, bottom);
    dc.SelectObject(oldPen);
    dc.SelectObject(oldBrush);
}

void CDrawTools::DrawLine(CDC& dc, int x, int y, int dx, int dy, int penWidth, unsigned penStyle,
                          COLORREF colour) const {
    const CPen oldPen = dc.SelectObject(GeometricPen(penWidth, penStyle, colour));
    dc.MoveTo(x, y);
    dc.LineTo(x + dx, y + dy);
    dc.SelectObject(oldPen);
}
