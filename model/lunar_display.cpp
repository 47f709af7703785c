#include "model/lunar_display.h"

#include "eclipse/finder_text.h"
#include "eclipse/lunar_map.h"
#include "eclipse/lunar_text.h"
#include "eclipse/polynomial_fit.h"
#include "ephemeris/constants.h"

#include <cmath>
#include <cstdio>

PathLayer MakeLunarPathLayer(const LunarEclipse& eclipse, double south, double north) {
    PathLayer layer;
    for (const MoonHorizonCurve& c : MoonHorizonCurves(eclipse)) {
        std::vector<MapPlace> line;
        line.reserve(c.points.size());
        for (const GeoPoint& p : c.points)
            line.push_back({p.lat, p.lon});
        const std::size_t first = layer.lines.size();
        AddPathLine(layer, PathLineKind::MoonVisibility, line, south, north);
        // The label goes with the longest piece of the curve.
        std::size_t longest = first;
        for (std::size_t i = first; i < layer.lines.size(); ++i)
            if (layer.lines[i].points.size() > layer.lines[longest].points.size())
                longest = i;
        if (longest < layer.lines.size())
            layer.lines[longest].label = c.label;
    }
    layer.umbral = eclipse.kind != EclipseKind::Penumbral;
    if (eclipse.sublunarLat >= south && eclipse.sublunarLat <= north)
        layer.greatest = MapPlace{eclipse.sublunarLat, eclipse.sublunarLon};
    return layer;
}

LunarDiagram MakeLunarDiagram(const LunarEclipse& eclipse) {
    LunarDiagram d;
    const LunarElements& e = eclipse.elements;
    const auto hoursOf = [&](double jdUT) {
        return ((jdUT - e.jdT0) * kSecondsPerDay + e.deltaT) / 3600.0;
    };
    const auto place = [&](double jdUT) {
        const double t = hoursOf(jdUT);
        return DiagramPoint{EvaluatePolynomial(e.x, t), EvaluatePolynomial(e.y, t)};
    };
    const LunarContacts& k = eclipse.contacts;
    if (!k.p1 || !k.p4)
        return d;
    const double tg = hoursOf(eclipse.jdGreatestUT);
    d.penumbraRadius = EvaluatePolynomial(e.penumbra, tg);
    d.umbraRadius = EvaluatePolynomial(e.umbra, tg);
    d.moonRadius = kLunarRadius;
    constexpr int kSteps = 48;
    for (int i = 0; i <= kSteps; ++i)
        d.track.push_back(place(*k.p1 + (*k.p4 - *k.p1) * i / kSteps));
    const std::pair<const char*, std::optional<double>> moons[] = {
        {"P1", k.p1}, {"U1", k.u1}, {"U2", k.u2}, {"Greatest", eclipse.jdGreatestUT},
        {"U3", k.u3}, {"U4", k.u4}, {"P4", k.p4}};
    for (const auto& [label, jd] : moons)
        if (jd)
            d.moons.push_back({place(*jd), label});
    const char* kind = eclipse.kind == EclipseKind::Total     ? "Total"
                       : eclipse.kind == EclipseKind::Partial ? "Partial"
                                                              : "Penumbral";
    d.title = std::string(kind) + " lunar eclipse " + LunarFields(eclipse)[0];
    d.anchorLat = -eclipse.sublunarLat;
    d.anchorLon = std::remainder(eclipse.sublunarLon + 180.0, 360.0);
    return d;
}

std::string LunarLocalText(const LunarEclipse& eclipse, double latitude, double longitude,
                           const LunarLocalCircumstances& local, const CivilTimeText& civilTime) {
    const char* kind = eclipse.kind == EclipseKind::Total     ? "Total"
                       : eclipse.kind == EclipseKind::Partial ? "Partial"
                                                              : "Penumbral";
    std::string text = std::string(kind) + " lunar eclipse of " +
                       EclipseDateText(eclipse.jdGreatestUT) + "\nSeen from " +
                       PositionText(latitude, longitude) + "\n\n";
    const char* phase = eclipse.kind == EclipseKind::Penumbral ? "penumbral" : "umbral";
    text += local.visible
                ? std::string("Visible: the Moon is up during the ") + phase + " phase.\n\n"
                : std::string("Not visible: the Moon is below the horizon during "
                              "the ") +
                      phase + " phase.\n\n";
    for (const LunarLocalEvent& e : local.events) {
        const std::string instant = FormatInstant(e.jdUT);
        const std::string civil = civilTime ? civilTime(e.jdUT) : std::string();
        char line[160];
        std::snprintf(line, sizeof line,
                      "%-8s %s UT%s%s   Moon %.1f\u00b0 high, az. %.0f\u00b0%s\n",
                      e.name == "greatest" ? "Greatest" : e.name.c_str(),
                      instant.substr(instant.find('T') + 1).c_str(), civil.empty() ? "" : ", ",
                      civil.c_str(), e.moon.apparentAltitude, e.moon.azimuth,
                      e.moon.aboveHorizon ? "" : " (below the horizon)");
        text += line;
    }
    text += "\nAltitudes of the Moon's centre with standard refraction.";
    return text;
}
