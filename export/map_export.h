#pragma once

// The eclipse map as named features for other programs: the path of totality or
// annularity as a polygon between its limits, the hourly penumbra outlines, the
// umbral path's outline, the central line, the limits of the path and of the partial
// eclipse, the sunrise and sunset curves, the lines of maximum eclipse every ten
// minutes, the curves of maximum at sunrise and sunset, the lines of equal magnitude
// and the point of greatest eclipse, written as KML 2.2 (with styles in the map's
// colours) or GeoJSON (RFC 7946). Lines and polygons are cut where they cross the
// antimeridian. Every feature names the ephemeris the path was computed with
// (a property "ephemeris": KML ExtendedData, a GeoJSON property). No Qt here.

#include "eclipse/path.h"

#include <string>
#include <vector>

enum class MapFeatureStyle {
    Penumbra, // an hourly outline of the penumbra
    PathBand, // the path between its limits
    CentralLine,
    PathLimit,      // the limits of the path and its outline
    PartialLimit,   // the limits of the partial eclipse
    RiseSetCurve,   // the eclipse begins or ends at sunrise or sunset
    MaximumLine,    // maximum eclipse at one instant
    RiseSetMaximum, // maximum eclipse at sunrise or sunset
    MagnitudeLine,  // equal magnitude at maximum eclipse
    Greatest,       // the point of greatest eclipse
};

// A value shown with a feature: a number (written as such) or a text.
struct MapProperty {
    std::string key;
    std::string value; // a number already formatted, or a text
    bool number = false;
};

struct MapFeature {
    std::string name;    // e.g. "Central line"
    std::string beginUt; // ISO UT of the first point ("" if none)
    std::string endUt;   // ISO UT of the last point; equal to beginUt for a point
    MapFeatureStyle style = MapFeatureStyle::CentralLine;
    std::vector<std::vector<GeoPoint>> lines; // a point feature: one line of one point
    // A polygon feature: its closed rings (first point repeated last), each a part of
    // its own (outer ring, counter-clockwise), cut at the antimeridian.
    std::vector<std::vector<GeoPoint>> rings;
    bool point = false;
    std::vector<MapProperty> properties; // beyond name and times
};

std::vector<MapFeature> MapFeatures(const EclipsePath& path);

std::string MapKml(const std::vector<MapFeature>& features, const std::string& title);
std::string MapGeoJson(const std::vector<MapFeature>& features);
