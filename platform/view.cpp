#include "platform/view.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>

CView::CView(QWidget* parent) : CWnd(parent) {}

std::unique_ptr<QPrinter> CreateDefaultPrinter() {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    printer->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    return printer;
}

void CView::OnFilePrint() {
    RunPrintCommand(false);
}

void CView::OnFilePrintDirect() {
    RunPrintCommand(true);
}

void CView::RunPrintCommand(bool direct) {
    const std::unique_ptr<QPrinter> printer = CreateDefaultPrinter();
    CPrintInfo info;
    info.m_pPrinter = printer.get();
    info.m_bDirect = direct;
    PrintOn(*printer, info);
}

void CView::OnFilePrintPreview() {
    const std::unique_ptr<QPrinter> printer = CreateDefaultPrinter();
    QPrintPreviewDialog dialog(printer.get(), window());
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* p) {
        CPrintInfo info;
        info.m_pPrinter = p;
        info.m_bPreview = true;
        PrintOn(*p, info);
    });
    dialog.exec();
}

bool CView::PrintOn(QPrinter& printer, CPrintInfo& info) {
    info.m_pPrinter = &printer;
    if (!OnPreparePrinting(&info)) {
        return false;
    }
    QPainter painter;
    if (!painter.begin(&printer)) {
        MessageBox(QStringLiteral("Could not start print job."), windowTitle(),
                   MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    CDC dc(painter, printer.logicalDpiX(), printer.logicalDpiY());
    const QRect page = printer.pageLayout().paintRectPixels(printer.resolution());
    info.m_rectDraw = {0, 0, page.width(), page.height()};
    for (info.m_nCurPage = info.m_nMinPage;
         info.m_nCurPage <= info.m_nMaxPage && info.m_bContinuePrinting; ++info.m_nCurPage) {
        if (info.m_nCurPage > info.m_nMinPage) {
            printer.newPage();
        }
        OnPrepareDC(&dc, &info);
        OnPrint(&dc, &info);
    }
    // A PDF or print job that could not be finished (its file not written) fails here.
    return painter.end();
}

bool CView::DoPreparePrinting(CPrintInfo* info) {
    if (info->m_bDirect || info->m_bPreview || !info->m_pPrinter) {
        return info->m_pPrinter != nullptr;
    }
    QPrinter& printer = *info->m_pPrinter;
    printer.setFromTo(info->m_nMinPage, info->m_nMaxPage);
    if (m_printDialog) {
        return m_printDialog(printer);
    }
    QPrintDialog dialog(&printer, window());
    dialog.setMinMax(info->m_nMinPage, info->m_nMaxPage);
    return dialog.exec() == QDialog::Accepted;
}

bool CView::OnPreparePrinting(CPrintInfo* info) {
    return DoPreparePrinting(info);
}

void CView::OnPrepareDC(CDC* /*dc*/, CPrintInfo* /*info*/) {}

void CView::OnPrint(CDC* dc, CPrintInfo* /*info*/) {
    OnDraw(dc);
}

void CView::OnDraw(CDC* /*dc*/) {}
