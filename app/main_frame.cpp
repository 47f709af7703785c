#include "app/main_frame.h"

#include "app/about_dlg.h"
#include "app/document_file.h"
#include "app/eclipse_menu.h"
#include "app/local_panel.h"
#include "app/recent_files.h"
#include "view/export_map.h"
#include "view/kestrova_view.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QDockWidget>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QSettings>
#include <QStatusBar>
#include <QStyle>
#include <QTimer>

#include <algorithm>
#include <array>

namespace {

// The input fields in the order of the document's fields.
constexpr std::array<int, kDocumentFieldCount> kFieldIds = {IDC_DAY,  IDC_MONTH,  IDC_YEAR,
                                                            IDC_HOUR, IDC_MINUTE, IDC_SECOND};

const QString kGeometryKey = QStringLiteral("window/geometry");

QString FileFilter() {
    return QStringLiteral("Kestrova documents (*.%1);;All files (*)")
        .arg(QString::fromLatin1(kDocumentExtension));
}

QString Quoted(const QString& path) {
    return QStringLiteral("\"%1\"").arg(QDir::toNativeSeparators(path));
}

} // namespace

CMainFrame::CMainFrame(QWidget* parent) : QMainWindow(parent) {
    m_pView = new CKestrovaView(this);
    connect(m_pView, &CKestrovaView::controlsCreated, this, &CMainFrame::ConnectFields);
    connect(m_pView, &CKestrovaView::commandDone, this, &CMainFrame::OnCommandDone);
    setCentralWidget(m_pView);
    // The smallest view whose control panel fits in its two compact rows; with the
    // local circumstances panel open the window keeps at least this much for the map.
    m_pView->setMinimumSize(400, 240);
    // A window manager gives the keyboard back to the window when a dialog closes;
    // without one (a virtual display) the window takes it back itself.
    QApplication::instance()->installEventFilter(this);
    CreateLocalPanel();
    CreateMenus();
    CreateStatusBar();
    FitInitialSize();
    UpdateFrameTitle();
}

void CMainFrame::FitInitialSize() {
    // The view starts at its design size, so the map is drawn at zoom 1; the menu bar and
    // the status bar come on top of that.
    const CKestrovaView& view = *m_pView;
    QSize size(view.m_nDesignWidth, view.m_nDesignHeight + menuBar()->sizeHint().height() +
                                        statusBar()->sizeHint().height());
    QPoint at(5, 5);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect free = screen->availableGeometry();
        size = size.boundedTo(free.size());
        at = free.topLeft() + QPoint(5, 5);
        if (at.x() + size.width() > free.right())
            at.setX(free.left());
        if (at.y() + size.height() > free.bottom())
            at.setY(free.top());
    }
    move(at);
    resize(size);
}

void CMainFrame::ShowLocalDock() {
    // The window widens by the panel where the screen has room, so that the map keeps
    // its size.
    constexpr int kPanelWidth = 320;
    // Showing the panel may already widen the window to the least that holds both.
    const int before = width();
    const QScreen* screen = this->screen();
    const int room = screen ? screen->availableGeometry().right() - frameGeometry().right() : 0;
    m_pLocalDock->show();
    if (!m_pLocalDock->isFloating() && !isMaximized() && !isFullScreen() && room > 0) {
        const int extra =
            kPanelWidth + style()->pixelMetric(QStyle::PM_DockWidgetSeparatorExtent, nullptr, this);
        resize(std::max(width(), before + std::min(room, extra)), height());
    }
    resizeDocks({m_pLocalDock}, {kPanelWidth}, Qt::Horizontal);
    // The window system may apply the new width only later; the panel takes its width
    // again then, and the map keeps the rest.
    QTimer::singleShot(100, this,
                       [this] { resizeDocks({m_pLocalDock}, {kPanelWidth}, Qt::Horizontal); });
}

