// kestrova-cli local / next-local: what one place sees of a solar eclipse.
#include "app/cli_commands.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/local.h"
#include "ephemeris/timescales.h"
#include "io/cli_args.h"
#include "places/gazetteer.h"
#include "places/zone_time.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The place a command runs for: coordinates, and a name and zone when named.
struct Site {
    Observer observer;
    std::string name; // "Dallas, US"; empty for bare coordinates
    std::string zone; // IANA zone; empty when unknown
};

struct LocalArgs {
    DateArg date;
    Site site;
    bool json = false;
};

std::string FixedNumber(double value, int decimals);

void Fail(const std::string& reason) {
    std::fprintf(stderr, "kestrova-cli: %s\n", reason.c_str());
}

std::string Describe(const Place& p) {
    return p.name + ", " + p.country;
}

// The place of that name from the gazetteer; the largest when several share it
// (the others are listed on stderr).
std::optional<Site> SiteByName(const char* name) {
    const std::string file = FindGazetteerFile(RunningProgramFolder());
    if (file.empty()) {
        Fail("the gazetteer cities15000.tsv is not installed beside this program");
        return std::nullopt;
    }
    const GazetteerLoad load = LoadGazetteer(file);
    if (!load.error.empty()) {
        Fail(load.error);
        return std::nullopt;
    }
    const std::vector<const Place*> found = FindPlaces(load.gazetteer, name);
    if (found.empty()) {
        Fail(std::string("no place named \"") + name + "\" in the gazetteer");
        return std::nullopt;
    }
    if (found.size() > 1) {
        std::string others;
        for (std::size_t i = 1; i < found.size() && i < 10; ++i)
            others += (i > 1 ? "; " : "") + Describe(*found[i]) + " (" +
                      std::to_string(found[i]->population) + ")";
        if (found.size() > 10)
            others += "; ...";
        std::fprintf(stderr,
                     "kestrova-cli: %zu places are named \"%s\"; using the largest, %s. "
                     "Others: %s. Add \", CC\" (country code) to choose.\n",
                     found.size(), name, Describe(*found[0]).c_str(), others.c_str());
    }
    const Place& p = *found[0];
    return Site{{p.latitude, p.longitude, 0.0}, Describe(p), p.zone};
}

// DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]; nullopt
// after a message. usage: set when the arguments do not fit the form at all.
std::optional<LocalArgs> ReadLocalArgs(int argc, char** argv, bool allowHeight, bool& usage) {
    usage = false;
    std::vector<const char*> positional;
    const char* placeName = nullptr;
    LocalArgs args;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0) {
            args.json = true;
        } else if (std::strcmp(argv[i], "--place") == 0) {
            if (i + 1 >= argc || placeName) {
                usage = true;
                return std::nullopt;
            }
            placeName = argv[++i];
        } else {
            positional.push_back(argv[i]);
        }
    }
    const std::size_t coordinates = positional.size() < 3 ? 0 : positional.size() - 3;
    const bool fits =
        placeName ? coordinates == 0 : (coordinates == 2 || (allowHeight && coordinates == 3));
    if (!fits) {
        usage = true;
        return std::nullopt;
    }
    const std::optional<DateArg> date = ParseDateArgs(positional[0], positional[1], positional[2]);
    if (!date)
        return std::nullopt;
    if (date->year < kFirstSearchYear || date->year > kLastSearchYear) {
        Fail("eclipses are searched from year " + std::to_string(kFirstSearchYear) + " to " +
             std::to_string(kLastSearchYear));
        return std::nullopt;
    }
    args.date = *date;
    if (placeName) {
        const std::optional<Site> site = SiteByName(placeName);
        if (!site)
            return std::nullopt;
        args.site = *site;
        return args;
    }
    const auto lat = ParseRealArg(positional[3], "LATITUDE", -90.0, 90.0);
    if (!lat)
        return std::nullopt;
    const auto lon = ParseRealArg(positional[4], "LONGITUDE", -180.0, 180.0);
    if (!lon)
        return std::nullopt;
    double height = 0.0;
    if (coordinates == 3) {
        const auto h = ParseRealArg(positional[5], "HEIGHT_M", -500.0, 10000.0);
        if (!h)
            return std::nullopt;
        height = *h;
    }
    args.site.observer = {*lat, *lon, height};
    return args;
}

const char* KindName(EclipseKind k) {
    switch (k) {
    case EclipseKind::Total:
        return "total";
    case EclipseKind::Annular:
        return "annular";
    case EclipseKind::Partial:
        return "partial";
    default:
        break;
    }
    return "none";
}

