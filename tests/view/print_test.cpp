// The view's print sequence end to end: the page goes to a PDF through the same
// printer path as Ctrl+P, and what the window showed last is on it.

#include "geo/projection.h"
#include "render/print_page.h"
#include "view/kestrova_view.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <numeric>

namespace {

// The pages of a PDF as Qt writes it: one page object and one media box each.
struct PdfPages {
    int count = 0;
    QString mediaBox;
};

PdfPages ReadPdfPages(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return {};
    }
    const QString text = QString::fromLatin1(file.readAll());
    PdfPages pages;
    pages.count = static_cast<int>(
        text.count(QRegularExpression(QStringLiteral("/Type\\s*/Page(?![a-zA-Z])"))));
    const auto match =
        QRegularExpression(QStringLiteral("/MediaBox\\s*\\[([^\\]]*)\\]")).match(text);
    pages.mediaBox = match.hasMatch() ? match.captured(1).simplified() : QString();
    return pages;
}

class PrintTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        view = std::make_unique<CKestrovaView>();
        view->SetMessageBoxSink(&boxes);
        view->resize(748, 539);
        view->show();
        view->OnInitialUpdate();
    }

    // Ctrl+P with a dialog that picks the PDF file (and, to see it overridden, a
    // portrait Letter page).
    void PrintToPdf() {
        view->SetPrintDialog([this](QPrinter& printer) {
            printer.setOutputFormat(QPrinter::PdfFormat);
            printer.setOutputFileName(pdf);
            printer.setPageLayout(QPageLayout(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                                              QMarginsF(10, 10, 10, 10)));
            return true;
        });
        view->OnFilePrint();
    }

    void Snapshot(const char* day, const char* month, const char* year, const char* hour) {
        view->SetDlgItemText(IDC_DAY, day);
        view->SetDlgItemText(IDC_MONTH, month);
        view->SetDlgItemText(IDC_YEAR, year);
        view->SetDlgItemText(IDC_HOUR, hour);
        view->SetDlgItemText(IDC_MINUTE, "0");
        view->SetDlgItemText(IDC_SECOND, "0");
        view->OnCalculate();
    }

    QTemporaryDir dir;
    QString pdf = dir.filePath("page.pdf");
    CMessageRecorder boxes;
    std::unique_ptr<CKestrovaView> view;
};

double Mean(const std::vector<double>& v) {
    return std::accumulate(v.begin(), v.end(), 0.0) / static_cast<double>(v.size());
}

} // namespace

TEST_F(PrintTest, CtrlPWritesOneA4LandscapePageWhateverTheDialogChose) {
    PrintToPdf();
    EXPECT_TRUE(boxes.m_calls.empty());
    const PdfPages pages = ReadPdfPages(pdf);
    EXPECT_EQ(pages.count, 1);
    // A4 landscape in points, 297 x 210 mm.
    const QStringList box = pages.mediaBox.split(' ');
    ASSERT_EQ(box.size(), 4);
    EXPECT_NEAR(box[2].toDouble(), 842.0, 0.5);
    EXPECT_NEAR(box[3].toDouble(), 595.0, 0.5);
}

TEST_F(PrintTest, AnUnwritableFileIsReportedNotPrinted) {
    pdf = dir.filePath("no/such/folder/page.pdf");
    PrintToPdf();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_EQ(boxes.m_calls[0].text, "Could not start print job.");
    EXPECT_FALSE(QFile::exists(pdf));
}

