#include "export/map_export.h"

#include "export/path_table.h"
#include "render/antimeridian.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>

#include <unistd.h>

namespace {

std::vector<GeoPoint> Points(const TimedCurve& curve) {
    std::vector<GeoPoint> out;
    out.reserve(curve.size());
    for (const TimedPoint& p : curve)
        out.push_back(p.point);
    return out;
}

void AddCurves(std::vector<MapFeature>& out, const std::string& name,
               const std::vector<TimedCurve>& curves) {
    for (std::size_t k = 0; k < curves.size(); ++k) {
        const TimedCurve& c = curves[k];
        MapFeature f;
        f.name = curves.size() > 1 ? name + " (" + std::to_string(k + 1) + ")" : name;
        f.beginUt = IsoUt(c.front().jd);
        f.endUt = IsoUt(c.back().jd);
        f.lines = SplitAtAntimeridian(Points(c));
        out.push_back(std::move(f));
    }
}

std::string Coordinate(const GeoPoint& p, const char* format) {
    char text[64];
    std::snprintf(text, sizeof text, format, p.lon, p.lat);
    return text;
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '&')
            out += "&amp;";
        else if (c == '<')
            out += "&lt;";
        else if (c == '>')
            out += "&gt;";
        else
            out += c;
    }
    return out;
}

std::string JsonEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '"' || c == '\\')
            out += '\\';
        out += c;
    }
    return out;
}

} // namespace

std::vector<MapFeature> MapFeatures(const EclipsePath& path) {
    std::vector<MapFeature> out;
    if (path.kind == EclipseKind::None)
        return out;
    const PolynomialElements& e = path.elements;
    // The penumbra at every whole hour of UT while it touches the Earth.
    // Julian days of whole UT hours are x.5 + k / 24.
    const double firstHour = std::floor((path.greatest.jd - 0.5) * 24.0) - 4.0;
    for (int h = 0; h <= 9; ++h) {
        const double jd = 0.5 + (firstHour + h) / 24.0;
        if (std::fabs(JdUTToElementsTime(e, jd)) > kFitHalfHours)
            continue;
        const auto runs = ShadowOutlineAt(e, jd, false);
        if (runs.empty())
            continue;
        MapFeature f;
        const std::string ut = IsoUt(jd);
        f.name = "Penumbra at " + ut.substr(ut.size() - 8, 5) + " UT";
        f.beginUt = f.endUt = ut;
        for (const auto& run : runs)
            for (auto& piece : SplitAtAntimeridian(run))
                f.lines.push_back(std::move(piece));
        out.push_back(std::move(f));
    }
    // The umbral path's outline: the northern limit and the southern one back.
    if (path.umbraNorth.size() == 1 && path.umbraSouth.size() == 1) {
        std::vector<GeoPoint> ring = Points(path.umbraNorth.front());
        const std::vector<GeoPoint> south = Points(path.umbraSouth.front());
        ring.insert(ring.end(), south.rbegin(), south.rend());
        ring.push_back(ring.front());
        MapFeature f;
        f.name = "Umbral path outline";
        f.beginUt =
            IsoUt(std::min(path.umbraNorth.front().front().jd, path.umbraSouth.front().front().jd));
        f.endUt =
            IsoUt(std::max(path.umbraNorth.front().back().jd, path.umbraSouth.front().back().jd));
        f.lines = SplitAtAntimeridian(ring);
        out.push_back(std::move(f));
    }
    if (!path.centralLine.empty()) {
        MapFeature f;
        f.name = "Central line";
        f.beginUt = IsoUt(path.centralLine.front().jd);
        f.endUt = IsoUt(path.centralLine.back().jd);
        std::vector<GeoPoint> line;
        for (const PathRow& r : path.centralLine)
            line.push_back(r.central);
        f.lines = SplitAtAntimeridian(line);
        out.push_back(std::move(f));
    }
    AddCurves(out, "Northern limit of the path", path.umbraNorth);
    AddCurves(out, "Southern limit of the path", path.umbraSouth);
    AddCurves(out, "Northern limit of the partial eclipse", path.penumbraNorth);
    AddCurves(out, "Southern limit of the partial eclipse", path.penumbraSouth);
    AddCurves(out, "Eclipse begins or ends at sunrise or sunset", path.riseSetCurves);
    MapFeature g;
    g.name = "Greatest eclipse";
    g.beginUt = g.endUt = IsoUt(path.greatest.jd);
    g.lines = {{path.greatest.point}};
    g.point = true;
    out.push_back(std::move(g));
    for (MapFeature& f : out)
        f.ephemeris = EphemerisName(path.engine);
    return out;
}

std::string MapKml(const std::vector<MapFeature>& features, const std::string& title) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>" +
                      XmlEscaped(title) + "</name>\n";
    for (const MapFeature& f : features) {
        out += "<Placemark>\n<name>" + XmlEscaped(f.name) + "</name>\n";
        out += "<description>" +
               XmlEscaped(f.point || f.beginUt == f.endUt ? f.beginUt + " UT"
                                                          : f.beginUt + " to " + f.endUt + " UT") +
               "</description>\n";
        if (f.beginUt == f.endUt)
            out += "<TimeStamp><when>" + f.beginUt + "Z</when></TimeStamp>\n";
        else
            out += "<TimeSpan><begin>" + f.beginUt + "Z</begin><end>" + f.endUt +
                   "Z</end></TimeSpan>\n";
        out += "<ExtendedData><Data name=\"ephemeris\"><value>" + XmlEscaped(f.ephemeris) +
               "</value></Data></ExtendedData>\n";
        if (f.point) {
            out += "<Point><coordinates>" + Coordinate(f.lines[0][0], "%.5f,%.5f") +
                   "</coordinates></Point>\n";
        } else {
            out += "<MultiGeometry>\n";
            for (const auto& line : f.lines) {
                out += "<LineString><tessellate>1</tessellate><coordinates>";
                for (std::size_t k = 0; k < line.size(); ++k)
                    out += (k ? " " : "") + Coordinate(line[k], "%.5f,%.5f");
                out += "</coordinates></LineString>\n";
            }
            out += "</MultiGeometry>\n";
        }
        out += "</Placemark>\n";
    }
    out += "</Document>\n</kml>\n";
    return out;
}

std::string MapGeoJson(const std::vector<MapFeature>& features) {
    std::string out = "{\"type\": \"FeatureCollection\", \"features\": [";
    for (std::size_t n = 0; n < features.size(); ++n) {
        const MapFeature& f = features[n];
        out += n ? ",\n" : "\n";
        out += "{\"type\": \"Feature\", \"properties\": {\"name\": \"" + JsonEscaped(f.name) +
               "\", \"begin_ut\": \"" + f.beginUt + "\", \"end_ut\": \"" + f.endUt +
               "\", \"ephemeris\": \"" + JsonEscaped(f.ephemeris) + "\"}, \"geometry\": ";
        if (f.point) {
            out += "{\"type\": \"Point\", \"coordinates\": " +
                   Coordinate(f.lines[0][0], "[%.5f, %.5f]") + "}}";
            continue;
        }
        out += "{\"type\": \"MultiLineString\", \"coordinates\": [";
        for (std::size_t l = 0; l < f.lines.size(); ++l) {
            out += l ? ", [" : "[";
            for (std::size_t k = 0; k < f.lines[l].size(); ++k)
                out += (k ? ", " : "") + Coordinate(f.lines[l][k], "[%.5f, %.5f]");
            out += "]";
        }
        out += "]}}";
    }
    out += "\n]}\n";
    return out;
}
