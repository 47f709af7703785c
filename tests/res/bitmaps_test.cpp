// The program's bitmaps as it loads them from its resources: format, sizes, and where land
// and sea lie on the two world maps.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QString>

#include <cmath>
#include <cstdint>
#include <functional>
#include <numbers>
#include <vector>

namespace {

QString BitmapPath(int id) {
    return QString(":/bitmaps/%1.bmp").arg(id);
}
const QString kPrintImagePath = ":/print/SVET0.bmp";

struct BmpHeader {
    bool valid = false;
    std::int32_t width = 0;
    std::int32_t height = 0;
    int bitsPerPixel = 0;
    std::uint32_t compression = 0;
};

std::uint32_t LittleEndian(const QByteArray& data, int offset, int bytes) {
    std::uint32_t value = 0;
    for (int i = bytes - 1; i >= 0; --i)
        value = (value << 8) | static_cast<std::uint8_t>(data[offset + i]);
    return value;
}

BmpHeader ReadBmpHeader(const QString& path) {
    QFile file(path);
    BmpHeader header;
    if (!file.open(QIODevice::ReadOnly))
        return header;
    const QByteArray data = file.read(54);
    if (data.size() < 54 || data[0] != 'B' || data[1] != 'M')
        return header;
    header.valid = true;
    header.width = static_cast<std::int32_t>(LittleEndian(data, 18, 4));
    header.height = static_cast<std::int32_t>(LittleEndian(data, 22, 4));
    header.bitsPerPixel = static_cast<int>(LittleEndian(data, 28, 2));
    header.compression = LittleEndian(data, 30, 4);
    return header;
}

struct Expected {
    QString path;
    int width;
    int height;
};

std::vector<Expected> AllBitmaps() {
    std::vector<Expected> all;
    for (const int id : {130, 131, 136, 137, 144, 145, 146, 147})
        all.push_back({BitmapPath(id), 100, 25});
    for (const int id : {132, 133, 134, 135})
        all.push_back({BitmapPath(id), 12, 12});
    for (const int id : {138, 139})
        all.push_back({BitmapPath(id), 15, 15});
    for (const int id : {140, 141, 142, 143})
        all.push_back({BitmapPath(id), 25, 25});
    all.push_back({BitmapPath(148), 730, 330});
    all.push_back({kPrintImagePath, 1200, 631});
    return all;
}

TEST(Bitmaps, EachIsAnUncompressed24BitBmpOfItsSize) {
    for (const Expected& e : AllBitmaps()) {
        SCOPED_TRACE(e.path.toStdString());
        const BmpHeader header = ReadBmpHeader(e.path);
        ASSERT_TRUE(header.valid);
        EXPECT_EQ(header.width, e.width);
        EXPECT_EQ(std::abs(header.height), e.height);
        EXPECT_EQ(header.bitsPerPixel, 24);
        EXPECT_EQ(header.compression, 0u);
        const QImage image(e.path);
        EXPECT_EQ(image.size(), QSize(e.width, e.height));
    }
}

TEST(Bitmaps, ButtonFacesDifferPressedAndBetweenCommands) {
    // normal, pressed
    const int pairs[][2] = {{130, 131}, {135, 132}, {133, 134}, {137, 136}, {141, 140},
                            {143, 142}, {145, 144}, {146, 147}, {138, 139}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair[0]);
        EXPECT_NE(QImage(BitmapPath(pair[0])), QImage(BitmapPath(pair[1])));
    }
    // Buttons of one size show different commands.
    const int captions[] = {130, 137, 145, 146};
    for (const int a : captions) {
        for (const int b : captions) {
            if (a < b) {
                EXPECT_NE(QImage(BitmapPath(a)), QImage(BitmapPath(b))) << a << " " << b;
            }
        }
    }
    EXPECT_NE(QImage(BitmapPath(135)), QImage(BitmapPath(133))); // plus, minus
    EXPECT_NE(QImage(BitmapPath(143)), QImage(BitmapPath(141))); // play, stop
}

// --- The maps -------------------------------------------------------------------------------

double MercatorOrdinate(double latDeg) {
    constexpr double k = std::numbers::pi / 180.0;
    return std::log(1.0 / std::cos(k * latDeg) + std::tan(k * latDeg)) / k;
}

