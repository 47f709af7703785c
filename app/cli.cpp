// kestrova-cli: what the program computes, as text, for scripts and for checking
// results against published tables. The text commands load no Qt; the picture
// commands run in kestrova-render.
#include "app/cli_commands.h"
#include "app/version.h"
#include "eclipse/besselian.h"
#include "eclipse/contacts.h"
#include "eclipse/outline.h"
#include "eclipse/riseset.h"
#include "ephemeris/apparent.h"
#include "ephemeris/timescales.h"
#include "io/atomic_write.h"
#include "io/cli_args.h"
#include "places/gazetteer.h"
#include "view/texts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include <unistd.h>

namespace {

// A date and a time (UT) read strictly from the arguments; nothing when one of
// them is not a number in range or the date does not exist (said on stderr).
struct Instant {
    DateArg date;
    TimeArg time;
};

std::optional<Instant> ParseInstant(char** args, bool withTime) {
    const std::optional<DateArg> date = ParseDateArgs(args[0], args[1], args[2]);
    if (!date)
        return std::nullopt;
    Instant t{*date, {}};
    if (withTime) {
        const std::optional<TimeArg> time = ParseTimeArgs(args[3], args[4], args[5]);
        if (!time)
            return std::nullopt;
        t.time = *time;
    }
    return t;
}

double JulianDayOf(const Instant& t) {
    return CalendarToJulianDay(t.date.day, t.date.month, t.date.year, t.time.second, t.time.minute,
                               t.time.hour);
}

void PrintValue(const char* name, double value) {
    std::printf("%s %.15g\n", name, value);
}

// The line that names the engine of every answer.
void PrintEngine(Ephemeris engine) {
    std::printf("ephemeris %s\n", std::string(EphemerisName(engine)).c_str());
}

// ephemeris DAY MONTH YEAR HOUR MINUTE SECOND
int EphemerisCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 8)
        return CliUsage();
    const std::optional<Instant> t = ParseInstant(argv + 2, true);
    if (!t)
        return 1;
    const ApparentPlaces p = ApparentPlacesAt(JulianDayOf(*t), engine);
    PrintValue("sunRA", p.sunRA);
    PrintValue("sunDec", p.sunDec);
    PrintValue("sunGST", p.siderealAngle);
    PrintValue("jd", p.jd);
    PrintValue("moonRAHours", p.moonRA / 15.0);
    PrintValue("moonDec", p.moonDec);
    PrintValue("moonParallax", p.moonParallax);
    PrintValue("sunDistance", p.sunDistance);
    PrintValue("sunRAHours", p.sunRA / 15.0);
    PrintValue("deltaT", p.deltaT);
    PrintEngine(engine);
    return 0;
}

// elements DAY MONTH YEAR HOUR MINUTE SECOND
int ElementsCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 8)
        return CliUsage();
    const std::optional<Instant> t = ParseInstant(argv + 2, true);
    if (!t)
        return 1;
    const BesselianElements e = ElementsAt(ApparentPlacesAt(JulianDayOf(*t), engine));
    PrintValue("x", e.x);
    PrintValue("y", e.y);
    PrintValue("d", e.d);
    PrintValue("mu", e.mu);
    PrintValue("l1", e.l1);
    PrintValue("l2", e.l2);
    PrintValue("f1", e.f1);
    PrintValue("f2", e.f2);
    PrintEngine(engine);
    return 0;
}

// contacts DAY MONTH YEAR
int ContactsCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 5)
        return CliUsage();
    const std::optional<Instant> t = ParseInstant(argv + 2, false);
    if (!t)
        return 1;
    const ContactTimes c = ContactTimesOfDate(JulianDayOf(*t), engine);
    if (!c.eclipse) {
        std::printf("%s\n", NoEclipseMessage(argv[2], argv[3], argv[4]).c_str());
        PrintEngine(engine);
        return 0;
    }
    for (const std::string& line : ContactLines(c))
        std::printf("%s\n", line.c_str());
    PrintEngine(engine);
    return 0;
}

