#pragma once

// Boxes and lines drawn with a pen and brush selected for the one call and deselected
// after it.

#include "platform/dc.h"
#include "render/projection.h"

// Rectangle (left, top)-(right, bottom), outline (a pen one unit wide) and interior
// alike in colour.
void DrawBox(CDC& dc, int left, int top, int right, int bottom, COLORREF colour);
// Line from (x, y) to (x + dx, y + dy), width logical units wide, with flat caps and
// mitre joins.
void DrawLine(CDC& dc, int x, int y, int dx, int dy, int width, COLORREF colour);

// A red cross, 13 pixels wide, centred on a window point (nothing off the int range).
void DrawPlaceMark(CDC& dc, const ScreenPoint& point);

// The keyboard cursor: a black crosshair with a white halo and a gap at its centre,
// 29 pixels across, centred on a window point.
void DrawKeyboardCursor(CDC& dc, const ScreenPoint& point);
