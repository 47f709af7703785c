#include "app/about_dlg.h"
#include "app/cli_render.h"
#include "app/document_format.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "app/version.h"
#include "view/kestrova_view.h"

#include "pixel_count.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

// Sends the keys of text to a widget as a user typing would.
void Type(QWidget* widget, const QString& text) {
    for (const QChar c : text) {
        QTest::keyClick(widget, c.toLatin1());
    }
}

QByteArray FileContent(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        QApplication::setOrganizationName("Kestrova");
        QApplication::setApplicationName("Kestrova");
        QSettings().remove("Recent File List");
        frame.GetActiveView()->SetMessageBoxSink(&boxes);
        frame.SetQuestionBox([this](const QString& text, QMessageBox::StandardButtons) {
            questions << text;
            return answer;
        });
        frame.show();
        frame.GetActiveView()->OnInitialUpdate();
    }

    CKestrovaView* View() { return frame.GetActiveView(); }

    // Types a date and time into the fields as a user would.
    void TypeFields(const char* d, const char* m, const char* y, const char* hh, const char* mm,
                    const char* ss) {
        CKestrovaView* view = View();
        Type(view->m_pEditDay, d);
        Type(view->m_pEditMonth, m);
        Type(view->m_pEditYear, y);
        Type(view->m_pEditHour, hh);
        Type(view->m_pEditMinute, mm);
        Type(view->m_pEditSecond, ss);
    }

    QStringList Fields() {
        QStringList texts;
        for (int id : {IDC_DAY, IDC_MONTH, IDC_YEAR, IDC_HOUR, IDC_MINUTE, IDC_SECOND}) {
            texts << View()->GetDlgItemText(id);
        }
        return texts;
    }

    void SaveAs(const QString& path) {
        frame.SetFileDialog([path](bool save) {
            EXPECT_TRUE(save);
            return path;
        });
        frame.OnFileSaveAs();
    }

    bool Open(const QString& path) {
        frame.SetFileDialog([path](bool save) {
            EXPECT_FALSE(save);
            return path;
        });
        boxes.m_calls.clear();
        frame.OnFileOpen();
        return boxes.m_calls.empty();
    }

    CMessageRecorder boxes;
    QStringList questions;
    QMessageBox::StandardButton answer = QMessageBox::No;
    CMainFrame frame;
    QTemporaryDir dir;
};

QStringList MenuTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions()) {
        if (!action->isSeparator()) {
            texts << action->text();
        }
    }
    return texts;
}

} // namespace

TEST_F(FrameTest, StartsUntitledWithFileAndHelpMenusAndStatusBar) {
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Kestrova");
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(frame.pos(), QPoint(5, 5));

    const auto menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 4);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&View");
    EXPECT_EQ(menus[2]->text(), "&Eclipse");
    EXPECT_EQ(menus[3]->text(), "&Help");
    const QMenu* file = menus[0]->menu();
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(MenuTexts(file),
              (QStringList{"&New", "&Open...", "Open &Recent", "&Save", "Save &As...", "&Export...",
                           "&Print...", "Print Pre&view...", "&Quit"}));
    QStringList shortcuts;
    for (const QAction* action : file->actions()) {
        if (!action->shortcut().isEmpty()) {
            shortcuts << action->shortcut().toString();
        }
    }
    EXPECT_TRUE(shortcuts.contains("Ctrl+P"));
    EXPECT_TRUE(shortcuts.contains("Ctrl+Q"));
    EXPECT_TRUE(shortcuts.contains("Ctrl+S"));
    EXPECT_TRUE(shortcuts.contains("Ctrl+O"));
    EXPECT_TRUE(frame.ExportAction()->isEnabled());
    EXPECT_EQ(MenuTexts(menus[3]->menu()), QStringList{"&About Kestrova..."});

    // A further menu goes before Help.
    frame.AddMenuBeforeHelp("&Tools");
    const auto after = frame.menuBar()->actions();
    ASSERT_EQ(after.size(), 5);
    EXPECT_EQ(after[3]->text(), "&Tools");
    EXPECT_EQ(after[4]->text(), "&Help");

    const auto* prompt = frame.statusBar()->findChild<QLabel*>("idlePrompt");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), "Ready");

    // The view starts at the design size, between the menu bar and the status bar, so
    // the map is drawn at zoom 1.
    const CKestrovaView* view = frame.GetActiveView();
    EXPECT_EQ(view->size(), QSize(748, 539));
    EXPECT_EQ(view->m_zoomX, 1.0);
    EXPECT_EQ(view->m_zoomY, 1.0);
}

