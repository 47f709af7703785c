#pragma once

// The main window: the view in its client area, the File and Help menus (an Eclipse menu
// goes between them), a status bar ("Ready" and the CAP, NUM and SCRL indicators), and
// the documents: new, open, save, save as, the recent files, and the window title with
// the document's name and its modified mark.

#include "app/document_format.h"
#include "app/kestrova_doc.h"

#include <QMainWindow>
#include <QMessageBox>

#include <functional>
#include <optional>
#include <string>

class CKestrovaView;
class LocalPanel;
class QAction;
class QDockWidget;
class QMenu;

class CMainFrame : public QMainWindow {
    Q_OBJECT

public:
    explicit CMainFrame(QWidget* parent = nullptr);
    ~CMainFrame() override;

    CKestrovaView* GetActiveView() const;
    CKestrovaDoc& GetDocument() { return m_doc; }

    // Replaces the file dialogs (tests): gets whether it is for saving, answers the
    // chosen path or an empty string for a cancel.
    void SetFileDialog(std::function<QString(bool save)> dialog) {
        m_fileDialog = std::move(dialog);
    }
    // Replaces the question boxes (tests): gets the question and the buttons offered,
    // answers the button chosen.
    using QuestionBox = std::function<QMessageBox::StandardButton(
        const QString& text, QMessageBox::StandardButtons buttons)>;
    void SetQuestionBox(QuestionBox box) { m_questionBox = std::move(box); }

    // The File menu's commands. The save commands answer whether the document was saved.
    void OnFileNew();
    void OnFileOpen();
    bool OnFileSave();
    bool OnFileSaveAs();
    // File > Export...: the map as PNG, PDF, KML or GeoJSON, chosen by the file's type.
    void OnFileExport();
    // Answers the export's file question in place of the dialog (tests).
    void SetExportDialog(std::function<QString()> dialog) { m_exportDialog = std::move(dialog); }
    void OnAppAbout();

    // Opens the document at path into the window (the command line, the recent files).
    // On any failure an error box names the file and the reason, and the window keeps
    // what it showed. Answers whether it opened.
    bool OpenDocument(const QString& path);

    // The document as the window shows it now.
    KestrovaDocument CurrentDocument() const;

    // Adds a menu to the menu bar before the Help menu.
    QMenu* AddMenuBeforeHelp(const QString& title);
    // File > Export..., disabled until a command is connected to it.
    QAction* ExportAction() const { return m_pExportAction; }

    // The side panel of local circumstances (hidden until a place is chosen on the map).
    QDockWidget* LocalDock() const { return m_pLocalDock; }
    LocalPanel* GetLocalPanel() const { return m_pLocalPanel; }

    // The window's size and place as the user left them (from the settings).
    void RestoreWindowGeometry();

    // The window title: "<document>[*] - Kestrova", with the modified mark.
    void UpdateFrameTitle();

protected:
    void closeEvent(QCloseEvent* event) override;
    // Gives the keyboard back to the window when one of its dialogs closes.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void CreateMenus();
    void CreateStatusBar();
    void CreateLocalPanel();
    void ShowLocalDock();
    // The design's size, within the screen's free area (a scale factor of 2 makes the
    // design larger than many screens).
    void FitInitialSize();
    void ConnectFields();
    void OnCommandDone(int id);
    void SetModified(bool modified);
    void UpdateRecentMenu();

    QString AskFileName(bool save);
    QMessageBox::StandardButton Ask(const QString& text, QMessageBox::StandardButtons buttons);
    // When the document has unsaved changes, offers to save them; false when the user
    // cancels (or the save failed), so the caller stops.
    bool MaySaveChanges();
    // Whether path may be written: asks before replacing a file that is not a Kestrova
    // document, and (for Save As) before replacing one that is. Refuses folders, pipes
    // and devices.
    bool MayWriteTo(const QString& path, bool askForDocuments);
    bool SaveTo(const QString& path);
    void ShowError(const QString& text);
    // Puts a document into the window: the fields, then the command shown last.
    void ShowDocument(const KestrovaDocument& document);
    // Wipes every result from the window and stops the animation.
    void ClearResults();

    CKestrovaDoc m_doc;
    CKestrovaView* m_pView = nullptr;
    QMenu* m_pHelpMenu = nullptr;
    QMenu* m_pRecentMenu = nullptr;
    QAction* m_pExportAction = nullptr;
    QDockWidget* m_pLocalDock = nullptr;
    LocalPanel* m_pLocalPanel = nullptr;
    // What the document holds beyond the fields.
    ShownCommand m_shown = ShownCommand::None;
    std::optional<DocumentPlace> m_place;
    bool m_bShowingDocument = false; // commands run by ShowDocument change nothing
    std::function<QString(bool save)> m_fileDialog;
    QuestionBox m_questionBox;
    std::function<QString()> m_exportDialog;
};
