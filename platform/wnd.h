#pragma once

// A window whose client area is a retained surface (QImage). The paint handler and the
// commands' direct drawing both draw into the surface; paintEvent only copies it to the
// screen. Invalidating a rectangle and updating clears it to the background and runs the
// paint handler clipped to it, so a repaint wipes whatever the commands drew there.

#include "platform/dc.h"
#include "platform/gdi.h"
#include "platform/messagebox.h"

#include <QImage>
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

    // Invalidates a client rectangle (the whole client area for nullptr); with erase
    // the area is cleared to the background before it is painted again. The repaint
    // follows at the next UpdateWindow or when the event loop next runs.
    void InvalidateRect(const CRect* rect, bool erase = true);
    void Invalidate(bool erase = true) { InvalidateRect(nullptr, erase); }
    // Repaints the invalid area now. A hidden window is not painted: its invalid area is
    // painted when it is shown again.
    void UpdateWindow();

    CRect GetClientRect() const;
    const QImage& Surface() const { return m_surface; }

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
    friend class CClientDC;

    // Takes the region by value: it is often the invalid region, which this clears.
    void RepaintSurface(QRegion region, bool erase);
    void DeliverTimer(int id);
    void ScheduleUpdate();

    QImage m_surface;
    QRegion m_invalid;
    bool m_bEraseInvalid = false;
    bool m_bUpdateScheduled = false;
    QRegion m_paintRegion;
    IMessageBoxSink* m_pMessageSink = nullptr;
    std::map<int, std::unique_ptr<QTimer>> m_timers;
    bool m_bInTimer = false;
    bool m_bWaitCursor = false;
};

namespace platform_detail {
// Holds the painter so that it exists before the CDC base that draws through it.
struct SurfacePainter {
    explicit SurfacePainter(QImage* surface);
    QPainter m_surfacePainter;
};
} // namespace platform_detail

// Device context on a window's surface for drawing outside the paint handler. The
// window shows what was drawn when the context is released.
class CClientDC : private platform_detail::SurfacePainter, public CDC {
public:
    explicit CClientDC(CWnd* wnd);
    ~CClientDC() override;

private:
    CWnd* m_pWnd;
};

// Device context for the paint handler, clipped to the region being repainted.
class CPaintDC : public CClientDC {
public:
    explicit CPaintDC(CWnd* wnd);
};
