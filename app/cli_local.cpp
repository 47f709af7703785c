// kestrova-cli local / next-local: what one place sees of a solar eclipse.
#include "app/cli_commands.h"
#include "app/cli_report.h"
#include "app/cli_site.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/local.h"
#include "eclipse/local_search.h"
#include "eclipse/lunar.h"
#include "eclipse/lunar_local.h"
#include "ephemeris/timescales.h"
#include "io/cli_args.h"
#include "places/gazetteer.h"
#include "places/zone_map.h"
#include "places/zone_time.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

namespace {

// The lowest place a command takes, metres (the shore of the Dead Sea lies at -430).
constexpr double kLowestHeightM = -500.0;
// The most eclipses one next-local call lists.
constexpr int kMaxCount = 1000;

// Which local kinds a search keeps; "hybrid" keeps the hybrid eclipses, seen as
// total or annular from the place.
struct KindFilter {
    bool partial = true;
    bool annular = true;
    bool total = true;
    bool hybrid = true;
};

struct LocalArgs {
    DateArg date;
    std::optional<DateArg> to; // local-eclipses: the last day
    Site site;
    bool json = false;
    KindFilter kinds;
    bool kindGiven = false;
    bool lunar = false; // local-eclipses: the lunar eclipses seen from the place
    int count = 1;
};

void Fail(const std::string& reason) {
    std::fprintf(stderr, "kestrova-cli: %s\n", reason.c_str());
}

// "total,annular": the kinds named, each once at least; nullopt after a message.
std::optional<KindFilter> ParseKinds(const char* text) {
    KindFilter k{false, false, false, false};
    const std::string s = text;
    std::size_t start = 0;
    while (start <= s.size()) {
        std::size_t comma = s.find(',', start);
        if (comma == std::string::npos)
            comma = s.size();
        const std::string word = s.substr(start, comma - start);
        if (word == "total")
            k.total = true;
        else if (word == "annular")
            k.annular = true;
        else if (word == "hybrid")
            k.hybrid = true;
        else if (word == "partial")
            k.partial = true;
        else {
            Fail("--kind \"" + PrintableText(word) +
                 "\" is not one of total, annular, hybrid, partial (separate several with "
                 "commas)");
            return std::nullopt;
        }
        start = comma + 1;
    }
    return k;
}

bool KindWanted(const KindFilter& k, const EclipseCircumstances& e, const LocalCircumstances& lc) {
    if (e.type == EclipseKind::Hybrid && k.hybrid &&
        (lc.kind == EclipseKind::Total || lc.kind == EclipseKind::Annular))
        return true;
    switch (lc.kind) {
    case EclipseKind::Total:
        return k.total;
    case EclipseKind::Annular:
        return k.annular;
    case EclipseKind::Partial:
        return k.partial;
    default: // None; Penumbral and Hybrid are not kinds seen from a place
        break;
    }
    return false;
}

// A date as one argument "YYYY-MM-DD" or as three, DAY MONTH YEAR, from
// positional[at]; advances at. nullopt after a message.
std::optional<DateArg> ReadDate(const std::vector<const char*>& positional, std::size_t& at) {
    if (at < positional.size() && LooksLikeIsoDate(positional[at]))
        return ParseIsoDateArg(positional[at++]);
    if (at + 3 > positional.size())
        return std::nullopt;
    at += 3;
    return ParseDateArgs(positional[at - 3], positional[at - 2], positional[at - 1]);
}

// FROM or TO of a range: a year (the whole year) or a date "YYYY-MM-DD".
std::optional<DateArg> ReadYearOrDate(const std::vector<const char*>& positional, std::size_t& at,
                                      bool last) {
    if (at >= positional.size())
        return std::nullopt;
    const char* text = positional[at++];
    if (LooksLikeIsoDate(text))
        return ParseIsoDateArg(text);
    const auto year =
        ParseIntArg(text, last ? "TO" : "FROM", kFirstSearchYear, kLastSolarSearchYear);
    if (!year)
        return std::nullopt;
    return DateArg{last ? 31 : 1, last ? 12 : 1, static_cast<int>(*year)};
}

enum class LocalForm { One, Next, Range };

// DATE (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--gazetteer FILE] [--height M] [--json],
// with --kind and --count for the searches and two dates (or years) for a range;
// nullopt after a message. usage: set when the arguments do not fit the form at all.
std::optional<LocalArgs> ReadLocalArgs(int argc, char** argv, LocalForm form, bool& usage) {
    usage = false;
    std::vector<const char*> positional;
    const char* placeName = nullptr;
    const char* gazetteer = nullptr;
    const char* kinds = nullptr;
    const char* count = nullptr;
    const char* height = nullptr;
    LocalArgs args;
    for (int i = 2; i < argc; ++i) {
        const auto option = [&](const char* name, const char*& value) {
            if (std::strcmp(argv[i], name) != 0)
                return false;
            if (i + 1 >= argc || value)
                usage = true;
            else
                value = argv[++i];
            return true;
        };
        if (std::strcmp(argv[i], "--json") == 0) {
            args.json = true;
        } else if (form == LocalForm::Range && std::strcmp(argv[i], "--lunar") == 0) {
            args.lunar = true;
        } else if (option("--place", placeName) || option("--gazetteer", gazetteer) ||
                   option("--height", height) ||
                   (form != LocalForm::One && option("--kind", kinds)) ||
                   (form == LocalForm::Next && option("--count", count))) {
            if (usage)
                return std::nullopt;
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            usage = true;
            return std::nullopt;
        } else {
            positional.push_back(argv[i]);
        }
    }
    std::size_t at = 0;
    std::optional<DateArg> date;
    std::optional<DateArg> to;
    if (form == LocalForm::Range) {
        date = ReadYearOrDate(positional, at, false);
        if (date)
            to = ReadYearOrDate(positional, at, true);
        if (!date || !to)
            return std::nullopt;
    } else {
        const std::size_t before = at;
        date = ReadDate(positional, at);
        if (!date) {
            usage = at == before;
            return std::nullopt;
        }
    }
    const std::size_t coordinates = positional.size() - at;
    const bool fits = placeName ? coordinates == 0 : (coordinates == 2 || coordinates == 3);
    if (!fits) {
        usage = true;
        return std::nullopt;
    }
    if (kinds && args.lunar) {
        Fail("--kind chooses among solar eclipses; with --lunar every lunar eclipse seen from "
             "the place is listed");
        return std::nullopt;
    }
    if (kinds) {
        const std::optional<KindFilter> k = ParseKinds(kinds);
        if (!k)
            return std::nullopt;
        args.kinds = *k;
        args.kindGiven = true;
    }
    if (count) {
        const auto n = ParseIntArg(count, "--count", 1, kMaxCount);
        if (!n)
            return std::nullopt;
        args.count = static_cast<int>(*n);
    }
    for (const DateArg* d : {&*date, to ? &*to : nullptr}) {
        if (d && (d->year < kFirstSearchYear || d->year > kLastSolarSearchYear)) {
            Fail("eclipses are searched from year " + std::to_string(kFirstSearchYear) + " to " +
                 std::to_string(kLastSolarSearchYear));
            return std::nullopt;
        }
    }
    if (height && coordinates == 3) {
        Fail("the height is given twice (HEIGHT_M and --height)");
        return std::nullopt;
    }
    std::optional<double> givenHeight;
    if (height) {
        givenHeight = ParseRealArg(height, "--height", kLowestHeightM, 10000.0);
        if (!givenHeight)
            return std::nullopt;
    }
    args.date = *date;
    args.to = to;
    if (placeName) {
        const std::optional<Site> site = SiteByName(placeName, gazetteer);
        if (!site)
            return std::nullopt;
        args.site = *site;
        if (givenHeight) {
            args.site.observer.height = *givenHeight;
            args.site.heightFrom = HeightFrom::Given;
        }
        return args;
    }
    const auto lat = ParseRealArg(positional[at], "LATITUDE", -90.0, 90.0);
    if (!lat)
        return std::nullopt;
    const auto lon = ParseRealArg(positional[at + 1], "LONGITUDE", -180.0, 180.0);
    if (!lon)
        return std::nullopt;
    if (coordinates == 3) {
        givenHeight = ParseRealArg(positional[at + 2], "HEIGHT_M", kLowestHeightM, 10000.0);
        if (!givenHeight)
            return std::nullopt;
    }
    args.site.observer = {*lat, *lon, givenHeight.value_or(0.0)};
    args.site.heightFrom = givenHeight ? HeightFrom::Given : HeightFrom::SeaLevel;
    const PointZone zone = ZoneAtPoint(*lat, *lon);
    args.site.zone = zone.zone;
    args.site.nautical = zone.nautical;
    return args;
}

// The command's report, its numbers written to a fixed number of decimals.
class Report : public CliReport {
public:
    using CliReport::Number;
    void Number(const std::string& name, double value, int decimals) {
        CliReport::Number(name, FixedNumber(value, decimals));
    }
};

void AddLocal(Report& r, const LocalCircumstances& lc, const Site& site) {
    r.Text("kind", EclipseKindName(lc.kind));
    const std::pair<const char*, const std::optional<LocalEvent>*> events[] = {
        {"c1", &lc.c1}, {"c2", &lc.c2}, {"max", &lc.max}, {"c3", &lc.c3}, {"c4", &lc.c4}};
    for (const auto& [name, event] : events) {
        if (*event)
            r.Text(name, FormatInstant((*event)->jdUT, 1));
    }
    if (lc.kind != EclipseKind::None)
        r.Number("contacts_sigma_s", lc.contactSigma, 1);
    r.Number("magnitude", lc.magnitude, 5);
    r.Number("obscuration", lc.obscuration, 5);
    if (lc.kind != EclipseKind::None) {
        r.Number("sun_alt_c1", lc.c1->sun.altitude, 2);
        r.Number("sun_alt_max", lc.max->sun.altitude, 2);
        r.Number("sun_az_max", lc.max->sun.azimuth, 2);
        r.Number("sun_alt_c4", lc.c4->sun.altitude, 2);
        r.Number("sun_az_c1", lc.c1->sun.azimuth, 2);
        r.Number("sun_az_c4", lc.c4->sun.azimuth, 2);
        r.Number("sun_alt_refracted_max", lc.max->sun.apparentAltitude, 2);
        for (const auto& [name, event] : events) {
            if (*event)
                r.Flag(std::string("sun_up_") + name, (*event)->sun.aboveHorizon);
        }
        r.Flag("visible", lc.visible);
    }
    if (lc.kind == EclipseKind::Total || lc.kind == EclipseKind::Annular)
        r.Number("duration_s", lc.duration, 1);
    r.Number("latitude", site.observer.latitude, 5);
    r.Number("longitude", site.observer.longitude, 5);
    r.Number("height_m", site.observer.height, 0);
    r.Text("height_from", HeightFromName(site.heightFrom));
    if (!site.name.empty())
        r.Text("place", site.name);
    r.Text("zone", site.zone);
    if (site.nautical)
        r.Flag("zone_nautical", true);
    for (const auto& [name, event] : events) {
        if (!*event)
            continue;
        const std::optional<ZonedInstant> z = ToZone((*event)->jdUT, site.zone);
        if (z)
            r.Text(std::string(name) + "_local", FormatZoned(*z) + " " + z->abbreviation);
    }
}

double DayStart(const DateArg& d) {
    return CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0);
}

