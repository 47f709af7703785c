#pragma once

// Drawing objects of the framework layer: colours, fonts, pens, brushes and bitmaps as
// the drawing code creates them, each a small value that the device context turns into
// its Qt counterpart when it is selected.

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

// Pen styles, combinable as the drawing code does (style | type | caps | joins).
enum PenStyle : unsigned {
    PS_SOLID = 0,
    PS_COSMETIC = 0,
    PS_ENDCAP_ROUND = 0,
    PS_JOIN_ROUND = 0,
    PS_ENDCAP_FLAT = 0x200,
    PS_JOIN_MITER = 0x2000,
    PS_GEOMETRIC = 0x10000,
};

// Font weights and the one pitch-and-family value the drawing code uses.
constexpr int FW_DONTCARE = 0;
constexpr int FW_NORMAL = 400;
constexpr int FW_BOLD = 700;
constexpr int ANSI_CHARSET = 0;
constexpr int FF_SWISS = 32;

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
};

// A logical font. The height follows the platform's convention: a positive height is
// the cell height (ascent plus descent), a negative one the character height (em size),
// both in logical units of the device context it is selected into.
class CFont {
public:
    bool CreateFont(int height, int width, int escapement, int orientation, int weight, bool italic,
                    bool underline, bool strikeOut, int charSet, int outPrecision,
                    int clipPrecision, int quality, int pitchAndFamily, const char* face);
    bool IsCreated() const { return m_bCreated; }

    int m_nHeight = 0;
    int m_nWeight = FW_DONTCARE;
    bool m_bItalic = false;
    bool m_bUnderline = false;
    bool m_bStrikeOut = false;
    int m_nPitchAndFamily = 0;
    QString m_strFace;

private:
    bool m_bCreated = false;
};

// A pen: style flags, width in logical units and colour.
class CPen {
public:
    bool CreatePen(unsigned style, int width, COLORREF colour);
    bool IsCreated() const { return m_bCreated; }

    unsigned m_nStyle = PS_SOLID;
    int m_nWidth = 1;
    COLORREF m_colour = RGB(0, 0, 0);

private:
    bool m_bCreated = false;
};

class CBrush {
public:
    bool CreateSolidBrush(COLORREF colour);
    bool IsCreated() const { return m_bCreated; }

    COLORREF m_colour = RGB(255, 255, 255);

private:
    bool m_bCreated = false;
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
QFont ToQFont(const CFont& font, double heightPixels);
