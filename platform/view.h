#pragma once

// A view: a window with the print sequence of a document view. Printing asks, in order,
// OnPreparePrinting (which normally shows the print dialog through DoPreparePrinting),
// then OnPrepareDC and OnPrint for each page, on an A4 landscape QPrinter. Print preview runs the
// same sequence for QPrintPreviewDialog.

#include "platform/wnd.h"

#include <functional>
#include <memory>

class QPrinter;

struct CPrintInfo {
    QPrinter* m_pPrinter = nullptr;
    bool m_bDirect = false;  // print without the dialog
    bool m_bPreview = false; // drawing for the preview dialog
    bool m_bContinuePrinting = true;
    int m_nCurPage = 1;
    int m_nMinPage = 1;
    int m_nMaxPage = 1;
    CRect m_rectDraw; // printable area, device pixels

    void SetMinPage(int page) { m_nMinPage = page; }
    void SetMaxPage(int page) { m_nMaxPage = page; }
};

class CView : public CWnd {
    Q_OBJECT

public:
    explicit CView(QWidget* parent = nullptr);

    // The framework's print commands: with the dialog, directly, and the preview.
    void OnFilePrint();
    void OnFilePrintDirect();
    void OnFilePrintPreview();

    // Replaces the print dialog (tests, and printing to a known file): the function
    // gets the printer and answers whether to print.
    void SetPrintDialog(std::function<bool(QPrinter&)> dialog) {
        m_printDialog = std::move(dialog);
    }

    // Runs the whole print sequence on printer, as the print command does after the
    // printer is chosen. Returns false when preparation was cancelled.
    bool PrintOn(QPrinter& printer, CPrintInfo& info);

    // The called-once-after-creation hook of a view.
    virtual void OnInitialUpdate() {}

protected:
    virtual bool OnPreparePrinting(CPrintInfo* info);
    virtual void OnPrepareDC(CDC* dc, CPrintInfo* info);
    virtual void OnPrint(CDC* dc, CPrintInfo* info);
    virtual void OnDraw(CDC* dc);

    // Shows the print dialog unless printing directly or previewing.
    bool DoPreparePrinting(CPrintInfo* info);

private:
    void RunPrintCommand(bool direct);

    std::function<bool(QPrinter&)> m_printDialog;
};

// An A4 landscape printer at high resolution, as every print job starts with.
std::unique_ptr<QPrinter> CreateDefaultPrinter();
