#include "export/path_table.h"

#include "eclipse/finder_text.h"
#include "ephemeris/constants.h"
#include "ephemeris/delta_t.h"

#include <cmath>
#include <cstdio>

namespace {

std::string OptionalCoordinate(const std::optional<GeoPoint>& p, bool latitude,
                               const char* missing) {
    if (!p)
        return missing;
    return FixedNumber(latitude ? p->lat : p->lon, 4);
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
        out += FormatInstant(r.jd) + "," + FixedNumber(r.central.lat, 4) + "," +
               FixedNumber(r.central.lon, 4) + "," + OptionalCoordinate(r.north, true, "") + "," +
               OptionalCoordinate(r.north, false, "") + "," +
               OptionalCoordinate(r.south, true, "") + "," +
               OptionalCoordinate(r.south, false, "") + "," + FixedNumber(r.widthKm, 1) + "," +
               (r.limitsDistanceKm > 0.0 ? FixedNumber(r.limitsDistanceKm, 1) : "") + "," +
               FixedNumber(r.durationSeconds, 1) + "," + FixedNumber(r.sunAltitude, 1) + "," +
               std::string(EphemerisName(path.engine)) + "\n";
    }
    return out;
}

std::string PathTableJson(const EclipsePath& path) {
    const GreatestEclipse& g = path.greatest;
    std::string out = "{\n  \"kind\": \"" + std::string(EclipseKindName(path.kind)) + "\",\n";
    out += "  \"ephemeris\": \"" + std::string(EphemerisName(path.engine)) + "\",\n";
    const double sigma = DeltaTUncertaintySeconds(g.jd);
    out += "  \"delta_t_s\": " + FixedNumber(path.elements.deltaT, 1) +
           ", \"delta_t_sigma_s\": " + FixedNumber(sigma, 1) +
           ", \"lon_sigma_deg\": " + FixedNumber(sigma * kSiderealDegreesPerSecond, 4) + ",\n";
    out += "  \"greatest\": {\"ut\": \"" + FormatInstant(g.jd) +
           "\", \"lat\": " + FixedNumber(g.point.lat, 4) +
           ", \"lon\": " + FixedNumber(g.point.lon, 4) + ", \"gamma\": " + FixedNumber(g.gamma, 5) +
           "},\n  \"rows\": [";
    bool first = true;
    for (const PathRow& r : path.centralLine) {
        out += first ? "\n" : ",\n";
        first = false;
        out += "    {\"ut\": \"" + FormatInstant(r.jd) +
               "\", \"central_lat\": " + FixedNumber(r.central.lat, 4) +
               ", \"central_lon\": " + FixedNumber(r.central.lon, 4) +
               ", \"north_lat\": " + OptionalCoordinate(r.north, true, "null") +
               ", \"north_lon\": " + OptionalCoordinate(r.north, false, "null") +
               ", \"south_lat\": " + OptionalCoordinate(r.south, true, "null") +
               ", \"south_lon\": " + OptionalCoordinate(r.south, false, "null") +
               ", \"width_km\": " + FixedNumber(r.widthKm, 1) + ", \"limits_distance_km\": " +
               (r.limitsDistanceKm > 0.0 ? FixedNumber(r.limitsDistanceKm, 1) : "null") +
               ", \"duration_s\": " + FixedNumber(r.durationSeconds, 1) +
               ", \"sun_alt\": " + FixedNumber(r.sunAltitude, 1) + "}";
    }
    out += "\n  ]\n}\n";
    return out;
}
