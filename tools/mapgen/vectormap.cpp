#include "vectormap.h"

#include "topology.h"
#include "worldmap.h"

#include "geo/vector_map.h"

#include <QFile>

#include <cstdio>
#include <string>

namespace mapgen {
namespace {

std::vector<MapPlace> Places(const GeoLine& line) {
    std::vector<MapPlace> places;
    places.reserve(line.size());
    for (const GeoPoint& p : line)
        places.push_back({p.lat, p.lon});
    return places;
}

// Every ring of the land, unwrapped, recentred and closed round the pole where it goes round.
bool AddLand(const QString& path, MapDetail detail, VectorMap& map, QString& error) {
    const auto topology = ReadTopology(path, "land", error);
    if (!topology)
        return false;
    MapLineSet set{MapLineKind::Land, detail, {}};
    for (const Country& land : topology->countries) {
        for (const ArcPolygon& polygon : land.polygons) {
            for (const ArcRing& arcRing : polygon) {
                GeoLine ring = Unwrapped(RingPoints(*topology, arcRing));
                if (ring.size() < 3)
                    continue;
                Recentre(ring);
                CloseRoundPole(ring);
                set.lines.push_back(Places(ring));
            }
        }
    }
    map.layers.push_back(std::move(set));
    return true;
}

// The arcs two countries share.
bool AddBorders(const QString& path, MapDetail detail, VectorMap& map, QString& error) {
    const auto topology = ReadTopology(path, "countries", error);
    if (!topology)
        return false;
    const std::vector<ArcKind> kinds = ClassifyArcs(*topology);
    MapLineSet set{MapLineKind::Border, detail, {}};
    for (std::size_t i = 0; i < topology->arcs.size(); ++i) {
        if (kinds[i] != ArcKind::Border || topology->arcs[i].size() < 2)
            continue;
        GeoLine line = Unwrapped(topology->arcs[i]);
        Recentre(line);
        set.lines.push_back(Places(line));
    }
    map.layers.push_back(std::move(set));
    return true;
}

} // namespace

bool WriteVectorBaseMap(const QString& atlasDir, const QString& outPath, QString& error) {
    VectorMap map;
    const QString dir = atlasDir + "/";
    if (!AddLand(dir + "land-110m.json", MapDetail::Coarse, map, error) ||
        !AddLand(dir + "land-50m.json", MapDetail::Medium, map, error) ||
        !AddBorders(dir + "countries-110m.json", MapDetail::Coarse, map, error) ||
        !AddBorders(dir + "countries-50m.json", MapDetail::Medium, map, error))
        return false;
    std::string why;
    const auto bytes = WriteVectorMap(map, why);
    if (!bytes) {
        error = QString::fromStdString(why);
        return false;
    }
    QFile out(outPath);
    if (!out.open(QIODevice::WriteOnly) ||
        out.write(reinterpret_cast<const char*>(bytes->data()),
                  static_cast<qint64>(bytes->size())) != static_cast<qint64>(bytes->size()) ||
        !out.flush()) {
        error = QString("cannot write %1").arg(outPath);
        return false;
    }
    for (const MapLineSet& set : map.layers) {
        std::size_t points = 0;
        for (const auto& line : set.lines)
            points += line.size();
        std::printf("%s %s: %zu lines, %zu points\n",
                    set.kind == MapLineKind::Land ? "land" : "borders",
                    set.detail == MapDetail::Coarse ? "1:110m" : "1:50m", set.lines.size(), points);
    }
    std::printf("%s  %zu bytes\n", qPrintable(outPath), bytes->size());
    return true;
}

} // namespace mapgen
