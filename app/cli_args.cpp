#include "app/cli_args.h"

#include "ephemeris/timescales.h"
#include "view/texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace {

void Complain(const char* name, const char* text, const char* want) {
    std::fprintf(stderr, "kestrova-cli: %s \"%s\" is not %s\n", name, text, want);
}

std::optional<DateArg> Checked(DateArg d) {
    const std::string problem = DateProblemText(d.day, d.month, d.year);
    if (!problem.empty()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", problem.c_str());
        return std::nullopt;
    }
    return d;
}

} // namespace

std::optional<long long> ParseIntArg(const char* text, const char* name, long long min,
                                     long long max) {
    const char* end = text + std::strlen(text);
    const char* begin = text[0] == '+' ? text + 1 : text;
    long long value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end || value < min || value > max) {
        const std::string want =
            "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
        Complain(name, text, want.c_str());
        return std::nullopt;
    }
    return value;
}

std::optional<double> ParseRealArg(const char* text, const char* name, double min, double max) {
    const char* end = text + std::strlen(text);
    const char* begin = text[0] == '+' ? text + 1 : text;
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    // from_chars also reads "nan" and "inf": only finite values in range pass.
    if (begin == end || ec != std::errc() || ptr != end || !std::isfinite(value) || value < min ||
        value > max) {
        char want[128];
        std::snprintf(want, sizeof want, "a number from %g to %g", min, max);
        Complain(name, text, want);
        return std::nullopt;
    }
    return value;
}

std::optional<DateArg> ParseDateArgs(const char* day, const char* month, const char* year) {
    const auto d = ParseIntArg(day, "DAY", 1, 31);
    if (!d)
        return std::nullopt;
    const auto m = ParseIntArg(month, "MONTH", 1, 12);
    if (!m)
        return std::nullopt;
    const auto y = ParseIntArg(year, "YEAR", kFirstYear, kLastYear);
    if (!y)
        return std::nullopt;
    return Checked({static_cast<int>(*d), static_cast<int>(*m), static_cast<int>(*y)});
}

std::optional<DateArg> ParseIsoDateArg(const char* text) {
    // [-]Y...-MM-DD: the year is everything before the second-last dash.
    const std::string s = text;
    const std::size_t dayDash = s.rfind('-');
    const std::size_t monthDash = dayDash == std::string::npos || dayDash == 0
                                      ? std::string::npos
                                      : s.rfind('-', dayDash - 1);
    if (monthDash == std::string::npos || monthDash == 0 || dayDash - monthDash != 3 ||
        s.size() - dayDash != 3) {
        std::fprintf(stderr, "kestrova-cli: date \"%s\" is not of the form YYYY-MM-DD\n", text);
        return std::nullopt;
    }
    const std::string year = s.substr(0, monthDash);
    const std::string month = s.substr(monthDash + 1, 2);
    const std::string day = s.substr(dayDash + 1, 2);
    return ParseDateArgs(day.c_str(), month.c_str(), year.c_str());
}
