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

constexpr CliCommand kCommands[] = {
    {"ephemeris", "ephemeris DAY MONTH YEAR HOUR MINUTE SECOND", Ephemeris::Classic,
     EphemerisCommand},
    {"elements", "elements  DAY MONTH YEAR HOUR MINUTE SECOND", Ephemeris::Classic,
     ElementsCommand},
    {"contacts", "contacts  DAY MONTH YEAR", Ephemeris::Classic, ContactsCommand},
    {"snapshot", "snapshot  DAY MONTH YEAR HOUR MINUTE SECOND [--points] [--png FILE [--size WxH]]",
     Ephemeris::Classic, SnapshotCommand},
    {"riseset", "riseset   DAY MONTH YEAR LATITUDE", Ephemeris::Classic, RiseSetCommand},
    {"path", "path      DAY MONTH YEAR [--json]", Ephemeris::Precise, PathCommand},
    {"map",
     "map       DAY MONTH YEAR [--png FILE [--size WxH] [--view S,W,N,E|globe:LAT,LON]] [--kml "
     "FILE] [--geojson FILE]",
     Ephemeris::Precise, MapCommand},
    {"print", "print     DAY MONTH YEAR --pdf FILE", Ephemeris::Precise, PictureCommand},
    {"eclipses", "eclipses  FROM TO [--json]   (dates as YYYY-MM-DD)", Ephemeris::Precise,
     EclipsesCommand},
    {"next", "next      DAY MONTH YEAR [--lunar [--json]]", Ephemeris::Precise, NextCommand},
    {"previous", "previous  DAY MONTH YEAR [--lunar [--json]]", Ephemeris::Precise,
     PreviousCommand},
    {"circumstances", "circumstances DAY MONTH YEAR", Ephemeris::Precise, CircumstancesCommand},
    {"local", "local     DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]",
     Ephemeris::Precise, LocalCommand},
    {"next-local",
     "next-local DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]",
     Ephemeris::Precise, NextLocalCommand},
    {"lunar-eclipses", "lunar-eclipses FROM TO [--json]   (dates as YYYY-MM-DD)",
     Ephemeris::Precise, LunarEclipsesCommand},
    {"lunar", "lunar     DAY MONTH YEAR (LATITUDE LONGITUDE [HEIGHT_M] | --place NAME) [--json]",
     Ephemeris::Precise, LunarCommand},
    {"lunar-map", "lunar-map DAY MONTH YEAR [--kml FILE] [--geojson FILE]", Ephemeris::Precise,
     LunarMapCommand},
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
    std::fputs("  kestrova-cli --help | --version\n"
               "every command also takes --ephemeris classic|precise, the theories it computes\n"
               "with: classic by default for ephemeris, elements, contacts, snapshot and riseset,\n"
               "precise for the others. The outlines, umbra points and limit curves of map and\n"
               "print are always the classic theories'; their path layers and the KML and GeoJSON\n"
               "follow --ephemeris. Every answer names its engine.\n"
               "the lunar commands also take --shadow chauvenet|danjon (the atmosphere's\n"
               "enlargement of the shadow; default chauvenet)\n",
               out);
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
        EngineArgs args = TakeEphemerisOption(argc, argv, c.defaultEngine);
        if (!args.engine)
            return 1;
        return c.run(static_cast<int>(args.rest.size() - 1), args.rest.data(), *args.engine);
    }
    return CliUsage();
}
