#include "export/lunar_export.h"

#include "eclipse/lunar_map.h"
#include "export/path_table.h"
#include "render/antimeridian.h"

std::vector<MapFeature> LunarMapFeatures(const LunarEclipse& eclipse) {
    std::vector<MapFeature> out;
    for (const MoonHorizonCurve& c : MoonHorizonCurves(eclipse)) {
        MapFeature f;
        f.name = "Moon on the horizon at " + c.label;
        f.beginUt = IsoUt(c.jdUT);
        f.endUt = f.beginUt;
        f.lines = SplitAtAntimeridian(c.points);
        out.push_back(std::move(f));
    }
    MapFeature point;
    // The map's one point names the theories it was computed with.
    point.name = "Sub-lunar point at greatest eclipse (ephemeris " +
                 std::string(EphemerisName(eclipse.elements.engine)) + ", shadow " +
                 std::string(ShadowRuleName(eclipse.elements.rule)) + ")";
    point.beginUt = IsoUt(eclipse.jdGreatestUT);
    point.endUt = point.beginUt;
    point.lines = {{GeoPoint{eclipse.sublunarLat, eclipse.sublunarLon}}};
    point.point = true;
    out.push_back(std::move(point));
    return out;
}
