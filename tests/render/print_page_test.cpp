#include "geo/map_overlay.h"
#include "render/print_page.h"

#include "geo/projection.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QTemporaryDir>

#include "pixel_count.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstddef>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include <sys/stat.h>

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

QRgb Rgb(COLORREF c) {
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

// An A4 landscape sheet at 254 dpi: one page unit is one pixel, and page (x, y) is
// pixel (x, -y).
struct Sheet {
    QImage image{2970, 2100, QImage::Format_RGB32};

    Sheet() { image.fill(Qt::white); }

    template <typename Draw> void Draw_(Draw draw) {
        QPainter painter(&image);
        CDC dc(painter, 254, 254);
        dc.SetMapMode(MM_LOMETRIC);
        draw(dc);
    }

    QRgb At(int x, int y) const { return image.pixel(x, -y); }

    // Pixels of colour in the page rectangle from (left, top) to (right, bottom), y up.
    int Count(QRgb colour, int left, int top, int right, int bottom) const {
        return test_pixels::CountColour(image, colour,
                                        QRect(QPoint(left, -top), QPoint(right - 1, -bottom - 1)));
    }
    // Text is black: its ink in a rectangle.
    int Ink(int left, int top, int right, int bottom) const {
        return Count(qRgb(0, 0, 0), left, top, right, bottom);
    }
};

CBitmap SolidImage(int width, int height, QRgb colour) {
    QTemporaryDir dir;
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(colour);
    const QString path = dir.filePath("image.bmp");
    image.save(path, "BMP");
    CBitmap bitmap;
    bitmap.LoadFromFile(path);
    return bitmap;
}

constexpr QRgb kMapColour = qRgb(20, 200, 120);

struct PageData {
    std::vector<std::string> contactLines;
    std::vector<double> penumbraLat, penumbraLon, umbraLat, umbraLon;
    std::vector<HourLabel> hourLabels;
    std::vector<double> latitudes, first, second;
    std::string title = "Solar eclipses by date: 29.3.2006";

    void Print(Sheet& sheet, const CBitmap& image) const {
        sheet.Draw_([&](CDC& dc) {
            PrintPage(dc, image,
                      {contactLines,
                       {{penumbraLat, penumbraLon}},
                       {{umbraLat, umbraLon}},
                       {latitudes, first, second},
                       hourLabels,
                       title});
        });
    }
};

// Latitudes -60..75 with sunrise and sunset hours that change with the latitude.
void FillLimits(PageData& data) {
    for (int lat = -60; lat <= 75; ++lat) {
        data.latitudes.push_back(lat);
        data.first.push_back(5.0 + 0.02 * (lat + 60));
        data.second.push_back(17.0 + 0.02 * (lat + 60));
    }
}

int PageX(double lat, double lon) {
    return TruncToInt(ProjectToPage(lat, lon).x);
}
int PageY(double lat, double lon) {
    return TruncToInt(ProjectToPage(lat, lon).y);
}

} // namespace

TEST(PrintedPage, MapHeightFollowsTheImageAspect) {
    EXPECT_EQ(PrintedMapHeight(730, 330), -1084);
    EXPECT_EQ(PrintedMapHeight(1200, 631), -1262);
    EXPECT_EQ(PrintedMapHeight(2400, 1200), -1200);
    // An image without area prints in the base map's shape rather than dividing by 0.
    EXPECT_EQ(PrintedMapHeight(0, 0), -1084);
    EXPECT_EQ(PrintedMapHeight(730, 0), -1084);
}

TEST(PrintedPage, TitleShowsTheFieldsAsTyped) {
    EXPECT_EQ(PrintTitle("5", "07", "2006"), "Solar eclipses by date: 5.07.2006");
    EXPECT_EQ(PrintTitle("", "", ""), "Solar eclipses by date: ..");
}

