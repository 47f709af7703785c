#pragma once

// The commands of kestrova-cli. Each takes the whole argument vector (argv[1] is
// the command's name) and returns the exit status: 0 done, 1 bad input or a
// failed write, 2 a usage error.

struct CliCommand {
    const char* name;
    const char* usage; // the command's line of the usage text
    int (*run)(int argc, char** argv);
    const char* summary; // what it answers, in a sentence
    const char* fields;  // what it prints, one field a line
    const char* example; // a call to try
};

// The zone command: the time zone of a point (cli_local.cpp).
int ZoneCommand(int argc, char** argv);

// Prints the usage text on stderr; returns 2.
int CliUsage();

// The picture commands (snapshot --png, map, print) need Qt: they run in the
// kestrova-render program beside this one, which gets the same arguments.
int RunRenderProgram(int argc, char** argv);

// path DAY MONTH YEAR [--json]: the central line of the date's eclipse.
int PathCommand(int argc, char** argv);

// map DAY MONTH YEAR with --png, --kml and --geojson files.
int MapCommand(int argc, char** argv);

// The eclipse finder (cli_eclipses.cpp).
int EclipsesCommand(int argc, char** argv);
int NextCommand(int argc, char** argv);
int PreviousCommand(int argc, char** argv);
int CircumstancesCommand(int argc, char** argv);

// local and next-local: what one place sees of a solar eclipse (cli_local.cpp).
int LocalCommand(int argc, char** argv);
int NextLocalCommand(int argc, char** argv);
int LocalEclipsesCommand(int argc, char** argv);

// Lunar eclipses (cli_lunar.cpp): the table, one eclipse as a place sees it, and
// next/previous with --lunar (forward: next).
int LunarEclipsesCommand(int argc, char** argv);
int LunarCommand(int argc, char** argv);
int LunarStepCommand(int argc, char** argv, bool forward);
// lunar-map: the curves of the Moon on the horizon at the contacts, as KML or GeoJSON.
int LunarMapCommand(int argc, char** argv);
