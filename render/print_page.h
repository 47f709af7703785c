#pragma once

// The printed page: one A4 landscape sheet in page units of 0.1 mm (y up, origin at the
// top-left of the printable area, so everything on it has y <= 0). It carries the print
// image of the world map in its thick black frame, the legend, the cream bands and the
// grid labels, four text lines under the map, the shadow points, the sunrise and sunset
// series with their captions, the hour labels, and the title. Points are placed by the
// page projection; every coordinate is truncated toward zero.

#include "geo/path_layer.h"
#include "platform/dc.h"

#include <QString>
#include <QStringList>

#include <span>
#include <string>
#include <vector>

namespace print_colours {
constexpr COLORREF kPenumbra = RGB(80, 80, 80);
constexpr COLORREF kUmbra = RGB(0, 0, 0);
constexpr COLORREF kFirstLimit = RGB(130, 130, 130); // sunrise series, legend "SUNRISE"
constexpr COLORREF kSecondLimit = RGB(50, 50, 50);   // sunset series, legend "SUNSET"
constexpr COLORREF kBand = RGB(255, 255, 225);
constexpr COLORREF kInk = RGB(0, 0, 0);
} // namespace print_colours

// Where the printed map lies: drawn from (kPrintMapLeft, kPrintMapTop), kPrintMapWidth
// wide, as high as the image's aspect ratio makes it.
constexpr int kPrintMapLeft = 200;
constexpr int kPrintMapTop = -200;
constexpr int kPrintMapWidth = 2400;

// The print image, read from the current directory at print time, and the program's own
// copy of it, printed when the file is missing or unreadable.
inline constexpr const char* kPrintImageFile = "SVET0.bmp";
inline constexpr const char* kPrintImageResource = ":/print/SVET0.bmp";

// Loads kPrintImageFile from directory, or the resource copy when that file is missing
// or not a readable image.
CBitmap LoadPrintImage(const QString& directory);
// The same from the first of the folders that holds a readable image.
CBitmap LoadPrintImage(const QStringList& directories);

// Where printing looks for kPrintImageFile: the current folder, then the installed data
// folder share/kestrova beside the program's bin/ (or libexec/kestrova/) folder.
QStringList PrintImageFolders();

// H, the printed map's height in page units (negative): trunc(-2400 / (width / height)).
// An image without area is printed as the base map's shape, 730 x 330 (H = -1084).
int PrintedMapHeight(int imageWidth, int imageHeight);

// "Solar eclipses by date: %s.%s.%s" with the date texts as typed.
std::string PrintTitle(const std::string& day, const std::string& month, const std::string& year);

// The limit series as the view keeps them: latitude, sunrise and sunset hours UT (NaN
// where the Sun does not rise or set), index by index.
struct LimitSeries {
    const std::vector<double>& latitudes;
    const std::vector<double>& first;
    const std::vector<double>& second;
};

// Points given by latitude and longitude, degrees, index by index.
struct LatLonPoints {
    std::span<const double> lat;
    std::span<const double> lon;
};

// An hour label of the map command at its place on the map.
struct HourLabel {
    double hours = 0.0; // the whole hour UT the outline belongs to
    int lonDeg = 0;     // whole-degree longitude of the label's map position
    int latDeg = 0;     // whole-degree latitude of the label's map position
};

// Everything the page shows.
struct PrintPageContent {
    std::vector<std::string> contactLines; // the four contact lines, or none
    std::vector<LatLonPoints> penumbra;    // printed in this order, then
    std::vector<LatLonPoints> umbra;       // these
    LimitSeries limits;
    std::vector<HourLabel> hourLabels;
    std::string title;
    const PathLayer* path = nullptr; // the path of the shadow with its legend, or none
    std::string footnote{};          // a small line at the foot of the map (the theories used)
};

// The page's 7-unit boxes of the shadow's points, a box of the point before it not
// repeated, every second series worked out on another thread; nothing is drawn, so that a
// page can work them out while its image loads.
struct ShadowBoxes {
    std::vector<CRect> penumbra;
    std::vector<CRect> umbra;
};
ShadowBoxes PrintedShadowBoxes(const std::vector<LatLonPoints>& penumbra,
                               const std::vector<LatLonPoints>& umbra);

// Draws the whole page on dc, which must be in the low-metric mapping mode; the shadow's
// boxes worked out first, or handed in.
void PrintPage(CDC& dc, const CBitmap& image, const PrintPageContent& content);
void PrintPage(CDC& dc, const CBitmap& image, const PrintPageContent& content,
               const ShadowBoxes& shadow);

// The four text lines under the map, from (400, H - 315) down in steps of 35 units.
// Missing lines are left blank; lines beyond four are not printed.
void PrintTextLines(CDC& dc, const std::vector<std::string>& lines, int mapHeight);

// Penumbra points in dark grey, then umbra points in black, each a 7-unit box; only
// latitudes strictly between 60°S and 75°N are printed.
void PrintShadowTracks(CDC& dc, const std::vector<LatLonPoints>& penumbra,
                       const std::vector<LatLonPoints>& umbra);
void PrintShadowTracks(CDC& dc, const ShadowBoxes& boxes);

// The sunrise and sunset series (last latitude first), their captions 33 units west of
// each series' first finite point on the row y = -1350, and the hour labels. Points that
// are not numbers are skipped; a series without a finite point gets no caption.
void PrintLimitCurves(CDC& dc, const LimitSeries& limits, const std::vector<HourLabel>& hourLabels);
