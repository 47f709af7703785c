// The finder's table as text: instants rounded to the second across midnight,
// negative years, empty fields, CSV and JSON forms.
#include "eclipse/finder.h"
#include "eclipse/finder_text.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace {

TEST(FormatInstant, RoundsToTheSecondAndCarriesIntoTheNextDay) {
    const double lastSecond = CalendarToJulianDay(31, 12, 2024, 59.6, 59, 23);
    EXPECT_EQ(FormatInstant(lastSecond), "2025-01-01T00:00:00");
    EXPECT_EQ(FormatInstant(CalendarToJulianDay(31, 12, 2024, 59.4, 59, 23)),
              "2024-12-31T23:59:59");
    EXPECT_EQ(FormatInstant(CalendarToJulianDay(28, 2, 2024, 30.0, 15, 6)), "2024-02-28T06:15:30");
    // No text for an instant that is not one.
    EXPECT_EQ(FormatInstant(std::nan("")), "");
    EXPECT_EQ(FormatInstant(INFINITY), "");
}

TEST(FormatInstant, AstronomicalYearsAndTheJulianCalendar) {
    EXPECT_EQ(FormatInstant(CalendarToJulianDay(28, 5, -584, 0.0, 30, 13)), "-0584-05-28T13:30:00");
    // 1582 October 4 (Julian) is followed by October 15 (Gregorian).
    const double oct4 = CalendarToJulianDay(4, 10, 1582, 0.0, 0, 12);
    EXPECT_EQ(FormatInstant(oct4 + 1.0), "1582-10-15T12:00:00");
    EXPECT_EQ(FormatInstant(CalendarToJulianDay(1, 1, 0, 0.0, 0, 0)), "0000-01-01T00:00:00");
}

TEST(EclipseTable, CsvHasTheHeaderAndEmptyFieldsForPartialEclipses) {
    const double from = CalendarToJulianDay(1, 1, 2025, 0.0, 0, 0);
    const std::vector<EclipseCircumstances> eclipses =
        EclipsesBetween(from, CalendarToJulianDay(1, 1, 2026, 0.0, 0, 0), Ephemeris::Classic);
    ASSERT_EQ(eclipses.size(), 2u); // 2025 March 29 and September 21, both partial
    const std::string csv = EclipsesCsv(eclipses);
    const std::string header = "date,greatest_ut,greatest_tt,delta_t_s,type,gamma,magnitude,lat,"
                               "lon,sun_alt,sun_az,path_width_km,central_duration_s,saros,"
                               "lunation,ephemeris\n";
    ASSERT_EQ(csv.substr(0, header.size()), header);
    EXPECT_EQ(std::count(csv.begin(), csv.end(), '\n'), 3);
    const auto fields = EclipseFields(eclipses.front());
    EXPECT_EQ(fields[0], "2025-03-29");
    EXPECT_EQ(fields[4], "P");
    EXPECT_TRUE(fields[11].empty());
    EXPECT_TRUE(fields[12].empty());
    EXPECT_EQ(fields[13], "149");
    EXPECT_NE(csv.find("2025-03-29,10:4"), std::string::npos);
    EXPECT_NE(csv.find("2025-09-21,"), std::string::npos);
}

TEST(EclipseTable, JsonHasEveryKeyAndNullForEmptyFields) {
    const double from = CalendarToJulianDay(1, 3, 2025, 0.0, 0, 0);
    const std::vector<EclipseCircumstances> one =
        EclipsesBetween(from, from + 31.0, Ephemeris::Classic);
    ASSERT_EQ(one.size(), 1u);
    const std::string json = EclipsesJson(one);
    for (const char* key : kEclipseColumns)
        EXPECT_NE(json.find("\"" + std::string(key) + "\": "), std::string::npos) << key;
    EXPECT_NE(json.find("\"path_width_km\": null"), std::string::npos);
    EXPECT_NE(json.find("\"type\": \"P\""), std::string::npos);
    EXPECT_NE(json.find("\"saros\": 149"), std::string::npos);
    EXPECT_EQ(EclipsesJson({}), "[]\n");
}

TEST(CircumstanceLines, ContactsAcrossMidnightAndTheElements) {
    // 1970 August 31: P4 falls on September 1 at 00:49:26 UT (published, canon Delta T
    // 40.9 s; ours is 40.7 s).
    const double day = CalendarToJulianDay(31, 8, 1970, 0.0, 0, 0);
    const std::vector<EclipseCircumstances> found =
        EclipsesBetween(day, day + 1.0, Ephemeris::Classic);
    ASSERT_EQ(found.size(), 1u);
    const auto lines = CircumstanceLines(found.front());
    auto value = [&](const std::string& name) {
        for (const auto& [n, v] : lines)
            if (n == name)
                return v;
        return std::string("(absent)");
    };
    EXPECT_EQ(value("date"), "1970-08-31");
    EXPECT_EQ(value("type"), "A");
    EXPECT_EQ(value("p4").substr(0, 16), "1970-09-01T00:49");
    EXPECT_EQ(value("p1").substr(0, 16), "1970-08-31T18:59");
    EXPECT_EQ(value("t0"), "22");
    EXPECT_NE(value("u2"), "(absent)");
    EXPECT_NE(value("tanf2"), "(absent)");
    EXPECT_EQ(lines.back().first, "t0");
}

TEST(CircumstanceLines, PartialEclipseHasNoUmbralContacts) {
    const std::optional<EclipseCircumstances> c =
        NextEclipse(CalendarToJulianDay(1, 1, 2025, 0.0, 0, 0), Ephemeris::Classic);
    ASSERT_TRUE(c.has_value());
    for (const auto& [name, value] : CircumstanceLines(*c)) {
        EXPECT_NE(name, "u1");
        EXPECT_NE(name, "path_width_km");
    }
}

} // namespace