TEST_F(PrintTest, SnapshotReplacesThePointsToPrintAndDropsTheMap) {
    view->SetDlgItemText(IDC_DAY, "29");
    view->SetDlgItemText(IDC_MONTH, "3");
    view->SetDlgItemText(IDC_YEAR, "2006");
    view->OnMap();
    ASSERT_FALSE(PageContent(view->GetScene(), 1.0, 1.0, "").hourLabels.empty());

    Snapshot("29", "3", "2006", "10");
    const PrintPageContent page = PageContent(view->GetScene(), 1.0, 1.0, "");
    EXPECT_TRUE(page.hourLabels.empty());
    EXPECT_TRUE(page.limits.latitudes.empty());
    EXPECT_EQ(page.contactLines.size(), 4u); // the map's contact block stays
    const auto total = [](const std::vector<LatLonPoints>& series) {
        std::size_t n = 0;
        for (const LatLonPoints& points : series) {
            EXPECT_EQ(points.lat.size(), points.lon.size());
            n += points.lat.size();
        }
        return n;
    };
    const Outline& umbra = view->GetScene().umbra;
    ASSERT_FALSE(umbra.lat.empty());
    EXPECT_GT(total(page.penumbra), 1000u);
    EXPECT_EQ(total(page.umbra), umbra.lat.size());
    // At 10h UT the umbra crosses the Sahara, between Niger and Libya.
    EXPECT_GT(Mean(umbra.lat), 10.0);
    EXPECT_LT(Mean(umbra.lat), 30.0);
    EXPECT_GT(Mean(umbra.lon), 0.0);
    EXPECT_LT(Mean(umbra.lon), 25.0);

    // Another snapshot replaces them rather than adding to them.
    Snapshot("29", "3", "2006", "10");
    const PrintPageContent again = PageContent(view->GetScene(), 1.0, 1.0, "");
    EXPECT_EQ(total(again.umbra), total(page.umbra));
    EXPECT_EQ(total(again.penumbra), total(page.penumbra));
}

// The printed page rendered back to pixels, when the machine has pdftoppm.
TEST_F(PrintTest, PrintedPageShowsTheMapTheUmbraAndTheTitle) {
    const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
    if (pdftoppm.isEmpty()) {
        GTEST_SKIP() << "pdftoppm is not installed";
    }
    Snapshot("29", "3", "2006", "10");
    // No SVET0.bmp in the current directory: the page has the program's copy of the map.
    const QString previous = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(dir.path()));
    PrintToPdf();
    QDir::setCurrent(previous);

    QProcess render;
    render.start(pdftoppm, {"-png", "-r", "60", "-singlefile", pdf, dir.filePath("page")});
    ASSERT_TRUE(render.waitForFinished(60000));
    const QImage page(dir.filePath("page.png"));
    ASSERT_FALSE(page.isNull());
    ASSERT_GT(page.width(), page.height()); // landscape

    // Page units (0.1 mm, y up) to pixels at 60 dpi.
    const auto pixel = [&](double x, double y) {
        return page.pixel(static_cast<int>(x * 60 / 254), static_cast<int>(-y * 60 / 254));
    };
    // The map: the mid-Pacific is neither paper white nor ink.
    const ScreenPoint pacific = ProjectToPage(0.0, -150.0);
    EXPECT_NE(pixel(pacific.x, pacific.y), qRgb(255, 255, 255));
    EXPECT_GT(qGray(pixel(pacific.x, pacific.y)), 60);
    // The middle of the umbra is printed black.
    const ScreenPoint umbra =
        ProjectToPage(Mean(view->GetScene().umbra.lat), Mean(view->GetScene().umbra.lon));
    EXPECT_LT(qGray(pixel(umbra.x + 3, umbra.y + 3)), 40);
    // Ink along the title's line.
    int ink = 0;
    for (int x = 1000; x < 1600; x += 4) {
        ink += qGray(pixel(x, -1815)) < 100 ? 1 : 0;
    }
    EXPECT_GT(ink, 10);
}

TEST_F(PrintTest, PreviewRunsTheSequenceForOneLandscapePage) {
    int pages = -1;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (dialog == nullptr) {
            return;
        }
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>()) {
            pages = preview->pageCount();
            orientation = preview->orientation();
        }
        dialog->reject();
    });
    view->OnFilePrintPreview();
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(orientation, QPageLayout::Landscape);
}
