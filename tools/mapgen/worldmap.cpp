#include "worldmap.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace mapgen {
namespace {

// Colours: a pale sea, pastel country fills (none close to the lavender and dark blue of the
// shadow points the program draws on top), dark coasts and borders.
constexpr QRgb kOcean = qRgb(178, 212, 240);
constexpr QRgb kOceanTinted = qRgb(156, 194, 228);
constexpr std::array<QRgb, 6> kLandColours{
    qRgb(244, 226, 150), // sand
    qRgb(194, 224, 160), // green
    qRgb(242, 192, 178), // salmon
    qRgb(246, 206, 150), // apricot
    qRgb(216, 204, 170), // khaki
    qRgb(232, 204, 224), // mauve
};
constexpr double kLandTint = 0.9; // odd time-zone bands darken the land by this factor
constexpr double kGraticuleShade = 0.82;
constexpr QRgb kCoastColour = qRgb(52, 84, 120);
constexpr QRgb kBorderColour = qRgb(120, 96, 84);

// Latitudes are kept short of the poles so that the Mercator ordinate stays finite; the map
// ends at 75N and 60S, far from either.
constexpr double kPoleLatitude = 89.5;

// Values of the line mask.
constexpr QRgb kMaskNone = qRgb(0, 0, 0);
constexpr QRgb kMaskCoast = qRgb(1, 0, 0);
constexpr QRgb kMaskBorder = qRgb(2, 0, 0);

QRgb Scaled(QRgb c, double f) {
    return qRgb(static_cast<int>(qRed(c) * f), static_cast<int>(qGreen(c) * f),
                static_cast<int>(qBlue(c) * f));
}

// Country index + 1 as an exact colour of the id image; 0 is the sea.
QRgb IdColour(std::size_t country) {
    const auto id = static_cast<unsigned>(country + 1);
    return qRgb((id >> 16) & 0xff, (id >> 8) & 0xff, id & 0xff);
}

int IdOf(QRgb c) {
    return (qRed(c) << 16) | (qGreen(c) << 8) | qBlue(c);
}

double ClampedLatitude(double lat) {
    return std::clamp(lat, -kPoleLatitude, kPoleLatitude);
}

double MeanLongitude(const GeoLine& line) {
    double sum = 0.0;
    for (const GeoPoint& p : line)
        sum += p.lon;
    return line.empty() ? 0.0 : sum / static_cast<double>(line.size());
}

} // namespace

void Recentre(GeoLine& line) {
    const double turns = std::round(MeanLongitude(line) / 360.0);
    for (GeoPoint& p : line)
        p.lon -= 360.0 * turns;
}

void CloseRoundPole(GeoLine& ring) {
    if (ring.size() < 2)
        return;
    const double turn = ring.back().lon - ring.front().lon;
    if (std::abs(turn) < 180.0)
        return;
    double latSum = 0.0;
    for (const GeoPoint& p : ring)
        latSum += p.lat;
    const double pole = latSum < 0.0 ? -90.0 : 90.0;
    const double startLon = ring.front().lon;
    ring.push_back({ring.back().lon, pole});
    ring.push_back({startLon, pole});
}