void CMainFrame::CreateLocalPanel() {
    m_pLocalPanel = new LocalPanel(this);
    m_pLocalDock = new QDockWidget(QStringLiteral("Local circumstances"), this);
    m_pLocalDock->setObjectName(QStringLiteral("localDock"));
    m_pLocalDock->setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea |
                                  Qt::BottomDockWidgetArea);
    m_pLocalDock->setWidget(m_pLocalPanel);
    addDockWidget(Qt::RightDockWidgetArea, m_pLocalDock);
    m_pLocalDock->hide();
    connect(m_pView, &CKestrovaView::placeChosen, this, [this](double lat, double lon) {
        m_pLocalPanel->ShowText(QString::fromStdString(m_pView->LocalPanelText(lat, lon)));
        if (!m_pLocalDock->isVisible())
            ShowLocalDock();
        m_pLocalDock->raise();
    });
}

CMainFrame::~CMainFrame() = default;

CKestrovaView* CMainFrame::GetActiveView() const {
    return m_pView;
}

void CMainFrame::CreateMenus() {
    QMenu* file = menuBar()->addMenu(QStringLiteral("&File"));
    auto add = [this](QMenu* menu, const QString& text, QKeySequence keys, auto handler) {
        QAction* action = menu->addAction(text);
        action->setShortcut(keys);
        connect(action, &QAction::triggered, this, handler);
        return action;
    };
    add(file, QStringLiteral("&New"), QKeySequence::New, [this] { OnFileNew(); });
    add(file, QStringLiteral("&Open..."), QKeySequence::Open, [this] { OnFileOpen(); });
    m_pRecentMenu = file->addMenu(QStringLiteral("Open &Recent"));
    add(file, QStringLiteral("&Save"), QKeySequence::Save, [this] { OnFileSave(); });
    add(file, QStringLiteral("Save &As..."), QKeySequence::SaveAs, [this] { OnFileSaveAs(); });
    file->addSeparator();
    m_pExportAction = file->addAction(QStringLiteral("&Export..."));
    connect(m_pExportAction, &QAction::triggered, this, [this] { OnFileExport(); });
    file->addSeparator();
    add(file, QStringLiteral("&Print..."), QKeySequence::Print, [this] { m_pView->OnFilePrint(); });
    add(file, QStringLiteral("Print Pre&view..."), QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P),
        [this] { m_pView->OnFilePrintPreview(); });
    file->addSeparator();
    add(file, QStringLiteral("&Quit"), QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    // The View menu: what part of the Earth the map shows.
    QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("&View"));
    add(viewMenu, QStringLiteral("&Fit the Eclipse"), QKeySequence(Qt::CTRL | Qt::Key_F),
        [this] { m_pView->OnFitEclipse(); });
    add(viewMenu, QStringLiteral("&Globe"), QKeySequence(Qt::CTRL | Qt::Key_G),
        [this] { m_pView->OnGlobeView(); });
    add(viewMenu, QStringLiteral("&Whole Map"), QKeySequence(Qt::CTRL | Qt::Key_0),
        [this] { m_pView->OnDefaultView(); });
    viewMenu->addSeparator();
    auto zoom = [this](double factor) {
        const MapView view = m_pView->CurrentMapView();
        m_pView->ZoomMapAbout(view.areaWidth * view.zoomX / 2.0, view.areaHeight * view.zoomY / 2.0,
                              factor);
    };
    add(viewMenu, QStringLiteral("Zoom &In"), QKeySequence::ZoomIn, [zoom] { zoom(1.5); });
    add(viewMenu, QStringLiteral("Zoom &Out"), QKeySequence::ZoomOut, [zoom] { zoom(1.0 / 1.5); });
    viewMenu->addSeparator();
    QAction* cursor =
        add(viewMenu, QStringLiteral("&Keyboard Cursor"), QKeySequence(Qt::CTRL | Qt::Key_K),
            [this] { m_pView->ToggleKeyboardCursor(); });
    cursor->setStatusTip(QStringLiteral(
        "A crosshair on the map: Shift+arrows move it (Ctrl+Shift by single pixels), Enter "
        "shows the local circumstances there, Escape hides it"));
    cursor->setToolTip(cursor->statusTip());
    QAction* panel = m_pLocalDock->toggleViewAction();
    panel->setText(QStringLiteral("&Local Circumstances Panel"));
    viewMenu->addAction(panel);

    // The Eclipse menu, between View and Help.
    new EclipseMenu(this, m_pView);

    m_pHelpMenu = menuBar()->addMenu(QStringLiteral("&Help"));
    QAction* about = m_pHelpMenu->addAction(QStringLiteral("&About Kestrova..."));
    connect(about, &QAction::triggered, this, &CMainFrame::OnAppAbout);
    UpdateRecentMenu();
}