struct Pixel {
    int x;
    int y;
};

// Screen projection at zoom 1, truncated as the program draws.
Pixel ScreenPixel(double lat, double lon) {
    return {static_cast<int>(2.0 * lon + 370.0),
            static_cast<int>(200.0 - 1.721580553 * MercatorOrdinate(lat))};
}

// Page projection, then the page rectangle the print draws the image into: from (200, -200),
// 2400 units wide, height trunc(-2400 / (width / height)).
Pixel PagePixel(const QImage& image, double lat, double lon) {
    const double pageX = 6.575 * lon + 1416.68;
    const double pageY = 6.580454537 * MercatorOrdinate(lat) - 964.467;
    const double drawnHeight =
        std::trunc(-2400.0 / (static_cast<double>(image.width()) / image.height()));
    return {static_cast<int>((pageX - 200.0) * image.width() / 2400.0),
            static_cast<int>((-200.0 - pageY) * image.height() / -drawnHeight)};
}

enum class Surface { Sea, Land, Line };

// Sea is light and blue; land fills are warm or neutral pastels; coasts and borders are dark.
Surface Classify(QRgb c) {
    if (qBlue(c) > qRed(c) + 30 && qBlue(c) > qGreen(c) && qBlue(c) > 140)
        return Surface::Sea;
    if (qRed(c) + 10 >= qBlue(c) && qRed(c) > 140)
        return Surface::Land;
    return Surface::Line;
}

const char* Name(Surface s) {
    return s == Surface::Sea ? "sea" : s == Surface::Land ? "land" : "line";
}

struct Place {
    const char* name;
    double lat;
    double lon;
    Surface surface;
};

// Points well inside a country or well out at sea, at least a degree from any coast or border.
const Place kPlaces[] = {
    {"Algerian Sahara", 27.0, 3.0, Surface::Land},
    {"Sudan", 16.0, 30.0, Surface::Land},
    {"Amazonas", -5.0, -65.0, Surface::Land},
    {"Kansas", 38.5, -98.5, Surface::Land},
    {"Saskatchewan", 53.0, -106.0, Surface::Land},
    {"Siberia", 62.0, 100.0, Surface::Land},
    {"Chukotka", 66.0, 172.0, Surface::Land},
    {"central Australia", -25.0, 134.0, Surface::Land},
    {"Greenland", 72.0, -40.0, Surface::Land},
    {"mid-Pacific", 10.0, -140.0, Surface::Sea},
    {"equatorial Atlantic", 0.0, -25.0, Surface::Sea},
    {"Indian Ocean", -20.0, 75.0, Surface::Sea},
    {"Southern Ocean", -55.0, 0.0, Surface::Sea},
    {"Gulf of Mexico", 25.0, -90.0, Surface::Sea},
    {"Ionian Sea", 35.0, 18.0, Surface::Sea},
    {"Beaufort Sea", 72.0, -145.0, Surface::Sea},
    {"Bering Sea", 57.0, -175.0, Surface::Sea},
    {"East Siberian Sea", 73.0, 160.0, Surface::Sea},
    {"South Pacific east of Fiji", -16.5, -120.0, Surface::Sea},
    {"Tasman Sea", -38.0, 160.0, Surface::Sea},
};

class WorldMaps : public ::testing::Test {
protected:
    const QImage screen{BitmapPath(148)};
    const QImage page{kPrintImagePath};
};

TEST_F(WorldMaps, KnownPlacesAreLandOrSea) {
    ASSERT_FALSE(screen.isNull());
    ASSERT_FALSE(page.isNull());
    for (const Place& place : kPlaces) {
        const Pixel s = ScreenPixel(place.lat, place.lon);
        EXPECT_EQ(Name(Classify(screen.pixel(s.x, s.y))), Name(place.surface))
            << place.name << " on the screen map at column " << s.x << ", row " << s.y;
        const Pixel p = PagePixel(page, place.lat, place.lon);
        EXPECT_EQ(Name(Classify(page.pixel(p.x, p.y))), Name(place.surface))
            << place.name << " on the print image at column " << p.x << ", row " << p.y;
    }
}

