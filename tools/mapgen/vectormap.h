// The program's vector base map: land rings and country borders of Natural Earth at
// 1:110m and 1:50m, in the format of geo/vector_map.h.
#pragma once

#include <QString>

namespace mapgen {

// Reads land-110m.json, land-50m.json, countries-110m.json and countries-50m.json from
// atlasDir and writes the vector map to outPath. On failure returns false with the reason
// in error.
bool WriteVectorBaseMap(const QString& atlasDir, const QString& outPath, QString& error);

} // namespace mapgen
