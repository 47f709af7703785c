#pragma once

// Boxes and lines drawn with a pen and brush made for the one call and released after it.

#include "platform/dc.h"
#include "platform/object.h"

class CDrawTools : public CObject {
public:
    // Rectangle (left, top)-(right, bottom): outline with a geometric pen of the given
    // width, style and colour (flat caps, mitre joins), interior filled with brushColour.
    void DrawBox(CDC& dc, int left, int top, int right, int bottom, int penWidth, unsigned penStyle,
                 COLORREF penColour, COLORREF brushColour) const;
    // Line from (x, y) to (x + dx, y + dy) with the same kind of pen.
    void DrawLine(CDC& dc, int x, int y, int dx, int dy, int penWidth, unsigned penStyle,
                  COLORREF colour) const;
};
