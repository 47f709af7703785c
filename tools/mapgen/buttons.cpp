#include "buttons.h"

#include <QFont>
#include <QPainter>
#include <QPolygon>

namespace mapgen {
namespace {

// A raised three-dimensional key: light from the top left. Pressed, the bevel is inverted,
// the face a shade darker and its content moved one pixel down and right.
constexpr QRgb kFace = qRgb(212, 208, 200);
constexpr QRgb kFacePressed = qRgb(196, 192, 184);
constexpr QRgb kHighlight = qRgb(255, 255, 255);
constexpr QRgb kLight = qRgb(234, 232, 228);
constexpr QRgb kShadow = qRgb(128, 128, 128);
constexpr QRgb kDarkShadow = qRgb(48, 48, 48);
constexpr QRgb kInk = qRgb(0, 40, 80);
constexpr QRgb kPlayGreen = qRgb(0, 128, 40);
constexpr QRgb kStopRed = qRgb(176, 24, 24);

void DrawBevel(QImage& image, bool pressed) {
    const int w = image.width(), h = image.height();
    const QRgb outerTopLeft = pressed ? kDarkShadow : kHighlight;
    const QRgb innerTopLeft = pressed ? kShadow : kLight;
    const QRgb outerBottomRight = pressed ? kHighlight : kDarkShadow;
    const QRgb innerBottomRight = pressed ? kLight : kShadow;
    for (int x = 0; x < w; ++x) {
        image.setPixel(x, 0, outerTopLeft);
        image.setPixel(x, h - 1, outerBottomRight);
    }
    for (int y = 0; y < h; ++y) {
        image.setPixel(0, y, outerTopLeft);
        image.setPixel(w - 1, y, outerBottomRight);
    }
    if (w < 6 || h < 6)
        return;
    for (int x = 1; x < w - 1; ++x) {
        image.setPixel(x, 1, innerTopLeft);
        image.setPixel(x, h - 2, innerBottomRight);
    }
    for (int y = 1; y < h - 1; ++y) {
        image.setPixel(1, y, innerTopLeft);
        image.setPixel(w - 2, y, innerBottomRight);
    }
}

void DrawCaption(QPainter& painter, const QRect& area, const QString& caption) {
    QFont font("Liberation Sans");
    font.setPixelSize(13);
    font.setBold(true);
    painter.setFont(font);
    painter.setPen(QColor::fromRgb(kInk));
    painter.drawText(area, Qt::AlignCenter, caption);
}

// Plus and minus on the 12 x 12 keys: bars two pixels thick, six long, centred.
void DrawSign(QPainter& painter, const QRect& area, bool plus) {
    const QPoint c = area.center();
    const QColor ink = QColor::fromRgb(kInk);
    painter.fillRect(c.x() - 2, c.y(), 6, 2, ink);
    if (plus)
        painter.fillRect(c.x(), c.y() - 2, 2, 6, ink);
}

void DrawPlay(QPainter& painter, const QRect& area) {
    const QPoint c = area.center();
    const QPolygon triangle(
        {QPoint(c.x() - 4, c.y() - 6), QPoint(c.x() - 4, c.y() + 6), QPoint(c.x() + 6, c.y())});
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor::fromRgb(kPlayGreen));
    painter.drawPolygon(triangle);
}

void DrawStop(QPainter& painter, const QRect& area) {
    const QPoint c = area.center();
    painter.fillRect(c.x() - 5, c.y() - 5, 11, 11, QColor::fromRgb(kStopRed));
}

} // namespace

std::vector<ButtonFace> ButtonFaces() {
    using S = ButtonSymbol;
    return {
        {130, "130-calculate", 100, 25, S::Caption, "Calculate", false},
        {131, "131-calculate-pressed", 100, 25, S::Caption, "Calculate", true},
        {132, "132-plus-pressed", 12, 12, S::Plus, {}, true},
        {133, "133-minus", 12, 12, S::Minus, {}, false},
        {134, "134-minus-pressed", 12, 12, S::Minus, {}, true},
        {135, "135-plus", 12, 12, S::Plus, {}, false},
        {136, "136-generate-pressed", 100, 25, S::Caption, "Generate", true},
        {137, "137-generate", 100, 25, S::Caption, "Generate", false},
        {138, "138-key", 15, 15, S::Blank, {}, false},
        {139, "139-key-pressed", 15, 15, S::Blank, {}, true},
        {140, "140-stop-pressed", 25, 25, S::Stop, {}, true},
        {141, "141-stop", 25, 25, S::Stop, {}, false},
        {142, "142-play-pressed", 25, 25, S::Play, {}, true},
        {143, "143-play", 25, 25, S::Play, {}, false},
        {144, "144-map-pressed", 100, 25, S::Caption, "Map", true},
        {145, "145-map", 100, 25, S::Caption, "Map", false},
        {146, "146-print", 100, 25, S::Caption, "Print", false},
        {147, "147-print-pressed", 100, 25, S::Caption, "Print", true},
    };
}

QImage DrawButton(const ButtonFace& face) {
    QImage image(face.width, face.height, QImage::Format_RGB32);
    image.fill(face.pressed ? kFacePressed : kFace);
    DrawBevel(image, face.pressed);

    // The content area inside the bevel, moved by a pixel when pressed.
    const int bevel = face.width < 6 || face.height < 6 ? 1 : 2;
    QRect area(bevel, bevel, face.width - 2 * bevel, face.height - 2 * bevel);
    if (face.pressed)
        area.translate(1, 1);

    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setRenderHint(QPainter::TextAntialiasing, true);
    switch (face.symbol) {
    case ButtonSymbol::Caption:
        DrawCaption(painter, area, face.caption);
        break;
    case ButtonSymbol::Plus:
        DrawSign(painter, area, true);
        break;
    case ButtonSymbol::Minus:
        DrawSign(painter, area, false);
        break;
    case ButtonSymbol::Play:
        DrawPlay(painter, area);
        break;
    case ButtonSymbol::Stop:
        DrawStop(painter, area);
        break;
    case ButtonSymbol::Blank:
        break;
    }
    return image;
}

} // namespace mapgen
