#include "eclipse/contacts.h"

#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"
#include "ephemeris/timescales.h"

#include <cstdio>

CShadowModel MakeShadowModel(const CEphemeris& e) {
    return CShadowModel(e.m_sunRAHours, e.m_sunDec, e.m_moonRAHours, e.m_moonDec, e.m_sunDistance,
                        e.m_moonParallax, e.m_jdSeries, 0.0, 0.0);
}

std::string FormatStepTime(double jd) {
    int hours = 0;
    int minutes = 0;
    SplitHoursToMinutes(JulianDayToHours(jd), hours, minutes);
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d", hours, minutes);
    return text;
}

ContactTimes FindContactTimes(const CShadowModel& model) {
    ContactTimes c;
    if (model.m_penumbraHits.empty())
        return c;
    c.eclipse = true;
    c.firstPenumbraStep = model.m_penumbraHits.front();
    c.lastPenumbraStep = model.m_penumbraHits.back();
    c.umbral = !model.m_umbraHits.empty();

    const auto time = [&](int step) {
        return FormatStepTime(model.m_stepJD[static_cast<std::size_t>(step)]);
    };
    std::string umbraIn = "--:--";
    std::string umbraOut = "--:--";
    if (c.umbral) {
        c.firstUmbraStep = model.m_umbraHits.front();
        c.lastUmbraStep = model.m_umbraHits.back();
        umbraIn = time(c.firstUmbraStep);
        umbraOut = time(c.lastUmbraStep);
    }
    c.lines = {
        "Moon enters penumbra:  " + time(c.firstPenumbraStep),
        "Moon leaves penumbra:  " + time(c.lastPenumbraStep),
        "Moon enters totality:  " + umbraIn,
        "Moon leaves totality:  " + umbraOut,
    };
    return c;
}

std::string NoEclipseMessage(const std::string& day, const std::string& month,
                             const std::string& year) {
    return "By date:\t" + day + "." + month + "." + year + "\nSolar Eclipses isn't possibly";
}