// Lines of name and value, printed as "name value" or as one JSON object.
class Report {
public:
    void Text(const std::string& name, const std::string& value) {
        lines_.push_back({name, value, true});
    }
    void Number(const std::string& name, double value, int decimals) {
        lines_.push_back({name, FixedNumber(value, decimals), false});
    }
    void Flag(const std::string& name, bool value) {
        lines_.push_back({name, value ? "true" : "false", false});
    }
    void Print(bool json) const {
        if (json) {
            std::printf("%s\n", Json().c_str());
            return;
        }
        for (const Line& l : lines_)
            std::printf("%s %s\n", l.name.c_str(), l.value.c_str());
    }
    std::string Json() const {
        std::string out = "{";
        for (std::size_t i = 0; i < lines_.size(); ++i) {
            const Line& l = lines_[i];
            out += (i ? ", " : "") + Quote(l.name) + ": " + (l.quoted ? Quote(l.value) : l.value);
        }
        return out + "}";
    }

private:
    struct Line {
        std::string name;
        std::string value;
        bool quoted;
    };
    static std::string Quote(const std::string& s) {
        std::string out = "\"";
        for (const char c : s) {
            if (c == '"' || c == '\\') {
                out += '\\';
                out += c;
            } else if (static_cast<unsigned char>(c) < 0x20) {
                char esc[8];
                std::snprintf(esc, sizeof esc, "\\u%04x", c);
                out += esc;
            } else {
                out += c;
            }
        }
        return out + "\"";
    }
    std::vector<Line> lines_;
};

void AddLocal(Report& r, const LocalCircumstances& lc, const Site& site) {
    r.Text("kind", KindName(lc.kind));
    const std::pair<const char*, const std::optional<LocalEvent>*> events[] = {
        {"c1", &lc.c1}, {"c2", &lc.c2}, {"max", &lc.max}, {"c3", &lc.c3}, {"c4", &lc.c4}};
    for (const auto& [name, event] : events) {
        if (*event)
            r.Text(name, FormatInstantUT((*event)->jdUT));
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
    if (site.name.empty())
        return;
    r.Text("place", site.name);
    r.Text("zone", site.zone);
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

// A number with fixed decimals; a value that rounds to zero is written without a
// minus sign.
std::string FixedNumber(double value, int decimals) {
    char text[64];
    std::snprintf(text, sizeof text, "%.*f", decimals, value);
    std::string s = text;
    if (s.front() == '-' && s.find_first_not_of("-0.") == std::string::npos)
        s.erase(0, 1);
    return s;
}

} // namespace

// local DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]
int LocalCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LocalArgs> args = ReadLocalArgs(argc, argv, true, usage);
    if (!args)
        return usage ? CliUsage() : 1;
    const std::optional<EclipseCircumstances> eclipse = EclipseOnDate(DayStart(args->date), engine);
    if (!eclipse) {
        Fail("no solar eclipse has its greatest eclipse on " + std::to_string(args->date.day) +
             " " + std::to_string(args->date.month) + " " + std::to_string(args->date.year) +
             " (UT)");
        return 1;
    }
    Report r;
    r.Text("greatest", FormatInstantUT(eclipse->jdGreatestUT));
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

} // namespace

// next-local DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]
int NextLocalCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LocalArgs> args = ReadLocalArgs(argc, argv, true, usage);
    if (!args)
        return usage ? CliUsage() : 1;
    // After the given day, up to the end of the searched years.
    const double from = DayStart(args->date) + 1.0;
    const double years = kLastSearchYear + 1.0 - args->date.year;
    const std::optional<LocalEclipse> next =
        NextLocalEclipse(from, args->site.observer, years, engine);
    if (!next) {
        Fail("no solar eclipse is seen from there before the year " +
             std::to_string(kLastSearchYear + 1));
        return 1;
    }
    Report r;
    r.Text("greatest", FormatInstantUT(next->eclipse.jdGreatestUT));
    r.Number("delta_t_s", next->eclipse.elements.deltaT, 1);
    AddLocal(r, next->local, args->site);
    r.Text("ephemeris", std::string(EphemerisName(engine)));
    if (args->json) {
        std::printf("{\"eclipse\": \"%s\", \"local\": %s}\n", EclipseCsvLine(next->eclipse).c_str(),
                    r.Json().c_str());
        return 0;
    }
    std::fputs(EclipsesCsv({next->eclipse}).c_str(), stdout);
    r.Print(false);
    return 0;
}
