// kestrova-cli eclipses, next, previous, circumstances: the eclipse finder.
#include "app/cli_commands.h"
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"
#include "io/cli_args.h"
#include "places/seen_from.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace {

double JulianDayOfDate(const DateArg& d) {
    return CalendarToJulianDay(d.day, d.month, d.year, 0.0, 0, 0);
}

int PrintOne(const std::optional<EclipseCircumstances>& c) {
    if (!c) {
        std::fputs("kestrova-cli: no solar eclipse within 30 lunations of this date\n", stderr);
        return 1;
    }
    const int year = JulianDayToCalendarDate(c->jdGreatestUT).year;
    if (year < kFirstSearchYear || year > kLastSolarSearchYear) {
        std::fprintf(stderr,
                     "kestrova-cli: the eclipse found falls in the year %d, outside the years "
                     "%d to %d that the program computes for\n",
                     year, kFirstSearchYear, kLastSolarSearchYear);
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

// The table with a last column, seen_from (DescribeSeenFrom), on each row: quoted
// in CSV, a string member in JSON.
std::string WithSeenFrom(const std::string& table,
                         const std::vector<EclipseCircumstances>& eclipses, bool json) {
    std::string out;
    std::size_t start = 0, row = 0;
    bool header = !json;
    while (start < table.size()) {
        const std::size_t end = table.find('\n', start);
        std::string line = table.substr(start, end - start);
        start = end == std::string::npos ? table.size() : end + 1;
        if (header) {
            line += ",seen_from";
            header = false;
        } else if ((!json || line.rfind("  {", 0) == 0) && row < eclipses.size()) {
            std::string seen = DescribeSeenFrom(WhereSeen(eclipses[row++].elements));
            if (json) {
                std::string escaped;
                for (const char c : seen)
                    escaped += c == '"' || c == '\\' ? std::string("\\") + c : std::string(1, c);
                const std::size_t brace = line.rfind('}');
                line.insert(brace, ", \"seen_from\": \"" + escaped + "\"");
            } else {
                std::string quoted;
                for (const char c : seen)
                    quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
                line += ",\"" + quoted + "\"";
            }
        }
        out += line + "\n";
    }
    return out;
}

} // namespace

// One date of a range from args[at]: "YYYY-MM-DD" or DAY MONTH YEAR; advances at.
std::optional<DateArg> ReadRangeDate(const std::vector<const char*>& args, std::size_t& at,
                                     bool& usage) {
    if (at < args.size() && LooksLikeIsoDate(args[at]))
        return ParseIsoDateArg(args[at++]);
    if (at + 3 > args.size()) {
        // A bare year is the likeliest slip ("eclipses 2024 2030"): say what is meant.
        char* end = nullptr;
        const long year = at < args.size() ? std::strtol(args[at], &end, 10) : 0;
        if (end != nullptr && end != args[at] && *end == '\0') {
            const char* sign = year < 0 ? "-" : "";
            std::fprintf(stderr,
                         "kestrova-cli: \"%s\" is not a date: FROM and TO are DAY MONTH YEAR or "
                         "YYYY-MM-DD (the year %ld is %s%04ld-01-01 %s%04ld-12-31)\n",
                         args[at], year, sign, std::labs(year), sign, std::labs(year));
            return std::nullopt;
        }
        usage = true;
        return std::nullopt;
    }
    at += 3;
    return ParseDateArgs(args[at - 3], args[at - 2], args[at - 1]);
}

// eclipses FROM TO [--json] [--where]
int EclipsesCommand(int argc, char** argv, Ephemeris engine) {
    std::vector<const char*> args;
    bool json = false;
    bool where = false;
    for (int i = 2; i < argc; ++i) {
        if (std::strcmp(argv[i], "--json") == 0)
            json = true;
        else if (std::strcmp(argv[i], "--where") == 0)
            where = true;
        else
            args.push_back(argv[i]);
    }
    std::size_t at = 0;
    bool usage = false;
    const std::optional<DateArg> from = ReadRangeDate(args, at, usage);
    const std::optional<DateArg> to = from ? ReadRangeDate(args, at, usage) : std::nullopt;
    if (usage || (to && at != args.size()))
        return CliUsage();
    if (!from || !to)
        return 1;
    const double jdFrom = JulianDayOfDate(*from);
    const double jdTo = JulianDayOfDate(*to) + 1.0; // TO's date included
    if (jdTo <= jdFrom) {
        std::fputs("kestrova-cli: the range ends before it begins\n", stderr);
        return 1;
    }
    const std::vector<EclipseCircumstances> eclipses = EclipsesBetween(jdFrom, jdTo, engine);
    std::string text = json ? EclipsesJson(eclipses) : EclipsesCsv(eclipses);
    if (where)
        text = WithSeenFrom(text, eclipses, json);
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