// "2024-04-08", with a minus sign before the astronomical years before 0.
std::string FormatIsoDate(const DateArg& d) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%04d-%02d-%02d", d.year < 0 ? "-" : "",
                  d.year < 0 ? -d.year : d.year, d.month, d.day);
    return text;
}

} // namespace

// "local 4 8 2024" when 8 April has the eclipse: the hint for day and month swapped.
std::string SwappedDateHint(const DateArg& d, Ephemeris engine) {
    if (d.day > 12 || d.day == d.month)
        return {};
    const std::optional<DateArg> swapped =
        ParseDateArgs(std::to_string(d.month).c_str(), std::to_string(d.day).c_str(),
                      std::to_string(d.year).c_str());
    if (!swapped || !EclipseOnDate(DayStart(*swapped), engine))
        return {};
    char text[160];
    std::snprintf(text, sizeof text,
                  "; there is one on %s (%d %d %d as DAY MONTH YEAR): were day and month "
                  "swapped?",
                  FormatIsoDate(*swapped).c_str(), swapped->day, swapped->month, swapped->year);
    return text;
}

// local DATE (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]
int LocalCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LocalArgs> args = ReadLocalArgs(argc, argv, LocalForm::One, usage);
    if (!args)
        return usage ? CliUsage() : 1;
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(DayStart(args->date), engine);
    if (!eclipse) {
        Fail("no solar eclipse has its greatest eclipse on " + FormatIsoDate(args->date) + " (UT)" +
             SwappedDateHint(args->date, engine));
        return 1;
    }
    Report r;
    r.Text("greatest", FormatInstant(eclipse->jdGreatestUT, 1));
    r.Number("delta_t_s", eclipse->elements.deltaT, 1);
    AddLocal(r, ComputeLocalCircumstances(eclipse->elements, args->site.observer), args->site);
    r.Text("ephemeris", std::string(EphemerisName(engine)));
    r.Print(args->json);
    return 0;
}

