// path DAY MONTH YEAR [--json]: the central line of the date's eclipse, minute
// by minute, with the limits of the path, its width and the central duration.
#include "app/cli_args.h"
#include "app/cli_commands.h"
#include "eclipse/path.h"
#include "ephemeris/timescales.h"
#include "export/path_table.h"

#include <cstdio>
#include <cstring>
#include <string>

int PathCommand(int argc, char** argv) {
    if (argc != 5 && argc != 6)
        return CliUsage();
    const bool json = argc == 6;
    if (json && std::strcmp(argv[5], "--json") != 0)
        return CliUsage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    const double jd = CalendarToJulianDay(date->day, date->month, date->year, 0.0, 0, 0);
    const EclipsePath path = EclipsePathOfDate(jd);
    if (path.kind == EclipseKind::None || !path.central || path.centralLine.empty()) {
        std::fprintf(stderr, "kestrova-cli: no central solar eclipse on %s %s %s: %s\n", argv[2],
                     argv[3], argv[4], NoCentralLineReason(path).c_str());
        return 1;
    }
    const std::string text = json ? PathTableJson(path) : PathTableCsv(path);
    std::fputs(text.c_str(), stdout);
    return 0;
}
