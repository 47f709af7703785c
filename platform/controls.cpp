#include "platform/controls.h"

#include "platform/wnd.h"

#include <QPainter>

namespace {

constexpr const char* kIdProperty = "controlId";

QString CssColour(COLORREF c) {
    return ToQColor(c).name();
}

} // namespace

int ControlId(const QWidget* widget) {
    return widget ? widget->property(kIdProperty).toInt() : 0;
}

CRichEdit::CRichEdit(CWnd* parent, int id, const CRect& rect) : QLineEdit(parent) {
    setProperty(kIdProperty, id);
    setFrame(true);
    setFocusPolicy(Qt::StrongFocus);
    MoveWindow(rect);
    ApplyStyle();
    show();
}

void CRichEdit::MoveWindow(const CRect& rect) {
    setGeometry(rect.left, rect.top, std::max(0, rect.Width()), std::max(0, rect.Height()));
}

void CRichEdit::SetFont(const LogicalFont& font) {
    QFont f = ToQFont(font, std::abs(font.height));
    // The character format keeps its bold and italic over a change of face and size.
    f.setBold(this->font().bold());
    f.setItalic(this->font().italic());
    setFont(f);
}

void CRichEdit::SetBackgroundColor(COLORREF colour) {
    m_background = colour;
    ApplyStyle();
}

void CRichEdit::SetDefaultCharFormat(COLORREF colour, bool bold, bool italic) {
    m_text = colour;
    QFont f = font();
    f.setBold(bold);
    f.setItalic(italic);
    setFont(f);
    ApplyStyle();
}

void CRichEdit::ApplyStyle() {
    // A thin border and no padding: the fields are small, and the text must fit.
    setStyleSheet(QStringLiteral("QLineEdit { background: %1; color: %2; border: 1px solid "
                                 "#808080; padding: 0px; margin: 0px; }")
                      .arg(CssColour(m_background), CssColour(m_text)));
}

CBitmapButton::CBitmapButton(CWnd* parent, const QString& caption, int id, int x, int y)
    : QAbstractButton(parent) {
    setProperty(kIdProperty, id);
    setText(caption);
    // Reachable with Tab and pressed with Space, like any push button.
    setFocusPolicy(Qt::StrongFocus);
    move(x, y);
    connect(this, &QAbstractButton::clicked, parent, [parent, id] { parent->SendCommand(id); });
    show();
}

bool CBitmapButton::LoadBitmaps(int normalId, int pressedId, QSize fallbackSize) {
    CBitmap normal;
    CBitmap pressed;
    const bool loaded = normal.LoadBitmap(normalId) && pressed.LoadBitmap(pressedId);
    m_normal = normal.Image();
    m_pressed = pressed.Image();
    resize(m_normal.isNull() ? fallbackSize : m_normal.size());
    update();
    return loaded;
}

void CBitmapButton::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    const QImage& face = isDown() && !m_pressed.isNull() ? m_pressed : m_normal;
    if (!face.isNull()) {
        painter.drawImage(QPoint(0, 0), face);
        PaintFocus(painter);
        return;
    }
    // Without its bitmaps the button still shows what it does.
    const QRect r = rect().adjusted(0, 0, -1, -1);
    painter.fillRect(rect(), isDown() ? QColor(150, 150, 150) : QColor(200, 200, 200));
    painter.setPen(Qt::black);
    painter.drawRect(r);
    QFont f = font();
    f.setPixelSize(std::max(6, std::min(12, height() - 4)));
    painter.setFont(f);
    painter.drawText(rect(), Qt::AlignCenter, text());
    PaintFocus(painter);
}

void CBitmapButton::PaintFocus(QPainter& painter) const {
    if (!hasFocus()) {
        return;
    }
    // A dotted frame just inside the face, as a focused push button shows.
    QPen pen(QColor(0, 0, 0));
    pen.setStyle(Qt::DotLine);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const int inset = std::min(2, std::max(0, std::min(width(), height()) / 6));
    painter.drawRect(rect().adjusted(inset, inset, -inset - 1, -inset - 1));
}
