#include "places/zone_time.h"

#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <ctime>
#include <string_view>
#include <sys/stat.h>

namespace {

constexpr double kUnixEpochJd = 2440587.5;
constexpr long long kTenthsPerDay = 864000;

long long FloorDiv(long long a, long long b) {
    const long long q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Tenths of a second since 1970-01-01 0h UT; empty beyond a hundred thousand years.
std::optional<long long> TenthsSinceEpoch(double jdUT) {
    const double days = jdUT - kUnixEpochJd;
    if (!(std::fabs(days) < 4e7))
        return std::nullopt;
    return std::llround(days * static_cast<double>(kTenthsPerDay));
}

std::string ZoneFolder() {
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

} // namespace

bool IsKnownZone(const std::string& zone) {
    if (zone.empty() || zone.front() == '/' || zone.find("..") != std::string::npos)
        return false;
    const std::string path = ZoneFolder() + "/" + zone;
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && S_ISREG(s.st_mode);
}

std::vector<std::string> ListedZoneNames() {
    std::vector<std::string> names;
    std::FILE* file = std::fopen((ZoneFolder() + "/tzdata.zi").c_str(), "re");
    if (!file)
        return names;
    std::string text;
    char buffer[65536];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0)
        text.append(buffer, n);
    std::fclose(file);
    // "Z NAME ..." names a zone, "L TARGET NAME" a link.
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string_view line(text.data() + start, end - start);
        start = end + 1;
        if (line.size() < 3 || line[1] != ' ' || (line[0] != 'Z' && line[0] != 'L'))
            continue;
        std::string_view rest = line.substr(2);
        if (line[0] == 'L') {
            const std::size_t blank = rest.find(' ');
            if (blank == std::string_view::npos)
                continue;
            rest = rest.substr(blank + 1);
        }
        names.emplace_back(rest.substr(0, rest.find(' ')));
    }
    std::sort(names.begin(), names.end());
    return names;
}

namespace {

struct CivilTime {
    int year, month, day, hour, minute, tenths;
};

CivilTime CivilFromTenths(long long tenths) {
    const long long days = FloorDiv(tenths, kTenthsPerDay);
    const long long inDay = tenths - days * kTenthsPerDay;
    const CalendarDate date =
        JulianDayToCalendarDate(kUnixEpochJd + static_cast<double>(days) + 0.5);
    return {date.year,
            date.month,
            date.day,
            static_cast<int>(inDay / 36000),
            static_cast<int>(inDay / 600 % 60),
            static_cast<int>(inDay % 600)};
}

// The zone's offset and abbreviation at a Unix time, with TZ set for the call.
bool LocalOffset(std::time_t t, const std::string& zone, long& offset, std::string& abbreviation) {
    const char* previous = std::getenv("TZ");
    const std::string saved = previous ? previous : "";
    if (!zone.empty()) {
        setenv("TZ", (":" + zone).c_str(), 1);
        tzset();
    }
    std::tm local{};
    const bool ok = localtime_r(&t, &local) != nullptr;
    if (ok) {
        offset = local.tm_gmtoff;
        abbreviation = local.tm_zone ? local.tm_zone : "";
    }
    if (!zone.empty()) {
        if (previous)
            setenv("TZ", saved.c_str(), 1);
        else
            unsetenv("TZ");
        tzset();
    }
    return ok;
}

} // namespace

std::optional<ZonedInstant> ToZone(double jdUT, const std::string& zone) {
    const std::optional<long long> tenths = TenthsSinceEpoch(jdUT);
    if (!tenths || (!zone.empty() && !IsKnownZone(zone)))
        return std::nullopt;
    const auto seconds = static_cast<std::time_t>(FloorDiv(*tenths, 10));
    long offset = 0;
    std::string abbreviation;
    if (!LocalOffset(seconds, zone, offset, abbreviation) || std::labs(offset) > 86400)
        return std::nullopt;
    const CivilTime c = CivilFromTenths(*tenths + static_cast<long long>(offset) * 10);
    ZonedInstant z;
    z.year = c.year;
    z.month = c.month;
    z.day = c.day;
    z.hour = c.hour;
    z.minute = c.minute;
    z.tenths = c.tenths;
    z.utcOffset = static_cast<int>(offset);
    z.abbreviation = abbreviation;
    return z;
}

std::string FormatZoned(const ZonedInstant& z) {
    const double jdCivil =
        CalendarToJulianDay(z.day, z.month, z.year, z.tenths / 10.0, z.minute, z.hour);
    return FormatInstant(jdCivil, 1);
}