TEST(PrintedPage, LimitCurveLongitudeRule) {
    EXPECT_DOUBLE_EQ(LimitCurveLongitude(12.0), -180.0);
    EXPECT_DOUBLE_EQ(LimitCurveLongitude(12.5), 7.5);
    EXPECT_DOUBLE_EQ(LimitCurveLongitude(6.0), -90.0);
    EXPECT_DOUBLE_EQ(LimitCurveLongitude(18.0), 90.0);
    EXPECT_EQ(LimitCurveLongitude(0.0), 0.0);
}

// The page for two image shapes: everything under the map follows H.
class PageLayout : public testing::TestWithParam<QSize> {};

TEST_P(PageLayout, MapLegendBandsLabelsAndFrameFollowTheMapHeight) {
    const QSize size = GetParam();
    const int h = PrintedMapHeight(size.width(), size.height());
    Sheet sheet;
    PageData data;
    data.Print(sheet, SolidImage(size.width(), size.height(), kMapColour));

    // The map from (200, -200), 2400 wide, down to H - 200.
    EXPECT_EQ(sheet.At(201, -201), kMapColour);
    EXPECT_EQ(sheet.At(2598, h - 198), kMapColour);
    EXPECT_NE(sheet.At(199, -300), kMapColour);
    EXPECT_NE(sheet.At(2601, -300), kMapColour);
    EXPECT_NE(sheet.At(1000, h - 201), kMapColour);
    // The bands: under the map down to H - 275, and right of it.
    EXPECT_EQ(sheet.At(1100, h - 240), Rgb(print_colours::kBand));
    EXPECT_EQ(sheet.At(2000, h - 272), Rgb(print_colours::kBand));
    EXPECT_EQ(sheet.At(2660, -600), Rgb(print_colours::kBand));
    EXPECT_EQ(sheet.At(1000, h - 280), qRgb(255, 255, 255));
    // Legend boxes.
    EXPECT_EQ(sheet.At(2025, h - 350), Rgb(print_colours::kPenumbra));
    EXPECT_EQ(sheet.At(2025, h - 425), Rgb(print_colours::kUmbra));
    EXPECT_EQ(sheet.At(1425, h - 350), Rgb(print_colours::kFirstLimit));
    EXPECT_EQ(sheet.At(1425, h - 425), Rgb(print_colours::kSecondLimit));
    // Legend texts right of their boxes, longitude labels on the band, latitude labels
    // on the right band.
    EXPECT_GT(sheet.Ink(2065, h - 335, 2400, h - 370), 50); // MOON'S PENUMBRA
    EXPECT_GT(sheet.Ink(1465, h - 410, 1600, h - 445), 50); // SUNRISE
    EXPECT_GT(sheet.Ink(200, h - 215, 270, h - 250), 50);   // 180W
    EXPECT_GT(sheet.Ink(2567, h - 215, 2640, h - 250), 50); // 180E
    EXPECT_GT(sheet.Ink(2615, -934, 2640, -970), 20);       // 0
    EXPECT_EQ(sheet.Ink(200, h - 255, 2600, h - 275), 0);   // band below the labels
    // The title and the frame.
    EXPECT_GT(sheet.Ink(1000, -1800, 1600, -1850), 200);
    EXPECT_EQ(sheet.At(1000, -190), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.At(1000, -1900), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.At(195, -1000), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.At(2675, -1000), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.At(1000, -180), qRgb(255, 255, 255));
    EXPECT_EQ(sheet.At(1000, -1910), qRgb(255, 255, 255));
}

INSTANTIATE_TEST_SUITE_P(ImageShapes, PageLayout,
                         testing::Values(QSize(730, 330), QSize(1200, 631), QSize(1200, 400)));

TEST(PrintedPage, FourLinesUnderTheMapAndNoMore) {
    const int h = PrintedMapHeight(730, 330);
    Sheet sheet;
    PageData data;
    data.contactLines = {"Moon enters penumbra:  07:37", "Moon leaves penumbra:  12:48",
                         "Moon enters totality:  08:36", "Moon leaves totality:  11:48",
                         "a fifth line"};
    data.Print(sheet, SolidImage(730, 330, kMapColour));
    for (int i = 0; i < 4; ++i) {
        const int top = h - 315 - 35 * i;
        EXPECT_GT(sheet.Ink(400, top, 800, top - 35), 100) << "line " << i + 1;
    }
    EXPECT_EQ(sheet.Ink(400, h - 455, 800, h - 490), 0);

    Sheet empty;
    PageData none;
    none.Print(empty, SolidImage(730, 330, kMapColour));
    EXPECT_EQ(empty.Ink(400, h - 315, 1300, h - 455), 0);
}

