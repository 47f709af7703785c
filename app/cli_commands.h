#pragma once

// The commands of kestrova-cli. Each takes the whole argument vector (argv[1] is
// the command's name), without the --ephemeris option, and the engine it chose
// (or the command's own default), and returns the exit status: 0 done, 1 bad
// input or a failed write, 2 a usage error.

#include "ephemeris/engine.h"

struct CliCommand {
    const char* name;
    const char* usage;       // the command's line of the usage text
    Ephemeris defaultEngine; // without --ephemeris
    int (*run)(int argc, char** argv, Ephemeris engine);
    const char* summary; // what it answers, in a sentence
    const char* fields;  // what it prints, one field a line
    const char* example; // a call to try
};

// The zone command: the time zone of a point (cli_local.cpp).
int ZoneCommand(int argc, char** argv, Ephemeris engine);

// Prints the usage text on stderr; returns 2.
int CliUsage();

// The picture commands (snapshot --png, map, print) need Qt: they run in the
// kestrova-render program beside this one, which gets the same arguments and
// --ephemeris with the engine's name.
int RunRenderProgram(int argc, char** argv, Ephemeris engine);

// path DAY MONTH YEAR [--json]: the central line of the date's eclipse.
int PathCommand(int argc, char** argv, Ephemeris engine);

// map DAY MONTH YEAR with --png, --kml and --geojson files.
int MapCommand(int argc, char** argv, Ephemeris engine);

// The eclipse finder (cli_eclipses.cpp).
int EclipsesCommand(int argc, char** argv, Ephemeris engine);
int NextCommand(int argc, char** argv, Ephemeris engine);
int PreviousCommand(int argc, char** argv, Ephemeris engine);
int CircumstancesCommand(int argc, char** argv, Ephemeris engine);

// local and next-local: what one place sees of a solar eclipse (cli_local.cpp).
int LocalCommand(int argc, char** argv, Ephemeris engine);
int NextLocalCommand(int argc, char** argv, Ephemeris engine);
int LocalEclipsesCommand(int argc, char** argv, Ephemeris engine);

// Lunar eclipses (cli_lunar.cpp): the table, one eclipse as a place sees it, and
// next/previous with --lunar (forward: next).
int LunarEclipsesCommand(int argc, char** argv, Ephemeris engine);
int LunarCommand(int argc, char** argv, Ephemeris engine);
int LunarStepCommand(int argc, char** argv, Ephemeris engine, bool forward);
// lunar-map: the curves of the Moon on the horizon at the contacts, as KML or GeoJSON.
int LunarMapCommand(int argc, char** argv, Ephemeris engine);