QMenu* CMainFrame::AddMenuBeforeHelp(const QString& title) {
    auto* menu = new QMenu(title, menuBar());
    menuBar()->insertMenu(m_pHelpMenu->menuAction(), menu);
    return menu;
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

void CMainFrame::ConnectFields() {
    for (const int id : kFieldIds) {
        if (auto* field = qobject_cast<QLineEdit*>(m_pView->GetDlgItem(id))) {
            connect(field, &QLineEdit::textEdited, this, [this] { SetModified(true); });
        }
    }
    // Typing starts in the day field.
    if (QWidget* day = m_pView->GetDlgItem(IDC_DAY)) {
        day->setFocus(Qt::OtherFocusReason);
    }
}

void CMainFrame::OnCommandDone(int id) {
    if (m_bShowingDocument) {
        return;
    }
    // A command that stopped at the missing-date box showed nothing.
    const CKestrovaView& view = *m_pView;
    if (view.m_strDay.empty() || view.m_strMonth.empty() || view.m_strYear.empty()) {
        return;
    }
    switch (id) {
    case ID_CALCULATE:
    case ID_TIME_PLUS:
    case ID_TIME_MINUS:
        m_shown = ShownCommand::Snapshot;
        break;
    case ID_CONTACT_TIMES:
        m_shown = ShownCommand::Contacts;
        break;
    case ID_MAP:
        m_shown = ShownCommand::Map;
        break;
    default:
        return; // the animation's buttons and printing change no document
    }
    SetModified(true);
}

void CMainFrame::SetModified(bool modified) {
    m_doc.SetModifiedFlag(modified);
    setWindowModified(modified);
}

void CMainFrame::UpdateFrameTitle() {
    setWindowTitle(m_doc.GetTitle() + QStringLiteral("[*] - ") + QString::fromLatin1(kAppTitle));
    setWindowModified(m_doc.IsModified());
}

void CMainFrame::UpdateRecentMenu() {
    m_pRecentMenu->clear();
    const QStringList files = recent_files::Load();
    for (int i = 0; i < files.size(); ++i) {
        const QString path = files[i];
        const QString text = QStringLiteral("&%1 %2").arg(i + 1).arg(QFileInfo(path).fileName());
        QAction* action = m_pRecentMenu->addAction(text);
        action->setStatusTip(QDir::toNativeSeparators(path));
        action->setToolTip(QDir::toNativeSeparators(path));
        connect(action, &QAction::triggered, this, [this, path] {
            if (MaySaveChanges()) {
                OpenDocument(path);
            }
        });
    }
    m_pRecentMenu->setEnabled(!files.isEmpty());
}

QString CMainFrame::AskFileName(bool save) {
    if (m_fileDialog) {
        return m_fileDialog(save);
    }
    if (!save) {
        return QFileDialog::getOpenFileName(this, QStringLiteral("Open"), QString(), FileFilter());
    }
    // Replacing a file is asked about by MayWriteTo, which knows what the file is.
    const QString start =
        m_doc.GetPathName().isEmpty()
            ? QStringLiteral("Untitled.%1").arg(QString::fromLatin1(kDocumentExtension))
            : m_doc.GetPathName();
    QString path =
        QFileDialog::getSaveFileName(this, QStringLiteral("Save As"), start, FileFilter(), nullptr,
                                     QFileDialog::DontConfirmOverwrite);
    if (!path.isEmpty() && QFileInfo(path).suffix().isEmpty()) {
        path += QStringLiteral(".") + QString::fromLatin1(kDocumentExtension);
    }
    return path;
}

QMessageBox::StandardButton CMainFrame::Ask(const QString& text,
                                            QMessageBox::StandardButtons buttons) {
    if (m_questionBox) {
        return m_questionBox(text, buttons);
    }
    QMessageBox box(QMessageBox::Warning, QString::fromLatin1(kAppTitle), text, buttons, this);
    box.setDefaultButton(buttons.testFlag(QMessageBox::Cancel) ? QMessageBox::Cancel
                                                               : QMessageBox::No);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

void CMainFrame::ShowError(const QString& text) {
    m_pView->MessageBox(text, QString::fromLatin1(kAppTitle), MB_OK | MB_ICONEXCLAMATION);
}

bool CMainFrame::MaySaveChanges() {
    if (!m_doc.IsModified()) {
        return true;
    }
    const auto answer =
        Ask(QStringLiteral("Save the changes to %1 before closing it?").arg(m_doc.GetTitle()),
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel);
    if (answer == QMessageBox::Save) {
        return OnFileSave();
    }
    return answer == QMessageBox::Discard;
}

void CMainFrame::ClearResults() {
    m_pView->ClearScene();
}

void CMainFrame::ShowDocument(const KestrovaDocument& document) {
    CKestrovaView& view = *m_pView;
    // The animation's next frame would wipe what the document shows.
    view.OnStop();
    ClearResults();
    for (std::size_t i = 0; i < kFieldIds.size(); ++i) {
        view.SetDlgItemText(kFieldIds[i], QString::fromStdString(document.fields[i]));
    }
    view.ReadEditTexts();
    m_bShowingDocument = true;
    switch (document.shown) {
    case ShownCommand::Snapshot:
        view.SendCommand(ID_CALCULATE);
        break;
    case ShownCommand::Contacts:
        view.SendCommand(ID_CONTACT_TIMES);
        break;
    case ShownCommand::Map:
        view.SendCommand(ID_MAP);
        break;
    case ShownCommand::None:
        break;
    }
    m_bShowingDocument = false;
    m_shown = document.shown;
    m_place = document.place;
}

KestrovaDocument CMainFrame::CurrentDocument() const {
    KestrovaDocument document;
    for (std::size_t i = 0; i < kFieldIds.size(); ++i) {
        document.fields[i] = m_pView->GetDlgItemText(kFieldIds[i]).toStdString();
    }
    document.shown = m_shown;
    document.place = m_place;
    return document;
}

void CMainFrame::OnFileNew() {
    if (!MaySaveChanges()) {
        return;
    }
    m_doc.OnNewDocument();
    ShowDocument(KestrovaDocument{});
    UpdateFrameTitle();
}

void CMainFrame::OnFileOpen() {
    if (!MaySaveChanges()) {
        return;
    }
    const QString path = AskFileName(false);
    if (!path.isEmpty()) {
        OpenDocument(path);
    }
}

bool CMainFrame::OpenDocument(const QString& path) {
    const auto fail = [&](const std::string& reason) {
        ShowError(QStringLiteral("Cannot open %1: %2.")
                      .arg(Quoted(path), QString::fromStdString(reason)));
        return false;
    };
    const FileBytes file =
        ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxDocumentBytes);
    if (!file.bytes) {
        return fail(file.error);
    }
    const DocumentReadResult read = ReadDocument(*file.bytes);
    if (!read.document) {
        return fail(read.error.reason);
    }
    ShowDocument(*read.document);
    m_doc.SetPathName(QFileInfo(path).absoluteFilePath());
    m_doc.SetModifiedFlag(false);
    recent_files::Add(path);
    UpdateRecentMenu();
    UpdateFrameTitle();
    return true;
}

bool CMainFrame::MayWriteTo(const QString& path, bool askForDocuments) {
    const QFileInfo info(path);
    if (!info.exists()) {
        return true;
    }
    const FileBytes file =
        ReadRegularFile(QFile::encodeName(path).toStdString(), kMaxDocumentBytes);
    if (!info.isFile()) {
        ShowError(QStringLiteral("Cannot save to %1: %2.")
                      .arg(Quoted(path), QString::fromStdString(file.error)));
        return false;
    }
    // What the file is: one of ours (readable or damaged), one of a newer version, or
    // something else.
    std::optional<DocumentErrorKind> problem = DocumentErrorKind::NotADocument;
    if (file.bytes) {
        const DocumentReadResult read = ReadDocument(*file.bytes);
        problem = read.document ? std::nullopt : std::optional(read.error.kind);
    }
    const bool ours = !problem || *problem == DocumentErrorKind::Damaged;
    if (ours && !askForDocuments) {
        return true;
    }
    QString question;
    if (ours) {
        question = QStringLiteral("%1 already exists. Do you want to replace it?");
    } else if (*problem == DocumentErrorKind::NewerVersion) {
        question = QStringLiteral("%1 was written by a newer version of Kestrova. Do you want "
                                  "to replace it with this document? What only the newer "
                                  "version keeps will be lost.");
    } else {
        question = QStringLiteral("%1 is not a Kestrova document. Do you want to replace it "
                                  "with this document? What it holds now will be lost.");
    }
    question = question.arg(Quoted(path));
    return Ask(question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

bool CMainFrame::SaveTo(const QString& path) {
    const std::string error = WriteFileAtomically(path, WriteDocument(CurrentDocument()));
    if (!error.empty()) {
        ShowError(
            QStringLiteral("Cannot save %1: %2.").arg(Quoted(path), QString::fromStdString(error)));
        return false;
    }
    m_doc.SetPathName(QFileInfo(path).absoluteFilePath());
    m_doc.SetModifiedFlag(false);
    recent_files::Add(path);
    UpdateRecentMenu();
    UpdateFrameTitle();
    return true;
}

bool CMainFrame::OnFileSave() {
    const QString path = m_doc.GetPathName();
    if (path.isEmpty()) {
        return OnFileSaveAs();
    }
    return MayWriteTo(path, false) && SaveTo(path);
}

bool CMainFrame::OnFileSaveAs() {
    const QString path = AskFileName(true);
    if (path.isEmpty()) {
        return false;
    }
    const bool samePath =
        !m_doc.GetPathName().isEmpty() && QFileInfo(path).absoluteFilePath() == m_doc.GetPathName();
    return MayWriteTo(path, !samePath) && SaveTo(path);
}

void CMainFrame::OnAppAbout() {
    CAboutDlg dialog(this);
    dialog.exec();
}

void CMainFrame::RestoreWindowGeometry() {
    const QByteArray geometry = QSettings().value(kGeometryKey).toByteArray();
    if (!geometry.isEmpty()) {
        restoreGeometry(geometry);
    }
}

bool CMainFrame::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        if (widget != this && widget->isWindow() && widget->parentWidget() != nullptr &&
            widget->parentWidget()->window() == this) {
            QMetaObject::invokeMethod(
                this, [this] { activateWindow(); }, Qt::QueuedConnection);
        }
    }
    return QMainWindow::eventFilter(watched, event);
}

void CMainFrame::closeEvent(QCloseEvent* event) {
    if (!MaySaveChanges()) {
        event->ignore();
        return;
    }
    m_pView->KillTimer(kAnimationTimerId);
    QSettings().setValue(kGeometryKey, saveGeometry());
    event->accept();
}

void CMainFrame::OnFileExport() {
    QString file;
    if (m_exportDialog) {
        file = m_exportDialog();
    } else {
        QString filter;
        file = QFileDialog::getSaveFileName(this, QStringLiteral("Export"), QString(),
                                            ExportFileFilters(), &filter);
        if (!file.isEmpty())
            file = WithExportSuffix(file, filter);
    }
    if (file.isEmpty())
        return;
    const QString reason = ExportMap(*m_pView, file);
    if (!reason.isEmpty()) {
        // The reason names the file: "cannot write out.kml: No space left on device".
        m_pView->MessageBox(QStringLiteral("The map was not exported: %1.").arg(reason),
                            QStringLiteral("Export"), MB_OK | MB_ICONERROR);
    }
}
