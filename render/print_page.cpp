#include "render/print_page.h"

#include "geo/map_overlay.h"
#include "geo/projection.h"
#include "render/draw_tools.h"
#include "render/path_painter.h"

#include <QCoreApplication>
#include <QDir>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdio>
#include <future>
#include <optional>

namespace {

struct PageLabel {
    const char* text;
    int x;
    int y; // for the longitude row: offset from H
};

// Grid labels of the page: fixed positions, not the page projection of their parallels.
constexpr int kLatitudeLabelX = 2615;
constexpr PageLabel kPageLatitudes[] = {
    {"75N", kLatitudeLabelX, -200},  {"60N", kLatitudeLabelX, -377},
    {"30N", kLatitudeLabelX, -666},  {"0", kLatitudeLabelX, -934},
    {"30S", kLatitudeLabelX, -1141}, {"60S", kLatitudeLabelX, -1430},
};
constexpr int kLongitudeRowOffset = -215;
constexpr PageLabel kPageLongitudes[] = {
    {"180W", 200, kLongitudeRowOffset},  {"150W", 397, kLongitudeRowOffset},
    {"120W", 594, kLongitudeRowOffset},  {"90W", 791, kLongitudeRowOffset},
    {"60W", 989, kLongitudeRowOffset},   {"30W", 1186, kLongitudeRowOffset},
    {"0", 1413, kLongitudeRowOffset},    {"30E", 1580, kLongitudeRowOffset},
    {"60E", 1778, kLongitudeRowOffset},  {"90E", 1975, kLongitudeRowOffset},
    {"120E", 2172, kLongitudeRowOffset}, {"150E", 2369, kLongitudeRowOffset},
    {"180E", 2567, kLongitudeRowOffset},
};

// Base map shape, for an image that has no area.
constexpr int kFallbackWidth = 730;
constexpr int kFallbackHeight = 330;

constexpr int kPointSize = 7;
constexpr int kCaptionOffset = 33; // captions stand this far west of their point
constexpr int kCaptionRow = -1350;

constexpr LogicalFont kLegendFont{-30};
constexpr LogicalFont kLineFont{-30};
constexpr LogicalFont kCaptionFont{-40};
constexpr LogicalFont kTitleFont{-50, true, true};

void Box(CDC& dc, int left, int top, int right, int bottom, COLORREF colour) {
    DrawBox(dc, left, top, right, bottom, colour);
}

void Text(CDC& dc, int x, int y, const std::string& text) {
    dc.TextOut(x, y, QString::fromStdString(text));
}

// Page position of a latitude and longitude; nullopt when either is not a number.
std::optional<ScreenPoint> PagePosition(double lat, double lon) {
    if (std::isnan(lat) || std::isnan(lon)) {
        return std::nullopt;
    }
    return ProjectToPage(lat, lon);
}

// The 7-unit box with its corner at the point (y up: the box extends above it).
// Positions toward the poles saturate far off the page.
std::optional<CRect> PointBox(const ScreenPoint& p) {
    const auto left = TruncateCoordinate(p.x);
    const auto top = TruncateCoordinate(p.y);
    const auto right = TruncateCoordinate(p.x + kPointSize);
    const auto bottom = TruncateCoordinate(p.y + kPointSize);
    if (left && top && right && bottom) {
        return CRect{*left, *top, *right, *bottom};
    }
    return std::nullopt;
}

bool PrintedLatitude(double lat) {
    return lat > projection::kSouthLimit && lat < projection::kNorthLimit;
}

// Neighbouring points of a track often fall on the same page box; it is kept once.
void AddBox(std::vector<CRect>& boxes, RecentBoxes& recent, const CRect& box) {
    if (!recent.Contains(box)) {
        recent.Add(box);
        boxes.push_back(box);
    }
}

// The page's boxes of every step-th series from the first-th, a box of the point before
// it not repeated.
std::vector<CRect> PrintedBoxes(const std::vector<LatLonPoints>& series, std::size_t first,
                                std::size_t step) {
    std::vector<CRect> boxes;
    RecentBoxes recent;
    MercatorRows rows(projection::kPageScaleY);
    for (std::size_t k = first; k < series.size(); k += step) {
        const LatLonPoints& points = series[k];
        const std::size_t count = std::min(points.lat.size(), points.lon.size());
        for (std::size_t i = 0; i < count; ++i) {
            const double lat = points.lat[i];
            const double lon = points.lon[i];
            if (!PrintedLatitude(lat) || std::isnan(lon)) {
                continue; // also skips a latitude that is not a number
            }
            // The row from a nearby point where that truncates alike, else exactly.
            ScreenPoint p{projection::kPageScaleX * lon + projection::kPageOffsetX, 0.0};
            if (const auto row = rows.Estimate(lat)) {
                p.y = *row;
            } else {
                p.y = ProjectToPage(lat, lon).y;
                rows.Anchor(lat, p.y);
            }
            if (const auto box = PointBox(p)) {
                AddBox(boxes, recent, *box);
            }
        }
    }
    return boxes;
}

// Every second series's boxes are worked out on another thread meanwhile.
std::vector<CRect> PrintedSeriesBoxes(const std::vector<LatLonPoints>& series) {
    std::future<std::vector<CRect>> odd;
    if (series.size() > 1) {
        odd = std::async(std::launch::async, [&series] { return PrintedBoxes(series, 1, 2); });
    }
    std::vector<CRect> boxes = PrintedBoxes(series, 0, series.size() > 1 ? 2 : 1);
    if (odd.valid()) {
        const std::vector<CRect> more = odd.get();
        boxes.insert(boxes.end(), more.begin(), more.end());
    }
    return boxes;
}

// Draws one limit series, last latitude first, and answers the x of its caption: 33
// units west of the finite point of lowest index, or nullopt when no point is finite.
std::optional<int> PrintLimitSeries(CDC& dc, const std::vector<double>& latitudes,
                                    const std::vector<double>& hours, std::size_t count,
                                    COLORREF colour) {
    std::optional<int> captionX;
    std::vector<CRect> boxes;
    for (std::size_t i = count; i-- > 0;) {
        if (std::isnan(hours[i])) {
            continue; // the Sun does not rise or set at this latitude on the date
        }
        const auto p = PagePosition(latitudes[i], LimitCurveLongitude(hours[i]));
        if (!p) {
            continue;
        }
        if (const auto box = PointBox(*p)) {
            boxes.push_back(*box);
        }
        captionX = TruncateCoordinate(p->x - kCaptionOffset);
    }
    dc.FillBoxes(boxes, kPointSize, colour);
    return captionX;
}

void PrintMapImage(CDC& dc, const CBitmap& image, int mapHeight) {
    if (image.IsLoaded()) {
        dc.StretchBlt(kPrintMapLeft, kPrintMapTop, kPrintMapWidth, mapHeight, image.Image(), 0, 0,
                      image.Width(), image.Height());
    }
}

void PrintLegendAndBands(CDC& dc, int h) {
    Box(dc, 2000, h - 325, 2050, h - 375, print_colours::kPenumbra);
    Box(dc, 2000, h - 400, 2050, h - 450, print_colours::kUmbra);
    Box(dc, 1400, h - 325, 1450, h - 375, print_colours::kFirstLimit);
    Box(dc, 1400, h - 400, 1450, h - 450, print_colours::kSecondLimit);
    Box(dc, 200, h - 200, 2600, h - 275, print_colours::kBand);
    Box(dc, 2600, -200, 2675, h - 275, print_colours::kBand);

    const LogicalFont oldFont = dc.SelectObject(kLegendFont);
    dc.SetTextColor(print_colours::kInk);
    dc.SetBkMode(TRANSPARENT);
    Text(dc, 2065, h - 335, "MOON'S PENUMBRA");
    Text(dc, 2065, h - 410, "MOON'S UMBRA");
    // The first limit series is the one captioned "Sunrise UT".
    Text(dc, 1465, h - 335, "SUNRISE");
    Text(dc, 1465, h - 410, "SUNSET");
    for (const PageLabel& label : kPageLatitudes) {
        Text(dc, label.x, label.y, label.text);
    }
    for (const PageLabel& label : kPageLongitudes) {
        Text(dc, label.x, h + label.y, label.text);
    }
    dc.SelectObject(oldFont);
}

void PrintTitleText(CDC& dc, const std::string& title) {
    const LogicalFont oldFont = dc.SelectObject(kTitleFont);
    dc.SetTextColor(print_colours::kInk);
    dc.SetBkMode(TRANSPARENT);
    Text(dc, 1000, -1800, title);
    dc.SelectObject(oldFont);
}

// The footnote inside the frame's bottom-left corner.
void PrintFootnote(CDC& dc, const std::string& footnote) {
    if (footnote.empty())
        return;
    const LogicalFont oldFont = dc.SelectObject(kLegendFont);
    dc.SetTextColor(print_colours::kInk);
    dc.SetBkMode(TRANSPARENT);
    Text(dc, 210, -1860, footnote);
    dc.SelectObject(oldFont);
}

void PrintFrame(CDC& dc) {
    DrawLine(dc, 195, -190, 2485, 0, 10, print_colours::kInk);
    DrawLine(dc, 195, -1900, 2485, 0, 10, print_colours::kInk);
    DrawLine(dc, 195, -185, 0, -1715, 10, print_colours::kInk);
    DrawLine(dc, 2675, -185, 0, -1715, 10, print_colours::kInk);
}

} // namespace

