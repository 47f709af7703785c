// The view's print sequence: one A4 landscape page of the map with what the window
// shows (the scene) and the title of the date.

#include "render/print_page.h"
#include "view/kestrova_view.h"

#include <QDir>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinter>

#include <future>

bool CKestrovaView::OnPreparePrinting(CPrintInfo* info) {
    info->SetMinPage(1);
    info->SetMaxPage(1);
    if (!DoPreparePrinting(info)) {
        return false;
    }
    // Whatever the dialog chose, the page is A4 landscape. The printer takes its layout
    // only before the job starts, so it is set here rather than when printing begins.
    info->m_pPrinter->setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Landscape, QMarginsF(0, 0, 0, 0)));
    return true;
}

void CKestrovaView::OnPrepareDC(CDC* dc, CPrintInfo* /*info*/) {
    dc->SetMapMode(MM_LOMETRIC);
}

void CKestrovaView::OnPrint(CDC* dc, CPrintInfo* info) {
    const PrintPageContent content =
        PageContent(m_scene, m_zoomX, m_zoomY, PrintTitle(m_strDay, m_strMonth, m_strYear));
    // The shadow's boxes are worked out on other threads while the page's image loads.
    std::future<ShadowBoxes> shadow = std::async(std::launch::async, [&content] {
        return PrintedShadowBoxes(content.penumbra, content.umbra);
    });
    const CBitmap image = LoadPrintImage(PrintImageFolders());
    PrintPage(*dc, image, content, shadow.get());
    CView::OnPrint(dc, info);
}

void CKestrovaView::OnDraw(CDC* dc) {
    dc->SetMapMode(MM_LOMETRIC);
}
