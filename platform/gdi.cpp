#include "platform/gdi.h"

#include "platform/save_file.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

bool CFont::CreateFont(int height, int /*width*/, int /*escapement*/, int /*orientation*/,
                       int weight, bool italic, bool underline, bool strikeOut, int /*charSet*/,
                       int /*outPrecision*/, int /*clipPrecision*/, int /*quality*/,
                       int pitchAndFamily, const char* face) {
    m_nHeight = height;
    m_nWeight = weight;
    m_bItalic = italic;
    m_bUnderline = underline;
    m_bStrikeOut = strikeOut;
    m_nPitchAndFamily = pitchAndFamily;
    m_strFace = QString::fromLatin1(face ? face : "");
    m_bCreated = true;
    return true;
}

bool CPen::CreatePen(unsigned style, int width, COLORREF colour) {
    m_nStyle = style;
    m_nWidth = width;
    m_colour = colour;
    m_bCreated = true;
    return true;
}

bool CBrush::CreateSolidBrush(COLORREF colour) {
    m_colour = colour;
    m_bCreated = true;
    return true;
}

QString BitmapResourcePath(int id) {
    return QStringLiteral(":/bitmaps/%1.bmp").arg(id);
}

bool CBitmap::LoadBitmap(int id) {
    return LoadFromFile(BitmapResourcePath(id));
}

bool CBitmap::LoadFromFile(const QString& path) {
    // Only a regular file of a sane size: a FIFO or a device would block the reader or
    // never end.
    constexpr qint64 kMaxBytes = 64 * 1024 * 1024;
    m_image = IsReadableRegularFile(path, kMaxBytes) ? QImage(path) : QImage();
    return !m_image.isNull();
}

QFont ToQFont(const CFont& font, double heightPixels) {
    QFont f;
    if (!font.IsCreated()) {
        return f;
    }
    f.setFamily(font.m_strFace);
    if (font.m_nPitchAndFamily & FF_SWISS) {
        f.setStyleHint(QFont::SansSerif);
    }
    f.setItalic(font.m_bItalic);
    f.setUnderline(font.m_bUnderline);
    f.setStrikeOut(font.m_bStrikeOut);
    const int weight = font.m_nWeight == FW_DONTCARE ? FW_NORMAL : font.m_nWeight;
    f.setWeight(static_cast<QFont::Weight>(std::clamp(weight, 100, 900)));
    if (font.m_nHeight == 0 || !std::isfinite(heightPixels)) {
        return f;
    }

    // A negative height is the em size; a positive one the cell height, which Qt does
    // not take directly, so it is converted with the face's own ascent and descent.
    double pixels = heightPixels;
    if (font.m_nHeight > 0) {
        QFont probe = f;
        probe.setPixelSize(100);
        const QFontMetricsF metrics(probe);
        const double cell = metrics.ascent() + metrics.descent();
        if (cell > 0.0) {
            pixels = heightPixels * 100.0 / cell;
        }
    }
    f.setPixelSize(static_cast<int>(std::clamp(std::round(pixels), 1.0, 10000.0)));
    return f;
}
