#include "export/lunar_export.h"

#include "eclipse/finder_text.h"
#include "eclipse/lunar_map.h"
#include "geo/antimeridian.h"

#include <string>

namespace {

// The theories every feature was computed with.
std::vector<MapProperty> Theories(const LunarEclipse& eclipse) {
    return {{"ephemeris", std::string(EphemerisName(eclipse.elements.engine)), false},
            {"shadow", std::string(ShadowRuleName(eclipse.elements.rule)), false}};
}

} // namespace

std::vector<MapFeature> LunarMapFeatures(const LunarEclipse& eclipse) {
    std::vector<MapFeature> out;
    for (const MoonHorizonCurve& c : MoonHorizonCurves(eclipse)) {
        MapFeature f;
        f.name = "Moon on the horizon at " + c.label;
        f.beginUt = FormatInstant(c.jdUT);
        f.endUt = f.beginUt;
        // The Moon rises or sets on the curve as the Sun does on the solar map's.
        f.style = MapFeatureStyle::RiseSetCurve;
        f.lines = SplitAtAntimeridian(c.points);
        f.properties = Theories(eclipse);
        f.properties.push_back({"contact", c.label, false});
        out.push_back(std::move(f));
    }
    MapFeature point;
    point.name = "Sub-lunar point at greatest eclipse";
    point.beginUt = FormatInstant(eclipse.jdGreatestUT);
    point.endUt = point.beginUt;
    point.style = MapFeatureStyle::Greatest;
    point.lines = {{GeoPoint{eclipse.sublunarLat, eclipse.sublunarLon}}};
    point.point = true;
    point.properties = Theories(eclipse);
    out.push_back(std::move(point));
    return out;
}
