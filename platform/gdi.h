#pragma once

// Values the drawing code shares with the device context: colours, mapping and
// background modes, points and rectangles in logical units, the program's font and
// bitmaps.

#include <QColor>
#include <QFont>
#include <QImage>
#include <QString>

#include <cstdint>

using COLORREF = std::uint32_t;

// Red in the low byte, then green, then blue.
constexpr COLORREF RGB(int r, int g, int b) {
    return static_cast<COLORREF>((r & 0xff) | ((g & 0xff) << 8) | ((b & 0xff) << 16));
}
constexpr int GetRValue(COLORREF c) {
    return static_cast<int>(c & 0xff);
}
constexpr int GetGValue(COLORREF c) {
    return static_cast<int>((c >> 8) & 0xff);
}
constexpr int GetBValue(COLORREF c) {
    return static_cast<int>((c >> 16) & 0xff);
}
inline QColor ToQColor(COLORREF c) {
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

// Mapping modes: one logical unit per pixel with y down, or 0.1 mm per unit with y up.
enum MapMode { MM_TEXT = 1, MM_LOMETRIC = 2 };

// Text background modes.
enum BkMode { TRANSPARENT = 1, OPAQUE = 2 };

struct CPoint {
    int x = 0;
    int y = 0;
};

struct CRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }

    friend bool operator==(const CRect&, const CRect&) = default;
};

// A font of the program's texts: Arial (or another sans-serif face where Arial is
// missing), bold or normal, upright or italic, with a height in logical units of the
// device context it is drawn in. A negative height is the character height (em size), a
// positive one the cell height (ascent plus descent); 0 keeps the default size.
struct LogicalFont {
    int height = 0;
    bool bold = true;
    bool italic = false;

    friend bool operator==(const LogicalFont&, const LogicalFont&) = default;
};

// A bitmap loaded from the program's resources by its number, or from a file.
class CBitmap {
public:
    bool LoadBitmap(int id);
    bool LoadFromFile(const QString& path);
    bool IsLoaded() const { return !m_image.isNull(); }
    int Width() const { return m_image.width(); }
    int Height() const { return m_image.height(); }
    const QImage& Image() const { return m_image; }

private:
    QImage m_image;
};

// The resource path of bitmap number id (":/bitmaps/<id>.bmp").
QString BitmapResourcePath(int id);

// The Qt font for a logical font whose height comes to heightPixels device pixels.
QFont ToQFont(const LogicalFont& font, double heightPixels);