namespace {

// The finder's table line of one eclipse, without the newline.
std::string EclipseCsvLine(const EclipseCircumstances& c) {
    std::string line;
    for (const std::string& field : EclipseFields(c))
        line += (line.empty() ? "" : ",") + field;
    return line;
}

// The day after the last one searched: 10000 January 1.
double SearchEnd() {
    return CalendarToJulianDay(1, 1, kLastSolarSearchYear + 1, 0.0, 0, 0);
}

std::vector<LocalEclipse> Search(const LocalArgs& args, double from, double to, std::size_t most,
                                 Ephemeris engine) {
    const KindFilter kinds = args.kinds;
    return LocalEclipsesBetween(
        from, to, args.site.observer,
        [&kinds](const LocalEclipse& e) { return KindWanted(kinds, e.eclipse, e.local); }, most,
        engine);
}

std::string KindsText(const LocalArgs& args) {
    if (!args.kindGiven)
        return "solar eclipse";
    std::string names;
    const std::pair<bool, const char*> kinds[] = {{args.kinds.total, "total"},
                                                  {args.kinds.annular, "annular"},
                                                  {args.kinds.hybrid, "hybrid"},
                                                  {args.kinds.partial, "partial"}};
    for (const auto& [on, name] : kinds)
        if (on)
            names += (names.empty() ? "" : " or ") + std::string(name);
    return names + " solar eclipse";
}

} // namespace

