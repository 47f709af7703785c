// kestrova-cli lunar-eclipses, lunar, and next/previous --lunar: lunar eclipses.
#include "app/cli_commands.h"
#include "app/cli_report.h"
#include "app/cli_site.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "eclipse/lunar.h"
#include "eclipse/lunar_local.h"
#include "eclipse/lunar_text.h"
#include "ephemeris/timescales.h"
#include "export/lunar_export.h"
#include "io/atomic_write.h"
#include "io/cli_args.h"
#include "places/gazetteer.h"
#include "places/zone_map.h"
#include "places/zone_time.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

// The years the lunar finder covers, as the solar one.
void Fail(const std::string& reason) {
    std::fprintf(stderr, "kestrova-cli: %s\n", reason.c_str());
}

// The options every lunar command takes, and the arguments left over.
struct LunarOptions {
    Ephemeris engine = Ephemeris::Precise;
    ShadowRule rule = kDefaultShadowRule;
    bool json = false;
    bool lunar = false;            // next/previous: --lunar
    const char* place = nullptr;   // --place NAME
    const char* kml = nullptr;     // --kml FILE
    const char* geojson = nullptr; // --geojson FILE
    std::vector<const char*> positional;
};

// nullopt after a message (status 1) or with usage set (status 2).
std::optional<LunarOptions> ReadOptions(int argc, char** argv, Ephemeris engine, bool& usage) {
    usage = false;
    LunarOptions o;
    o.engine = engine;
    for (int i = 2; i < argc; ++i) {
        const bool hasValue = i + 1 < argc;
        if (std::strcmp(argv[i], "--json") == 0) {
            o.json = true;
        } else if (std::strcmp(argv[i], "--lunar") == 0) {
            o.lunar = true;
        } else if (std::strcmp(argv[i], "--shadow") == 0 && hasValue) {
            const std::optional<ShadowRule> r = ParseShadowRule(argv[++i]);
            if (!r) {
                Fail(std::string("--shadow is chauvenet or danjon, not \"") + argv[i] + "\"");
                return std::nullopt;
            }
            o.rule = *r;
        } else if (std::strcmp(argv[i], "--place") == 0 && hasValue && !o.place) {
            o.place = argv[++i];
        } else if (std::strcmp(argv[i], "--kml") == 0 && hasValue && !o.kml) {
            o.kml = argv[++i];
        } else if (std::strcmp(argv[i], "--geojson") == 0 && hasValue && !o.geojson) {
            o.geojson = argv[++i];
        } else if (argv[i][0] == '-' && argv[i][1] == '-') {
            usage = true;
            return std::nullopt;
        } else {
            o.positional.push_back(argv[i]);
        }
    }
    return o;
}

double DayStart(const DateArg& d) {
    return CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0);
}

bool InSearchYears(const DateArg& d) {
    if (d.year >= kFirstSearchYear && d.year <= kLastSearchYear)
        return true;
    Fail("lunar eclipses are searched from year " + std::to_string(kFirstSearchYear) + " to " +
         std::to_string(kLastSearchYear));
    return false;
}

std::optional<Site> ReadSite(const LunarOptions& o, const std::vector<const char*>& coordinates) {
    if (o.place)
        return SiteByName(o.place, nullptr);
    const auto lat = ParseRealArg(coordinates[0], "LATITUDE", -90.0, 90.0);
    if (!lat)
        return std::nullopt;
    const auto lon = ParseRealArg(coordinates[1], "LONGITUDE", -180.0, 180.0);
    if (!lon)
        return std::nullopt;
    double height = 0.0;
    if (coordinates.size() == 3) {
        const auto h = ParseRealArg(coordinates[2], "HEIGHT_M", -500.0, 10000.0);
        if (!h)
            return std::nullopt;
        height = *h;
    }
    // Coordinates get the zone of the point, as for the solar commands.
    const PointZone zone = ZoneAtPoint(*lat, *lon);
    return Site{{*lat, *lon, height},
                {},
                zone.zone,
                zone.nautical,
                coordinates.size() == 3 ? HeightFrom::Given : HeightFrom::SeaLevel};
}

