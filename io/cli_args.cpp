#include "io/cli_args.h"

#include "ephemeris/timescales.h"
#include "model/texts.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <vector>

namespace {

// The argument as it may be quoted in a one-line message: control bytes as \xNN,
// and at most 40 bytes of it.
std::string Quotable(const char* text) {
    constexpr std::size_t kMaxShown = 40;
    std::string out;
    std::size_t i = 0;
    for (; text[i] != '\0' && i < kMaxShown; ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x20 || c == 0x7f) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02x", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    if (text[i] != '\0')
        out += "...";
    return out;
}

void Complain(const char* name, const char* text, const char* want) {
    std::fprintf(stderr, "kestrova-cli: %s \"%s\" is not %s\n", name, Quotable(text).c_str(), want);
}

std::optional<DateArg> Checked(DateArg d) {
    const std::string problem = DateProblemText(d.day, d.month, d.year);
    if (!problem.empty()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", problem.c_str());
        return std::nullopt;
    }
    return d;
}

// The text after an optional '+': from_chars takes a '-' but not a '+'. A '+'
// followed by another sign is no number (nullptr).
const char* NumberStart(const char* text) {
    if (text[0] != '+')
        return text;
    return text[1] == '-' || text[1] == '+' ? nullptr : text + 1;
}

} // namespace

std::optional<long long> ParseIntArg(const char* text, const char* name, long long min,
                                     long long max) {
    const char* end = text + std::strlen(text);
    const char* begin = NumberStart(text);
    long long value = 0;
    if (begin == nullptr || begin == end) {
        begin = end; // reported below
    }
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (begin == end || ec != std::errc() || ptr != end || value < min || value > max) {
        const std::string want =
            "a whole number from " + std::to_string(min) + " to " + std::to_string(max);
        Complain(name, text, want.c_str());
        return std::nullopt;
    }
    return value;
}

namespace {

// A real in [min, max], or in [min, max) when below.
std::optional<double> RealArg(const char* text, const char* name, double min, double max,
                              bool below) {
    const char* end = text + std::strlen(text);
    const char* begin = NumberStart(text);
    if (begin == nullptr) {
        begin = end; // reported below
    }
    double value = 0.0;
    const auto [ptr, ec] = std::from_chars(begin, end, value, std::chars_format::general);
    // from_chars also reads "nan" and "inf": only finite values in range pass.
    if (begin == end || ec != std::errc() || ptr != end || !std::isfinite(value) || value < min ||
        value > max || (below && value == max)) {
        char want[128];
        std::snprintf(want, sizeof want, "a number from %g to %s%g", min, below ? "below " : "",
                      max);
        Complain(name, text, want);
        return std::nullopt;
    }
    return value;
}

} // namespace

std::optional<double> ParseRealArg(const char* text, const char* name, double min, double max) {
    return RealArg(text, name, min, max, false);
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

bool LooksLikeIsoDate(const char* text) {
    const std::string s = text;
    std::size_t i = s.empty() || s[0] != '-' ? 0 : 1;
    int dashes = 0;
    bool digit = false;
    for (; i < s.size(); ++i) {
        if (s[i] == '-' && digit) {
            ++dashes;
            digit = false;
        } else if (s[i] >= '0' && s[i] <= '9') {
            digit = true;
        } else {
            return false;
        }
    }
    return dashes == 2 && digit;
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
        std::fprintf(stderr, "kestrova-cli: date \"%s\" is not of the form YYYY-MM-DD\n",
                     Quotable(text).c_str());
        return std::nullopt;
    }
    const std::string year = s.substr(0, monthDash);
    const std::string month = s.substr(monthDash + 1, 2);
    const std::string day = s.substr(dayDash + 1, 2);
    return ParseDateArgs(day.c_str(), month.c_str(), year.c_str());
}

std::optional<double> ParseRealArgBelow(const char* text, const char* name, double min,
                                        double limit) {
    return RealArg(text, name, min, limit, true);
}

std::optional<TimeArg> ParseTimeArgs(const char* hour, const char* minute, const char* second) {
    const auto h = ParseIntArg(hour, "HOUR", 0, 23);
    if (!h)
        return std::nullopt;
    const auto m = ParseIntArg(minute, "MINUTE", 0, 59);
    if (!m)
        return std::nullopt;
    const auto s = ParseRealArgBelow(second, "SECOND", 0.0, 60.0);
    if (!s)
        return std::nullopt;
    return TimeArg{static_cast<int>(*h), static_cast<int>(*m), *s};
}

std::optional<double> ParseLatitudeArg(const char* text, const char* name) {
    return ParseRealArg(text, name, -90.0, 90.0);
}

