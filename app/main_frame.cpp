#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/eclipse_menu.h"
#include "app/recent_files.h"
#include "view/kestrova_view.h"

#include <QAction>
#include <QFileDialog>
#include <QLabel>
#include <QMenuBar>
#include <QStatusBar>

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    m_pView = new CKestrovaView(this);
    setCentralWidget(m_pView);
    CreateMenu();
    CreateAccelerators();
    CreateStatusBar();
    move(5, 5);
    // The view starts at its design size, so the map is drawn at zoom 1; the menu bar and
    // the status bar come on top of that.
    const CKestrovaView& view = *m_pView;
    resize(view.m_nDesignWidth, view.m_nDesignHeight + menuBar()->sizeHint().height() +
                                    statusBar()->sizeHint().height());
    UpdateFrameTitle();
}

CMainFrame::~CMainFrame() = default;

void CMainFrame::CreateMenu() {
    new EclipseMenu(this, m_pView);
    QMenu* help = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = help->addAction(QStringLiteral("&About Kestrova..."));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAppAbout);
}

void CMainFrame::CreateAccelerators() {
    // The accelerators with a handler. Undo, cut, copy and paste have none in the
    // program and stay with the input fields, which handle them themselves.
    auto add = [this](QKeySequence keys, auto handler) {
        auto* action = new QAction(this);
        action->setShortcut(keys);
        action->setShortcutContext(Qt::WindowShortcut);
        connect(action, &QAction::triggered, this, handler);
        addAction(action);
    };
    add(QKeySequence(Qt::CTRL | Qt::Key_N), [this] { OnFileNew(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_O), [this] { OnFileOpen(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_S), [this] { OnFileSave(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { m_pView->OnFilePrint(); });
    // Print preview has no menu to live in; it opens with Ctrl+Shift+P, next to print.
    add(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P), [this] { m_pView->OnFilePrintPreview(); });
}

void CMainFrame::CreateStatusBar() {
    QStatusBar* bar = statusBar();
    for (const char* key : {"CAP", "NUM", "SCRL"}) {
        auto* indicator = new QLabel(QString::fromLatin1(key), bar);
        indicator->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        indicator->setAlignment(Qt::AlignCenter);
        indicator->setMinimumWidth(indicator->fontMetrics().horizontalAdvance("SCRL") + 10);
        // The state of the lock keys is not known to the window system layer here;
        // the indicators stand greyed as when the keys are off.
        indicator->setEnabled(false);
        bar->addPermanentWidget(indicator);
    }
    // "Ready" is the idle prompt: a normal status-bar widget, which a menu's
    // temporary prompt covers and uncovers again when it is cleared.
    auto* prompt = new QLabel(QStringLiteral("Ready"), bar);
    prompt->setObjectName(QStringLiteral("idlePrompt"));
    bar->insertWidget(0, prompt, 1);
}

void CMainFrame::UpdateFrameTitle() {
    setWindowTitle(m_doc.GetTitle() + QStringLiteral(" - ") + QString::fromLatin1(kAppTitle));
}

QString CMainFrame::AskFileName(bool save) {
    if (m_fileDialog) {
        return m_fileDialog(save);
    }
    return save ? QFileDialog::getSaveFileName(this, QStringLiteral("Save As"))
                : QFileDialog::getOpenFileName(this, QStringLiteral("Open"));
}

void CMainFrame::OnFileNew() {
    // A new document holds nothing; the view keeps its state.
    m_doc.OnNewDocument();
    m_pView->OnInitialUpdate();
    UpdateFrameTitle();
}

void CMainFrame::OnFileOpen() {
    const QString path = AskFileName(false);
    if (path.isEmpty()) {
        return;
    }
    // What the opened document shows must not be wiped by the animation's next frame.
    m_pView->OnStop();
    if (!m_doc.OnOpenDocument(path)) {
        m_pView->MessageBox(QStringLiteral("Failed to open document."),
                            QString::fromLatin1(kAppTitle), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    recent_files::Add(path);
    UpdateFrameTitle();
}

bool CMainFrame::SaveTo(const QString& path) {
    if (!m_doc.OnSaveDocument(path)) {
        m_pView->MessageBox(QStringLiteral("Failed to save document."),
                            QString::fromLatin1(kAppTitle), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
    recent_files::Add(path);
    UpdateFrameTitle();
    return true;
}

void CMainFrame::OnFileSave() {
    if (m_doc.GetPathName().isEmpty()) {
        OnFileSaveAs();
        return;
    }
    SaveTo(m_doc.GetPathName());
}

void CMainFrame::OnFileSaveAs() {
    const QString path = AskFileName(true);
    if (!path.isEmpty()) {
        SaveTo(path);
    }
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}