TEST(PrintedPage, ShadowPointsStrictlyInsideTheLatitudeLimits) {
    Sheet sheet;
    sheet.Draw_([](CDC& dc) {
        const std::vector<double> pLat{0.0, 75.0, -60.0, 74.9, -59.9, kNaN, 10.0};
        const std::vector<double> pLon{0.0, -100.0, -100.0, -120.0, -120.0, 50.0, kNaN};
        const std::vector<double> uLat{20.0, 30.0};
        const std::vector<double> uLon{10.0};
        PrintShadowTracks(dc, {{pLat, pLon}}, {{uLat, uLon}});
    });
    const QRgb penumbra = Rgb(print_colours::kPenumbra);
    // (0°, 0°) is the box (1416, -964)-(1423, -957), with a pen of 7 around it.
    EXPECT_EQ(sheet.At(1419, -961), penumbra);
    EXPECT_EQ(sheet.At(1419, -961 + 10), qRgb(255, 255, 255));
    EXPECT_GT(sheet.Count(penumbra, PageX(74.9, -120), PageY(74.9, -120) + 10,
                          PageX(74.9, -120) + 10, PageY(74.9, -120) - 5),
              10);
    EXPECT_GT(sheet.Count(penumbra, PageX(-59.9, -120), PageY(-59.9, -120) + 10,
                          PageX(-59.9, -120) + 10, PageY(-59.9, -120) - 5),
              10);
    // Not at exactly 75°N nor 60°S; nothing for a NaN.
    EXPECT_EQ(sheet.Count(penumbra, 740, -180, 780, -220), 0);
    EXPECT_EQ(sheet.Count(penumbra, 740, -1440, 780, -1480), 0);
    // Three points printed in all, each the same box.
    EXPECT_EQ(sheet.Count(penumbra, 0, 0, 2970, -2100),
              3 * sheet.Count(penumbra, 1400, -940, 1440, -980));
    // The umbra point is black; the umbra latitude without a longitude is not drawn.
    EXPECT_EQ(sheet.At(PageX(20, 10) + 3, PageY(20, 10) + 3), qRgb(0, 0, 0));
    EXPECT_EQ(sheet.Ink(0, 0, 2970, -2100), sheet.Ink(PageX(20, 10) - 10, PageY(20, 10) + 20,
                                                      PageX(20, 10) + 20, PageY(20, 10) - 10));
}

TEST(PrintedPage, LimitCurvesAndCaptionsAtTheSouthernmostPoints) {
    Sheet sheet;
    PageData data;
    FillLimits(data);
    sheet.Draw_([&](CDC& dc) {
        PrintLimitCurves(dc, {data.latitudes, data.first, data.second}, {});
    });
    // 5 h at 60°S is 75°W; 17 h is 255° modulo 180 = 75°E.
    const int riseX = PageX(-60, -75);
    const int setX = PageX(-60, 75);
    EXPECT_EQ(sheet.At(riseX + 3, PageY(-60, -75) + 3), Rgb(print_colours::kFirstLimit));
    EXPECT_EQ(sheet.At(setX + 3, PageY(-60, 75) + 3), Rgb(print_colours::kSecondLimit));
    EXPECT_EQ(sheet.At(PageX(40, LimitCurveLongitude(5.0 + 0.02 * 100)) + 3, PageY(40, 0) + 3),
              Rgb(print_colours::kFirstLimit));
    // Captions 33 units west of those points, on the row -1350.
    EXPECT_GT(sheet.Ink(riseX - 33, -1350, riseX + 100, -1395), 100);
    EXPECT_GT(sheet.Ink(setX - 33, -1350, setX + 100, -1395), 100);
    EXPECT_EQ(sheet.Ink(riseX - 80, -1350, riseX - 34, -1395), 0);
    EXPECT_GT(sheet.Ink(riseX - 33, -1350, riseX - 23, -1395), 0); // the "S" starts there
    EXPECT_EQ(sheet.Ink(setX - 80, -1350, setX - 34, -1395), 0);
    EXPECT_GT(sheet.Ink(setX - 33, -1350, setX - 23, -1395), 0);
    EXPECT_EQ(sheet.Ink(0, -1300, 2970, -1345), 0);
}