void AddEclipse(CliReport& r, const LunarEclipse& c) {
    const auto fields = LunarFields(c);
    r.Text("ephemeris", fields[22]);
    r.Text("shadow", fields[23]);
    for (std::size_t i = 0; i < 22; ++i) {
        if (i >= 8 && i <= 13)
            continue; // the contacts follow with the place's view of them
        if (fields[i].empty())
            continue;
        if (LunarColumnIsNumber(i))
            r.Number(kLunarColumns[i], fields[i]);
        else
            r.Text(kLunarColumns[i], fields[i]);
    }
}

void AddLocal(CliReport& r, const LunarLocalCircumstances& lc, const Site& site) {
    r.Number("latitude", FixedNumber(site.observer.latitude, 5));
    r.Number("longitude", FixedNumber(site.observer.longitude, 5));
    r.Number("height_m", FixedNumber(site.observer.height, 0));
    r.Text("height_from", HeightFromName(site.heightFrom));
    if (!site.name.empty()) {
        r.Text("place", site.name);
        r.Text("zone", site.zone);
    }
    r.Text("refraction", "standard (10 C, 1010 hPa) in *_moon_alt_refracted and *_moon_up; "
                         "*_moon_alt is geometric; the Moon's centre, topocentric");
    for (const LunarLocalEvent& e : lc.events) {
        std::string name = e.name;
        for (char& ch : name)
            ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
        r.Text(name, FormatInstant(e.jdUT));
        if (!site.zone.empty()) {
            // The local time of the instant rounded to the second, as the UT shows it.
            const double second = std::round(e.jdUT * 86400.0) / 86400.0;
            if (const std::optional<ZonedInstant> z = ToZone(second, site.zone))
                r.Text(name + "_local", FormatZoned(*z) + " " + z->abbreviation);
        }
        r.Number(name + "_moon_alt", FixedNumber(e.moon.altitude, 2));
        r.Number(name + "_moon_alt_refracted", FixedNumber(e.moon.apparentAltitude, 2));
        r.Number(name + "_moon_az", FixedNumber(e.moon.azimuth, 2));
        r.Flag(name + "_moon_up", e.moon.aboveHorizon);
    }
    r.Flag("visible", lc.visible);
}

} // namespace

// lunar-eclipses FROM TO [--json] [--ephemeris classic|precise] [--shadow chauvenet|danjon]
int LunarEclipsesCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LunarOptions> o = ReadOptions(argc, argv, engine, usage);
    if (!o)
        return usage ? CliUsage() : 1;
    if (o->positional.size() != 2 || o->lunar || o->place)
        return CliUsage();
    const std::optional<DateArg> from = ParseIsoDateArg(o->positional[0]);
    if (!from)
        return 1;
    const std::optional<DateArg> to = ParseIsoDateArg(o->positional[1]);
    if (!to)
        return 1;
    const double jdFrom = DayStart(*from);
    const double jdTo = DayStart(*to) + 1.0; // TO's date included
    if (jdTo <= jdFrom) {
        Fail(std::string("the range ends (") + o->positional[1] + ") before it begins (" +
             o->positional[0] + ")");
        return 1;
    }
    if (!InSearchYears(*from) || !InSearchYears(*to))
        return 1;
    const std::vector<LunarEclipse> found = LunarEclipsesBetween(jdFrom, jdTo, o->engine, o->rule);
    std::fputs((o->json ? LunarEclipsesJson(found) : LunarEclipsesCsv(found)).c_str(), stdout);
    return 0;
}

