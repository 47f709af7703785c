#include "export/map_export.h"

#include "eclipse/finder_text.h"
#include "eclipse/map_curves.h"
#include "geo/antimeridian.h"
#include "geo/map_colours.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

namespace {

std::vector<GeoPoint> Points(const TimedCurve& curve) {
    std::vector<GeoPoint> out;
    out.reserve(curve.size());
    for (const TimedPoint& p : curve)
        out.push_back(p.point);
    return out;
}

MapFeature CurveFeature(const std::string& name, MapFeatureStyle style, const TimedCurve& c) {
    MapFeature f;
    f.name = name;
    f.style = style;
    f.beginUt = FormatInstant(c.front().jd);
    f.endUt = FormatInstant(c.back().jd);
    f.lines = SplitAtAntimeridian(Points(c));
    return f;
}

void AddCurves(std::vector<MapFeature>& out, const std::string& name, MapFeatureStyle style,
               const std::vector<TimedCurve>& curves) {
    for (std::size_t k = 0; k < curves.size(); ++k)
        out.push_back(
            CurveFeature(curves.size() > 1 ? name + " (" + std::to_string(k + 1) + ")" : name,
                         style, curves[k]));
}

std::string Number(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

// The central line's width and duration at greatest eclipse, between the rows around it.
std::vector<MapProperty> GreatestProperties(const EclipsePath& path) {
    std::vector<MapProperty> out = {{"greatest_ut", FormatInstant(path.greatest.jd), false}};
    const std::vector<PathRow>& rows = path.centralLine;
    for (std::size_t k = 1; k < rows.size(); ++k) {
        if (!(rows[k - 1].jd <= path.greatest.jd && path.greatest.jd <= rows[k].jd))
            continue;
        const double f = (path.greatest.jd - rows[k - 1].jd) / (rows[k].jd - rows[k - 1].jd);
        auto at = [&](double a, double b) { return a + f * (b - a); };
        out.push_back({"width_km", Number("%.1f", at(rows[k - 1].widthKm, rows[k].widthKm)), true});
        out.push_back({"duration_s",
                       Number("%.1f", at(rows[k - 1].durationSeconds, rows[k].durationSeconds)),
                       true});
        break;
    }
    return out;
}

const char* PathName(EclipseKind kind) {
    switch (kind) {
    case EclipseKind::Total:
        return "Path of totality";
    case EclipseKind::Annular:
        return "Path of annularity";
    default:
        return "Path of the hybrid eclipse";
    }
}

// The path as a polygon: the northern limit, the central line's end on the limb, the
// southern limit back and the central line's start. Only where each limit is one curve.
std::optional<MapFeature> PathBand(const EclipsePath& path) {
    if (path.centralLine.empty() || path.umbraNorth.size() != 1 || path.umbraSouth.size() != 1)
        return std::nullopt;
    const TimedCurve& north = path.umbraNorth.front();
    const TimedCurve& south = path.umbraSouth.front();
    std::vector<GeoPoint> ring = Points(north);
    ring.push_back(path.centralLine.back().central);
    for (auto p = south.rbegin(); p != south.rend(); ++p)
        ring.push_back(p->point);
    ring.push_back(path.centralLine.front().central);
    ring.push_back(ring.front());
    MapFeature f;
    f.name = PathName(path.kind);
    f.style = MapFeatureStyle::PathBand;
    f.beginUt = FormatInstant(std::min(north.front().jd, south.front().jd));
    f.endUt = FormatInstant(std::max(north.back().jd, south.back().jd));
    f.rings = SplitRingAtAntimeridian(ring);
    f.properties = GreatestProperties(path);
    if (f.rings.empty())
        return std::nullopt;
    return f;
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

// A line's style in KML: its id, colour and width in pixels; a filled band's fill.
struct KmlStyle {
    MapFeatureStyle style;
    const char* id;
    MapColour line;
    int width;
};
constexpr KmlStyle kKmlStyles[] = {
    {MapFeatureStyle::Penumbra, "penumbra", map_palette::kPenumbra, 1},
    {MapFeatureStyle::PathBand, "pathBand", map_palette::kUmbra, 1},
    {MapFeatureStyle::CentralLine, "centralLine", map_palette::kCentralLine, 3},
    {MapFeatureStyle::PathLimit, "pathLimit", map_palette::kUmbra, 2},
    {MapFeatureStyle::PartialLimit, "partialLimit", map_palette::kPenumbra, 2},
    {MapFeatureStyle::RiseSetCurve, "riseSetCurve", map_palette::kRiseSetCurve, 2},
    {MapFeatureStyle::MaximumLine, "maximumLine", map_palette::kMaximumLine, 1},
    {MapFeatureStyle::RiseSetMaximum, "riseSetMaximum", map_palette::kRiseSetMaximum, 2},
    {MapFeatureStyle::MagnitudeLine, "magnitudeLine", map_palette::kMagnitudeLine, 1},
    {MapFeatureStyle::Greatest, "greatest", map_palette::kGreatest, 1},
};

const KmlStyle& StyleOf(MapFeatureStyle style) {
    for (const KmlStyle& s : kKmlStyles)
        if (s.style == style)
            return s;
    return kKmlStyles[0];
}

// KML's aabbggrr.
std::string KmlColour(const MapColour& c) {
    char text[16];
    std::snprintf(text, sizeof text, "%02x%02x%02x%02x", c.alpha, c.b, c.g, c.r);
    return text;
}

std::string KmlCoordinates(const std::vector<GeoPoint>& line) {
    std::string out = "<coordinates>";
    for (std::size_t k = 0; k < line.size(); ++k)
        out += (k ? " " : "") + Coordinate(line[k], "%.5f,%.5f");
    return out + "</coordinates>";
}

std::string JsonPositions(const std::vector<GeoPoint>& line) {
    std::string out = "[";
    for (std::size_t k = 0; k < line.size(); ++k)
        out += (k ? ", " : "") + Coordinate(line[k], "[%.5f, %.5f]");
    return out + "]";
}

} // namespace

std::vector<MapFeature> MapFeatures(const EclipsePath& path) {
    std::vector<MapFeature> out;
    if (path.kind == EclipseKind::None)
        return out;
    // Beneath the lines: the band of the path.
    if (auto band = PathBand(path))
        out.push_back(std::move(*band));
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
        const std::string ut = FormatInstant(jd);
        f.name = "Penumbra at " + ut.substr(ut.size() - 8, 5) + " UT";
        f.style = MapFeatureStyle::Penumbra;
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
        f.style = MapFeatureStyle::PathLimit;
        f.beginUt = FormatInstant(
            std::min(path.umbraNorth.front().front().jd, path.umbraSouth.front().front().jd));
        f.endUt = FormatInstant(
            std::max(path.umbraNorth.front().back().jd, path.umbraSouth.front().back().jd));
        f.lines = SplitAtAntimeridian(ring);
        out.push_back(std::move(f));
    }
    if (!path.centralLine.empty()) {
        MapFeature f;
        f.name = "Central line";
        f.style = MapFeatureStyle::CentralLine;
        f.beginUt = FormatInstant(path.centralLine.front().jd);
        f.endUt = FormatInstant(path.centralLine.back().jd);
        std::vector<GeoPoint> line;
        for (const PathRow& r : path.centralLine)
            line.push_back(r.central);
        f.lines = SplitAtAntimeridian(line);
        f.properties = GreatestProperties(path);
        out.push_back(std::move(f));
    }
    AddCurves(out, "Northern limit of the path", MapFeatureStyle::PathLimit, path.umbraNorth);
    AddCurves(out, "Southern limit of the path", MapFeatureStyle::PathLimit, path.umbraSouth);
    AddCurves(out, "Northern limit of the partial eclipse", MapFeatureStyle::PartialLimit,
              path.penumbraNorth);
    AddCurves(out, "Southern limit of the partial eclipse", MapFeatureStyle::PartialLimit,
              path.penumbraSouth);
    AddCurves(out, "Eclipse begins or ends at sunrise or sunset", MapFeatureStyle::RiseSetCurve,
              path.riseSetCurves);

    const MapCurves curves = ComputeMapCurves(path);
    for (const MaximumLine& line : curves.maximumLines) {
        MapFeature f;
        const std::string ut = FormatInstant(line.jd);
        f.name = "Maximum eclipse at " + ut.substr(11, 5) + " UT";
        f.style = MapFeatureStyle::MaximumLine;
        f.beginUt = f.endUt = ut;
        for (const auto& piece : line.pieces)
            for (auto& cut : SplitAtAntimeridian(piece))
                f.lines.push_back(std::move(cut));
        if (!f.lines.empty())
            out.push_back(std::move(f));
    }
    AddCurves(out, "Maximum eclipse at sunrise or sunset", MapFeatureStyle::RiseSetMaximum,
              curves.riseSetMaxima);
    for (const MagnitudeLine& line : curves.magnitudeLines) {
        const std::string magnitude = Number("%.1f", line.magnitude);
        const std::size_t first = out.size();
        AddCurves(out, "Magnitude " + magnitude + " at maximum eclipse",
                  MapFeatureStyle::MagnitudeLine, line.pieces);
        for (std::size_t k = first; k < out.size(); ++k)
            out[k].properties.push_back({"magnitude", magnitude, true});
    }

    MapFeature g;
    g.name = "Greatest eclipse";
    g.style = MapFeatureStyle::Greatest;
    g.beginUt = g.endUt = FormatInstant(path.greatest.jd);
    g.lines = {{path.greatest.point}};
    g.point = true;
    g.properties = GreatestProperties(path);
    g.properties.erase(g.properties.begin()); // its time is its own
    out.push_back(std::move(g));
    for (MapFeature& f : out)
        f.properties.push_back({"ephemeris", std::string(EphemerisName(path.engine))});
    return out;
}

std::string MapKml(const std::vector<MapFeature>& features, const std::string& title) {
    std::string out = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                      "<kml xmlns=\"http://www.opengis.net/kml/2.2\">\n<Document>\n<name>" +
                      XmlEscaped(title) + "</name>\n";
    for (const KmlStyle& s : kKmlStyles) {
        out += std::string("<Style id=\"") + s.id + "\">";
        if (s.style == MapFeatureStyle::Greatest) {
            out += "<IconStyle><color>" + KmlColour(s.line) + "</color></IconStyle>";
        } else {
            out += "<LineStyle><color>" + KmlColour(s.line) + "</color><width>" +
                   std::to_string(s.width) + "</width></LineStyle>";
        }
        if (s.style == MapFeatureStyle::PathBand)
            out += "<PolyStyle><color>" + KmlColour(map_palette::kPathBand) +
                   "</color><outline>1</outline></PolyStyle>";
        out += "</Style>\n";
    }
    for (const MapFeature& f : features) {
        out += "<Placemark>\n<name>" + XmlEscaped(f.name) + "</name>\n";
        std::string description = f.point || f.beginUt == f.endUt
                                      ? f.beginUt + " UT"
                                      : f.beginUt + " to " + f.endUt + " UT";
        for (const MapProperty& p : f.properties)
            description += ", " + p.key + " " + p.value;
        out += "<description>" + XmlEscaped(description) + "</description>\n";
        if (f.beginUt == f.endUt)
            out += "<TimeStamp><when>" + f.beginUt + "Z</when></TimeStamp>\n";
        else
            out += "<TimeSpan><begin>" + f.beginUt + "Z</begin><end>" + f.endUt +
                   "Z</end></TimeSpan>\n";
        out += std::string("<styleUrl>#") + StyleOf(f.style).id + "</styleUrl>\n";
        if (!f.properties.empty()) {
            out += "<ExtendedData>";
            for (const MapProperty& p : f.properties)
                out += "<Data name=\"" + XmlEscaped(p.key) + "\"><value>" + XmlEscaped(p.value) +
                       "</value></Data>";
            out += "</ExtendedData>\n";
        }
        if (f.point) {
            out += "<Point><coordinates>" + Coordinate(f.lines[0][0], "%.5f,%.5f") +
                   "</coordinates></Point>\n";
        } else {
            out += "<MultiGeometry>\n";
            for (const auto& ring : f.rings)
                out += "<Polygon><tessellate>1</tessellate><outerBoundaryIs><LinearRing>" +
                       KmlCoordinates(ring) + "</LinearRing></outerBoundaryIs></Polygon>\n";
            for (const auto& line : f.lines)
                out += "<LineString><tessellate>1</tessellate>" + KmlCoordinates(line) +
                       "</LineString>\n";
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
               "\", \"begin_ut\": \"" + f.beginUt + "\", \"end_ut\": \"" + f.endUt + "\"";
        for (const MapProperty& p : f.properties)
            out += ", \"" + JsonEscaped(p.key) +
                   "\": " + (p.number ? p.value : "\"" + JsonEscaped(p.value) + "\"");
        out += "}, \"geometry\": ";
        if (f.point) {
            out += "{\"type\": \"Point\", \"coordinates\": " +
                   Coordinate(f.lines[0][0], "[%.5f, %.5f]") + "}}";
            continue;
        }
        if (!f.rings.empty()) {
            // One part: a Polygon; parts on both sides of the antimeridian: a MultiPolygon.
            if (f.rings.size() == 1) {
                out += "{\"type\": \"Polygon\", \"coordinates\": [" +
                       JsonPositions(f.rings.front()) + "]}}";
            } else {
                out += "{\"type\": \"MultiPolygon\", \"coordinates\": [";
                for (std::size_t r = 0; r < f.rings.size(); ++r)
                    out += (r ? ", [" : "[") + JsonPositions(f.rings[r]) + "]";
                out += "]}}";
            }
            continue;
        }
        out += "{\"type\": \"MultiLineString\", \"coordinates\": [";
        for (std::size_t l = 0; l < f.lines.size(); ++l)
            out += (l ? ", " : "") + JsonPositions(f.lines[l]);
        out += "]}}";
    }
    out += "\n]}\n";
    return out;
}