// The picture commands (snapshot --png, map, print): their numbers, --size and the
// file to write are checked here, so that a refused call answers at once; the
// drawing runs in kestrova-render, which checks them again. Wrong options are left
// to its usage text.
int PictureCommand(int argc, char** argv, Ephemeris engine) {
    const bool snapshot = std::strcmp(argv[1], "snapshot") == 0;
    const int numbers = snapshot ? 6 : 3;
    if (argc < 2 + numbers)
        return CliUsage();
    if (!ParseInstant(argv + 2, snapshot))
        return 1;
    for (int i = 2 + numbers; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "--size") == 0) {
            if (!ParseSizeArg(argv[++i], "--size", kMaxPictureSide))
                return 1;
        } else if (std::strcmp(argv[i], "--view") == 0) {
            if (!ParseViewArg(argv[++i], "--view"))
                return 1;
        } else if (std::strcmp(argv[i], "--png") == 0 || std::strcmp(argv[i], "--pdf") == 0) {
            const WriteResult target = CheckWriteTarget(argv[++i]);
            if (!target.ok()) {
                std::fprintf(stderr, "kestrova-cli: %s\n", target.error.c_str());
                return 1;
            }
        }
    }
    return RunRenderProgram(argc, argv, engine);
}

void PrintExtent(const char* name, const Outline& o) {
    std::printf("%sPoints %zu\n", name, o.lat.size());
    if (o.lat.empty())
        return;
    const auto [latMin, latMax] = std::minmax_element(o.lat.begin(), o.lat.end());
    const auto [lonMin, lonMax] = std::minmax_element(o.lon.begin(), o.lon.end());
    std::printf("%sLat %.6f %.6f\n", name, *latMin, *latMax);
    std::printf("%sLon %.6f %.6f\n", name, *lonMin, *lonMax);
}

// snapshot DAY MONTH YEAR HOUR MINUTE SECOND [--points] [--png FILE [--size WxH]]
int SnapshotCommand(int argc, char** argv, Ephemeris engine) {
    if (argc < 8)
        return CliUsage();
    bool points = false;
    for (int i = 8; i < argc; ++i) {
        if (std::strcmp(argv[i], "--points") == 0)
            points = true;
        else if (std::strcmp(argv[i], "--png") == 0 || std::strcmp(argv[i], "--size") == 0)
            return PictureCommand(argc, argv, engine);
        else
            return CliUsage();
    }
    const std::optional<Instant> t = ParseInstant(argv + 2, true);
    if (!t)
        return 1;
    const ShadowSnapshot s = ShadowAt(JulianDayOf(*t), true, 1000.0, 50000.0, engine);
    PrintExtent("penumbra", s.penumbra);
    PrintExtent("umbra", s.umbra);
    PrintEngine(engine);
    if (points) {
        for (std::size_t i = 0; i < s.penumbra.lat.size(); ++i)
            std::printf("P %.6f %.6f\n", s.penumbra.lat[i], s.penumbra.lon[i]);
        for (std::size_t i = 0; i < s.umbra.lat.size(); ++i)
            std::printf("U %.6f %.6f\n", s.umbra.lat[i], s.umbra.lon[i]);
    }
    return 0;
}

// riseset DAY MONTH YEAR LATITUDE
int RiseSetCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 6)
        return CliUsage();
    const std::optional<Instant> t = ParseInstant(argv + 2, false);
    if (!t)
        return 1;
    const std::optional<double> latitude = ParseLatitudeArg(argv[5], "LATITUDE");
    if (!latitude)
        return 1;
    const RiseSetTimes times = SunRiseSet(JulianDayOf(*t), *latitude, 0.0, 0.0, false, engine);
    PrintValue("rise", times.rise);
    PrintValue("set", times.set);
    PrintEngine(engine);
    return 0;
}

constexpr const char* kDateNote =
    "DATE is DAY MONTH YEAR (8 4 2024) or YYYY-MM-DD (2024-04-08); years are astronomical "
    "(0 is 1 BC, -1 is 2 BC), the Julian calendar before 1582-10-15, -1999 to 9999.";