CBitmap LoadPrintImage(const QString& directory) {
    return LoadPrintImage(QStringList{directory});
}

CBitmap LoadPrintImage(const QStringList& directories) {
    CBitmap image;
    for (const QString& directory : directories) {
        if (image.LoadFromFile(QDir(directory).filePath(QString::fromLatin1(kPrintImageFile))) &&
            image.Width() > 0 && image.Height() > 0) {
            return image;
        }
    }
    image.LoadFromFile(QString::fromLatin1(kPrintImageResource));
    return image;
}

QStringList PrintImageFolders() {
    const QString program = QCoreApplication::applicationDirPath();
    return {QDir::currentPath(), QDir::cleanPath(program + "/../share/kestrova"),
            QDir::cleanPath(program + "/../../share/kestrova")};
}

int PrintedMapHeight(int imageWidth, int imageHeight) {
    if (imageWidth <= 0 || imageHeight <= 0) {
        imageWidth = kFallbackWidth;
        imageHeight = kFallbackHeight;
    }
    const double aspect = static_cast<double>(imageWidth) / imageHeight;
    return TruncToInt(-kPrintMapWidth / aspect);
}

std::string PrintTitle(const std::string& day, const std::string& month, const std::string& year) {
    return "Solar eclipses by date: " + day + "." + month + "." + year;
}

