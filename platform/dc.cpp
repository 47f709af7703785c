#include "platform/dc.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPaintEngine>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <tuple>
#include <utility>
#include <vector>

namespace {

COLORREF FromQColor(const QColor& c) {
    return RGB(c.red(), c.green(), c.blue());
}

constexpr double kTenthsOfMmPerInch = 254.0;

// Device coordinates are doubles from the mapping; pixels are integers. Values far
// outside any device are clamped before the conversion, and a NaN goes to 0.
int ToPixel(double v) {
    if (std::isnan(v)) {
        return 0;
    }
    constexpr double kLimit = 1.0e8;
    return static_cast<int>(std::floor(std::clamp(v, -kLimit, kLimit)));
}

// Rectangles sorted by top, bottom, left, right: those of one row (same top and bottom)
// that overlap or touch become one, so the page names each filled run once. Moves the
// runs to the front and answers their number.
std::size_t MergeRowRuns(std::vector<QRect>& rects) {
    std::size_t n = 0;
    for (const QRect& r : rects) {
        if (n > 0) {
            QRect& last = rects[n - 1];
            if (last.top() == r.top() && last.bottom() == r.bottom() &&
                r.left() <= last.right() + 1) {
                last.setRight(std::max(last.right(), r.right()));
                continue;
            }
        }
        rects[n++] = r;
    }
    return n;
}

} // namespace

CDC::CDC(QPainter& painter, double dpiX, double dpiY)
    : m_painter(painter), m_dpiX(dpiX), m_dpiY(dpiY) {
    if (m_painter.isActive()) {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    }
}

CDC::CDC(QPainter& painter)
    : CDC(painter, painter.device() ? painter.device()->logicalDpiX() : 96.0,
          painter.device() ? painter.device()->logicalDpiY() : 96.0) {}

int CDC::SetMapMode(int mode) {
    const int previous = m_nMapMode;
    m_nMapMode = mode == MM_LOMETRIC ? MM_LOMETRIC : MM_TEXT;
    m_qfontValid = m_qfontValid && m_nMapMode == previous;
    return previous;
}

int CDC::SetBkMode(int mode) {
    const int previous = m_nBkMode;
    m_nBkMode = mode == TRANSPARENT ? TRANSPARENT : OPAQUE;
    return previous;
}

COLORREF CDC::SetBkColor(COLORREF colour) {
    return std::exchange(m_bkColour, colour);
}

COLORREF CDC::SetTextColor(COLORREF colour) {
    return std::exchange(m_textColour, colour);
}

LogicalFont CDC::SelectObject(const LogicalFont& font) {
    m_qfontValid = m_qfontValid && font == m_font;
    return std::exchange(m_font, font);
}

QPen CDC::SelectObject(const QPen& pen) {
    return std::exchange(m_pen, pen);
}

QBrush CDC::SelectObject(const QBrush& brush) {
    return std::exchange(m_brush, brush);
}

QPointF CDC::LPtoDP(double x, double y) const {
    if (m_nMapMode == MM_LOMETRIC) {
        return {x * m_dpiX / kTenthsOfMmPerInch, -y * m_dpiY / kTenthsOfMmPerInch};
    }
    return {x, y};
}

double CDC::LengthToDevice(double length) const {
    return m_nMapMode == MM_LOMETRIC ? length * m_dpiX / kTenthsOfMmPerInch : length;
}

void CDC::FillDeviceRect(int left, int top, int right, int bottom, COLORREF colour) {
    if (m_painter.isActive() && right > left && bottom > top) {
        m_painter.fillRect(QRect(left, top, right - left, bottom - top), ToQColor(colour));
    }
}