constexpr CliCommand kCommands[] = {
    {"ephemeris", "ephemeris DATE HOUR MINUTE SECOND", Ephemeris::Classic, EphemerisCommand,
     "The apparent places of the Sun and the Moon at an instant (UT).",
     "sunRA, sunDec: degrees; sunGST: Greenwich sidereal time, degrees; jd: Julian day (UT);\n"
     "moonRAHours, moonDec, moonParallax; sunDistance: au; sunRAHours; deltaT: TT - UT, s",
     "kestrova-cli ephemeris 2024-04-08 18 17 0"},
    {"elements", "elements  DATE HOUR MINUTE SECOND", Ephemeris::Classic, ElementsCommand,
     "The Besselian elements of the Moon's shadow at an instant (UT).",
     "x, y: the shadow axis on the fundamental plane, Earth radii; d, mu: degrees;\n"
     "l1, l2: penumbra and umbra radii, Earth radii; f1, f2: their half-angles, degrees",
     "kestrova-cli elements 2024-04-08 18 17 0"},
    {"contacts", "contacts  DATE", Ephemeris::Classic, ContactsCommand,
     "The minutes (UT) at which the penumbra and the umbra touch the Earth and leave it.",
     "one sentence a contact: \"Moon enters penumbra: HH:MM\" ...; \"--:--\" for none",
     "kestrova-cli contacts 2024-04-08"},
    {"snapshot", "snapshot  DATE HOUR MINUTE SECOND [--points] [--png FILE [--size WxH]]",
     Ephemeris::Classic, SnapshotCommand,
     "The outlines of the penumbra and the umbra on the Earth at an instant.",
     "penumbraPoints, penumbraLat, penumbraLon (extent), the same for umbra;\n"
     "with --points one line \"P|U LAT LON\" a point",
     "kestrova-cli snapshot 2024-04-08 18 17 0"},
    {"riseset", "riseset   DATE LATITUDE", Ephemeris::Classic, RiseSetCommand,
     "Sunrise and sunset at a latitude on the Greenwich meridian.", "rise, set: hours UT",
     "kestrova-cli riseset 2024-06-21 52"},
    {"path", "path      DATE [--json]", Ephemeris::Precise, PathCommand,
     "The path of a central eclipse minute by minute: the central line, its two limits, the "
     "width and the duration.",
     "time_ut, central_lat, central_lon; north_lat, north_lon and south_lat, south_lon: the two\n"
     "limits, named by their side of the central line in the shadow's frame (north is the side\n"
     "of the Earth's axis as the shadow sees it). Where the track passes near a pole the\n"
     "\"north\" limit can lie at a lower latitude than the \"south\" one: read them as the two\n"
     "edges of the track, not as compass directions. width_km, limits_distance_km, duration_s,\n"
     "sun_alt (degrees)",
     "kestrova-cli path 2024-04-08"},
    {"map",
     "map       DATE [--png FILE [--size WxH] [--view S,W,N,E|globe:LAT,LON]] [--kml FILE] "
     "[--geojson FILE]",
     Ephemeris::Precise, MapCommand,
     "The map of an eclipse: hourly outlines, the umbra's path and its limits, as a picture, "
     "KML or GeoJSON; with --view the map alone of a latitude/longitude box (Mercator) or of "
     "the globe centred on a point.",
     "the files named; nothing on stdout",
     "kestrova-cli map 2024-04-08 --png texas.png --size 1200x900 --view 28,-104,38,-90"},
    {"print", "print     DATE --pdf FILE", Ephemeris::Precise, PictureCommand,
     "The printed page of an eclipse's map, as PDF.", "the file named",
     "kestrova-cli print 2024-04-08 --pdf eclipse.pdf"},
    {"eclipses", "eclipses  FROM TO [--json] [--where]", Ephemeris::Precise, EclipsesCommand,
     "Every solar eclipse whose greatest eclipse (UT) falls between two dates (both included); "
     "with --where, also where each is seen (slower: about 10 ms an eclipse).",
     "date, greatest_ut (HH:MM:SS), greatest_tt (HH:MM:SS, or YYYY-MM-DDTHH:MM:SS when Delta T\n"
     "moves TT to another date), delta_t_s, type (P partial,\n"
     "A annular, T total, H hybrid), gamma, magnitude, lat, lon (greatest eclipse), sun_alt,\n"
     "sun_az, path_width_km, central_duration_s, saros, lunation, ephemeris; with --where,\n"
     "seen_from: the countries the central path crosses and the regions of the partial zone",
     "kestrova-cli eclipses 2024-01-01 2027-12-31"},
    {"next", "next      DATE [--lunar [--json]]", Ephemeris::Precise, NextCommand,
     "The first solar eclipse after a date (up to the end of 9999).",
     "the eclipses table's line (see eclipses --help)", "kestrova-cli next 2025-01-01"},
    {"previous", "previous  DATE [--lunar [--json]]", Ephemeris::Precise, PreviousCommand,
     "The last solar eclipse before a date (from -1999 on).",
     "the eclipses table's line (see eclipses --help)", "kestrova-cli previous 2025-01-01"},
    {"circumstances", "circumstances DATE", Ephemeris::Precise, CircumstancesCommand,
     "Everything the finder knows of the eclipse of a date: contacts, greatest eclipse and "
     "its polynomial Besselian elements.",
     "name value lines: the table's fields, p1 u1 u2 u3 u4 p4 (UT), x0..mu2, tan_f1, tan_f2",
     "kestrova-cli circumstances 2024-04-08"},
    {"local",
     "local     DATE (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME [--gazetteer FILE]) "
     "[--height M] [--json]",
     Ephemeris::Precise, LocalCommand,
     "What one place sees of the eclipse of a date: contacts, maximum, magnitude, the Sun's "
     "altitude, in UT and in the place's local time.",
     "greatest, delta_t_s, kind (total, annular, partial, none), c1 c2 max c3 c4 (UT),\n"
     "magnitude, obscuration, sun_alt_* and sun_az_* (degrees), sun_up_*, visible,\n"
     "duration_s (totality or annularity), latitude, longitude, height_m, height_from,\n"
     "place, zone (zone_nautical at sea), c1_local ... c4_local (the zone's civil time).\n"
     "NAME: \"Dallas\", \"Dallas, TX\", \"Paris, France\", \"NYC\", \"Munich\"; its height is\n"
     "the gazetteer's (height_from place) unless --height M gives one (height_from given);\n"
     "without either, sea level (height_from sea_level)",
     "kestrova-cli local 2024-04-08 --place \"Dallas, TX\""},
    {"next-local",
     "next-local DATE (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME [--height M]) "
     "[--kind K,...] [--count N] [--json]",
     Ephemeris::Precise, NextLocalCommand,
     "The next eclipses seen from a place after a date, of the kinds asked for (total, "
     "annular, hybrid, partial; any of them without --kind).",
     "for each: the eclipses table's line, then the local fields (see local --help)",
     "kestrova-cli next-local 2025-01-01 --place Madrid --kind total --count 3"},
    {"local-eclipses",
     "local-eclipses FROM TO (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME [--height M]) "
     "[--kind K,...] [--lunar] [--json]",
     Ephemeris::Precise, LocalEclipsesCommand,
     "Every eclipse seen from a place between two years or dates (YYYY or YYYY-MM-DD, both "
     "included): the table eclipse watchers look up for their town.",
     "date, kind (as seen there), magnitude, obscuration, maximum_ut, maximum_local, zone,\n"
     "duration_s and duration (totality or annularity), sun_altitude_max (degrees),\n"
     "eclipse_type (P A T H, as seen on the whole Earth); with --lunar the lunar eclipses\n"
     "of which some phase is seen there (to the year 3000): date, type, umbral_magnitude,\n"
     "penumbral_magnitude, greatest_ut, greatest_local, zone, total_duration_s,\n"
     "total_duration, moon_alt_greatest (refracted, degrees), moon_up_greatest",
     "kestrova-cli local-eclipses 2024 2050 --place Madrid"},
    {"lunar-eclipses", "lunar-eclipses FROM TO [--json]   (dates as YYYY-MM-DD)",
     Ephemeris::Precise, LunarEclipsesCommand,
     "Every lunar eclipse between two dates (both included).", "see the README's lunar table",
     "kestrova-cli lunar-eclipses 2025-01-01 2026-12-31"},
    {"lunar", "lunar     DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]",
     Ephemeris::Precise, LunarCommand, "What one place sees of the lunar eclipse of a date.",
     "contacts in UT and local time, the Moon's altitude and azimuth, visible",
     "kestrova-cli lunar 14 3 2025 --place Madrid"},
    {"lunar-map", "lunar-map DAY MONTH YEAR [--kml FILE] [--geojson FILE]", Ephemeris::Precise,
     LunarMapCommand,
     "Where a lunar eclipse is seen: the Moon's horizon curves at the contacts, as KML or "
     "GeoJSON.",
     "the files named", "kestrova-cli lunar-map 14 3 2025 --kml lunar.kml"},
    {"zone", "zone      LATITUDE LONGITUDE", Ephemeris::Precise, ZoneCommand,
     "The time zone of a point: the zone of the place on land, the nautical zone at sea.",
     "zone (IANA name), nautical (true at sea), offset_now (UTC offset now, hours)",
     "kestrova-cli zone 64.15 -21.94"},
};

