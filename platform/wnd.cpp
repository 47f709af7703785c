#include "platform/wnd.h"

#include "platform/controls.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QResizeEvent>
#include <QTimer>

CWnd::CWnd(QWidget* parent) : QWidget(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
}

CWnd::~CWnd() {
    ShowArrowCursor();
}

CRect CWnd::GetClientRect() const {
    return {0, 0, width(), height()};
}

void CWnd::InvalidateRect(const CRect* rect, bool erase) {
    const QRect client(0, 0, width(), height());
    const QRect area =
        rect ? QRect(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1))
                       .normalized() &
                   client
             : client;
    if (area.isEmpty()) {
        return;
    }
    m_invalid += area;
    m_bEraseInvalid = m_bEraseInvalid || erase;
    update(area);
}

void CWnd::UpdateWindow() {
    if (m_invalid.isEmpty() || isHidden()) {
        return;
    }
    RepaintSurface(m_invalid, m_bEraseInvalid);
}

void CWnd::RepaintSurface(QRegion region, bool erase) {
    // A context still drawing on the surface keeps the area invalid until it is done.
    if (m_surface.isNull() || m_surface.paintingActive()) {
        return;
    }
    m_invalid = QRegion();
    m_bEraseInvalid = false;
    if (erase) {
        QPainter painter(&m_surface);
        for (const QRect& r : region) {
            painter.fillRect(r, ToQColor(kBackground));
        }
    }
    m_paintRegion = region;
    OnPaint();
    m_paintRegion = QRegion();
    update(region.boundingRect());
}

void CWnd::paintEvent(QPaintEvent* event) {
    if (!m_invalid.isEmpty()) {
        RepaintSurface(m_invalid, m_bEraseInvalid);
    }
    QPainter painter(this);
    for (const QRect& r : event->region()) {
        painter.drawImage(r, m_surface, r);
    }
}

void CWnd::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    const QSize size = event->size();
    m_surface = size.isEmpty() ? QImage() : QImage(size, QImage::Format_RGB32);
    if (!m_surface.isNull()) {
        m_surface.fill(ToQColor(kBackground));
    }
    OnSize(0, size.width(), size.height());
    m_invalid = QRegion(0, 0, size.width(), size.height());
    m_bEraseInvalid = true;
    UpdateWindow();
}

void CWnd::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::RightButton) {
        const QPoint p = event->position().toPoint();
        OnRButtonDown(0x0002 /* right button down */, CPoint{p.x(), p.y()});
        return;
    }
    QWidget::mousePressEvent(event);
}

void CWnd::OnSize(unsigned /*type*/, int /*cx*/, int /*cy*/) {}
void CWnd::OnTimer(int /*id*/) {}
void CWnd::OnRButtonDown(unsigned /*flags*/, CPoint /*point*/) {}
bool CWnd::OnCommand(int /*id*/) {
    return false;
}

int CWnd::MessageBox(const QString& text, const QString& caption, unsigned style) {
    const MessageBoxCall call{text, caption, style};
    if (m_pMessageSink) {
        return m_pMessageSink->Show(this, call);
    }
    // The box is modal for the user; the wait cursor would hide that it wants an answer.
    const bool wait = m_bWaitCursor;
    ShowArrowCursor();
    const int result = ShowModalMessageBox(window(), call);
    if (wait) {
        ShowWaitCursor();
    }
    return result;
}

void CWnd::SetTimer(int id, int milliseconds) {
    auto& timer = m_timers[id];
    if (!timer) {
        timer = std::make_unique<QTimer>();
        // Qt's timers do not queue missed ticks: after a busy spell one tick arrives.
        QObject::connect(timer.get(), &QTimer::timeout, this, [this, id] { DeliverTimer(id); });
    }
    timer->start(std::max(1, milliseconds));
}

void CWnd::KillTimer(int id) {
    const auto it = m_timers.find(id);
    if (it != m_timers.end()) {
        // Only stopped: the timer may be the one whose tick is being handled.
        it->second->stop();
    }
}

bool CWnd::IsTimerRunning(int id) const {
    const auto it = m_timers.find(id);
    return it != m_timers.end() && it->second->isActive();
}

void CWnd::DeliverTimer(int id) {
    // A tick arriving while a tick is handled (a modal box runs an event loop) is
    // dropped: ticks never nest or pile up.
    if (m_bInTimer) {
        return;
    }
    m_bInTimer = true;
    OnTimer(id);
    m_bInTimer = false;
}

void CWnd::ShowWaitCursor() {
    if (!m_bWaitCursor) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_bWaitCursor = true;
    }
}

void CWnd::ShowArrowCursor() {
    if (m_bWaitCursor) {
        QApplication::restoreOverrideCursor();
        m_bWaitCursor = false;
    }
}

QWidget* CWnd::GetDlgItem(int id) const {
    const auto children = findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* child : children) {
        if (ControlId(child) == id) {
            return child;
        }
    }
    return nullptr;
}

QString CWnd::GetDlgItemText(int id) const {
    QWidget* item = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        return edit->text();
    }
    if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        return button->text();
    }
    return {};
}

void CWnd::SetDlgItemText(int id, const QString& text) {
    QWidget* item = GetDlgItem(id);
    if (auto* edit = qobject_cast<QLineEdit*>(item)) {
        edit->setText(text);
    } else if (auto* button = qobject_cast<QAbstractButton*>(item)) {
        button->setText(text);
    }
}

platform_detail::SurfacePainter::SurfacePainter(QImage* surface) {
    if (!surface->isNull()) {
        m_surfacePainter.begin(surface);
    }
}

CClientDC::CClientDC(CWnd* wnd)
    : SurfacePainter(&wnd->m_surface), CDC(m_surfacePainter), m_pWnd(wnd) {}

CClientDC::~CClientDC() {
    if (m_surfacePainter.isActive()) {
        m_surfacePainter.end();
    }
    m_pWnd->update();
    // Areas invalidated while this context drew are repainted now that it is done.
    if (!m_pWnd->m_invalid.isEmpty()) {
        m_pWnd->update(m_pWnd->m_invalid.boundingRect());
    }
}

CPaintDC::CPaintDC(CWnd* wnd) : CClientDC(wnd) {
    if (!wnd->PaintRegion().isEmpty() && Painter().isActive()) {
        Painter().setClipRegion(wnd->PaintRegion());
    }
}