namespace {

// The id image and the line mask are painted with a margin round the frame and then cut to
// it, so that every copy of a line that can touch the frame is painted whole: an aliased line
// may light a pixel next to its exact extent, and the strip west of 180W must come out
// exactly like the far east it repeats.
constexpr int kMargin = 8;

// The copies of a line, one turn apart, that reach into the frame or its margin: a line near
// the antimeridian shows on both sides, and the strip west of 180W repeats the far east.
std::vector<double> VisibleShifts(const GeoLine& line, const MapFrame& frame) {
    double west = line.front().lon, east = line.front().lon;
    for (const GeoPoint& p : line) {
        west = std::min(west, p.lon);
        east = std::max(east, p.lon);
    }
    const double frameWest = frame.Longitude(-kMargin);
    const double frameEast = frame.Longitude(frame.width + kMargin);
    std::vector<double> shifts;
    for (int turn = -2; turn <= 2; ++turn) {
        const double shift = 360.0 * turn;
        if (east + shift >= frameWest && west + shift <= frameEast)
            shifts.push_back(shift);
    }
    return shifts;
}

QPolygonF Projected(const GeoLine& line, double shift, const MapFrame& frame) {
    QPolygonF polygon;
    polygon.reserve(static_cast<qsizetype>(line.size()));
    for (const GeoPoint& p : line)
        polygon.append(QPointF(frame.X(p.lon + shift), frame.Y(ClampedLatitude(p.lat))));
    return polygon;
}

QPainterPath CountryPath(const Topology& topology, const Country& country, const MapFrame& frame) {
    QPainterPath path;
    path.setFillRule(Qt::OddEvenFill); // holes (Lesotho in South Africa) stay empty
    for (const ArcPolygon& polygon : country.polygons) {
        for (const ArcRing& arcRing : polygon) {
            GeoLine ring = Unwrapped(RingPoints(topology, arcRing));
            if (ring.size() < 3)
                continue;
            Recentre(ring);
            CloseRoundPole(ring);
            for (const double shift : VisibleShifts(ring, frame)) {
                path.addPolygon(Projected(ring, shift, frame));
                path.closeSubpath();
            }
        }
    }
    return path;
}

QImage Canvas(const MapFrame& frame, QRgb background) {
    QImage canvas(frame.width + 2 * kMargin, frame.height + 2 * kMargin, QImage::Format_RGB32);
    canvas.fill(background);
    return canvas;
}

void PrepareAliased(QPainter& painter) {
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.translate(kMargin, kMargin);
}

QImage CutToFrame(const QImage& canvas, const MapFrame& frame) {
    return canvas.copy(kMargin, kMargin, frame.width, frame.height);
}

QImage CountryIds(const Topology& topology, const MapFrame& frame) {
    QImage ids = Canvas(frame, qRgb(0, 0, 0)); // id 0: sea
    {
        QPainter painter(&ids);
        PrepareAliased(painter);
        for (std::size_t i = 0; i < topology.countries.size(); ++i)
            painter.fillPath(CountryPath(topology, topology.countries[i], frame),
                             QColor::fromRgb(IdColour(i)));
    }
    return CutToFrame(ids, frame);
}

void DrawArcs(QPainter& painter, const Topology& topology, const std::vector<ArcKind>& kinds,
              ArcKind kind, const MapFrame& frame) {
    for (std::size_t i = 0; i < topology.arcs.size(); ++i) {
        if (kinds[i] != kind || topology.arcs[i].size() < 2)
            continue;
        GeoLine line = Unwrapped(topology.arcs[i]);
        Recentre(line);
        for (const double shift : VisibleShifts(line, frame))
            painter.drawPolyline(Projected(line, shift, frame));
    }
}

QImage LineMask(const Topology& topology, const std::vector<ArcKind>& kinds,
                const MapFrame& frame) {
    QImage mask = Canvas(frame, kMaskNone);
    {
        QPainter painter(&mask);
        PrepareAliased(painter);
        painter.setPen(QPen(QColor::fromRgb(kMaskBorder), 0));
        DrawArcs(painter, topology, kinds, ArcKind::Border, frame);
        painter.setPen(QPen(QColor::fromRgb(kMaskCoast), 0));
        DrawArcs(painter, topology, kinds, ArcKind::Coast, frame);
    }
    return CutToFrame(mask, frame);
}

// Columns of the meridians and rows of the parallels every 30 degrees inside the frame.
std::vector<bool> GraticuleColumns(const MapFrame& frame) {
    std::vector<bool> columns(static_cast<std::size_t>(frame.width), false);
    for (int lon = -360; lon <= 360; lon += 30) {
        const double x = frame.X(lon);
        if (x >= 0.0 && x < frame.width)
            columns[static_cast<std::size_t>(x)] = true;
    }
    return columns;
}

std::vector<bool> GraticuleRows(const MapFrame& frame) {
    std::vector<bool> rows(static_cast<std::size_t>(frame.height), false);
    for (int lat = -60; lat <= 60; lat += 30) {
        const double y = frame.Y(lat);
        if (y >= 0.0 && y < frame.height)
            rows[static_cast<std::size_t>(y)] = true;
    }
    return rows;
}

using Adjacency = std::vector<std::vector<std::size_t>>;

void SortUnique(Adjacency& adjacency) {
    for (auto& list : adjacency) {
        std::sort(list.begin(), list.end());
        list.erase(std::unique(list.begin(), list.end()), list.end());
    }
}

// The countries that use each arc (a country once per use).
std::vector<std::vector<std::size_t>> ArcUsers(const Topology& topology) {
    std::vector<std::vector<std::size_t>> users(topology.arcs.size());
    for (std::size_t c = 0; c < topology.countries.size(); ++c)
        for (const ArcPolygon& polygon : topology.countries[c].polygons)
            for (const ArcRing& ring : polygon)
                for (const int ref : ring)
                    users[static_cast<std::size_t>(ArcIndex(ref))].push_back(c);
    return users;
}

// Countries that share a land border.
Adjacency BorderNeighbours(const Topology& topology, const std::vector<ArcKind>& kinds) {
    const auto users = ArcUsers(topology);
    Adjacency neighbours(topology.countries.size());
    for (std::size_t i = 0; i < users.size(); ++i) {
        if (kinds[i] != ArcKind::Border)
            continue;
        for (const std::size_t a : users[i])
            for (const std::size_t b : users[i])
                if (a != b)
                    neighbours[a].push_back(b);
    }
    SortUnique(neighbours);
    return neighbours;
}

// Countries whose outlines come within about a degree of each other (across a strait, such
// as Russia and Alaska or Britain and France): vertices in the same or touching cells of a
// half-degree grid.
Adjacency NearNeighbours(const Topology& topology) {
    constexpr double kCell = 0.5; // degrees
    constexpr int kColumns = static_cast<int>(360.0 / kCell);
    constexpr int kRows = static_cast<int>(180.0 / kCell) + 1;
    const auto cellOf = [](int column, int row) {
        return static_cast<std::size_t>(row) * kColumns +
               static_cast<std::size_t>((column % kColumns + kColumns) % kColumns);
    };
    std::vector<std::vector<std::size_t>> cells(static_cast<std::size_t>(kColumns) * kRows);
    for (std::size_t c = 0; c < topology.countries.size(); ++c)
        for (const ArcPolygon& polygon : topology.countries[c].polygons)
            for (const ArcRing& ring : polygon)
                for (const int ref : ring)
                    for (const GeoPoint& p :
                         topology.arcs[static_cast<std::size_t>(ArcIndex(ref))]) {
                        const int column = static_cast<int>(std::floor((p.lon + 180.0) / kCell));
                        const int row = std::clamp(
                            static_cast<int>(std::floor((p.lat + 90.0) / kCell)), 0, kRows - 1);
                        cells[cellOf(column, row)].push_back(c);
                    }
    for (auto& cell : cells) {
        std::sort(cell.begin(), cell.end());
        cell.erase(std::unique(cell.begin(), cell.end()), cell.end());
    }

    Adjacency neighbours(topology.countries.size());
    for (int row = 0; row < kRows; ++row)
        for (int column = 0; column < kColumns; ++column)
            for (const std::size_t a : cells[cellOf(column, row)])
                for (int dr = -1; dr <= 1; ++dr)
                    for (int dc = -1; dc <= 1; ++dc) {
                        if (row + dr < 0 || row + dr >= kRows)
                            continue;
                        for (const std::size_t b : cells[cellOf(column + dc, row + dr)])
                            if (a != b)
                                neighbours[a].push_back(b);
                    }
    SortUnique(neighbours);
    return neighbours;
}

} // namespace