// The folder of this program, from /proc/self/exe; empty if unknown.
std::string ProgramFolder() {
    char path[4096];
    const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
    if (n <= 0)
        return {};
    const std::string exe(path, static_cast<std::size_t>(n));
    const std::size_t slash = exe.rfind('/');
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

} // namespace

static void PrintUsage(std::FILE* out) {
    std::fputs("usage:\n", out);
    for (const CliCommand& c : kCommands)
        std::fprintf(out, "  kestrova-cli %s\n", c.usage);
    std::fputs("  kestrova-cli --help | --version | COMMAND --help\n"
               "every command also takes --ephemeris classic|precise, the theories it computes\n"
               "with: classic by default for ephemeris, elements, contacts, snapshot and riseset,\n"
               "precise for the others. The outlines, umbra points and limit curves of map and\n"
               "print are always the classic theories'; their path layers and the KML and GeoJSON\n"
               "follow --ephemeris. Every answer names its engine.\n"
               "the lunar commands also take --shadow chauvenet|danjon (the atmosphere's\n"
               "enlargement of the shadow; default chauvenet)\n",
               out);
    std::fprintf(out, "%s\n", kDateNote);
}

// COMMAND --help: the usage line, what it answers, its fields and an example.
static void PrintCommandHelp(const CliCommand& c) {
    std::printf("usage: kestrova-cli %s\n\n%s\n\n%s\n\nOutput:\n", c.usage, c.summary, kDateNote);
    std::string fields = c.fields;
    std::size_t start = 0;
    while (start < fields.size()) {
        std::size_t end = fields.find('\n', start);
        if (end == std::string::npos)
            end = fields.size();
        std::printf("  %s\n", fields.substr(start, end - start).c_str());
        start = end + 1;
    }
    std::printf("\nExample:\n  %s\n", c.example);
}

