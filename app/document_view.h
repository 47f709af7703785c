#pragma once

// The view as the main frame uses it: it tells the frame when its controls exist and
// which command ran, so that the frame can keep the document's "shown last" command and
// its modified mark.

#include "view/kestrova_view.h"

#include <functional>

class CDocumentView : public CKestrovaView {
public:
    using CKestrovaView::CKestrovaView;

    // Called once the controls exist (after the first initial update).
    void SetControlsCreatedHandler(std::function<void()> handler) {
        m_controlsCreated = std::move(handler);
    }
    // Called after every command the view handled, with the command that ran.
    void SetCommandHandler(std::function<void(int id)> handler) {
        m_commandDone = std::move(handler);
    }

    void OnInitialUpdate() override;

protected:
    bool OnCommand(int id) override;

private:
    std::function<void()> m_controlsCreated;
    std::function<void(int id)> m_commandDone;
};
