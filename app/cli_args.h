#pragma once

// Strict reading of command-line arguments: the whole argument must be a number
// (decimal, optional sign; reals also with a fraction and exponent) within the
// given range. No "nan", "inf", hex or trailing text. Each reader returns the
// value or writes one line naming the argument to stderr.

#include <optional>
#include <string>

std::optional<long long> ParseIntArg(const char* text, const char* name, long long min,
                                     long long max);
std::optional<double> ParseRealArg(const char* text, const char* name, double min, double max);

// A calendar date as DAY MONTH YEAR arguments or as "YYYY-MM-DD" (a leading minus
// for negative years), checked to exist (see CheckDate).
struct DateArg {
    int day = 0;
    int month = 0;
    int year = 0;
};
std::optional<DateArg> ParseDateArgs(const char* day, const char* month, const char* year);
std::optional<DateArg> ParseIsoDateArg(const char* text);
