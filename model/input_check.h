#pragma once

// The window's input fields as the commands read them: the six texts parsed by the
// fields' rules (atoi/atof meaning, values capped, nan and inf as 0), then checked to
// be a date that exists and, for a snapshot, a time of day. No Qt here.

#include <string>

struct FieldTexts {
    std::string day, month, year;
    std::string hour, minute, second;
};

struct FieldValues {
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    double second = 0.0; // finite
};

FieldValues ParseFieldTexts(const FieldTexts& texts);

// Whether one of the date texts is empty (the "enter day, month and year" box).
bool DateTextsMissing(const FieldTexts& texts);

// Why the values cannot be computed, as the "ERROR" box says it: the date (see
// DateProblemText) and, when withTime, the time of day (hours 0 to 23, minutes 0 to
// 59, seconds from 0 to below 60). Empty when they can.
std::string InputProblemText(const FieldValues& values, bool withTime);

// "The time 25:00:00 does not exist: the hour must be 0 to 23." and so on; empty
// for a time of day.
std::string TimeProblemText(int hour, int minute, double second);