TEST(PrintedPage, NaNTimesAreSkippedAndCaptionsMoveToTheFirstFinitePoint) {
    PageData data;
    FillLimits(data);
    // Sunrise moves east toward the north; none at the ten southernmost latitudes. No
    // sunset anywhere.
    for (std::size_t i = 0; i < data.first.size(); ++i) {
        data.first[i] = i < 10 ? kNaN : 8.0 - 0.05 * static_cast<double>(i);
    }
    for (double& h : data.second) {
        h = kNaN;
    }
    data.latitudes.back() = kNaN; // a latitude that is not a number is skipped too
    Sheet sheet;
    sheet.Draw_([&](CDC& dc) {
        PrintLimitCurves(dc, {data.latitudes, data.first, data.second}, {});
    });
    const int firstX = PageX(-50, LimitCurveLongitude(data.first[10]));
    const int skippedX = PageX(-60, LimitCurveLongitude(8.0));
    ASSERT_LT(skippedX, firstX - 40);
    EXPECT_GT(sheet.Ink(firstX - 33, -1350, firstX + 100, -1395), 100);
    // Nothing where the caption of the missing southernmost point would start.
    EXPECT_EQ(sheet.Ink(skippedX - 40, -1350, firstX - 36, -1395), 0);
    EXPECT_EQ(sheet.Count(Rgb(print_colours::kFirstLimit), skippedX - 5, PageY(-60, 0) + 15,
                          skippedX + 15, PageY(-60, 0) - 5),
              0);
    EXPECT_GT(sheet.Count(Rgb(print_colours::kFirstLimit), firstX - 5, PageY(-50, 0) + 15,
                          firstX + 15, PageY(-50, 0) - 5),
              20);
    // No sunset point anywhere east of the sunrise captions.
    EXPECT_EQ(sheet.Count(Rgb(print_colours::kSecondLimit), 1200, 0, 2970, -2100), 0);
    // One caption only: all ink of the row lies within one caption's width.
    EXPECT_EQ(sheet.Ink(0, -1350, 2970, -1395), sheet.Ink(firstX - 33, -1350, firstX + 400, -1395));
}

TEST(PrintedPage, NoFinitePointOrNoSeriesPrintsNoCaption) {
    PageData data;
    FillLimits(data);
    for (double& h : data.first) {
        h = kNaN;
    }
    for (double& h : data.second) {
        h = kNaN;
    }
    Sheet allNaN;
    allNaN.Draw_([&](CDC& dc) {
        PrintLimitCurves(dc, {data.latitudes, data.first, data.second}, {});
    });
    EXPECT_EQ(allNaN.Ink(0, 0, 2970, -2100), 0);

    const std::vector<double> none;
    Sheet empty;
    empty.Draw_([&](CDC& dc) { PrintLimitCurves(dc, {none, none, none}, {}); });
    EXPECT_EQ(empty.Ink(0, 0, 2970, -2100), 0);

    // Series of different lengths print their common part only.
    const std::vector<double> two{5.0, 5.5};
    Sheet shorter;
    shorter.Draw_([&](CDC& dc) { PrintLimitCurves(dc, {data.latitudes, two, none}, {}); });
    EXPECT_EQ(shorter.Count(Rgb(print_colours::kFirstLimit), 0, 0, 2970, -2100), 0);
}

