#pragma once

// The central line of an eclipse as text: CSV and JSON tables of its rows.

#include "eclipse/path.h"

#include <string>

// Why an eclipse path has no central line ("no solar eclipse", "partial eclipse", ...).
std::string NoCentralLineReason(const EclipsePath& path);

// The header line, then one row per instant of the central line; the last column
// names the engine the path was computed with.
inline constexpr const char* kPathCsvHeader =
    "ut,central_lat,central_lon,north_lat,north_lon,south_lat,south_lon,width_km,"
    "limits_distance_km,duration_s,sun_alt,ephemeris";
std::string PathTableCsv(const EclipsePath& path);

// The same as a JSON object: kind, ephemeris, Delta T with its uncertainty and
// the east-west uncertainty of the path it gives, greatest eclipse and the rows
// (null where a limit does not exist).
std::string PathTableJson(const EclipsePath& path);
