#pragma once

// Boxes and lines drawn with a pen and brush selected for the one call and deselected
// after it.

#include "geo/projection.h"
#include "platform/dc.h"

#include <algorithm>
#include <array>
#include <cstddef>

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

// The last few boxes of a track: a shadow's outline traced by slices alternates between
// its branches, so a box often repeats one met a few points before. Filling it again
// would change nothing.
class RecentBoxes {
public:
    bool Contains(const CRect& box) const {
        return std::find(m_boxes.begin(), m_boxes.begin() + m_count, box) !=
               m_boxes.begin() + m_count;
    }
    // Remembers a box, forgetting the oldest of the last eight.
    void Add(const CRect& box) {
        m_boxes[m_next] = box;
        m_next = (m_next + 1) % m_boxes.size();
        m_count = std::min(m_count + 1, m_boxes.size());
    }

private:
    std::array<CRect, 8> m_boxes{};
    std::size_t m_next = 0;
    std::size_t m_count = 0;
};
