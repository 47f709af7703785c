#pragma once

// The child controls of the view: a single-line input field and a button drawn from two
// bitmaps (normal and pressed). Both carry a control id; a button sends its id as a
// command to the window that holds it.

#include "platform/gdi.h"

#include <QAbstractButton>
#include <QImage>
#include <QLineEdit>

class QPainter;

class CWnd;

// The id a control was created with, or 0.
int ControlId(const QWidget* widget);

class CRichEdit : public QLineEdit {
    Q_OBJECT

public:
    // A bordered single-line field at rect (window pixels) of parent.
    CRichEdit(CWnd* parent, int id, const CRect& rect);

    void MoveWindow(const CRect& rect);
    // The font of the field; its height is in pixels (a positive height is the cell).
    void SetFont(const LogicalFont& font);
    void SetBackgroundColor(COLORREF colour);
    // Text colour and bold/italic style of the characters.
    void SetDefaultCharFormat(COLORREF colour, bool bold, bool italic);
    void LimitText(int characters) { setMaxLength(characters); }

private:
    void ApplyStyle();

    COLORREF m_background = RGB(255, 255, 255);
    COLORREF m_text = RGB(0, 0, 0);
};

class CBitmapButton : public QAbstractButton {
    Q_OBJECT

public:
    // A button with caption and command id whose top-left corner is at (x, y).
    CBitmapButton(CWnd* parent, const QString& caption, int id, int x, int y);

    // Loads the normal and pressed faces and sizes the button to the normal one.
    // A face that cannot be loaded is drawn plainly with the caption, at fallbackSize.
    bool LoadBitmaps(int normalId, int pressedId, QSize fallbackSize);
    void MoveTo(int x, int y) { move(x, y); }

    QSize sizeHint() const override { return size(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void PaintFocus(QPainter& painter) const;

    QImage m_normal;
    QImage m_pressed;
};
