// kestrova-cli eclipses, next, previous, circumstances: the eclipse finder.
#include "app/cli_commands.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"
#include "io/cli_args.h"

#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

namespace {

double JulianDayOfDate(const DateArg& d) {
    return CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0);
}

int PrintOne(const std::optional<EclipseCircumstances>& c) {
    if (!c) {
        std::fputs("kestrova-cli: no solar eclipse within 30 lunations of this date\n", stderr);
        return 1;
    }
    std::fputs(EclipsesCsv({*c}).c_str(), stdout);
    return 0;
}

bool HasLunarFlag(int argc, char** argv) {
    for (int i = 2; i < argc; ++i)
        if (std::strcmp(argv[i], "--lunar") == 0)
            return true;
    return false;
}

} // namespace

// eclipses FROM TO [--json]
int EclipsesCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 4 && argc != 5)
        return CliUsage();
    const bool json = argc == 5;
    if (json && std::strcmp(argv[4], "--json") != 0)
        return CliUsage();
    const std::optional<DateArg> from = ParseIsoDateArg(argv[2]);
    if (!from)
        return 1;
    const std::optional<DateArg> to = ParseIsoDateArg(argv[3]);
    if (!to)
        return 1;
    const double jdFrom = JulianDayOfDate(*from);
    const double jdTo = JulianDayOfDate(*to) + 1.0; // TO's date included
    if (jdTo <= jdFrom) {
        std::fprintf(stderr, "kestrova-cli: the range ends (%s) before it begins (%s)\n", argv[3],
                     argv[2]);
        return 1;
    }
    const std::vector<EclipseCircumstances> eclipses = EclipsesBetween(jdFrom, jdTo, engine);
    const std::string text = json ? EclipsesJson(eclipses) : EclipsesCsv(eclipses);
    std::fputs(text.c_str(), stdout);
    return 0;
}

// next DAY MONTH YEAR
int NextCommand(int argc, char** argv, Ephemeris engine) {
    if (HasLunarFlag(argc, argv))
        return LunarStepCommand(argc, argv, engine, true);
    if (argc != 5)
        return CliUsage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    return PrintOne(NextEclipse(JulianDayOfDate(*date), engine));
}

// previous DAY MONTH YEAR
int PreviousCommand(int argc, char** argv, Ephemeris engine) {
    if (HasLunarFlag(argc, argv))
        return LunarStepCommand(argc, argv, engine, false);
    if (argc != 5)
        return CliUsage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    return PrintOne(PreviousEclipse(JulianDayOfDate(*date), engine));
}

// circumstances DAY MONTH YEAR
int CircumstancesCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 5)
        return CliUsage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    const double jd = JulianDayOfDate(*date);
    const std::vector<EclipseCircumstances> found = EclipsesBetween(jd, jd + 1.0, engine);
    if (found.empty()) {
        std::fputs("kestrova-cli: no solar eclipse on this date\n", stderr);
        return 1;
    }
    std::string text;
    for (const auto& [name, value] : CircumstanceLines(found.front()))
        text += name + " " + value + "\n";
    std::fputs(text.c_str(), stdout);
    return 0;
}
