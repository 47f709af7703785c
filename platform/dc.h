#pragma once

// Device context: the drawing operations the program uses, over a QPainter on any paint
// device (the window surface, an image, a printer). Logical coordinates are integers;
// the context maps them to device pixels by its mapping mode:
//   MM_TEXT      one unit per pixel, y down, origin at the top-left corner;
//   MM_LOMETRIC  0.1 mm per unit, y up, origin at the top-left of the printable area.

#include "platform/gdi.h"

#include <QBrush>
#include <QFont>
#include <QPainter>
#include <QPen>
#include <QPointF>
#include <QRect>
#include <QSizeF>

#include <span>

class CDC {
public:
    // Draws through painter, whose device has dpiX x dpiY dots per inch (used only by
    // MM_LOMETRIC). The painter must stay active while the context is used.
    CDC(QPainter& painter, double dpiX, double dpiY);
    explicit CDC(QPainter& painter);
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;
    virtual ~CDC() = default;

    int SetMapMode(int mode);
    int GetMapMode() const { return m_nMapMode; }
    int SetBkMode(int mode);
    COLORREF SetBkColor(COLORREF colour);
    COLORREF SetTextColor(COLORREF colour);

    // Selecting returns the previously selected object, to be selected back. A pen's
    // width is in logical units; its caps and joins apply to lines. Rectangles take the
    // pen's and brush's colours only.
    LogicalFont SelectObject(const LogicalFont& font);
    QPen SelectObject(const QPen& pen);
    QBrush SelectObject(const QBrush& brush);

    // Outline with the current pen, interior with the current brush. With a pen one
    // pixel wide the rectangle covers left..right-1 and top..bottom-1 (right and bottom
    // edges excluded); a wider pen is centred on that outline.
    void Rectangle(int left, int top, int right, int bottom);
    // Many rectangles (logical left, top, right, bottom) drawn as Rectangle draws them
    // with a pen of penWidth logical units and pen and brush both of colour, in one
    // batch; boxes that cover the same device pixels are filled once, and on a page
    // (PDF, printer) the overlapping boxes of a row as one rectangle.
    void FillBoxes(std::span<const CRect> boxes, int penWidth, COLORREF colour);
    CPoint MoveTo(int x, int y);
    void LineTo(int x, int y);
    // Lines through the points (logical units) in the selected pen, joined at each point
    // as one stroke; the current position moves to the last point.
    void Polyline(std::span<const CPoint> points);
    // Text with the top-left corner of its cell at (x, y).
    void TextOut(int x, int y, const QString& text);
    // Width and height of a text's cell in the selected font, logical units.
    QSizeF TextExtent(const QString& text);
    // Copies the source rectangle of image onto the destination rectangle, scaled
    // without smoothing. A destination extent whose sign differs from the source's in
    // device space mirrors the image, as a stretch copy does.
    void StretchBlt(int x, int y, int width, int height, const QImage& image, int srcX, int srcY,
                    int srcWidth, int srcHeight);

    // Logical to device coordinates under the current mapping mode.
    QPointF LPtoDP(double x, double y) const;
    // Logical length to device pixels (the horizontal scale).
    double LengthToDevice(double length) const;

    QPainter& Painter() { return m_painter; }

private:
    // The Qt font of the selected font under the current mapping mode, made once.
    const QFont& CurrentQFont();
    void FillDeviceRect(int left, int top, int right, int bottom, COLORREF colour);
    // The selected pen on the painter, its width in device pixels (at least one).
    void UseLinePen();
    // Device pixels covered by a rectangle with a pen width (exclusive right and bottom).
    QRect OutlineDeviceRect(int left, int top, int right, int bottom, int penWidth) const;

    QPainter& m_painter;
    double m_dpiX;
    double m_dpiY;
    int m_nMapMode = MM_TEXT;
    int m_nBkMode = OPAQUE;
    COLORREF m_bkColour = RGB(255, 255, 255);
    COLORREF m_textColour = RGB(0, 0, 0);
    LogicalFont m_font{0, false, false};
    QFont m_qfont;
    bool m_qfontValid = false;
    QPen m_pen{Qt::black, 1, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin};
    QBrush m_brush{Qt::white};
    QPointF m_current;
    CPoint m_currentLogical;
};