TEST(PrintedPage, HourLabelsAtTheirWholeDegreePositions) {
    Sheet sheet;
    const std::vector<double> none;
    sheet.Draw_([&](CDC& dc) {
        PrintLimitCurves(dc, {none, none, none}, {{9.0, -30, 10}, {12.4, 60, 40}, {13.0, 0, 90}});
    });
    for (const auto& [lat, lon] : {std::pair{10, -30}, std::pair{40, 60}}) {
        const int x = PageX(lat, lon);
        const int y = PageY(lat, lon);
        EXPECT_GT(sheet.Ink(x, y, x + 140, y - 45), 100) << lat << " " << lon;
        EXPECT_EQ(sheet.Ink(x - 40, y, x - 5, y - 45), 0);
    }
}

TEST(PrintImage, TheFileInTheDirectoryOrElseTheProgramsCopy) {
    const QImage resource(QString::fromLatin1(kPrintImageResource));
    ASSERT_FALSE(resource.isNull());

    QTemporaryDir dir;
    const CBitmap missing = LoadPrintImage(dir.path());
    EXPECT_EQ(missing.Image(), resource);

    QFile garbage(QDir(dir.path()).filePath("SVET0.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is not a bitmap");
    garbage.close();
    const CBitmap unreadable = LoadPrintImage(dir.path());
    EXPECT_EQ(unreadable.Image(), resource);

    QImage own(100, 50, QImage::Format_RGB32);
    own.fill(kMapColour);
    ASSERT_TRUE(own.save(QDir(dir.path()).filePath("SVET0.bmp"), "BMP"));
    const CBitmap found = LoadPrintImage(dir.path());
    EXPECT_EQ(found.Width(), 100);
    EXPECT_EQ(found.Height(), 50);
}

TEST(PrintImage, TheCurrentFolderComesBeforeTheInstalledDataFolder) {
    QTemporaryDir current;
    QTemporaryDir installed;
    QImage image(80, 40, QImage::Format_RGB32);
    image.fill(kMapColour);
    ASSERT_TRUE(image.save(QDir(installed.path()).filePath("SVET0.bmp"), "BMP"));
    // Nothing (or nothing readable) in the current folder: the installed copy.
    EXPECT_EQ(LoadPrintImage(QStringList{current.path(), installed.path()}).Width(), 80);
    QFile garbage(QDir(current.path()).filePath("SVET0.bmp"));
    ASSERT_TRUE(garbage.open(QIODevice::WriteOnly));
    garbage.write("BM this is not a bitmap");
    garbage.close();
    EXPECT_EQ(LoadPrintImage(QStringList{current.path(), installed.path()}).Width(), 80);
    // A readable image in the current folder wins.
    QImage own(60, 30, QImage::Format_RGB32);
    own.fill(kMapColour);
    ASSERT_TRUE(own.save(QDir(current.path()).filePath("SVET0.bmp"), "BMP"));
    EXPECT_EQ(LoadPrintImage(QStringList{current.path(), installed.path()}).Width(), 60);

    // The installed folder is share/kestrova beside the program's folder.
    const QStringList folders = PrintImageFolders();
    ASSERT_GE(folders.size(), 2);
    EXPECT_EQ(folders[0], QDir::currentPath());
    EXPECT_EQ(folders[1],
              QDir::cleanPath(QCoreApplication::applicationDirPath() + "/../share/kestrova"));
}

TEST(PrintImage, AFifoOrAFolderOfThatNameIsPassedOverAtOnce) {
    const QImage resource(QString::fromLatin1(kPrintImageResource));
    // A FIFO without a writer would block the reader for ever.
    QTemporaryDir fifoDir;
    const QString fifo = QDir(fifoDir.path()).filePath("SVET0.bmp");
    ASSERT_EQ(mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    EXPECT_EQ(LoadPrintImage(QStringList{fifoDir.path()}).Image(), resource);

    QTemporaryDir folderDir;
    ASSERT_TRUE(QDir(folderDir.path()).mkdir("SVET0.bmp"));
    EXPECT_EQ(LoadPrintImage(QStringList{folderDir.path()}).Image(), resource);
}
