#include "view/local_texts.h"

#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"
#include "places/zone_time.h"

#include <cmath>
#include <cstdio>
#include <optional>

namespace {

constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

std::string Format(const char* format, double a, double b) {
    char text[96];
    std::snprintf(text, sizeof text, format, a, b);
    return text;
}

// "17:23:23.5" of the UT instant (the time part of the ISO text).
std::string TimeOfDayUT(double jdUT) {
    const std::string iso = FormatInstant(jdUT, 1);
    const std::size_t t = iso.find('T');
    return t == std::string::npos ? iso : iso.substr(t + 1);
}

std::string KindSentence(EclipseKind kind) {
    switch (kind) {
    case EclipseKind::Total:
        return "Total eclipse.";
    case EclipseKind::Annular:
        return "Annular eclipse.";
    case EclipseKind::Partial:
        return "Partial eclipse.";
    default:
        break;
    }
    return "No eclipse.";
}

// "First contact:  16:56:04.0 UT  11:56:04.0 CDT" and under it the Sun's altitude and
// azimuth; no tabs, which a message box spreads over its width.
std::string EventLine(const char* name, const LocalEvent& e, const CivilTimeText& civilTime) {
    std::string line = std::string(name) + ":  " + TimeOfDayUT(e.jdUT) + " UT";
    const std::string civil = civilTime ? civilTime(e.jdUT) : std::string();
    if (!civil.empty())
        line += "  " + civil;
    line += Format("\n      Sun %.1f° high, az. %.1f°", e.sun.altitude, e.sun.azimuth);
    if (!e.sun.aboveHorizon)
        line += " (below the horizon)";
    return line + "\n";
}

} // namespace

std::string EclipseDateText(double jdUT) {
    const CalendarDate d = JulianDayToCalendarDate(jdUT);
    if (d.month < 1 || d.month > 12)
        return "?";
    return std::to_string(d.year) + " " + kMonthNames[d.month - 1] + " " + std::to_string(d.day);
}

std::string PositionText(double latitude, double longitude) {
    return Format("%.3f° ", std::fabs(latitude), 0.0) + (latitude < 0.0 ? "S" : "N") +
           Format(", %.3f° ", std::fabs(longitude), 0.0) + (longitude < 0.0 ? "W" : "E");
}

std::string LocalCircumstancesText(const LocalReport& r, const CivilTimeText& civilTime) {
    const LocalCircumstances& lc = r.local;
    std::string text = "Solar eclipse of " + EclipseDateText(r.greatestJdUT) + "\n";
    text += r.placeName.empty() ? PositionText(r.latitude, r.longitude)
                                : r.placeName + " (" + PositionText(r.latitude, r.longitude) + ")";
    text += "\n";
    if (r.heightM)
        text += Format("Height: %.0f m", *r.heightM, 0.0) +
                (r.heightSource.empty() ? "" : " (" + r.heightSource + ")") + "\n";
    if (!r.zoneText.empty())
        text += "Time zone: " + r.zoneText + "\n";
    text += "\n";
    if (lc.kind == EclipseKind::None || !lc.c1 || !lc.max || !lc.c4) {
        text += "The eclipse is not seen here: the Moon's shadow does not reach this place.\n";
        return text;
    }
    if (lc.visible)
        text += KindSentence(lc.kind) + "\n";
    else
        text += "The eclipse is not seen here: the Sun is below the horizon while the Moon's "
                "shadow passes.\n";
    text += "\n";
    text += EventLine("First contact", *lc.c1, civilTime);
    if (lc.c2)
        text += EventLine("Second contact", *lc.c2, civilTime);
    text += EventLine("Maximum", *lc.max, civilTime);
    if (lc.c3)
        text += EventLine("Third contact", *lc.c3, civilTime);
    text += EventLine("Last contact", *lc.c4, civilTime);
    text += "\n";
    text +=
        Format("Magnitude:\t%.4f\nObscuration:\t%.1f %%\n", lc.magnitude, lc.obscuration * 100.0);
    if (lc.kind == EclipseKind::Total || lc.kind == EclipseKind::Annular) {
        const double seconds = std::round(lc.duration * 10.0) / 10.0;
        const double minutes = std::floor(seconds / 60.0);
        text += std::string(lc.kind == EclipseKind::Total ? "Duration of totality:\t"
                                                          : "Duration of annularity:\t") +
                Format("%.0f min %04.1f s\n", minutes, seconds - 60.0 * minutes);
    }
    text +=
        Format("Contact times \u00b1%.1f s (the uncertainty of \u0394T).\n", lc.contactSigma, 0.0);
    text += "The Sun's altitude without refraction; azimuth (az.) from north through east.\n";
    text += "Computed with the " + std::string(EphemerisName(r.engine)) + " ephemeris.\n";
    return text;
}