TEST_F(FrameTest, SavedDocumentOpensWithTheFieldsAndTheShownResult) {
    TypeFields("29", "3", "2006", "10", "11", "0");
    EXPECT_TRUE(frame.isWindowModified());
    View()->SendCommand(ID_CALCULATE);
    const QImage shown = test_pixels::WindowPicture(*View()).copy();
    const QString path = dir.filePath("eclipse.kestrova");
    SaveAs(path);
    ASSERT_TRUE(boxes.m_calls.empty());
    EXPECT_EQ(frame.windowTitle(), "eclipse.kestrova[*] - Kestrova");
    EXPECT_FALSE(frame.isWindowModified());
    EXPECT_EQ(recent_files::Load().value(0), path);

    // What is in the file is the document, read by an independent reader.
    const DocumentReadResult read = ReadDocument(FileContent(path).toStdString());
    ASSERT_TRUE(read.document.has_value()) << read.error.reason;
    EXPECT_EQ(read.document->fields[0], "29");
    EXPECT_EQ(read.document->fields[2], "2006");
    EXPECT_EQ(read.document->shown, ShownCommand::Snapshot);

    frame.OnFileNew();
    EXPECT_EQ(Fields(), QStringList({"", "", "", "", "", ""}));
    EXPECT_NE(test_pixels::WindowPicture(*View()), shown);
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Kestrova");

    ASSERT_TRUE(Open(path));
    EXPECT_EQ(Fields(), QStringList({"29", "3", "2006", "10", "11", "0"}));
    EXPECT_EQ(test_pixels::WindowPicture(*View()), shown);
    EXPECT_EQ(frame.windowTitle(), "eclipse.kestrova[*] - Kestrova");
    EXPECT_FALSE(frame.isWindowModified());
}

TEST_F(FrameTest, MapCommandIsKeptAndShownAgain) {
    TypeFields("29", "3", "2006", "", "", "");
    View()->SendCommand(ID_MAP);
    const QImage shown = test_pixels::WindowPicture(*View()).copy();
    const QString path = dir.filePath("map.kestrova");
    SaveAs(path);
    frame.OnFileNew();
    ASSERT_TRUE(Open(path));
    EXPECT_EQ(View()->GetDlgItemText(IDC_DAY), "29");
    EXPECT_EQ(test_pixels::WindowPicture(*View()), shown);
    EXPECT_FALSE(View()->GetScene().umbraPath.lat.empty());
}

TEST_F(FrameTest, BrokenFilesGiveAnErrorAndChangeNothing) {
    TypeFields("29", "3", "2006", "10", "11", "0");
    View()->SendCommand(ID_CALCULATE);
    const QString good = dir.filePath("good.kestrova");
    SaveAs(good);
    const QImage shown = test_pixels::WindowPicture(*View()).copy();
    const QByteArray saved = FileContent(good);

    ::mkfifo(QFile::encodeName(dir.filePath("pipe.kestrova")).constData(), 0600);
    const std::pair<QString, QByteArray> files[] = {
        {"truncated.kestrova", saved.left(saved.size() / 2)},
        {"binary.kestrova", QByteArray("\x7f"
                                       "ELF\x02\x01\x01\0\0\0\0\0\0\0\0\0\x03\0>\0",
                                       20)},
        {"future.kestrova", QByteArray(saved).replace("\"version\": 1", "\"version\": 7")},
        {"pipe.kestrova", {}},
        {"missing.kestrova", {}},
    };
    for (const auto& [name, bytes] : files) {
        const QString path = dir.filePath(name);
        if (!bytes.isEmpty()) {
            WriteFile(path, bytes);
        }
        EXPECT_FALSE(Open(path)) << name.toStdString();
        ASSERT_EQ(boxes.m_calls.size(), 1u) << name.toStdString();
        EXPECT_TRUE(boxes.m_calls[0].text.startsWith("Cannot open \"" + path + "\": "))
            << boxes.m_calls[0].text.toStdString();
        EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, MB_ICONEXCLAMATION);
        EXPECT_EQ(Fields(), QStringList({"29", "3", "2006", "10", "11", "0"}));
        EXPECT_EQ(test_pixels::WindowPicture(*View()), shown);
        EXPECT_EQ(frame.windowTitle(), "good.kestrova[*] - Kestrova");
    }
    EXPECT_TRUE(Open(good)); // the window is still fine
}