// next-local DATE (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--kind K,...]
// [--count N] [--json]
int NextLocalCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LocalArgs> args = ReadLocalArgs(argc, argv, LocalForm::Next, usage);
    if (!args)
        return usage ? CliUsage() : 1;
    // After the given day, up to the end of the searched years.
    const std::vector<LocalEclipse> found = Search(*args, DayStart(args->date) + 1.0, SearchEnd(),
                                                   static_cast<std::size_t>(args->count), engine);
    if (found.empty()) {
        Fail("no " + KindsText(*args) + " is seen from there after " + FormatIsoDate(args->date) +
             " and before the year " + std::to_string(kLastSolarSearchYear + 1));
        return 1;
    }
    std::string jsonItems;
    for (std::size_t i = 0; i < found.size(); ++i) {
        const LocalEclipse& next = found[i];
        Report r;
        r.Text("greatest", FormatInstant(next.eclipse.jdGreatestUT, 1));
        r.Number("delta_t_s", next.eclipse.elements.deltaT, 1);
        AddLocal(r, next.local, args->site);
        r.Text("ephemeris", std::string(EphemerisName(engine)));
        if (args->json) {
            jsonItems += std::string(i ? ",\n " : "") + "{\"eclipse\": \"" +
                         EclipseCsvLine(next.eclipse) + "\", \"local\": " + r.Json() + "}";
            continue;
        }
        if (i > 0)
            std::fputs("\n", stdout);
        std::fputs(EclipsesCsv({next.eclipse}).c_str(), stdout);
        r.Print(false);
    }
    if (args->json)
        std::printf(args->count == 1 && !found.empty() ? "%s\n" : "[%s]\n", jsonItems.c_str());
    if (static_cast<int>(found.size()) < args->count)
        std::fprintf(stderr,
                     "kestrova-cli: only %zu such eclipses are seen from there before the "
                     "year %d\n",
                     found.size(), kLastSolarSearchYear + 1);
    return 0;
}

