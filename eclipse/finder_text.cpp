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

// An instant split into its civil date and the time of day, rounded to the last
// decimal shown first so that 23:59:59.7 becomes 00:00:00 of the next day.
struct DateAndTime {
    CalendarDate date;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int tenths = 0;
};

DateAndTime SplitInstant(double jd, int decimals = 0) {
    DateAndTime t;
    const double units = decimals > 0 ? 10.0 : 1.0;
    // Units since the 0h UT that begins JD day 0 (JD -0.5); beyond the years the
    // program computes for the result is meaningless but defined.
    const double count = std::round((jd + 0.5) * kSecondsPerDay * units);
    if (!(std::fabs(count) < 1.0e15))
        return t;
    const double unitsPerDay = kSecondsPerDay * units;
    const double day = std::floor(count / unitsPerDay);
    const long long inDay = static_cast<long long>(count - day * unitsPerDay);
    const long long secondOfDay = decimals > 0 ? inDay / 10 : inDay;
    t.date = JulianDayToCalendarDate(day - 0.5 + 0.5 / 24.0);
    t.hour = static_cast<int>(secondOfDay / 3600);
    t.minute = static_cast<int>(secondOfDay / 60 % 60);
    t.second = static_cast<int>(secondOfDay % 60);
    t.tenths = decimals > 0 ? static_cast<int>(inDay % 10) : 0;
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
    f[3] = FixedNumber(c.deltaT, 1);
    f[4] = std::string(1, EclipseKindLetter(c.type));
    f[5] = FixedNumber(c.gamma, 4);
    f[6] = FixedNumber(c.magnitude, 4);
    f[7] = FixedNumber(c.lat, 2);
    f[8] = FixedNumber(c.lon, 2);
    f[9] = FixedNumber(c.sunAltitude, 1);
    f[10] = FixedNumber(c.sunAzimuth, 1);
    if (c.hasPathWidth)
        f[11] = FixedNumber(c.pathWidthKm, 1);
    if (c.central)
        f[12] = FixedNumber(c.centralDurationS, 0);
    f[13] = std::to_string(c.saros);
    f[14] = std::to_string(c.lunation);
    return f;
}

std::string EclipsesCsv(const std::vector<EclipseCircumstances>& eclipses) {
    std::string out;
    for (std::size_t i = 0; i < kEclipseColumnCount; ++i)
        out += std::string(kEclipseColumns[i]) + ",";
    out += "ephemeris\n";
    for (const EclipseCircumstances& c : eclipses) {
        for (const std::string& field : EclipseFields(c))
            out += field + ",";
        out += std::string(EphemerisName(c.engine)) + "\n";
    }
    return out;
}

std::string FixedNumber(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    // No "-0.0": a value that rounds to zero is printed without a sign.
    std::string s = text;
    if (s[0] == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

std::string JsonMembers(std::span<const char* const> names, std::span<const std::string> fields,
                        const std::function<bool(std::size_t column)>& isNumber) {
    std::string out;
    for (std::size_t i = 0; i < names.size() && i < fields.size(); ++i) {
        out += i == 0 ? "\"" : ", \"";
        out += names[i];
        out += "\": ";
        if (fields[i].empty())
            out += "null";
        else if (isNumber(i))
            out += fields[i];
        else
            out += "\"" + fields[i] + "\"";
    }
    return out;
}

std::string EclipsesJson(const std::vector<EclipseCircumstances>& eclipses) {
    std::string out = "[";
    for (std::size_t e = 0; e < eclipses.size(); ++e) {
        const auto fields = EclipseFields(eclipses[e]);
        out += e == 0 ? "\n  {" : ",\n  {";
        out += JsonMembers(kEclipseColumns, fields, EclipseColumnIsNumber);
        out += ", \"ephemeris\": \"" + std::string(EphemerisName(eclipses[e].engine)) + "\"}";
    }
    out += eclipses.empty() ? "]\n" : "\n]\n";
    return out;
}

std::string FormatInstant(double jd, int decimals) {
    if (!std::isfinite(jd) || std::fabs(jd) > 1e8)
        return "";
    const DateAndTime t = SplitInstant(jd, decimals);
    std::string text = FormatDate(t.date) + "T" + FormatTime(t);
    if (decimals > 0)
        text += "." + std::to_string(t.tenths);
    return text;
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
    lines.emplace_back("delta_t_sigma_s", FixedNumber(c.deltaTSigma, 1));
    lines.emplace_back("lon_sigma_deg", FixedNumber(c.lonSigma, 4));
    lines.emplace_back("ephemeris", std::string(EphemerisName(c.engine)));
    const PolynomialElements& p = c.elements;
    const std::pair<const char*, const ElementPolynomial*> polynomials[] = {
        {"x", &p.x}, {"y", &p.y}, {"d", &p.d}, {"l1", &p.l1}, {"l2", &p.l2}, {"mu", &p.mu}};
    for (const auto& [name, terms] : polynomials)
        for (std::size_t k = 0; k < terms->size(); ++k)
            lines.emplace_back(name + std::to_string(k), Number((*terms)[k]));
    lines.emplace_back("tanf1", Number(p.tanF1));
    lines.emplace_back("tanf2", Number(p.tanF2));
    lines.emplace_back("t0", Number(p.t0Hour));
    return lines;
}

std::string EclipseSummary(const EclipseCircumstances& c) {
    const char* name = c.type == EclipseKind::Total     ? "Total"
                       : c.type == EclipseKind::Annular ? "Annular"
                       : c.type == EclipseKind::Hybrid  ? "Hybrid"
                                                        : "Partial";
    const auto fields = EclipseFields(c);
    char place[96];
    std::snprintf(place, sizeof place, "%.1f\u00b0 %c %.1f\u00b0 %c", std::fabs(c.lat),
                  c.lat < 0.0 ? 'S' : 'N', std::fabs(c.lon), c.lon < 0.0 ? 'W' : 'E');
    std::string text =
        std::string(name) + " solar eclipse: greatest " + fields[1] + " UT at " + place;
    if (c.central) {
        const long long seconds = std::llround(std::fmin(c.centralDurationS, 1.0e6));
        const char* phase = c.magnitude >= 1.0 ? "totality" : "annularity";
        char duration[64];
        std::snprintf(duration, sizeof duration, ", %s %lld min %02lld s", phase, seconds / 60,
                      seconds % 60);
        text += duration;
    } else {
        text += ", magnitude " + FixedNumber(c.magnitude, 3);
    }
    return text + " (" + std::string(EphemerisName(c.engine)) + " ephemeris)";
}

CalendarDate GreatestEclipseDate(const EclipseCircumstances& c) {
    return SplitInstant(c.jdGreatestUT).date;
}