TEST_F(WorldMaps, FijiAcrossTheAntimeridianIsDrawnWithoutStreaks) {
    // Fiji's islands lie either side of 180 degrees. Vanua Levu, just west of it, is small
    // enough here to be mostly coastline.
    const Pixel west = ScreenPixel(-16.6, 179.5);
    EXPECT_NE(Classify(screen.pixel(west.x, west.y)), Surface::Sea);
    // A ring joined the wrong way round the globe would fill its rows across the map.
    for (const double lat : {-16.5, -17.0, 64.0, 68.0}) {
        int sea = 0;
        const int row = ScreenPixel(lat, 0.0).y;
        for (int x = 0; x < screen.width(); ++x)
            sea += Classify(screen.pixel(x, row)) == Surface::Sea;
        EXPECT_GT(sea, screen.width() / 8) << "row of latitude " << lat;
    }
}

TEST_F(WorldMaps, AntarcticaFillsNothingAboveSixtySouth) {
    for (const double lat : {-59.0, -60.0}) {
        int sea = 0;
        const int row = ScreenPixel(lat, 0.0).y;
        for (int x = 0; x < screen.width(); ++x)
            sea += Classify(screen.pixel(x, row)) == Surface::Sea;
        EXPECT_GT(sea, screen.width() * 9 / 10) << "row of latitude " << lat;
    }
}

TEST_F(WorldMaps, StripWestOf180WRepeatsTheFarEast) {
    // Columns 0..9 are 185W..180W, the same places as columns 720..729 (175E..180E).
    for (int y = 0; y < screen.height(); ++y)
        for (int x = 0; x < 10; ++x)
            ASSERT_EQ(screen.pixel(x, y), screen.pixel(x + 720, y))
                << "column " << x << " row " << y;
}

TEST_F(WorldMaps, TimeZoneTintAlternatesEveryFifteenDegrees) {
    // Along 50S the map is open sea nearly all the way round.
    const int row = ScreenPixel(-50.0, 0.0).y;
    // Band edges at 7.5 + 15k degrees, columns 25, 55, ..., 715: the colour changes exactly there.
    int edgesSeen = 0;
    for (int edge = 25; edge <= 715; edge += 30) {
        const QRgb before = screen.pixel(edge - 1, row);
        const QRgb at = screen.pixel(edge, row);
        const QRgb after = screen.pixel(edge + 1, row);
        if (Classify(before) != Surface::Sea || Classify(at) != Surface::Sea ||
            Classify(after) != Surface::Sea)
            continue;
        ++edgesSeen;
        EXPECT_NE(before, at) << "edge column " << edge;
        EXPECT_EQ(at, after) << "edge column " << edge;
    }
    EXPECT_GE(edgesSeen, 18);

    // Two tints, not a gradient: a band looks like the band two over, unlike its neighbours.
    std::vector<QRgb> bands; // sea colour 2.5 degrees east of each band's centre
    for (int centre = 10; centre + 5 < screen.width(); centre += 30) {
        const QRgb c = screen.pixel(centre + 5, row);
        if (Classify(c) == Surface::Sea)
            bands.push_back(c);
        else
            bands.push_back(0);
    }
    for (std::size_t k = 0; k + 2 < bands.size(); ++k) {
        if (bands[k] == 0 || bands[k + 1] == 0 || bands[k + 2] == 0)
            continue;
        EXPECT_NE(bands[k], bands[k + 1]) << "band " << k;
        EXPECT_EQ(bands[k], bands[k + 2]) << "band " << k;
    }
}

TEST_F(WorldMaps, PrintImageShowsTheSameWorldAsTheScreenMap) {
    // Where the screen map is clearly land or sea (a pixel and its eight neighbours alike),
    // the print image must show the same at the page position of that place.
    int compared = 0, agreed = 0;
    for (double lat = -59.5; lat < 75.0; lat += 0.5) {
        for (double lon = -179.75; lon < 180.0; lon += 0.5) {
            const Pixel s = ScreenPixel(lat, lon);
            if (s.x < 1 || s.y < 1 || s.x + 1 >= screen.width() || s.y + 1 >= screen.height())
                continue;
            const Surface surface = Classify(screen.pixel(s.x, s.y));
            if (surface == Surface::Line)
                continue;
            bool uniform = true;
            for (int dy = -1; dy <= 1; ++dy)
                for (int dx = -1; dx <= 1; ++dx)
                    uniform = uniform && Classify(screen.pixel(s.x + dx, s.y + dy)) == surface;
            if (!uniform)
                continue;
            const Pixel p = PagePixel(page, lat, lon);
            ASSERT_TRUE(page.valid(p.x, p.y)) << lat << " " << lon;
            ++compared;
            agreed += Classify(page.pixel(p.x, p.y)) == surface;
        }
    }
    ASSERT_GT(compared, 50000);
    EXPECT_GT(agreed, compared * 995 / 1000) << agreed << " of " << compared;
}