namespace {

// Seconds as "4 min 28.1 s" for a table read by people; empty for none.
std::string DurationText(double seconds) {
    if (!(seconds > 0.0))
        return {};
    const long tenths = std::lround(seconds * 10.0);
    char text[48];
    if (tenths >= 600)
        std::snprintf(text, sizeof text, "%ld min %ld.%ld s", tenths / 600, tenths % 600 / 10,
                      tenths % 10);
    else
        std::snprintf(text, sizeof text, "%ld.%ld s", tenths / 10, tenths % 10);
    return text;
}

// The fields as CSV lines under a header, or as a JSON array of objects whose
// fields numbers[i] are numbers (empty fields null, as in every JSON table).
std::string Table(std::span<const char* const> fields,
                  const std::vector<std::vector<std::string>>& rows, std::span<const bool> numbers,
                  bool json) {
    std::string out;
    if (json) {
        out += "[";
        for (std::size_t n = 0; n < rows.size(); ++n) {
            out += std::string(n ? ",\n " : "") + "{" +
                   JsonMembers(fields, rows[n], [numbers](std::size_t i) { return numbers[i]; }) +
                   "}";
        }
        return out + "]\n";
    }
    for (std::size_t i = 0; i < fields.size(); ++i)
        out += std::string(i ? "," : "") + fields[i];
    out += "\n";
    for (const std::vector<std::string>& row : rows) {
        for (std::size_t i = 0; i < row.size(); ++i)
            out += std::string(i ? "," : "") + row[i];
        out += "\n";
    }
    return out;
}

// The lunar eclipses of [from, to) that the place sees some phase of (the Moon above
// its horizon during the umbral phases, or the penumbral one of a penumbral eclipse).
int LunarEclipsesSeen(const LocalArgs& args, double from, double to, Ephemeris engine) {
    const double lastDay = CalendarToJulianDay(1, 1, kLastSearchYear + 1, 0.0, 0, 0);
    if (from >= lastDay) {
        Fail("lunar eclipses are searched from year " + std::to_string(kFirstSearchYear) + " to " +
             std::to_string(kLastSearchYear));
        return 1;
    }
    static constexpr const char* kFields[] = {"date",
                                              "type",
                                              "umbral_magnitude",
                                              "penumbral_magnitude",
                                              "greatest_ut",
                                              "greatest_local",
                                              "zone",
                                              "total_duration_s",
                                              "total_duration",
                                              "moon_alt_greatest",
                                              "moon_up_greatest",
                                              "ephemeris"};
    static constexpr bool kNumbers[] = {false, false, true,  true, false, false,
                                        false, true,  false, true, true,  false};
    std::vector<std::vector<std::string>> rows;
    for (const LunarEclipse& e : LunarEclipsesBetween(from, std::min(to, lastDay), engine)) {
        const LunarLocalCircumstances seen = ComputeLunarLocal(e, args.site.observer);
        if (!seen.visible)
            continue;
        MoonInSky moon;
        for (const LunarLocalEvent& event : seen.events)
            if (event.name == "greatest")
                moon = event.moon;
        const std::string greatest = FormatInstant(e.jdGreatestUT, 1);
        const std::optional<ZonedInstant> local = ToZone(e.jdGreatestUT, args.site.zone);
        const bool total = e.totalDurationS > 0.0;
        rows.push_back({greatest.substr(0, greatest.find('T')), EclipseKindName(e.kind),
                        FixedNumber(e.umbralMagnitude, 4), FixedNumber(e.penumbralMagnitude, 4),
                        greatest, local ? FormatZoned(*local) + " " + local->abbreviation : "",
                        args.site.zone, total ? FixedNumber(e.totalDurationS, 0) : "",
                        total ? DurationText(e.totalDurationS) : "",
                        FixedNumber(moon.apparentAltitude, 1), moon.aboveHorizon ? "true" : "false",
                        std::string(EphemerisName(engine))});
    }
    std::fputs(Table(kFields, rows, kNumbers, args.json).c_str(), stdout);
    return 0;
}

} // namespace