std::optional<SizeArg> ParseSizeArg(const char* text, const char* name, int maxSide) {
    const std::string s = text;
    const std::size_t x = s.find_first_of("xX");
    long long side[2] = {0, 0};
    bool ok = x != std::string::npos && x > 0 && x + 1 < s.size();
    const std::string parts[2] = {ok ? s.substr(0, x) : "", ok ? s.substr(x + 1) : ""};
    for (int i = 0; ok && i < 2; ++i) {
        const std::string& part = parts[i];
        // Digits only: no sign, no blanks.
        ok = part.find_first_not_of("0123456789") == std::string::npos;
        const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), side[i]);
        ok = ok && ec == std::errc() && ptr == part.data() + part.size() && side[i] >= 1 &&
             side[i] <= maxSide;
    }
    if (!ok) {
        const std::string want = "a size WxH with each side from 1 to " + std::to_string(maxSide) +
                                 " pixels, for example 748x539";
        Complain(name, text, want.c_str());
        return std::nullopt;
    }
    return SizeArg{static_cast<int>(side[0]), static_cast<int>(side[1])};
}

namespace {

// Comma-separated decimal numbers, each whole (no blanks, no other characters).
std::optional<std::vector<double>> NumberList(std::string_view text) {
    std::vector<double> values;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = text.find(',', start);
        std::string_view part = text.substr(
            start, comma == std::string_view::npos ? std::string_view::npos : comma - start);
        if (!part.empty() && part.front() == '+') {
            part.remove_prefix(1);
        }
        double v = 0.0;
        const auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), v);
        if (part.empty() || ec != std::errc() || ptr != part.data() + part.size() ||
            !std::isfinite(v)) {
            return std::nullopt;
        }
        values.push_back(v);
        if (comma == std::string_view::npos) {
            return values;
        }
        start = comma + 1;
    }
}

} // namespace

std::optional<ViewArg> ParseViewArg(const char* text, const char* name) {
    std::string_view t = text;
    constexpr std::string_view kGlobe = "globe:";
    ViewArg view;
    bool ok = false;
    if (t.substr(0, kGlobe.size()) == kGlobe) {
        const auto n = NumberList(t.substr(kGlobe.size()));
        ok = n && n->size() == 2 && (*n)[0] >= -90.0 && (*n)[0] <= 90.0 && (*n)[1] >= -180.0 &&
             (*n)[1] <= 180.0;
        if (ok) {
            view.globe = true;
            view.lat = (*n)[0];
            view.lon = (*n)[1];
        }
    } else {
        const auto n = NumberList(t);
        ok = n && n->size() == 4;
        if (ok) {
            view.south = (*n)[0];
            view.west = (*n)[1];
            view.north = (*n)[2];
            view.east = (*n)[3];
            // An east edge west of the west edge lies a turn further east.
            if (view.east <= view.west && view.east >= -180.0) {
                view.east += 360.0;
            }
            ok = view.south >= -85.0 && view.north <= 85.0 && view.south < view.north &&
                 view.west >= -180.0 && view.west <= 180.0 && view.east > view.west &&
                 view.east <= view.west + 360.0;
        }
    }
    if (!ok) {
        Complain(name, text,
                 "a view S,W,N,E (degrees; south below north within -85..85, west and east "
                 "from -180 to 180) or globe:LAT,LON");
        return std::nullopt;
    }
    return view;
}

std::optional<Ephemeris> ParseEphemerisArg(const char* text, const char* name) {
    const std::optional<Ephemeris> engine = ParseEphemeris(text);
    if (!engine)
        Complain(name, text, "an ephemeris (classic or precise)");
    return engine;
}

EngineArgs TakeEphemerisOption(int argc, char** argv, Ephemeris fallback) {
    EngineArgs out;
    out.engine = fallback;
    bool given = false;
    for (int i = 0; i < argc; ++i) {
        if (i < 2 || std::strcmp(argv[i], "--ephemeris") != 0) {
            out.rest.push_back(argv[i]);
            continue;
        }
        if (given) {
            std::fputs("kestrova-cli: --ephemeris is given twice\n", stderr);
            out.engine.reset();
        } else if (i + 1 >= argc) {
            std::fputs("kestrova-cli: --ephemeris needs a name: classic or precise\n", stderr);
            out.engine.reset();
        } else {
            out.engine = ParseEphemerisArg(argv[i + 1], "--ephemeris");
        }
        if (!out.engine)
            break;
        given = true;
        ++i;
    }
    out.rest.push_back(nullptr);
    return out;
}
