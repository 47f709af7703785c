#include "platform/controls.h"
#include "platform/view.h"
#include "platform/wnd.h"

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QPdfWriter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr QRgb kGreen = qRgb(0, 160, 0);
constexpr QRgb kRed = qRgb(255, 0, 0);

// A window whose paint handler fills its client area green and counts the calls.
class PaintedWindow : public CWnd {
public:
    int paints = 0;
    std::vector<int> ticks;
    int sleepInTickMs = 0;

protected:
    void OnPaint() override {
        ++paints;
        CPaintDC dc(this);
        dc.SelectObject(QPen(QColor(0, 160, 0), 1));
        dc.SelectObject(QBrush(QColor(0, 160, 0)));
        dc.Rectangle(0, 0, width(), height());
    }
    void OnTimer(int id) override {
        ticks.push_back(id);
        if (sleepInTickMs > 0) {
            QThread::msleep(static_cast<unsigned long>(sleepInTickMs));
        }
    }
};

void DrawRed(CWnd& wnd, int left, int top, int right, int bottom) {
    CClientDC dc(&wnd);
    dc.SelectObject(QPen(QColor(255, 0, 0), 1));
    dc.SelectObject(QBrush(QColor(255, 0, 0)));
    dc.Rectangle(left, top, right, bottom);
}

void ProcessEventsFor(int ms) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < ms) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

// Handles events until done() or maxMs have passed.
template <typename Done> void ProcessEventsUntil(Done done, int maxMs) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < maxMs) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    }
}

} // namespace

TEST(WindowSurface, ResizeRepaintsTheWholeSurface) {
    PaintedWindow wnd;
    wnd.resize(100, 80);
    wnd.show();
    EXPECT_EQ(wnd.Surface().size(), QSize(100, 80));
    EXPECT_EQ(wnd.Surface().pixel(0, 0), kGreen);
    EXPECT_EQ(wnd.Surface().pixel(99, 79), kGreen);
}

TEST(WindowSurface, InvalidateAndUpdateWipesDrawingOnlyInsideTheRectangle) {
    PaintedWindow wnd;
    wnd.resize(100, 80);
    wnd.show();
    DrawRed(wnd, 10, 10, 90, 70);
    ASSERT_EQ(wnd.Surface().pixel(20, 20), kRed);

    const CRect wipe{10, 10, 50, 70};
    const int paintsBefore = wnd.paints;
    wnd.InvalidateRect(&wipe, true);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, paintsBefore + 1);
    EXPECT_EQ(wnd.Surface().pixel(20, 20), kGreen);
    EXPECT_EQ(wnd.Surface().pixel(49, 69), kGreen);
    EXPECT_EQ(wnd.Surface().pixel(50, 20), kRed); // right edge of the rectangle excluded
    EXPECT_EQ(wnd.Surface().pixel(89, 69), kRed);
}

TEST(WindowSurface, InvalidRectangleOutsideTheClientIsIgnored) {
    PaintedWindow wnd;
    wnd.resize(50, 50);
    wnd.show();
    const int paintsBefore = wnd.paints;
    const CRect outside{-1000010, -1000010, -999990, -999990};
    wnd.InvalidateRect(&outside, true);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, paintsBefore);
}

TEST(WindowSurface, HiddenWindowIsPaintedWhenShownAgain) {
    PaintedWindow wnd;
    wnd.resize(60, 40);
    wnd.show();
    wnd.hide();
    DrawRed(wnd, 0, 0, 60, 40);
    const int paintsBefore = wnd.paints;
    wnd.Invalidate(true);
    wnd.UpdateWindow();
    EXPECT_EQ(wnd.paints, paintsBefore);
    EXPECT_EQ(wnd.Surface().pixel(30, 20), kRed);

    wnd.show();
    ProcessEventsUntil([&] { return wnd.paints > paintsBefore; }, 10000);
    EXPECT_EQ(wnd.paints, paintsBefore + 1);
    EXPECT_EQ(wnd.Surface().pixel(30, 20), kGreen);
}

