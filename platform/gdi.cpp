#include "platform/gdi.h"

#include "platform/save_file.h"

#include <QFontMetricsF>

#include <algorithm>
#include <cmath>

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

QFont ToQFont(const LogicalFont& font, double heightPixels) {
    QFont f(QStringLiteral("Arial"));
    f.setStyleHint(QFont::SansSerif);
    f.setItalic(font.italic);
    f.setWeight(font.bold ? QFont::Bold : QFont::Normal);
    if (font.height == 0 || !std::isfinite(heightPixels)) {
        return f;
    }

    // A negative height is the em size; a positive one the cell height, which Qt does
    // not take directly, so it is converted with the face's own ascent and descent.
    double pixels = heightPixels;
    if (font.height > 0) {
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