// next|previous DAY MONTH YEAR --lunar [--json] [--ephemeris E] [--shadow R]
int LunarStepCommand(int argc, char** argv, Ephemeris engine, bool forward) {
    bool usage = false;
    const std::optional<LunarOptions> o = ReadOptions(argc, argv, engine, usage);
    if (!o)
        return usage ? CliUsage() : 1;
    if (o->positional.size() != 3 || o->place)
        return CliUsage();
    const std::optional<DateArg> date =
        ParseDateArgs(o->positional[0], o->positional[1], o->positional[2]);
    if (!date)
        return 1;
    if (!InSearchYears(*date))
        return 1;
    const double jd = DayStart(*date);
    const std::optional<LunarEclipse> c = forward ? NextLunarEclipse(jd + 1.0, o->engine, o->rule)
                                                  : PreviousLunarEclipse(jd, o->engine, o->rule);
    if (!c) {
        Fail("no lunar eclipse within 30 lunations of this date");
        return 1;
    }
    std::fputs((o->json ? LunarEclipsesJson({*c}) : LunarEclipsesCsv({*c})).c_str(), stdout);
    return 0;
}

// lunar DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]
//       [--ephemeris E] [--shadow R]
int LunarCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LunarOptions> o = ReadOptions(argc, argv, engine, usage);
    if (!o)
        return usage ? CliUsage() : 1;
    const std::size_t coordinates = o->positional.size() < 3 ? 0 : o->positional.size() - 3;
    const bool fits = o->positional.size() >= 3 &&
                      (o->place ? coordinates == 0 : coordinates == 2 || coordinates == 3);
    if (!fits || o->lunar)
        return CliUsage();
    const std::optional<DateArg> date =
        ParseDateArgs(o->positional[0], o->positional[1], o->positional[2]);
    if (!date || !InSearchYears(*date))
        return 1;
    const std::optional<Site> site = ReadSite(*o, {o->positional.begin() + 3, o->positional.end()});
    if (!site)
        return 1;
    const std::optional<LunarEclipse> c = LunarEclipseOnDate(DayStart(*date), o->engine, o->rule);
    if (!c) {
        Fail("no lunar eclipse has its greatest eclipse on " + std::to_string(date->day) + " " +
             std::to_string(date->month) + " " + std::to_string(date->year) + " (UT)");
        return 1;
    }
    CliReport r;
    AddEclipse(r, *c);
    AddLocal(r, ComputeLunarLocal(*c, site->observer), *site);
    r.Print(o->json);
    return 0;
}

// lunar-map DAY MONTH YEAR [--kml FILE] [--geojson FILE] [--ephemeris E] [--shadow R]
int LunarMapCommand(int argc, char** argv, Ephemeris engine) {
    bool usage = false;
    const std::optional<LunarOptions> o = ReadOptions(argc, argv, engine, usage);
    if (!o)
        return usage ? CliUsage() : 1;
    if (o->positional.size() != 3 || o->place || o->lunar || o->json || (!o->kml && !o->geojson))
        return CliUsage();
    const std::optional<DateArg> date =
        ParseDateArgs(o->positional[0], o->positional[1], o->positional[2]);
    if (!date || !InSearchYears(*date))
        return 1;
    for (const char* file : {o->kml, o->geojson}) {
        if (!file)
            continue;
        if (const WriteResult target = CheckWriteTarget(file); !target.ok()) {
            Fail(target.error);
            return 1;
        }
    }
    const std::optional<LunarEclipse> c = LunarEclipseOnDate(DayStart(*date), o->engine, o->rule);
    if (!c) {
        Fail("no lunar eclipse has its greatest eclipse on " + std::to_string(date->day) + " " +
             std::to_string(date->month) + " " + std::to_string(date->year) + " (UT)");
        return 1;
    }
    const std::vector<MapFeature> features = LunarMapFeatures(*c);
    const std::string title = "Lunar eclipse of " + LunarFields(*c)[0] + " (ephemeris " +
                              std::string(EphemerisName(o->engine)) + ", shadow " +
                              std::string(ShadowRuleName(o->rule)) + ")";
    const struct {
        const char* file;
        std::string text;
    } outputs[] = {{o->kml, o->kml ? MapKml(features, title) : ""},
                   {o->geojson, o->geojson ? MapGeoJson(features) : ""}};
    for (const auto& out : outputs) {
        if (!out.file)
            continue;
        if (const WriteResult written = WriteFileAtomically(out.file, out.text); !written.ok()) {
            Fail(written.error);
            return 1;
        }
    }
    return 0;
}
