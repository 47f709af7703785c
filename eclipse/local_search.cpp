#include "eclipse/local_search.h"

#include "eclipse/finder.h"

#include <cmath>

std::vector<LocalEclipse> LocalEclipsesBetween(double jdFromUT, double jdToUT, const Observer& o,
                                               const std::function<bool(const LocalEclipse&)>& keep,
                                               std::size_t most, Ephemeris engine) {
    std::vector<LocalEclipse> found;
    if (!(std::fabs(jdFromUT) < 1e8) || !(std::fabs(jdToUT) < 1e8) || !(jdFromUT < jdToUT))
        return found;
    const int last = LunationNear(jdToUT) + 1;
    for (int k = LunationNear(jdFromUT) - 1; k <= last && found.size() < most; ++k) {
        const std::optional<EclipseCircumstances> c = EclipseOfLunation(k, engine);
        if (!c || c->jdGreatestUT < jdFromUT || c->jdGreatestUT >= jdToUT)
            continue;
        LocalEclipse seen{*c, ComputeLocalCircumstances(c->elements, o)};
        if (seen.local.kind != EclipseKind::None && seen.local.visible && keep(seen))
            found.push_back(std::move(seen));
    }
    return found;
}