TEST_F(FrameTest, SavingOverAFileThatIsNoDocumentAsksFirst) {
    const QString other = dir.filePath("notes.txt");
    WriteFile(other, "my notes\n");
    // Opening it fails, so a save afterwards does not go there by itself.
    EXPECT_FALSE(Open(other));
    frame.SetFileDialog([](bool) { return QString(); }); // the save dialog is cancelled
    frame.OnFileSave();
    EXPECT_EQ(FileContent(other), "my notes\n");

    TypeFields("1", "8", "2008", "", "", "");
    answer = QMessageBox::No;
    SaveAs(other);
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("is not a Kestrova document")) << questions[0].toStdString();
    EXPECT_EQ(FileContent(other), "my notes\n");
    EXPECT_TRUE(frame.isWindowModified());

    answer = QMessageBox::Yes;
    SaveAs(other);
    EXPECT_TRUE(ReadDocument(FileContent(other).toStdString()).document.has_value());

    // A document of a newer version is not replaced by this one unasked either, even
    // by a plain save to it.
    const QByteArray newer = FileContent(other).replace("\"version\": 1", "\"version\": 2");
    WriteFile(other, newer);
    answer = QMessageBox::No;
    questions.clear();
    frame.OnFileSave();
    ASSERT_EQ(questions.size(), 1);
    EXPECT_TRUE(questions[0].contains("newer version of Kestrova")) << questions[0].toStdString();
    EXPECT_EQ(FileContent(other), newer);
}

TEST_F(FrameTest, UnsavedChangesAreOfferedBeforeTheyGo) {
    TypeFields("1", "8", "2008", "", "", "");
    answer = QMessageBox::Cancel;
    EXPECT_FALSE(frame.close());
    ASSERT_EQ(questions.size(), 1);
    EXPECT_EQ(questions[0], "Save the changes to Untitled before closing it?");
    frame.OnFileNew();
    EXPECT_EQ(View()->GetDlgItemText(IDC_YEAR), "2008"); // cancelled

    const QString path = dir.filePath("kept.kestrova");
    answer = QMessageBox::Save;
    frame.SetFileDialog([path](bool) { return path; });
    frame.OnFileNew();
    EXPECT_EQ(View()->GetDlgItemText(IDC_YEAR), "");
    const auto read = ReadDocument(FileContent(path).toStdString());
    ASSERT_TRUE(read.document.has_value());
    EXPECT_EQ(read.document->fields[2], "2008");
}

TEST_F(FrameTest, SaveToAnUnwritablePlaceSaysSo) {
    SaveAs(dir.filePath("no/such/folder/file.kestrova"));
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_TRUE(boxes.m_calls[0].text.startsWith("Cannot save \""));
    EXPECT_EQ(frame.windowTitle(), "Untitled[*] - Kestrova");
}

TEST_F(FrameTest, RecentFilesAreInTheFileMenu) {
    const QString path = dir.filePath("recent.kestrova");
    TypeFields("1", "8", "2008", "", "", "");
    SaveAs(path);
    const QMenu* file = frame.menuBar()->actions()[0]->menu();
    const QMenu* recent = nullptr;
    for (const QAction* action : file->actions()) {
        if (action->text() == "Open &Recent") {
            recent = action->menu();
        }
    }
    ASSERT_NE(recent, nullptr);
    ASSERT_EQ(recent->actions().size(), 1);
    EXPECT_EQ(recent->actions()[0]->text(), "&1 recent.kestrova");
    frame.OnFileNew();
    recent->actions()[0]->trigger();
    EXPECT_EQ(View()->GetDlgItemText(IDC_YEAR), "2008");
}