std::vector<ArcKind> ClassifyArcs(const Topology& topology) {
    const auto users = ArcUsers(topology);
    std::vector<ArcKind> kinds(topology.arcs.size(), ArcKind::Inside);
    for (std::size_t i = 0; i < users.size(); ++i) {
        const auto& u = users[i];
        if (u.size() == 1)
            kinds[i] = ArcKind::Coast;
        else if (u.size() >= 2 &&
                 std::any_of(u.begin(), u.end(), [&](std::size_t c) { return c != u.front(); }))
            kinds[i] = ArcKind::Border;
    }
    return kinds;
}

std::vector<int> ColourCountries(const Topology& topology, const std::vector<ArcKind>& kinds,
                                 int paletteSize) {
    const std::size_t n = topology.countries.size();
    const Adjacency borders = BorderNeighbours(topology, kinds);
    const Adjacency near = NearNeighbours(topology);

    // Most connected countries first. Each takes a colour none of its border neighbours has,
    // preferring one that no country across a narrow sea has either, then the least used.
    std::vector<std::size_t> order(n);
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        return borders[a].size() > borders[b].size();
    });
    const auto palette = static_cast<std::size_t>(paletteSize);
    constexpr int kBorderPenalty = 1000;
    std::vector<int> colour(n, -1);
    std::vector<int> uses(palette, 0);
    for (const std::size_t c : order) {
        // Penalty of each colour: a border neighbour with it rules it out unless every colour
        // is taken; a near one counts as one.
        std::vector<int> penalty(palette, 0);
        for (const std::size_t other : borders[c])
            if (colour[other] >= 0)
                penalty[static_cast<std::size_t>(colour[other])] += kBorderPenalty;
        for (const std::size_t other : near[c])
            if (colour[other] >= 0)
                penalty[static_cast<std::size_t>(colour[other])] += 1;
        std::size_t best = 0;
        for (std::size_t k = 1; k < palette; ++k)
            if (penalty[k] < penalty[best] || (penalty[k] == penalty[best] && uses[k] < uses[best]))
                best = k;
        colour[c] = static_cast<int>(best);
        ++uses[best];
    }
    return colour;
}

