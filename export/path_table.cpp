#include "export/path_table.h"

#include "eclipse/finder_text.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <cmath>
#include <cstdio>

namespace {

std::string Format(const char* format, double value) {
    char text[64];
    std::snprintf(text, sizeof text, format, value);
    // A value that rounds to zero is written without a minus sign.
    const std::string s = text;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        return s.substr(1);
    return s;
}

std::string OptionalCoordinate(const std::optional<GeoPoint>& p, bool latitude,
                               const char* missing) {
    if (!p)
        return missing;
    return Format("%.4f", latitude ? p->lat : p->lon);
}

} // namespace

std::string NoCentralLineReason(const EclipsePath& path) {
    switch (path.kind) {
    case EclipseKind::None:
        return "no solar eclipse has its greatest phase on this date";
    case EclipseKind::Partial:
        return "the eclipse is partial: the umbra misses the Earth";
    default:
        return std::string("the ") + EclipseKindName(path.kind) +
               " eclipse is not central: the shadow axis misses the Earth";
    }
}

std::string PathTableCsv(const EclipsePath& path) {
    std::string out = std::string(kPathCsvHeader) + "\n";
    for (const PathRow& r : path.centralLine) {
        out += FormatInstant(r.jd) + "," + Format("%.4f", r.central.lat) + "," +
               Format("%.4f", r.central.lon) + "," + OptionalCoordinate(r.north, true, "") + "," +
               OptionalCoordinate(r.north, false, "") + "," +
               OptionalCoordinate(r.south, true, "") + "," +
               OptionalCoordinate(r.south, false, "") + "," + Format("%.1f", r.widthKm) + "," +
               (r.limitsDistanceKm > 0.0 ? Format("%.1f", r.limitsDistanceKm) : "") + "," +
               Format("%.1f", r.durationSeconds) + "," + Format("%.1f", r.sunAltitude) + "," +
               std::string(EphemerisName(path.engine)) + "\n";
    }
    return out;
}

std::string PathTableJson(const EclipsePath& path) {
    const GreatestEclipse& g = path.greatest;
    std::string out = "{\n  \"kind\": \"" + std::string(EclipseKindName(path.kind)) + "\",\n";
    out += "  \"ephemeris\": \"" + std::string(EphemerisName(path.engine)) + "\",\n";
    const double sigma = DeltaTUncertaintySeconds(g.jd);
    out += "  \"delta_t_s\": " + Format("%.1f", path.elements.deltaT) +
           ", \"delta_t_sigma_s\": " + Format("%.1f", sigma) +
           ", \"lon_sigma_deg\": " + Format("%.4f", sigma * kSiderealDegreesPerSecond) + ",\n";
    out += "  \"greatest\": {\"ut\": \"" + FormatInstant(g.jd) +
           "\", \"lat\": " + Format("%.4f", g.point.lat) +
           ", \"lon\": " + Format("%.4f", g.point.lon) + ", \"gamma\": " + Format("%.5f", g.gamma) +
           "},\n  \"rows\": [";
    bool first = true;
    for (const PathRow& r : path.centralLine) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "    {\"ut\": \"" + FormatInstant(r.jd) +
               "\", \"central_lat\": " + Format("%.4f", r.central.lat) +
               ", \"central_lon\": " + Format("%.4f", r.central.lon) +
               ", \"north_lat\": " + OptionalCoordinate(r.north, true, "null") +
               ", \"north_lon\": " + OptionalCoordinate(r.north, false, "null") +
               ", \"south_lat\": " + OptionalCoordinate(r.south, true, "null") +
               ", \"south_lon\": " + OptionalCoordinate(r.south, false, "null") +
               ", \"width_km\": " + Format("%.1f", r.widthKm) + ", \"limits_distance_km\": " +
               (r.limitsDistanceKm > 0.0 ? Format("%.1f", r.limitsDistanceKm) : "null") +
               ", \"duration_s\": " + Format("%.1f", r.durationSeconds) +
               ", \"sun_alt\": " + Format("%.1f", r.sunAltitude) + "}";
    }
    out += "\n  ]\n}\n";
    return out;
}
