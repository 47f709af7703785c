#pragma once

// Strict reading of command-line arguments: the whole argument must be a number
// (decimal, optional sign; reals also with a fraction and exponent) within the
// given range. No "nan", "inf", hex, blanks or trailing text. Each reader returns
// the value or writes one line naming the argument to stderr.

#include "ephemeris/engine.h"

#include <optional>
#include <string>
#include <vector>

std::optional<long long> ParseIntArg(const char* text, const char* name, long long min,
                                     long long max);
std::optional<double> ParseRealArg(const char* text, const char* name, double min, double max);
// As ParseRealArg, but the value must stay below limit: [min, limit).
std::optional<double> ParseRealArgBelow(const char* text, const char* name, double min,
                                        double limit);

// A calendar date as DAY MONTH YEAR arguments or as "YYYY-MM-DD" (a leading minus
// for negative years), checked to exist (see CheckDate).
struct DateArg {
    int day = 0;
    int month = 0;
    int year = 0;
};
std::optional<DateArg> ParseDateArgs(const char* day, const char* month, const char* year);
std::optional<DateArg> ParseIsoDateArg(const char* text);
// Whether an argument has the shape of "YYYY-MM-DD" (digits, dashes, an optional
// leading minus) rather than of a number.
bool LooksLikeIsoDate(const char* text);

// A time of day (UT) as HOUR MINUTE SECOND arguments: hours 0 to 23, minutes 0 to
// 59, seconds from 0 to below 60.
struct TimeArg {
    int hour = 0;
    int minute = 0;
    double second = 0.0; // [0, 60)
};
std::optional<TimeArg> ParseTimeArgs(const char* hour, const char* minute, const char* second);

// A latitude in degrees, -90 to 90.
std::optional<double> ParseLatitudeArg(const char* text, const char* name);

// The largest side of a picture, in pixels (8192 x 8192 takes 256 MiB).
inline constexpr int kMaxPictureSide = 8192;

// A picture size "WxH" (or "WXH"), each side 1 to maxSide pixels.
struct SizeArg {
    int width = 0;
    int height = 0;
};
std::optional<SizeArg> ParseSizeArg(const char* text, const char* name, int maxSide);

// A view of the map: "S,W,N,E", a box of latitudes and longitudes in degrees (south below
// north within -85..85, west from -180 to 180 and east after it by at most a turn, so a box
// across the antimeridian reads 50,170,60,200 or 50,170,60,-160), or "globe:LAT,LON", the
// orthographic globe centred there.
struct ViewArg {
    bool globe = false;
    double south = 0.0, west = 0.0, north = 0.0, east = 0.0; // a box; east > west
    double lat = 0.0, lon = 0.0;                             // a globe's centre
};
std::optional<ViewArg> ParseViewArg(const char* text, const char* name);
// An engine's name, "classic" or "precise".
std::optional<Ephemeris> ParseEphemerisArg(const char* text, const char* name);

// Takes "--ephemeris NAME" out of the arguments (anywhere after the command's
// name, argv[1]) and returns the engine it names, fallback when it is not given;
// none, said on stderr, for a missing or unknown name or the option given twice.
// The arguments left keep their order; the vector ends with a null pointer.
struct EngineArgs {
    std::optional<Ephemeris> engine;
    std::vector<char*> rest;
};
EngineArgs TakeEphemerisOption(int argc, char** argv, Ephemeris fallback);