GeoLine Unwrapped(const GeoLine& line) {
    GeoLine out(line);
    for (std::size_t i = 1; i < out.size(); ++i) {
        double step = line[i].lon - line[i - 1].lon;
        step -= 360.0 * std::round(step / 360.0);
        out[i].lon = out[i - 1].lon + step;
    }
    return out;
}

int TimeZoneBand(double lonDeg) {
    return static_cast<int>(std::floor((lonDeg + 7.5) / 15.0));
}

QImage RenderWorldMap(const Topology& topology, const MapFrame& frame) {
    const std::vector<ArcKind> kinds = ClassifyArcs(topology);
    const std::vector<int> colours =
        ColourCountries(topology, kinds, static_cast<int>(kLandColours.size()));
    const QImage ids = CountryIds(topology, frame);
    const QImage lines = LineMask(topology, kinds, frame);
    const std::vector<bool> meridianColumns = GraticuleColumns(frame);
    const std::vector<bool> parallelRows = GraticuleRows(frame);

    QImage map(frame.width, frame.height, QImage::Format_RGB32);
    for (int x = 0; x < frame.width; ++x) {
        const bool tinted = TimeZoneBand(frame.Longitude(x + 0.5)) % 2 != 0;
        for (int y = 0; y < frame.height; ++y) {
            const int id = IdOf(ids.pixel(x, y));
            QRgb c = tinted ? kOceanTinted : kOcean;
            if (id > 0) {
                const QRgb land = kLandColours[static_cast<std::size_t>(
                    colours[static_cast<std::size_t>(id - 1)])];
                c = tinted ? Scaled(land, kLandTint) : land;
            }
            // Dotted grid every 30 degrees.
            const bool onMeridian = meridianColumns[static_cast<std::size_t>(x)] && y % 2 == 0;
            const bool onParallel = parallelRows[static_cast<std::size_t>(y)] && x % 2 == 0;
            if (onMeridian || onParallel)
                c = Scaled(c, kGraticuleShade);
            const QRgb line = lines.pixel(x, y);
            if (line == kMaskCoast)
                c = kCoastColour;
            else if (line == kMaskBorder)
                c = kBorderColour;
            map.setPixel(x, y, c);
        }
    }
    return map;
}

} // namespace mapgen
