// File > Export...: the map written as PNG, PDF, KML or GeoJSON from the window, and a
// failed write named in an error box with no file left behind.
#include "app/main_frame.h"
#include "platform/messagebox.h"
#include "render/map_painter.h"
#include "view/export_map.h"
#include "view/kestrova_view.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

struct MappedWindow {
    MappedWindow() {
        view.SetMessageBoxSink(&boxes);
        view.resize(748, 539);
        view.show();
        view.OnInitialUpdate();
        view.m_strDay = "29";
        view.m_strMonth = "3";
        view.m_strYear = "2006";
        view.WriteEditTexts();
        view.OnMap();
    }
    CMessageRecorder boxes;
    CKestrovaView view;
};

TEST(ExportMap, EachFormatByItsFileType) {
    MappedWindow w;
    QTemporaryDir dir;
    // PNG: the map area above the control panel, with the path in the umbra's colour.
    const QString png = dir.filePath("map.png");
    ASSERT_EQ(ExportMap(w.view, png), QString());
    const QImage image(png);
    ASSERT_EQ(image.size(), QSize(748, 413));
    int umbra = 0;
    const QRgb colour = qRgb(GetRValue(map_colours::kUmbra), GetGValue(map_colours::kUmbra),
                             GetBValue(map_colours::kUmbra));
    for (int y = 0; y < 330; ++y)
        for (int x = 0; x < 730; ++x)
            umbra += image.pixel(x, y) == colour ? 1 : 0;
    // The central line and the limits lie over the middle of the umbra's points.
    EXPECT_GT(umbra, 300);
    // PDF: the same picture as vectors, one point per pixel.
    const QString pdf = dir.filePath("map.pdf");
    ASSERT_EQ(ExportMap(w.view, pdf), QString());
    QFile page(pdf);
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    const QByteArray bytes = page.readAll();
    EXPECT_TRUE(bytes.startsWith("%PDF-"));
    EXPECT_TRUE(bytes.contains("/MediaBox [0 0 748.000000 413.000000]"));
    // GeoJSON and KML of the eclipse on the map.
    const QString json = dir.filePath("map.geojson");
    ASSERT_EQ(ExportMap(w.view, json), QString());
    QFile jsonFile(json);
    ASSERT_TRUE(jsonFile.open(QIODevice::ReadOnly));
    QJsonParseError error;
    const QJsonDocument doc = QJsonDocument::fromJson(jsonFile.readAll(), &error);
    EXPECT_EQ(error.error, QJsonParseError::NoError);
    EXPECT_EQ(doc.object().value("type").toString(), "FeatureCollection");
    EXPECT_EQ(ExportMap(w.view, dir.filePath("map.kml")), QString());
    EXPECT_TRUE(QFile::exists(dir.filePath("map.kml")));
    // Nothing is left beside them.
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 4);
}

TEST(ExportMap, FailuresGiveTheReasonAndLeaveNoFile) {
    MappedWindow w;
    QTemporaryDir dir;
    for (const char* name : {"no/such/map.png", "no/such/map.pdf", "no/such/map.kml"}) {
        const QString file = dir.filePath(name);
        EXPECT_FALSE(ExportMap(w.view, file).isEmpty()) << name;
        EXPECT_FALSE(QFile::exists(file)) << name;
    }
    EXPECT_FALSE(ExportMap(w.view, dir.filePath("map.txt")).isEmpty());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 0);
    // Without an eclipse on the map there is nothing to export as KML.
    CKestrovaView empty;
    EXPECT_FALSE(ExportMap(empty, dir.filePath("e.kml")).isEmpty());
}

TEST(ExportMap, SuffixFromTheChosenFilter) {
    EXPECT_EQ(WithExportSuffix("/tmp/a", "KML (*.kml)"), "/tmp/a.kml");
    EXPECT_EQ(WithExportSuffix("/tmp/a.png", "KML (*.kml)"), "/tmp/a.png");
    EXPECT_EQ(WithExportSuffix("/tmp/a", "GeoJSON (*.geojson)"), "/tmp/a.geojson");
}

TEST(FileExport, AFailedWriteShowsAnErrorBoxNamingTheFile) {
    CMainFrame frame;
    CMessageRecorder boxes;
    CKestrovaView* view = frame.GetActiveView();
    ASSERT_NE(view, nullptr);
    view->SetMessageBoxSink(&boxes);
    QTemporaryDir dir;
    const QString file = dir.filePath("missing/map.png");
    frame.SetExportDialog([&] { return file; });
    frame.OnFileExport();
    ASSERT_EQ(boxes.m_calls.size(), 1u);
    EXPECT_TRUE(boxes.m_calls[0].text.contains(file));
    EXPECT_EQ(boxes.m_calls[0].style & MB_ICONMASK, static_cast<unsigned>(MB_ICONERROR));
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
