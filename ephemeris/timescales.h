#pragma once

// Conversions between the calendar, Julian days and hours of the civil day.
// Julian days are Universal Time throughout; x.5 falls at 0h UT.

// Julian day of a Gregorian calendar date and UT time (every date is read as
// Gregorian, also before 1582 October 15).
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
    int year = 0; // historical numbering: no year 0
};

// Calendar date of a Julian day at 0h UT (Julian calendar before JD 2299161).
CalendarDate JulianDayToCalendarDate(double jd);
