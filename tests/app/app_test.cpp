#include "app/cli_render.h"
#include "app/main_frame.h"
#include "app/recent_files.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QMenuBar>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <sys/stat.h>

namespace {

class FrameTest : public testing::Test {
protected:
    void SetUp() override {
        QApplication::setOrganizationName("Local AppWizard-Generated Applications");
        QApplication::setApplicationName("Kestrova");
        QSettings().remove("Recent File List");
        frame.GetActiveView()->SetMessageBoxSink(&boxes);
        frame.show();
        frame.GetActiveView()->OnInitialUpdate();
    }

    CMessageRecorder boxes;
    CMainFrame frame;
    QTemporaryDir dir;
};

} // namespace

TEST_F(FrameTest, StartsUntitledAtItsPlaceWithHelpMenuAndStatusBar) {
    EXPECT_EQ(frame.windowTitle(), "Untitled - Kestrova");
    EXPECT_EQ(frame.pos(), QPoint(5, 5));

    const auto menus = frame.menuBar()->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&Eclipse");
    EXPECT_EQ(menus[1]->text(), "&Help");
    ASSERT_NE(menus[1]->menu(), nullptr);
    const auto items = menus[1]->menu()->actions();
    ASSERT_EQ(items.size(), 1);
    EXPECT_EQ(items[0]->text(), "&About Kestrova...");

    const auto* prompt = frame.statusBar()->findChild<QLabel*>("idlePrompt");
    ASSERT_NE(prompt, nullptr);
    EXPECT_EQ(prompt->text(), "Ready");
    // A menu's prompt covers it for a while; once cleared, "Ready" shows again.
    frame.statusBar()->showMessage("Shows the about box");
    frame.statusBar()->clearMessage();
    EXPECT_TRUE(frame.statusBar()->currentMessage().isEmpty());
    EXPECT_EQ(prompt->text(), "Ready");
    QStringList indicators;
    for (const QLabel* label : frame.statusBar()->findChildren<QLabel*>()) {
        indicators << label->text();
    }
    EXPECT_TRUE(indicators.contains("CAP"));
    EXPECT_TRUE(indicators.contains("NUM"));
    EXPECT_TRUE(indicators.contains("SCRL"));

    // The view starts at the design size, between the menu bar and the status bar, so
    // the map is drawn at zoom 1.
    const CKestrovaView* view = frame.GetActiveView();
    EXPECT_EQ(view->size(), QSize(748, 539));
    EXPECT_EQ(view->m_zoomX, 1.0);
    EXPECT_EQ(view->m_zoomY, 1.0);
    EXPECT_EQ(frame.width(), 748);
    EXPECT_EQ(view->mapTo(&frame, QPoint(0, 0)).y(), frame.menuBar()->height());
    EXPECT_EQ(frame.statusBar()->geometry().top(), view->geometry().bottom() + 1);
}

TEST_F(FrameTest, SaveAsksForANameAndWritesAnEmptyFile) {
    const QString path = dir.filePath("eclipse.kes");
    int asked = 0;
    frame.SetFileDialog([&](bool save) {
        ++asked;
        EXPECT_TRUE(save);
        return path;
    });
    frame.OnFileSave();
    EXPECT_EQ(asked, 1);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(QFile(path).size(), 0);
    EXPECT_EQ(frame.windowTitle(), "eclipse.kes - Kestrova");
    EXPECT_EQ(recent_files::Load().value(0), path);

    // A second save goes to the same file without asking.
    frame.OnFileSave();
    EXPECT_EQ(asked, 1);
}

TEST_F(FrameTest, CancelledSaveWritesNothing) {
    frame.SetFileDialog([](bool) { return QString(); });
    frame.OnFileSave();
    EXPECT_EQ(frame.windowTitle(), "Untitled - Kestrova");
    EXPECT_TRUE(recent_files::Load().isEmpty());
}

TEST_F(FrameTest, SaveToAnUnwritablePlaceSaysSo) {
    frame.SetFileDialog([&](bool) { return dir.filePath("no/such/folder/file.kes"); });
    frame.OnFileSave();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "Failed to save document.");
    EXPECT_EQ(frame.windowTitle(), "Untitled - Kestrova");
}

TEST_F(FrameTest, OpeningAFileChangesNothingInTheView) {
    const QString path = dir.filePath("old.kes");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("whatever was in it");
    file.close();

    CKestrovaView* view = frame.GetActiveView();
    view->SetDlgItemText(IDC_DAY, "29");
    const QImage before = view->Surface().copy();
    frame.SetFileDialog([&](bool save) {
        EXPECT_FALSE(save);
        return path;
    });
    frame.OnFileOpen();
    EXPECT_TRUE(boxes.m_calls.empty());
    EXPECT_EQ(view->GetDlgItemText(IDC_DAY), "29");
    EXPECT_EQ(view->Surface(), before);
    EXPECT_EQ(frame.windowTitle(), "old.kes - Kestrova");
    EXPECT_EQ(QFile(path).size(), 18); // not rewritten
}

TEST_F(FrameTest, OpeningAMissingFileSaysSo) {
    frame.SetFileDialog([&](bool) { return dir.filePath("missing.kes"); });
    frame.OnFileOpen();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "Failed to open document.");
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
        EXPECT_EQ(boxes.m_calls[0].text, "Failed to open document.");
    }
}

TEST_F(FrameTest, OpenStopsTheAnimationSoWhatItShowsStays) {
    CKestrovaView* view = frame.GetActiveView();
    view->SetDlgItemText(IDC_DAY, "29");
    view->SetDlgItemText(IDC_MONTH, "3");
    view->SetDlgItemText(IDC_YEAR, "2006");
    view->OnContactTimes();
    ASSERT_TRUE(view->IsTimerRunning(kAnimationTimerId));
    const QString path = dir.filePath("doc.kes");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    frame.SetFileDialog([&](bool) { return path; });
    frame.OnFileOpen();
    EXPECT_FALSE(view->IsTimerRunning(kAnimationTimerId));
}

TEST(RecentFiles, KeepsFourNewestFirstWithoutDuplicates) {
    QApplication::setOrganizationName("Local AppWizard-Generated Applications");
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
