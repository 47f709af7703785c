#include "app/document_view.h"

void CDocumentView::OnInitialUpdate() {
    const bool created = m_bControlsCreated != 0;
    CKestrovaView::OnInitialUpdate();
    if (!created && m_bControlsCreated && m_controlsCreated) {
        m_controlsCreated();
    }
}

bool CDocumentView::OnCommand(int id) {
    if (!CKestrovaView::OnCommand(id)) {
        return false;
    }
    if (m_commandDone) {
        m_commandDone(id);
    }
    return true;
}
