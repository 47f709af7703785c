#include "eclipse/lunar_text.h"

#include "eclipse/finder_text.h"

#include <cmath>
#include <cstdio>

const std::array<const char*, kLunarColumnCount> kLunarColumns = {"date",
                                                                  "greatest_ut",
                                                                  "greatest_tt",
                                                                  "delta_t_s",
                                                                  "type",
                                                                  "gamma",
                                                                  "penumbral_magnitude",
                                                                  "umbral_magnitude",
                                                                  "p1",
                                                                  "u1",
                                                                  "u2",
                                                                  "u3",
                                                                  "u4",
                                                                  "p4",
                                                                  "penumbral_duration_s",
                                                                  "partial_duration_s",
                                                                  "total_duration_s",
                                                                  "saros",
                                                                  "sublunar_lat",
                                                                  "sublunar_lon",
                                                                  "delta_t_uncertainty_s",
                                                                  "lunation",
                                                                  "ephemeris",
                                                                  "shadow"};

namespace {

std::string Contact(const std::optional<double>& jd) {
    return jd ? FormatInstant(*jd) : std::string();
}

// The time of day of FormatInstant's "YYYY-MM-DDTHH:MM:SS".
std::string TimeOf(const std::string& instant) {
    return instant.substr(instant.find('T') + 1);
}

std::string DateOf(const std::string& instant) {
    return instant.substr(0, instant.find('T'));
}

} // namespace

bool LunarColumnIsNumber(std::size_t column) {
    return column == 3 || (column >= 5 && column <= 7) || (column >= 14 && column <= 21);
}

std::array<std::string, kLunarColumnCount> LunarFields(const LunarEclipse& c) {
    const std::string ut = FormatInstant(c.jdGreatestUT);
    std::array<std::string, kLunarColumnCount> f;
    f[0] = DateOf(ut);
    f[1] = TimeOf(ut);
    f[2] = TimeOf(FormatInstant(c.jdGreatestTT));
    f[3] = FixedNumber(c.deltaT, 1);
    f[4] = std::string(1, EclipseKindLetter(c.kind));
    f[5] = FixedNumber(c.gamma, 4);
    f[6] = FixedNumber(c.penumbralMagnitude, 4);
    f[7] = FixedNumber(c.umbralMagnitude, 4);
    const LunarContacts& k = c.contacts;
    f[8] = Contact(k.p1);
    f[9] = Contact(k.u1);
    f[10] = Contact(k.u2);
    f[11] = Contact(k.u3);
    f[12] = Contact(k.u4);
    f[13] = Contact(k.p4);
    f[14] = FixedNumber(c.penumbralDurationS, 0);
    if (k.u1 && k.u4)
        f[15] = FixedNumber(c.partialDurationS, 0);
    if (k.u2 && k.u3)
        f[16] = FixedNumber(c.totalDurationS, 0);
    f[17] = std::to_string(c.saros);
    f[18] = FixedNumber(c.sublunarLat, 2);
    f[19] = FixedNumber(c.sublunarLon, 2);
    f[20] = FixedNumber(c.deltaTUncertainty, 1);
    f[21] = std::to_string(c.lunation);
    f[22] = std::string(EphemerisName(c.elements.engine));
    f[23] = std::string(ShadowRuleName(c.elements.rule));
    return f;
}

std::string LunarEclipsesCsv(const std::vector<LunarEclipse>& eclipses) {
    std::string out;
    for (std::size_t i = 0; i < kLunarColumnCount; ++i) {
        out += kLunarColumns[i];
        out += i + 1 < kLunarColumnCount ? ',' : '\n';
    }
    for (const LunarEclipse& c : eclipses) {
        const auto fields = LunarFields(c);
        for (std::size_t i = 0; i < kLunarColumnCount; ++i) {
            out += fields[i];
            out += i + 1 < kLunarColumnCount ? ',' : '\n';
        }
    }
    return out;
}

std::string LunarEclipsesJson(const std::vector<LunarEclipse>& eclipses) {
    std::string out = "[";
    for (std::size_t e = 0; e < eclipses.size(); ++e) {
        const auto fields = LunarFields(eclipses[e]);
        out += e == 0 ? "\n  {" : ",\n  {";
        out += JsonMembers(kLunarColumns, fields, LunarColumnIsNumber);
        out += "}";
    }
    out += eclipses.empty() ? "]\n" : "\n]\n";
    return out;
}

std::string LunarEclipseSummary(const LunarEclipse& c) {
    const char* name = c.kind == EclipseKind::Total     ? "Total"
                       : c.kind == EclipseKind::Partial ? "Partial"
                                                        : "Penumbral";
    std::string text = std::string(name) + " lunar eclipse: greatest " +
                       TimeOf(FormatInstant(c.jdGreatestUT)) + " UT, ";
    if (c.kind == EclipseKind::Penumbral)
        text += "penumbral magnitude " + FixedNumber(c.penumbralMagnitude, 3);
    else
        text += "umbral magnitude " + FixedNumber(c.umbralMagnitude, 3);
    if (c.kind == EclipseKind::Total)
        text += ", totality " + FixedNumber(c.totalDurationS / 60.0, 0) + " min";
    return text;
}
