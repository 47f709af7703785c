#include "eclipse/finder_text.h"

#include "ephemeris/constants.h"
#include "ephemeris/timescales.h"

#include <cmath>
#include <cstdio>

const std::array<const char*, kEclipseColumnCount> kEclipseColumns = {"date",
                                                                      "greatest_ut",
                                                                      "greatest_tt",
                                                                      "delta_t_s",
                                                                      "type",
                                                                      "gamma",
                                                                      "magnitude",
                                                                      "lat",
                                                                      "lon",
                                                                      "sun_alt",
                                                                      "sun_az",
                                                                      "path_width_km",
                                                                      "central_duration_s",
                                                                      "saros",
                                                                      "lunation"};

namespace {

// An instant split into its civil date and the second of that day, rounded to
// the whole second first so that 23:59:59.7 becomes 00:00:00 of the next day.
struct DateAndTime {
    CalendarDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
};

DateAndTime SplitInstant(double jd) {
    DateAndTime t;
    // Seconds since the 0h UT that begins JD day 0 (JD -0.5); beyond the years
    // the program computes for the result is meaningless but defined.
    const double seconds = std::round((jd + 0.5) * kSecondsPerDay);
    if (!(std::fabs(seconds) < 1.0e15))
        return t;
    const double day = std::floor(seconds / kSecondsPerDay);
    const long long secondOfDay = static_cast<long long>(seconds - day * kSecondsPerDay);
    t.date = JulianDayToCalendarDate(day - 0.5 + 0.5 / 24.0);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    return t;
}

std::string FormatDate(const CalendarDate& d) {
    char text[32];
    if (d.year < 0)
        std::snprintf(text, sizeof text, "-%04d-%02d-%02d", -d.year, d.month, d.day);
    else
        std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

std::string FormatTime(const DateAndTime& t) {
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", t.hour, t.minute, t.second);
    return text;
}

std::string Fixed(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // No "-0.0": a value that rounds to zero is printed without a sign.
    std::string s = text;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

std::string Number(double value) {
    char text[64];
    std::snprintf(text, sizeof text, "%.10g", value);
    return text;
}

} // namespace

bool EclipseColumnIsNumber(std::size_t column) {
    return column == 3 || (column >= 5 && column < kEclipseColumnCount);
}

std::array<std::string, kEclipseColumnCount> EclipseFields(const EclipseCircumstances& c) {
    const DateAndTime ut = SplitInstant(c.jdGreatestUT);
    const DateAndTime tt = SplitInstant(c.jdGreatestTT);
    std::array<std::string, kEclipseColumnCount> f;
    f[0] = FormatDate(ut.date);
    f[1] = FormatTime(ut);
    // ΔT of a day and more (the remote past and future) puts TT on another date.
    const bool sameDate = tt.date.year == ut.date.year && tt.date.month == ut.date.month &&
                          tt.date.day == ut.date.day;
    f[2] = sameDate ? FormatTime(tt) : FormatDate(tt.date) + "T" + FormatTime(tt);
    f[3] = Fixed(c.deltaT, 1);
    f[4] = std::string(1, EclipseTypeLetter(c.type));
    f[5] = Fixed(c.gamma, 4);
    f[6] = Fixed(c.magnitude, 4);
    f[7] = Fixed(c.lat, 2);
    f[8] = Fixed(c.lon, 2);
    f[9] = Fixed(c.sunAltitude, 1);
    f[10] = Fixed(c.sunAzimuth, 1);
    if (c.hasPathWidth) {
        f[11] = Fixed(c.pathWidthKm, 1);
        f[12] = Fixed(c.centralDurationS, 0);
    }
    f[13] = std::to_string(c.saros);
    f[14] = std::to_string(c.lunation);
    return f;
}

std::string EclipsesCsv(const std::vector<EclipseCircumstances>& eclipses) {
    std::string out;
    for (std::size_t i = 0; i < kEclipseColumnCount; ++i) {
        out += kEclipseColumns[i];
        out += i + 1 < kEclipseColumnCount ? ',' : '\n';
    }
    for (const EclipseCircumstances& c : eclipses) {
        const auto fields = EclipseFields(c);
        for (std::size_t i = 0; i < kEclipseColumnCount; ++i) {
            out += fields[i];
            out += i + 1 < kEclipseColumnCount ? ',' : '\n';
        }
    }
    return out;
}

std::string EclipsesJson(const std::vector<EclipseCircumstances>& eclipses) {
    std::string out = "[";
    for (std::size_t e = 0; e < eclipses.size(); ++e) {
        const auto fields = EclipseFields(eclipses[e]);
        out += e == 0 ? "\n  {" : ",\n  {";
        for (std::size_t i = 0; i < kEclipseColumnCount; ++i) {
            out += i == 0 ? "\"" : ", \"";
            out += kEclipseColumns[i];
            out += "\": ";
            if (fields[i].empty())
                out += "null";
            else if (EclipseColumnIsNumber(i))
                out += fields[i];
            else
                out += "\"" + fields[i] + "\"";
        }
        out += "}";
    }
    out += eclipses.empty() ? "]\n" : "\n]\n";
    return out;
}

std::string FormatInstant(double jd) {
    const DateAndTime t = SplitInstant(jd);
    return FormatDate(t.date) + "T" + FormatTime(t);
}

std::vector<std::pair<std::string, std::string>> CircumstanceLines(const EclipseCircumstances& c) {
    std::vector<std::pair<std::string, std::string>> lines;
    const auto fields = EclipseFields(c);
    for (std::size_t i = 0; i < kEclipseColumnCount; ++i)
        if (!fields[i].empty())
            lines.emplace_back(kEclipseColumns[i], fields[i]);
    const std::pair<const char*, const ContactInstant*> contacts[] = {
        {"p1", &c.p1}, {"u1", &c.u1}, {"u2", &c.u2}, {"u3", &c.u3}, {"u4", &c.u4}, {"p4", &c.p4}};
    for (const auto& [name, contact] : contacts)
        if (contact->present)
            lines.emplace_back(name, FormatInstant(contact->jdUT));
    const PolynomialElements& p = c.elements;
    const std::pair<const char*, double> elements[] = {
        {"x0", p.x0},       {"x1", p.x1},    {"x2", p.x2},   {"x3", p.x3},   {"y0", p.y0},
        {"y1", p.y1},       {"y2", p.y2},    {"y3", p.y3},   {"d0", p.d0},   {"d1", p.d1},
        {"d2", p.d2},       {"l10", p.l10},  {"l11", p.l11}, {"l12", p.l12}, {"l20", p.l20},
        {"l21", p.l21},     {"l22", p.l22},  {"mu0", p.mu0}, {"mu1", p.mu1}, {"tanf1", p.tanF1},
        {"tanf2", p.tanF2}, {"t0", p.t0Hour}};
    for (const auto& [name, value] : elements)
        lines.emplace_back(name, Number(value));
    return lines;
}

std::string EclipseSummary(const EclipseCircumstances& c) {
    const char* names[] = {"Partial", "Annular", "Total", "Hybrid"};
    const auto fields = EclipseFields(c);
    char place[96];
    std::snprintf(place, sizeof place, "%.1f\u00b0 %c %.1f\u00b0 %c", std::fabs(c.lat),
                  c.lat < 0.0 ? 'S' : 'N', std::fabs(c.lon), c.lon < 0.0 ? 'W' : 'E');
    std::string text = std::string(names[static_cast<int>(c.type)]) + " solar eclipse: greatest " +
                       fields[1] + " UT at " + place;
    if (c.hasPathWidth) {
        const long long seconds = std::llround(std::fmin(c.centralDurationS, 1.0e6));
        const char* phase = c.magnitude >= 1.0 ? "totality" : "annularity";
        char duration[64];
        std::snprintf(duration, sizeof duration, ", %s %lld min %02lld s", phase, seconds / 60,
                      seconds % 60);
        text += duration;
    } else {
        text += ", magnitude " + Fixed(c.magnitude, 3);
    }
    return text;
}

CalendarDate GreatestEclipseDate(const EclipseCircumstances& c) {
    return SplitInstant(c.jdGreatestUT).date;
}