// A date given as one argument "YYYY-MM-DD" where the command reads DAY MONTH YEAR:
// the arguments with it as three. Empty when argv[2] is not such a date (a malformed
// one is said on stderr and sets failed).
static std::vector<std::string> ExpandIsoDate(int argc, char** argv, bool& failed) {
    failed = false;
    if (argc < 3 || !LooksLikeIsoDate(argv[2]))
        return {};
    const std::optional<DateArg> date = ParseIsoDateArg(argv[2]);
    if (!date) {
        failed = true;
        return {};
    }
    std::vector<std::string> args(argv, argv + argc);
    args.erase(args.begin() + 2);
    args.insert(args.begin() + 2, {std::to_string(date->day), std::to_string(date->month),
                                   std::to_string(date->year)});
    return args;
}

int CliUsage() {
    PrintUsage(stderr);
    return 2;
}

int RunRenderProgram(int argc, char** argv, Ephemeris engine) {
    const std::string folder = ProgramFolder();
    // Beside this program in the build tree; in libexec/kestrova when installed.
    const std::string candidates[] = {folder + "/kestrova-render",
                                      folder + "/../libexec/kestrova/kestrova-render"};
    std::vector<char*> args(argv, argv + argc);
    static char option[] = "--ephemeris";
    static char classic[] = "classic";
    static char precise[] = "precise";
    args.push_back(option);
    args.push_back(engine == Ephemeris::Precise ? precise : classic);
    args.push_back(nullptr);
    for (const std::string& program : candidates) {
        if (access(program.c_str(), X_OK) == 0) {
            std::fflush(stdout);
            args[0] = const_cast<char*>(program.c_str());
            execv(program.c_str(), args.data());
        }
    }
    std::fprintf(stderr, "kestrova-cli: the picture commands need kestrova-render, which is not "
                         "installed beside this program\n");
    return 1;
}

int main(int argc, char** argv) {
    if (argc < 2)
        return CliUsage();
    if (argc == 2 && std::strcmp(argv[1], "--help") == 0) {
        PrintUsage(stdout);
        return 0;
    }
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("kestrova-cli %s\n", kKestrovaVersion);
        return 0;
    }
    for (const CliCommand& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0)
            continue;
        if (argc == 3 && std::strcmp(argv[2], "--help") == 0) {
            PrintCommandHelp(c);
            return 0;
        }
        EngineArgs engineArgs = TakeEphemerisOption(argc, argv, c.defaultEngine);
        if (!engineArgs.engine)
            return 1;
        const int restCount = static_cast<int>(engineArgs.rest.size() - 1);
        // The commands that read dates themselves take either form already.
        const bool readsOwnDates = c.run == EclipsesCommand || c.run == LocalCommand ||
                                   c.run == NextLocalCommand || c.run == LocalEclipsesCommand ||
                                   c.run == ZoneCommand || c.run == LunarEclipsesCommand;
        bool failed = false;
        std::vector<std::string> expanded;
        if (!readsOwnDates)
            expanded = ExpandIsoDate(restCount, engineArgs.rest.data(), failed);
        if (failed)
            return 1;
        if (expanded.empty())
            return c.run(restCount, engineArgs.rest.data(), *engineArgs.engine);
        std::vector<char*> args;
        for (std::string& a : expanded)
            args.push_back(a.data());
        args.push_back(nullptr);
        return c.run(static_cast<int>(expanded.size()), args.data(), *engineArgs.engine);
    }
    std::fprintf(stderr, "kestrova-cli: no command \"%s\"\n", PrintableText(argv[1]).c_str());
    return CliUsage();
}
