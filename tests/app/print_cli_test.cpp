// Printing from the two programs: kestrova-cli's print command into a PDF, and the
// window's print preview shortcut.

#include "app/cli_render.h"
#include "app/main_frame.h"
#include "view/kestrova_view.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QPrintPreviewDialog>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

// Page objects and the first media box of a PDF as Qt writes it.
int PageCount(const QString& text) {
    return static_cast<int>(
        text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
}

QString MediaBox(const QString& text) {
    const auto match =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]")).match(text);
    return match.hasMatch() ? match.captured(1).simplified() : QString();
}

QString ReadAll(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromLatin1(file.readAll()) : QString();
}

} // namespace

TEST(CliPrint, WritesOneA4LandscapePageOrFailsWithStatusOne) {
    QTemporaryDir dir;
    const QString pdf = dir.filePath("eclipse.pdf");
    EXPECT_EQ(RenderPrintPdf("29", "3", "2006", pdf.toStdString(), Ephemeris::Precise), 0);
    const QString text = ReadAll(pdf);
    ASSERT_TRUE(text.startsWith("%PDF"));
    EXPECT_EQ(PageCount(text), 1);
    const QStringList box = MediaBox(text).split(' ');
    ASSERT_EQ(box.size(), 4);
    EXPECT_NEAR(box[2].toDouble(), 842.0, 0.5); // 297 mm
    EXPECT_NEAR(box[3].toDouble(), 595.0, 0.5); // 210 mm

    EXPECT_EQ(RenderPrintPdf("29", "3", "2006", dir.filePath("missing/x.pdf").toStdString(),
                             Ephemeris::Precise),
              1);
}

TEST(WindowPrint, PrintPreviewInTheFileMenuOpensWithCtrlShiftP) {
    CMainFrame frame;
    CMessageRecorder boxes;
    frame.GetActiveView()->SetMessageBoxSink(&boxes);
    frame.show();
    frame.GetActiveView()->OnInitialUpdate();

    QAction* preview = nullptr;
    for (QAction* action : frame.findChildren<QAction*>()) {
        if (action->text() == "Print Pre&view..." &&
            action->shortcut() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_P)) {
            preview = action;
        }
    }
    ASSERT_NE(preview, nullptr);
    bool opened = false;
    QTimer::singleShot(0, [&] {
        if (auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            dialog->reject();
        }
    });
    preview->trigger();
    EXPECT_TRUE(opened);
}