// local-eclipses FROM TO (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--kind K,...]
// [--lunar] [--json]: one line for every eclipse seen from the place.
int LocalEclipsesCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LocalArgs> args = ReadLocalArgs(argc, argv, LocalForm::Range, usage);
    if (!args)
        return usage ? CliUsage() : 1;
    const double from = DayStart(args->date);
    const double to = DayStart(*args->to) + 1.0;
    if (!(from < to)) {
        Fail("the range ends (" + FormatIsoDate(*args->to) + ") before it begins (" +
             FormatIsoDate(args->date) + ")");
        return 1;
    }
    if (args->lunar)
        return LunarEclipsesSeen(*args, from, to, engine);
    const std::vector<LocalEclipse> found =
        Search(*args, from, to, static_cast<std::size_t>(-1), engine);
    static constexpr const char* kFields[] = {
        "date", "kind",       "magnitude", "obscuration",      "maximum_ut",   "maximum_local",
        "zone", "duration_s", "duration",  "sun_altitude_max", "eclipse_type", "ephemeris"};
    static constexpr bool kNumbers[] = {false, false, true,  true, false, false,
                                        false, true,  false, true, false, false};
    std::vector<std::vector<std::string>> rows;
    for (const LocalEclipse& e : found) {
        const LocalCircumstances& lc = e.local;
        const std::string maxUT = FormatInstant(lc.max->jdUT, 1);
        const std::optional<ZonedInstant> local = ToZone(lc.max->jdUT, args->site.zone);
        const bool central = lc.kind == EclipseKind::Total || lc.kind == EclipseKind::Annular;
        rows.push_back({maxUT.substr(0, maxUT.find('T')), EclipseKindName(lc.kind),
                        FixedNumber(lc.magnitude, 4), FixedNumber(lc.obscuration, 4), maxUT,
                        local ? FormatZoned(*local) + " " + local->abbreviation : "",
                        args->site.zone, central ? FixedNumber(lc.duration, 1) : "",
                        central ? DurationText(lc.duration) : "",
                        FixedNumber(lc.max->sun.altitude, 1),
                        std::string(1, EclipseKindLetter(e.eclipse.type)),
                        std::string(EphemerisName(engine))});
    }
    std::fputs(Table(kFields, rows, kNumbers, args->json).c_str(), stdout);
    return 0;
}

// zone LATITUDE LONGITUDE
int ZoneCommand(int argc, char** argv, Ephemeris) {
    if (argc != 4)
        return CliUsage();
    const auto lat = ParseRealArg(argv[2], "LATITUDE", -90.0, 90.0);
    if (!lat)
        return 1;
    const auto lon = ParseRealArg(argv[3], "LONGITUDE", -180.0, 180.0);
    if (!lon)
        return 1;
    const PointZone zone = ZoneAtPoint(*lat, *lon);
    std::printf("zone %s\nnautical %s\n", zone.zone.c_str(), zone.nautical ? "true" : "false");
    const std::optional<ZonedInstant> now =
        ToZone(2440587.5 + static_cast<double>(std::time(nullptr)) / 86400.0, zone.zone);
    if (now)
        std::printf("offset_now %s\nabbreviation_now %s\n",
                    FixedNumber(now->utcOffset / 3600.0, 2).c_str(), now->abbreviation.c_str());
    return 0;
}
