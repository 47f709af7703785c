// path DAY MONTH YEAR [--json]: the central line of the date's eclipse, minute
// by minute, with the limits of the path, its width and the central duration.
#include "app/cli_commands.h"
#include "eclipse/finder_text.h"
#include "eclipse/path.h"
#include "ephemeris/timescales.h"
#include "export/map_export.h"
#include "export/path_table.h"
#include "io/atomic_write.h"
#include "io/cli_args.h"

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

int PathCommand(int argc, char** argv, Ephemeris engine) {
    if (argc != 5 && argc != 6)
        return CliUsage();
    const bool json = argc == 6;
    if (json && std::strcmp(argv[5], "--json") != 0)
        return CliUsage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    const double jd = CalendarToJulianDay(date->day, date->month, date->year, 0.0, 0, 0);
    const EclipsePath path = EclipsePathOfDate(jd, engine);
    if (path.kind == EclipseKind::None || !path.central || path.centralLine.empty()) {
        std::fprintf(stderr, "kestrova-cli: no central solar eclipse on %s %s %s: %s\n", argv[2],
                     argv[3], argv[4], NoCentralLineReason(path).c_str());
        return 1;
    }
    const std::string text = json ? PathTableJson(path) : PathTableCsv(path);
    std::fputs(text.c_str(), stdout);
    return 0;
}

// map DAY MONTH YEAR [--png FILE [--size WxH]] [--kml FILE] [--geojson FILE]: the
// KML and GeoJSON need no Qt and are written here; only the picture goes on to
// kestrova-render.
int MapCommand(int argc, char** argv, Ephemeris engine) {
    if (argc < 7)
        return CliUsage();
    std::vector<char*> renderArgs(argv, argv + 5);
    const char* kml = nullptr;
    const char* geojson = nullptr;
    for (int i = 5; i < argc; i += 2) {
        if (i + 1 >= argc)
            return CliUsage();
        if (std::strcmp(argv[i], "--kml") == 0) {
            kml = argv[i + 1];
        } else if (std::strcmp(argv[i], "--geojson") == 0) {
            geojson = argv[i + 1];
        } else if (std::strcmp(argv[i], "--png") == 0 || std::strcmp(argv[i], "--size") == 0 ||
                   std::strcmp(argv[i], "--view") == 0) {
            renderArgs.push_back(argv[i]);
            renderArgs.push_back(argv[i + 1]);
        } else {
            return CliUsage();
        }
    }
    if (kml || geojson) {
        const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
        if (!date)
            return 1;
        const double jd = CalendarToJulianDay(date->day, date->month, date->year, 0.0, 0, 0);
        const EclipsePath path = EclipsePathOfDate(jd, engine);
        if (path.kind == EclipseKind::None) {
            std::fprintf(stderr, "kestrova-cli: no solar eclipse on %s %s %s\n", argv[2], argv[3],
                         argv[4]);
            return 1;
        }
        const std::vector<MapFeature> features = MapFeatures(path);
        const std::string title =
            std::string("Solar eclipse of ") +
            FormatInstant(path.greatest.jd).substr(0, FormatInstant(path.greatest.jd).find('T'));
        const struct {
            const char* file;
            std::string text;
        } outputs[] = {{kml, kml ? MapKml(features, title) : ""},
                       {geojson, geojson ? MapGeoJson(features) : ""}};
        for (const auto& o : outputs) {
            if (!o.file)
                continue;
            const WriteResult written = WriteFileAtomically(o.file, o.text);
            if (!written.ok()) {
                std::fprintf(stderr, "kestrova-cli: %s\n", written.error.c_str());
                return 1;
            }
        }
    }
    if (renderArgs.size() == 5)
        return 0;
    renderArgs.push_back(nullptr);
    return RunRenderProgram(static_cast<int>(renderArgs.size() - 1), renderArgs.data(), engine);
}