void PrintTextLines(CDC& dc, const std::vector<std::string>& lines, int mapHeight) {
    const LogicalFont oldFont = dc.SelectObject(kLineFont);
    dc.SetTextColor(print_colours::kInk);
    dc.SetBkMode(TRANSPARENT);
    constexpr int kLineCount = 4;
    constexpr int kFirstLineOffset = -315;
    constexpr int kLineStep = 35;
    for (int i = 0; i < kLineCount && i < static_cast<int>(lines.size()); ++i) {
        Text(dc, 400, mapHeight + kFirstLineOffset - i * kLineStep,
             lines[static_cast<std::size_t>(i)]);
    }
    dc.SelectObject(oldFont);
}

ShadowBoxes PrintedShadowBoxes(const std::vector<LatLonPoints>& penumbra,
                               const std::vector<LatLonPoints>& umbra) {
    return {PrintedSeriesBoxes(penumbra), PrintedSeriesBoxes(umbra)};
}

// The page fills the boxes of a row as one rectangle, whichever pass found them.
void PrintShadowTracks(CDC& dc, const ShadowBoxes& boxes) {
    dc.FillBoxes(boxes.penumbra, kPointSize, print_colours::kPenumbra);
    dc.FillBoxes(boxes.umbra, kPointSize, print_colours::kUmbra);
}

void PrintShadowTracks(CDC& dc, const std::vector<LatLonPoints>& penumbra,
                       const std::vector<LatLonPoints>& umbra) {
    PrintShadowTracks(dc, PrintedShadowBoxes(penumbra, umbra));
}

void PrintLimitCurves(CDC& dc, const LimitSeries& limits,
                      const std::vector<HourLabel>& hourLabels) {
    const std::size_t count =
        std::min({limits.latitudes.size(), limits.first.size(), limits.second.size()});
    const auto riseX =
        PrintLimitSeries(dc, limits.latitudes, limits.first, count, print_colours::kFirstLimit);
    const auto setX =
        PrintLimitSeries(dc, limits.latitudes, limits.second, count, print_colours::kSecondLimit);

    const LogicalFont oldFont = dc.SelectObject(kCaptionFont);
    dc.SetTextColor(print_colours::kInk);
    dc.SetBkMode(TRANSPARENT);
    if (riseX) {
        Text(dc, *riseX, kCaptionRow, "Sunrise UT");
    }
    if (setX) {
        Text(dc, *setX, kCaptionRow, "Sunset UT");
    }
    for (const HourLabel& label : hourLabels) {
        const ScreenPoint p = ProjectToPage(label.latDeg, label.lonDeg);
        const auto x = TruncateCoordinate(p.x);
        const auto y = TruncateCoordinate(p.y);
        if (!x || !y) {
            continue;
        }
        char text[32];
        std::snprintf(text, sizeof text, "%.0fh UT", label.hours);
        Text(dc, *x, *y, text);
    }
    dc.SelectObject(oldFont);
}

void PrintPage(CDC& dc, const CBitmap& image, const PrintPageContent& content) {
    PrintPage(dc, image, content, PrintedShadowBoxes(content.penumbra, content.umbra));
}

void PrintPage(CDC& dc, const CBitmap& image, const PrintPageContent& content,
               const ShadowBoxes& shadow) {
    dc.SetBkMode(TRANSPARENT);
    const int h = PrintedMapHeight(image.Width(), image.Height());
    PrintMapImage(dc, image, h);
    PrintLegendAndBands(dc, h);
    PrintTextLines(dc, content.contactLines, h);
    PrintShadowTracks(dc, shadow);
    if (content.path) {
        PrintPathLayer(dc, *content.path);
        PrintPathLegend(dc, *content.path, h);
    }
    PrintLimitCurves(dc, content.limits, content.hourLabels);
    PrintTitleText(dc, content.title);
    PrintFootnote(dc, content.footnote);
    PrintFrame(dc);
}
