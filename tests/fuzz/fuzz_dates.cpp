// The calendar over every int: the date check, the conversion to a Julian day (no
// overflow for any date), and back for dates that exist; the hour splitting and
// angle reduction over every double (NaN and infinities included).

#include "ephemeris/timescales.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace {

void Require(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

template <typename T> T Take(const std::uint8_t*& data, std::size_t& size) {
    T value{};
    const std::size_t n = size < sizeof(T) ? size : sizeof(T);
    std::memcpy(&value, data, n);
    data += n;
    size -= n;
    return value;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const int day = Take<int>(data, size);
    const int month = Take<int>(data, size);
    const int year = Take<int>(data, size);
    const int hour = Take<int>(data, size);
    const int minute = Take<int>(data, size);
    const double second = Take<double>(data, size);
    const double any = Take<double>(data, size);

    const DateCheck check = CheckDate(day, month, year);
    const int length = DaysInMonth(month, year);
    Require(length == 0 || (length >= 28 && length <= 31));
    const double jd = CalendarToJulianDay(day, month, year, second, minute, hour);
    if (std::isfinite(second)) {
        Require(std::isfinite(jd));
    }
    if (check == DateCheck::Valid) {
        Require(year >= kFirstYear && year <= kLastYear && month >= 1 && month <= 12 && day >= 1 &&
                day <= length);
        const double midnight = CalendarToJulianDay(day, month, year, 0.0, 0, 0);
        const CalendarDate back = JulianDayToCalendarDate(midnight + 0.5);
        Require(back.day == day && back.month == month && back.year == year);
        // The next day is one Julian day later, across months, years and the reform.
        const CalendarDate next = JulianDayToCalendarDate(midnight + 1.5);
        Require(CheckDate(next.day, next.month, next.year) == DateCheck::Valid ||
                next.year > kLastYear);
    }

    int h = 0;
    int m = 0;
    SplitHoursToMinutes(any, h, m);
    Require(m >= -59 && m <= 59 && (m >= 0 || any < 0.0));
    // Shown times come from JulianDayToHours, in (0, 24]: never negative parts.
    SplitHoursToMinutes(JulianDayToHours(any), h, m);
    Require(h >= 0 && h <= 24 && m >= 0 && m <= 59);
    const double hours = JulianDayToHours(any);
    if (std::isfinite(any) && std::abs(any) < 1e9) {
        Require(hours > 0.0 && hours <= 24.0);
    }
    const CalendarDate d = JulianDayToCalendarDate(any);
    (void)d;
    const double r = NormalizeRadians(any);
    if (std::isfinite(any) && std::abs(any) < 1e12) {
        Require(r >= -1e-9 && r <= 2 * M_PI + 1e-9);
    }
    return 0;
}
