#pragma once

// Conversions between the calendar, Julian days and hours of the civil day.
// Julian days are Universal Time throughout; x.5 falls at 0h UT.

// Dates are read as astronomers and published eclipse tables read them: in the
// Julian calendar before 1582 October 15 and in the Gregorian from then on, with
// astronomical year numbering (year 0 is 1 BC, -762 is 763 BC).

// The years the program computes for.
inline constexpr int kFirstYear = -1999;
inline constexpr int kLastYear = 9999;

enum class DateCheck {
    Valid,
    YearOutOfRange, // outside kFirstYear..kLastYear
    NoSuchMonth,    // not 1..12
    NoSuchDay,      // not 1..the month's length
    GregorianGap,   // 1582 October 5..14, dropped by the calendar reform
};

DateCheck CheckDate(int day, int month, int year);

// Days in a month of the calendar in force that year (0 for a month not 1..12).
int DaysInMonth(int month, int year);

// Julian day of a calendar date and UT time. Any int date converts without
// overflow; out-of-range days and months roll over arithmetically, so callers
// check the date first.
double CalendarToJulianDay(int day, int month, int year, double second, int minute, int hour);

// Hours since the preceding 0h UT, in (0, 24]: an instant exactly at 0h gives 24.
double JulianDayToHours(double jd);

// Whole hours and minutes of a time in hours, both truncated. The hours are
// first rounded to whole milliseconds so that a step on a whole minute is not
// shown one minute early by rounding noise ((7.6 - 7) * 60 is 35.99999...).
// Non-finite input gives 0:00.
void SplitHoursToMinutes(double hours, int& wholeHours, int& minutes);

// Angle reduced to [0, 2pi) for positive input, (0, 2pi] for negative input.
double NormalizeRadians(double a);

struct CalendarDate {
    int day = 0;
    int month = 0;
    int year = 0; // astronomical numbering: year 0 is 1 BC
};

// Calendar date of the civil (UT) day that contains jd (Julian calendar before
// 1582 October 15). All zero for a jd that is not finite or beyond 1e9.
CalendarDate JulianDayToCalendarDate(double jd);