TEST_F(FrameTest, OpeningAFifoOrAFolderAnswersAtOnce) {
    // A FIFO without a writer would block a reader for ever.
    const QString fifo = dir.filePath("pipe.kes");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    for (const QString& path : {fifo, dir.path(), QStringLiteral("/dev/zero")}) {
        boxes.m_calls.clear();
        frame.SetFileDialog([&](bool) { return path; });
        frame.OnFileOpen();
        ASSERT_EQ(boxes.m_calls.size(), 1u) << path.toStdString();
        EXPECT_TRUE(boxes.m_calls[0].text.startsWith("Cannot open")) << path.toStdString();
        EXPECT_TRUE(boxes.m_calls[0].text.contains(path)) << path.toStdString();
    }
}

TEST_F(FrameTest, OpenStopsTheAnimationSoWhatItShowsStays) {
    CKestrovaView* view = frame.GetActiveView();
    view->SetDlgItemText(IDC_DAY, "29");
    view->SetDlgItemText(IDC_MONTH, "3");
    view->SetDlgItemText(IDC_YEAR, "2006");
    view->OnContactTimes();
    ASSERT_TRUE(view->IsTimerRunning(kAnimationTimerId));
    // A document whose map the animation's next frame must not wipe.
    KestrovaDocument document;
    document.fields = {"29", "3", "2006", "", "", ""};
    document.shown = ShownCommand::Map;
    const QString path = dir.filePath("doc.kestrova");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    const std::string bytes = WriteDocument(document);
    file.write(bytes.data(), static_cast<qint64>(bytes.size()));
    file.close();
    frame.SetFileDialog([&](bool) { return path; });
    frame.OnFileOpen();
    EXPECT_FALSE(view->IsTimerRunning(kAnimationTimerId));
    EXPECT_FALSE(view->GetScene().hourOutlines.empty());
}

TEST(RecentFiles, KeepsFourNewestFirstWithoutDuplicates) {
    QApplication::setOrganizationName("Kestrova");
    QApplication::setApplicationName("Kestrova");
    QSettings().remove("Recent File List");
    for (const char* name : {"/tmp/a", "/tmp/b", "/tmp/c", "/tmp/d", "/tmp/e", "/tmp/c"}) {
        recent_files::Add(name);
    }
    EXPECT_EQ(recent_files::Load(), (QStringList{"/tmp/c", "/tmp/e", "/tmp/d", "/tmp/b"}));
}

TEST(SnapshotPng, WritesTheWindowAtTheRequestedSize) {
    QTemporaryDir dir;
    const std::string file = dir.filePath("snap.png").toStdString();
    ASSERT_EQ(RenderSnapshotPng(29, 3, 2006, 10, 11, 0.0, file, 374, 270), 0);
    QImage image(QString::fromStdString(file));
    ASSERT_FALSE(image.isNull());
    EXPECT_EQ(image.size(), QSize(374, 270));
    // At half scale the umbra over Libya lands near (201, 79).
    int umbra = 0;
    for (int y = 70; y < 90; ++y) {
        for (int x = 190; x < 212; ++x) {
            umbra += image.pixel(x, y) == qRgb(0, 64, 128) ? 1 : 0;
        }
    }
    EXPECT_GT(umbra, 0);
}

TEST(SnapshotPng, RejectsASizeWithoutArea) {
    EXPECT_EQ(RenderSnapshotPng(29, 3, 2006, 10, 11, 0.0, "/tmp/never.png", 0, 10), 2);
}

TEST(SnapshotPng, ReportsAFileThatCannotBeWritten) {
    EXPECT_EQ(RenderSnapshotPng(29, 3, 2006, 10, 11, 0.0, "/no/such/folder/snap.png", 50, 40), 1);
}

TEST(AboutBox, ShowsTheProjectVersion) {
    CAboutDlg dialog;
    QStringList texts;
    for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        texts << label->text();
    }
    EXPECT_TRUE(texts.contains(QString("Kestrova Version ") + kKestrovaVersion))
        << texts.join('|').toStdString();
}
