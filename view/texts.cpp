#include "view/texts.h"

#include "ephemeris/timescales.h"

#include <cstdio>

std::string FormatStepTime(double jd) {
    int hours = 0;
    int minutes = 0;
    SplitHoursToMinutes(JulianDayToHours(jd), hours, minutes);
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d", hours, minutes);
    return text;
}

std::array<std::string, 4> ContactLines(const ContactTimes& c) {
    const auto time = [&](int step) { return FormatStepTime(ContactStepJD(c, step)); };
    const std::string umbraIn = c.umbral ? time(c.firstUmbraStep) : "--:--";
    const std::string umbraOut = c.umbral ? time(c.lastUmbraStep) : "--:--";
    return {
        "Moon enters penumbra:  " + time(c.firstPenumbraStep),
        "Moon leaves penumbra:  " + time(c.lastPenumbraStep),
        "Moon enters totality:  " + umbraIn,
        "Moon leaves totality:  " + umbraOut,
    };
}

std::string NoEclipseMessage(const std::string& day, const std::string& month,
                             const std::string& year) {
    return "By date:\t" + day + "." + month + "." + year + "\nSolar Eclipses isn't possibly";
}