QRect CDC::OutlineDeviceRect(int left, int top, int right, int bottom, int penWidth) const {
    if (m_nMapMode == MM_TEXT) {
        // Pixels are logical units: the band of a pen w wide reaches (w-1)/2 pixels
        // before the interior and the rest after it.
        const int width = std::max(1, penWidth);
        const int before = (width - 1) / 2;
        const int after = width - 1 - before;
        return QRect(QPoint(std::min(left, right) - before, std::min(top, bottom) - before),
                     QPoint(std::max(left, right) + after - 1, std::max(top, bottom) + after - 1));
    }
    const QPointF a = LPtoDP(left, top);
    const QPointF b = LPtoDP(right, bottom);
    const int l = ToPixel(std::min(a.x(), b.x()));
    const int r = ToPixel(std::max(a.x(), b.x()));
    const int t = ToPixel(std::min(a.y(), b.y()));
    const int btm = ToPixel(std::max(a.y(), b.y()));
    // A band of the pen's width centred on the border pixels of the interior (the pixels
    // l..r-1, t..btm-1).
    const int width = std::max(1, ToPixel(LengthToDevice(penWidth) + 0.5));
    const int before = (width - 1) / 2;
    const int after = width - 1 - before;
    return QRect(QPoint(l - before, t - before), QPoint(r + after - 1, btm + after - 1));
}

void CDC::Rectangle(int left, int top, int right, int bottom) {
    const int penWidth = m_pen.width();
    const QRect outer = OutlineDeviceRect(left, top, right, bottom, penWidth);
    const int ol = outer.left();
    const int ot = outer.top();
    const int orr = outer.right() + 1; // exclusive
    const int ob = outer.bottom() + 1;
    const COLORREF c = FromQColor(m_pen.color());
    const COLORREF interior = FromQColor(m_brush.color());
    if (c == interior) {
        FillDeviceRect(ol, ot, orr, ob, c); // outline and interior alike: one fill
        return;
    }
    const int width = std::max(1, ToPixel(LengthToDevice(penWidth) + 0.5));
    const int before = (width - 1) / 2;
    const int after = width - 1 - before;
    FillDeviceRect(ol + before, ot + before, orr - after, ob - after, interior);
    FillDeviceRect(ol, ot, orr, std::min(ot + width, ob), c);  // top
    FillDeviceRect(ol, std::max(ob - width, ot), orr, ob, c);  // bottom
    FillDeviceRect(ol, ot, std::min(ol + width, orr), ob, c);  // left
    FillDeviceRect(std::max(orr - width, ol), ot, orr, ob, c); // right
}

void CDC::FillBoxes(std::span<const CRect> boxes, int penWidth, COLORREF colour) {
    if (!m_painter.isActive() || boxes.empty()) {
        return;
    }
    m_painter.save();
    m_painter.setPen(Qt::NoPen);
    m_painter.setBrush(ToQColor(colour));
    const QPaintEngine* engine = m_painter.paintEngine();
    if (engine && engine->type() == QPaintEngine::Raster) {
        // A raster surface fills a repeated box about as fast as it could look it up:
        // the boxes go in slices through a fixed buffer, dropping only runs of one box.
        constexpr std::size_t kSlice = 1024;
        std::array<QRect, kSlice> slice;
        std::size_t n = 0;
        for (const CRect& box : boxes) {
            const QRect r = OutlineDeviceRect(box.left, box.top, box.right, box.bottom, penWidth);
            if (r.isEmpty() || (n > 0 && slice[n - 1] == r)) {
                continue;
            }
            slice[n++] = r;
            if (n == kSlice) {
                m_painter.drawRects(slice.data(), static_cast<int>(n));
                n = 0;
            }
        }
        m_painter.drawRects(slice.data(), static_cast<int>(n));
    } else {
        // A page description (PDF, printer) gets each filled run of a row once, which keeps
        // it small.
        std::vector<QRect> rects;
        rects.reserve(boxes.size());
        for (const CRect& box : boxes) {
            const QRect r = OutlineDeviceRect(box.left, box.top, box.right, box.bottom, penWidth);
            if (!r.isEmpty()) {
                rects.push_back(r);
            }
        }
        const auto key = [](const QRect& r) {
            return std::tuple(r.top(), r.bottom(), r.left(), r.right());
        };
        std::sort(rects.begin(), rects.end(),
                  [&](const QRect& a, const QRect& b) { return key(a) < key(b); });
        const std::size_t merged = MergeRowRuns(rects);
        m_painter.drawRects(rects.data(), static_cast<int>(merged));
    }
    m_painter.restore();
}

