// The command-line readers: whatever the argument, a reader either gives a value in
// its range that the text spells exactly, or refuses. Input: arguments separated by
// NUL bytes. The readers' one-line messages go to stderr: run with -close_fd_mask=2
// (libFuzzer keeps its own report on a copy of stderr).

#include "ephemeris/timescales.h"
#include "io/cli_args.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// [+-]?[0-9]+ and nothing else (a '+' not followed by '-').
bool IsDecimalInteger(const std::string& s) {
    std::size_t i = s.size() > 0 && (s[0] == '+' || s[0] == '-') ? 1 : 0;
    if (i == s.size()) {
        return false;
    }
    for (; i < s.size(); ++i) {
        if (s[i] < '0' || s[i] > '9') {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> args(1);
    for (std::size_t i = 0; i < size && args.size() <= 6; ++i) {
        if (data[i] == 0) {
            args.emplace_back();
        } else {
            args.back() += static_cast<char>(data[i]);
        }
    }
    while (args.size() < 6) {
        args.emplace_back("1");
    }
    const char* a[6];
    for (int i = 0; i < 6; ++i) {
        a[i] = args[static_cast<std::size_t>(i)].c_str();
    }

    if (const auto n = ParseIntArg(a[0], "N", -1999, 9999)) {
        Require(*n >= -1999 && *n <= 9999 && IsDecimalInteger(args[0]));
        Require(std::strtoll(a[0], nullptr, 10) == *n);
    }
    if (const auto x = ParseRealArg(a[0], "X", -90.0, 90.0)) {
        Require(std::isfinite(*x) && *x >= -90.0 && *x <= 90.0);
        Require(std::strtod(a[0], nullptr) == *x);
    }
    if (const auto s = ParseRealArgBelow(a[1], "S", 0.0, 60.0)) {
        Require(*s >= 0.0 && *s < 60.0);
    }
    if (const auto d = ParseDateArgs(a[0], a[1], a[2])) {
        Require(CheckDate(d->day, d->month, d->year) == DateCheck::Valid);
    }
    if (const auto d = ParseIsoDateArg(a[0])) {
        Require(CheckDate(d->day, d->month, d->year) == DateCheck::Valid);
    }
    if (const auto t = ParseTimeArgs(a[3], a[4], a[5])) {
        Require(t->hour >= 0 && t->hour <= 23 && t->minute >= 0 && t->minute <= 59 &&
                t->second >= 0.0 && t->second < 60.0);
    }
    if (const auto sz = ParseSizeArg(a[2], "--size", kMaxPictureSide)) {
        Require(sz->width >= 1 && sz->height >= 1 && sz->width <= kMaxPictureSide &&
                sz->height <= kMaxPictureSide);
    }
    return 0;
}