TEST(MessageBoxes, RecorderCollectsTextCaptionAndStyle) {
    PaintedWindow wnd;
    CMessageRecorder recorder;
    wnd.SetMessageBoxSink(&recorder);
    EXPECT_EQ(wnd.MessageBox("text", "CAPTION", MB_OK | MB_ICONEXCLAMATION), IDOK);
    ASSERT_EQ(recorder.m_calls.size(), 1u);
    EXPECT_EQ(recorder.m_calls[0].text, "text");
    EXPECT_EQ(recorder.m_calls[0].caption, "CAPTION");
    EXPECT_EQ(recorder.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
}

TEST(Timers, TicksArriveByIdUntilKilled) {
    PaintedWindow wnd;
    wnd.SetTimer(1111, 5);
    EXPECT_TRUE(wnd.IsTimerRunning(1111));
    ProcessEventsUntil([&] { return !wnd.ticks.empty(); }, 10000);
    ASSERT_FALSE(wnd.ticks.empty());
    EXPECT_EQ(wnd.ticks.front(), 1111);
    wnd.KillTimer(1111);
    EXPECT_FALSE(wnd.IsTimerRunning(1111));
    const std::size_t count = wnd.ticks.size();
    ProcessEventsFor(40);
    EXPECT_EQ(wnd.ticks.size(), count);
}

TEST(Timers, TicksThatFallDueWhileBusyDoNotPileUp) {
    PaintedWindow wnd;
    wnd.SetTimer(7, 20);
    // The first tick is waited for, not a fixed time: on a loaded machine the process may
    // not run at all for longer than a period, and the pass that would deliver the tick
    // comes later.
    ProcessEventsUntil([&] { return !wnd.ticks.empty(); }, 10000);
    ASSERT_GE(wnd.ticks.size(), 1u);
    // The window computes for 400 ms, twenty periods, without handling messages.
    const std::size_t before = wnd.ticks.size();
    QThread::msleep(400);
    // One pass over what is pending delivers at most one tick, not twenty; had the ticks
    // been queued, all of them would be delivered in this pass.
    QCoreApplication::processEvents();
    EXPECT_LE(wnd.ticks.size(), before + 1);
    wnd.KillTimer(7);
}

TEST(Cursors, WaitAndArrowStayBalanced) {
    PaintedWindow wnd;
    wnd.ShowWaitCursor();
    wnd.ShowWaitCursor();
    EXPECT_TRUE(wnd.IsWaitCursorShown());
    ASSERT_NE(QApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
    wnd.ShowArrowCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
    wnd.ShowArrowCursor();
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST(Controls, TextsByIdAndButtonsSendTheirCommand) {
    class CommandWindow : public CWnd {
    public:
        std::vector<int> commands;

    protected:
        bool OnCommand(int id) override {
            commands.push_back(id);
            return true;
        }
    } wnd;
    auto* edit = new CRichEdit(&wnd, 14, CRect{0, 0, 30, 20});
    edit->LimitText(2);
    auto* button = new CBitmapButton(&wnd, "izracunaj", 100, 0, 30);
    button->LoadBitmaps(-1, -1, QSize(100, 25)); // no such bitmaps: plain face
    EXPECT_EQ(button->size(), QSize(100, 25));

    wnd.SetDlgItemText(14, "123");
    EXPECT_EQ(wnd.GetDlgItemText(14), "12");
    EXPECT_EQ(wnd.GetDlgItemText(99), "");
    button->click();
    EXPECT_EQ(wnd.commands, std::vector<int>{100});
}

namespace {

class RecordingView : public CView {
public:
    std::vector<std::string> calls;
    bool prepareResult = true;
    int mapModeInPrint = 0;

protected:
    bool OnPreparePrinting(CPrintInfo* info) override {
        calls.push_back("prepare");
        info->SetMaxPage(1);
        return prepareResult && DoPreparePrinting(info);
    }
    void OnPrepareDC(CDC* dc, CPrintInfo*) override {
        calls.push_back("prepareDC");
        dc->SetMapMode(MM_LOMETRIC);
    }
    void OnPrint(CDC* dc, CPrintInfo* info) override {
        calls.push_back("print");
        mapModeInPrint = dc->GetMapMode();
        CView::OnPrint(dc, info);
    }
    void OnDraw(CDC*) override { calls.push_back("draw"); }
};

} // namespace

TEST(Printing, SequenceRunsInOrderOnAnA4LandscapePrinter) {
    QTemporaryDir dir;
    RecordingView view;
    bool asked = false;
    view.SetPrintDialog([&](QPrinter& printer) {
        asked = true;
        EXPECT_EQ(printer.pageLayout().orientation(), QPageLayout::Landscape);
        EXPECT_EQ(printer.pageLayout().pageSize().id(), QPageSize::A4);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(dir.filePath("page.pdf"));
        return true;
    });
    view.OnFilePrint();
    EXPECT_TRUE(asked);
    EXPECT_EQ(view.calls, (std::vector<std::string>{"prepare", "prepareDC", "print", "draw"}));
    EXPECT_EQ(view.mapModeInPrint, MM_LOMETRIC);
    EXPECT_TRUE(QFile::exists(dir.filePath("page.pdf")));
}

TEST(Printing, CancelledDialogEndsTheSequenceInPreparation) {
    RecordingView view;
    view.SetPrintDialog([](QPrinter&) { return false; });
    view.OnFilePrint();
    EXPECT_EQ(view.calls, std::vector<std::string>{"prepare"});
}
