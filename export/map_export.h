#pragma once

// The eclipse map as named features for other programs: the hourly penumbra
// outlines, the umbral path's outline, the central line, the limits of the
// path and of the partial eclipse, the sunrise and sunset curves and the point
// of greatest eclipse, written as KML 2.2 or GeoJSON (RFC 7946). Lines are
// split where they cross the antimeridian. Every feature names the ephemeris the
// path was computed with (KML ExtendedData, a GeoJSON property). No Qt here.

#include "eclipse/path.h"

#include <string>
#include <vector>

struct MapFeature {
    std::string name;    // e.g. "Central line"
    std::string beginUt; // ISO UT of the first point ("" if none)
    std::string endUt;   // ISO UT of the last point; equal to beginUt for a point
    std::vector<std::vector<GeoPoint>> lines; // a point feature: one line of one point
    bool point = false;
    std::string ephemeris; // the engine of the path ("precise"), a property of every feature
};

std::vector<MapFeature> MapFeatures(const EclipsePath& path);

std::string MapKml(const std::vector<MapFeature>& features, const std::string& title);
std::string MapGeoJson(const std::vector<MapFeature>& features);