CPoint CDC::MoveTo(int x, int y) {
    m_current = LPtoDP(x, y);
    return std::exchange(m_currentLogical, CPoint{x, y});
}

void CDC::UseLinePen() {
    QPen pen = m_pen;
    pen.setWidthF(std::max(1.0, LengthToDevice(m_pen.widthF())));
    m_painter.setPen(pen);
}

void CDC::LineTo(int x, int y) {
    const QPointF to = LPtoDP(x, y);
    if (!m_painter.isActive()) {
        m_current = to;
        m_currentLogical = {x, y};
        return;
    }
    UseLinePen();
    m_painter.drawLine(m_current, to);
    m_current = to;
    m_currentLogical = {x, y};
}

void CDC::Polyline(std::span<const CPoint> points) {
    if (points.empty()) {
        return;
    }
    QPolygonF device;
    device.reserve(static_cast<qsizetype>(points.size()));
    for (const CPoint& p : points) {
        device.append(LPtoDP(p.x, p.y));
    }
    m_current = device.back();
    m_currentLogical = points.back();
    if (!m_painter.isActive() || points.size() < 2) {
        return;
    }
    UseLinePen();
    m_painter.drawPolyline(device);
}

const QFont& CDC::CurrentQFont() {
    if (!m_qfontValid) {
        m_qfont = ToQFont(m_font, LengthToDevice(std::abs(m_font.height)));
        m_qfontValid = true;
    }
    return m_qfont;
}

QSizeF CDC::TextExtent(const QString& text) {
    const QFontMetricsF metrics(CurrentQFont(), m_painter.device());
    const double unit = LengthToDevice(1.0);
    if (!(unit > 0.0)) {
        return {};
    }
    return {metrics.horizontalAdvance(text) / unit, metrics.height() / unit};
}

void CDC::TextOut(int x, int y, const QString& text) {
    if (!m_painter.isActive()) {
        return;
    }
    const QFont& font = CurrentQFont();
    const QFontMetricsF metrics(font, m_painter.device());
    const QPointF topLeft = LPtoDP(x, y);
    if (m_nBkMode == OPAQUE) {
        const QRectF cell(topLeft, QSizeF(metrics.horizontalAdvance(text), metrics.height()));
        m_painter.fillRect(cell, ToQColor(m_bkColour));
    }
    m_painter.setFont(font);
    m_painter.setPen(ToQColor(m_textColour));
    m_painter.drawText(QPointF(topLeft.x(), topLeft.y() + metrics.ascent()), text);
}

void CDC::StretchBlt(int x, int y, int width, int height, const QImage& image, int srcX, int srcY,
                     int srcWidth, int srcHeight) {
    if (!m_painter.isActive() || image.isNull() || srcWidth == 0 || srcHeight == 0) {
        return;
    }
    const QPointF a = LPtoDP(x, y);
    const QPointF b = LPtoDP(static_cast<double>(x) + width, static_cast<double>(y) + height);
    const double dw = b.x() - a.x();
    const double dh = b.y() - a.y();
    const int l = ToPixel(std::min(a.x(), b.x()));
    const int t = ToPixel(std::min(a.y(), b.y()));
    const int r = ToPixel(std::max(a.x(), b.x()));
    const int btm = ToPixel(std::max(a.y(), b.y()));
    if (r <= l || btm <= t) {
        return;
    }
    const QRect target(l, t, r - l, btm - t);
    const QRect sourceRect(std::min(srcX, srcX + srcWidth), std::min(srcY, srcY + srcHeight),
                           std::abs(srcWidth), std::abs(srcHeight));
    const bool flipX = (dw < 0) != (srcWidth < 0);
    const bool flipY = (dh < 0) != (srcHeight < 0);
    if (!flipX && !flipY) {
        // The whole image as it is (the print image, the base map): no copy.
        if (sourceRect == image.rect()) {
            m_painter.drawImage(target, image);
        } else {
            m_painter.drawImage(target, image.copy(sourceRect));
        }
        return;
    }
    m_painter.drawImage(target, image.copy(sourceRect).mirrored(flipX, flipY));
}