int Brightness(QRgb c) {
    return qRed(c) + qGreen(c) + qBlue(c);
}

// Pixels of a row darker than both their neighbours above and below, as along a dotted line.
int DotsAlongRow(const QImage& image, int row) {
    int dots = 0;
    for (int x = 0; x < image.width(); ++x) {
        const int b = Brightness(image.pixel(x, row));
        dots += b < Brightness(image.pixel(x, row - 1)) && b < Brightness(image.pixel(x, row + 1));
    }
    return dots;
}

int DotsAlongColumn(const QImage& image, int column) {
    int dots = 0;
    for (int y = 0; y < image.height(); ++y) {
        const int b = Brightness(image.pixel(column, y));
        dots += b < Brightness(image.pixel(column - 1, y)) &&
                b < Brightness(image.pixel(column + 1, y));
    }
    return dots;
}

// The maps carry a dotted grid every 30 degrees. Each line must lie on the row or column the
// program's projection gives for it, not beside it.
void ExpectGridAt(const QImage& image, const std::function<Pixel(double, double)>& project) {
    for (const double lat : {60.0, 30.0, 0.0, -30.0}) {
        const int row = project(lat, 0.0).y;
        const int on = DotsAlongRow(image, row);
        EXPECT_GT(on, image.width() / 4) << "parallel " << lat << " on row " << row;
        for (const int off : {row - 2, row + 2})
            EXPECT_GT(on, 3 * DotsAlongRow(image, off)) << "parallel " << lat << ", row " << off;
    }
    for (double lon = -180.0; lon < 180.0; lon += 30.0) {
        const int column = project(0.0, lon).x;
        const int on = DotsAlongColumn(image, column);
        EXPECT_GT(on, image.height() / 4) << "meridian " << lon << " on column " << column;
        for (const int off : {column - 2, column + 2})
            EXPECT_GT(on, 3 * DotsAlongColumn(image, off))
                << "meridian " << lon << ", column " << off;
    }
}

TEST_F(WorldMaps, GridLinesLieWhereTheProjectionsPutThem) {
    // On the screen map: Greenwich on column 370, 180W on 10, the equator on row 200,
    // 30N on 145, 60N on 70, 30S on 254.
    EXPECT_EQ(ScreenPixel(0.0, 0.0).x, 370);
    EXPECT_EQ(ScreenPixel(0.0, 0.0).y, 200);
    EXPECT_EQ(ScreenPixel(30.0, -180.0).y, 145);
    EXPECT_EQ(ScreenPixel(30.0, -180.0).x, 10);
    EXPECT_EQ(ScreenPixel(60.0, 0.0).y, 70);
    EXPECT_EQ(ScreenPixel(-30.0, 0.0).y, 254);
    {
        SCOPED_TRACE("screen map");
        ExpectGridAt(screen, ScreenPixel);
    }
    {
        SCOPED_TRACE("print image");
        ExpectGridAt(page, [this](double lat, double lon) { return PagePixel(page, lat, lon); });
    }
}

TEST_F(WorldMaps, PrintImageCoversThePrintedMapArea) {
    // Drawn 2400 units wide from (200, -200), the image must reach from 75N (page y -200) to
    // 60S (page y -1461) and from page x 200 to 2600.
    const double drawnHeight =
        std::trunc(-2400.0 / (static_cast<double>(page.width()) / page.height()));
    EXPECT_LE(-200.0 + drawnHeight, -1461.0);
    EXPECT_GT(-200.0 + drawnHeight, -1461.0 - 2400.0 / page.width() * 2); // within two pixels
    const Pixel south = PagePixel(page, -60.0, 0.0);
    EXPECT_EQ(south.y, page.height() - 1);
    const Pixel north = PagePixel(page, 75.0, 0.0);
    EXPECT_EQ(north.y, 0);
}

} // namespace
