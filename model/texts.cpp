#include "model/texts.h"

#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"

#include <cmath>

#include <string>

#include <cstdio>

std::string FormatStepTime(double jd) {
    int hours = 0;
    int minutes = 0;
    SplitHoursToMinutes(JulianDayToHours(jd), hours, minutes);
    char text[32];
    std::snprintf(text, sizeof text, "%.2d:%.2d", hours, minutes);
    return text;
}

std::array<std::string, 4> ContactLines(const ContactTimes& c) {
    const auto time = [&](int step) { return FormatStepTime(ContactStepJD(c, step)); };
    const std::string umbraIn = c.umbral ? time(c.firstUmbraStep) : "--:--";
    const std::string umbraOut = c.umbral ? time(c.lastUmbraStep) : "--:--";
    return {
        "Moon enters penumbra:  " + time(c.firstPenumbraStep),
        "Moon leaves penumbra:  " + time(c.lastPenumbraStep),
        "Moon enters totality:  " + umbraIn,
        "Moon leaves totality:  " + umbraOut,
    };
}

std::array<std::string, 4> LunarContactLines(const LunarEclipse& eclipse) {
    // HH:MM of the instant rounded to the minute.
    const auto minute = [](double jd) { return FormatInstant(std::round(jd * 1440.0) / 1440.0); };
    const auto phase = [&](const std::optional<double>& a, const std::optional<double>& b) {
        if (!a || !b)
            return std::string("--:--");
        const std::string from = minute(*a), to = minute(*b);
        return from.substr(from.find('T') + 1, 5) + " - " + to.substr(to.find('T') + 1, 5) + " UT";
    };
    const LunarContacts& k = eclipse.contacts;
    const std::string greatest = minute(eclipse.jdGreatestUT);
    return {
        "Penumbral phase (P1-P4):  " + phase(k.p1, k.p4),
        "Partial phase (U1-U4):  " + phase(k.u1, k.u4),
        "Totality (U2-U3):  " + phase(k.u2, k.u3),
        "Greatest eclipse:  " + greatest.substr(greatest.find('T') + 1, 5) + " UT",
    };
}

std::string NoEclipseMessage(const std::string& day, const std::string& month,
                             const std::string& year) {
    return "By date:\t" + day + "." + month + "." + year + "\nSolar Eclipses isn't possibly";
}

std::string DateProblemText(int day, int month, int year) {
    static constexpr const char* kMonths[] = {"January",   "February", "March",    "April",
                                              "May",       "June",     "July",     "August",
                                              "September", "October",  "November", "December"};
    const std::string date =
        std::to_string(day) + "." + std::to_string(month) + "." + std::to_string(year);
    switch (CheckDate(day, month, year)) {
    case DateCheck::Valid:
        return {};
    case DateCheck::YearOutOfRange:
        return "The year " + std::to_string(year) +
               " is outside the years this program computes (" + std::to_string(kFirstYear) +
               " to " + std::to_string(kLastYear) + ").";
    case DateCheck::NoSuchMonth:
        return "The date " + date + " does not exist: the month must be 1 to 12.";
    case DateCheck::NoSuchDay:
        return "The date " + date + " does not exist: " + kMonths[month - 1] + " " +
               std::to_string(year) + " has " + std::to_string(DaysInMonth(month, year)) + " days.";
    case DateCheck::GregorianGap:
        return "The date " + date +
               " does not exist: the calendar reform went from 4 to 15 October 1582.";
    }
    return {};
}
