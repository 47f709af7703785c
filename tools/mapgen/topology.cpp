#include "topology.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace mapgen {
namespace {

struct Transform {
    double scaleX = 1.0, scaleY = 1.0;
    double translateX = 0.0, translateY = 0.0;
    bool quantized = false;
};

Transform ReadTransform(const QJsonObject& root) {
    Transform t;
    if (!root.contains("transform"))
        return t;
    const QJsonObject tr = root.value("transform").toObject();
    const QJsonArray scale = tr.value("scale").toArray();
    const QJsonArray translate = tr.value("translate").toArray();
    t.scaleX = scale.at(0).toDouble();
    t.scaleY = scale.at(1).toDouble();
    t.translateX = translate.at(0).toDouble();
    t.translateY = translate.at(1).toDouble();
    t.quantized = true;
    return t;
}

// A quantized arc stores its first position absolutely and every further one as the
// difference to its predecessor.
GeoLine DecodeArc(const QJsonArray& positions, const Transform& t) {
    GeoLine line;
    line.reserve(positions.size());
    double x = 0.0, y = 0.0;
    for (const QJsonValue& value : positions) {
        const QJsonArray p = value.toArray();
        if (t.quantized) {
            x += p.at(0).toDouble();
            y += p.at(1).toDouble();
            line.push_back({x * t.scaleX + t.translateX, y * t.scaleY + t.translateY});
        } else {
            line.push_back({p.at(0).toDouble(), p.at(1).toDouble()});
        }
    }
    return line;
}

ArcRing ReadRing(const QJsonArray& refs) {
    ArcRing ring;
    for (const QJsonValue& ref : refs)
        ring.push_back(ref.toInt());
    return ring;
}

ArcPolygon ReadPolygon(const QJsonArray& rings) {
    ArcPolygon polygon;
    for (const QJsonValue& ring : rings)
        polygon.push_back(ReadRing(ring.toArray()));
    return polygon;
}

bool RefsValid(const Country& country, std::size_t arcCount) {
    for (const ArcPolygon& polygon : country.polygons)
        for (const ArcRing& ring : polygon)
            for (const int ref : ring)
                if (static_cast<std::size_t>(ArcIndex(ref)) >= arcCount)
                    return false;
    return true;
}

} // namespace

std::optional<Topology> ReadTopology(const QString& path, const QString& objectName,
                                     QString& error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QString("cannot open %1: %2").arg(path, file.errorString());
        return std::nullopt;
    }
    QJsonParseError parseError;
    const QJsonDocument doc = QJsonDocument::fromJson(file.readAll(), &parseError);
    if (doc.isNull()) {
        error = QString("%1 is not JSON: %2").arg(path, parseError.errorString());
        return std::nullopt;
    }
    const QJsonObject root = doc.object();
    if (root.value("type").toString() != "Topology") {
        error = QString("%1 is not a TopoJSON topology").arg(path);
        return std::nullopt;
    }

    Topology topology;
    const Transform transform = ReadTransform(root);
    for (const QJsonValue& arc : root.value("arcs").toArray())
        topology.arcs.push_back(DecodeArc(arc.toArray(), transform));

    const QJsonObject object = root.value("objects").toObject().value(objectName).toObject();
    if (object.value("type").toString() != "GeometryCollection") {
        error = QString("%1 has no geometry collection \"%2\"").arg(path, objectName);
        return std::nullopt;
    }
    for (const QJsonValue& value : object.value("geometries").toArray()) {
        const QJsonObject geometry = value.toObject();
        const QString type = geometry.value("type").toString();
        const QJsonArray arcs = geometry.value("arcs").toArray();
        Country country;
        country.name = geometry.value("properties").toObject().value("name").toString();
        if (type == "Polygon") {
            country.polygons.push_back(ReadPolygon(arcs));
        } else if (type == "MultiPolygon") {
            for (const QJsonValue& polygon : arcs)
                country.polygons.push_back(ReadPolygon(polygon.toArray()));
        } else {
            continue; // points, lines and empty geometries have no area to paint
        }
        if (!RefsValid(country, topology.arcs.size())) {
            error = QString("%1: %2 refers to a missing arc").arg(path, country.name);
            return std::nullopt;
        }
        topology.countries.push_back(std::move(country));
    }
    return topology;
}

GeoLine RingPoints(const Topology& topology, const ArcRing& ring) {
    GeoLine points;
    for (const int ref : ring) {
        const GeoLine& arc = topology.arcs[ArcIndex(ref)];
        if (arc.empty())
            continue;
        GeoLine part(arc);
        if (ref < 0)
            part.assign(arc.rbegin(), arc.rend());
        // Consecutive arcs share their meeting point.
        const auto first = points.empty() ? part.begin() : part.begin() + 1;
        points.insert(points.end(), first, part.end());
    }
    return points;
}

} // namespace mapgen
