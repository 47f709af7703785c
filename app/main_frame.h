#pragma once

// The main window: the view in its client area, a status bar ("Ready" and the CAP, NUM
// and SCRL indicators), the Help menu, and the keyboard accelerators of the program.

#include "app/kestrova_doc.h"

#include <QMainWindow>

#include <functional>

class CKestrovaView;
class QLabel;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKestrovaView* GetActiveView() const { return m_pView; }
    CKestrovaDoc& GetDocument() { return m_doc; }

    // Replaces the file dialogs (tests): gets whether it is for saving, answers the
    // chosen path or an empty string for a cancel.
    void SetFileDialog(std::function<QString(bool save)> dialog) {
        m_fileDialog = std::move(dialog);
    }

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    // File > Export...: the map as PNG, PDF, KML or GeoJSON, chosen by the file's type.
    void OnFileExport();
    // Answers the export's file question in place of the dialog (tests).
    void SetExportDialog(std::function<QString()> dialog) { m_exportDialog = std::move(dialog); }
    void OnAppAbout();

    // The window title: "<document> - Kestrova".
    void UpdateFrameTitle();

private:
    void CreateMenu();
    void CreateAccelerators();
    void CreateStatusBar();
    QString AskFileName(bool save);
    bool SaveTo(const QString& path);

    CKestrovaDoc m_doc;
    CKestrovaView* m_pView = nullptr;
    std::function<QString(bool save)> m_fileDialog;
    std::function<QString()> m_exportDialog;
};
