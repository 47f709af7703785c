#pragma once

// A window whose client area is what its paint handler draws. Invalidating a rectangle
// marks it for repainting; UpdateWindow repaints the invalid area at once. Every repaint
// clears the area to the background and runs the paint handler clipped to it, so what the
// window shows is always the paint handler's picture (the commands put their results
// into what it draws, never straight onto the window).

#include "platform/dc.h"
#include "platform/gdi.h"
#include "platform/messagebox.h"

#include <QRegion>
#include <QWidget>

#include <map>
#include <memory>

class QTimer;

class CWnd : public QWidget {
    Q_OBJECT

public:
    explicit CWnd(QWidget* parent = nullptr);
    ~CWnd() override;

    // Invalidates a client rectangle (the whole client area for nullptr), right and
    // bottom edges excluded. The repaint follows at the next UpdateWindow or when the
    // event loop next runs; it clears the area to the background first whatever erase
    // says (the paint handler draws the whole picture).
    void InvalidateRect(const CRect* rect, bool erase = true);
    void Invalidate(bool erase = true) { InvalidateRect(nullptr, erase); }
    // Repaints the invalid area now. A hidden window is not painted: its invalid area is
    // painted when it is shown again.
    void UpdateWindow();

    CRect GetClientRect() const;

    // Message box with text, caption and style; goes to the installed sink if there is
    // one (tests), otherwise modal.
    int MessageBox(const QString& text, const QString& caption, unsigned style = MB_OK);
    void SetMessageBoxSink(IMessageBoxSink* sink) { m_pMessageSink = sink; }

    // Timers by id: SetTimer on a running id restarts its period. A tick that falls due
    // while the window is busy is delivered once afterwards, never several at once.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool IsTimerRunning(int id) const;

    // Wait and arrow cursors over the application's override cursor, kept balanced.
    void ShowWaitCursor();
    void ShowArrowCursor();
    bool IsWaitCursorShown() const { return m_bWaitCursor; }

    // Texts of child controls by their ids.
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);
    QWidget* GetDlgItem(int id) const;

    // Runs the command handler for a command id (buttons and menus call this).
    void SendCommand(int id) { OnCommand(id); }

    // The region being painted by the current paint handler (for CPaintDC).
    const QRegion& PaintRegion() const { return m_paintRegion; }

    static constexpr COLORREF kBackground = RGB(255, 255, 255);

protected:
    virtual void OnPaint() {}
    virtual void OnSize(unsigned type, int cx, int cy);
    virtual void OnTimer(int id);
    virtual void OnRButtonDown(unsigned flags, CPoint point);
    virtual bool OnCommand(int id);

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    void DeliverTimer(int id);

    QRegion m_invalid;
    QRegion m_paintRegion;
    IMessageBoxSink* m_pMessageSink = nullptr;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    bool m_bInTimer = false;
    bool m_bWaitCursor = false;
};

namespace platform_detail {
// Holds the painter so that it exists before the CDC base that draws through it.
struct WindowPainter {
    explicit WindowPainter(QWidget* window);
    QPainter m_windowPainter;
};
} // namespace platform_detail

// Device context for the paint handler: draws on the window, clipped to the region being
// repainted. Only the paint handler can draw on a window.
class CPaintDC : private platform_detail::WindowPainter, public CDC {
public:
    explicit CPaintDC(CWnd* wnd);
};
