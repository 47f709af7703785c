// The fast contact-time search against the 1440-step sampled run, and the
// finder's global contacts against published contact times.
#include "csv_table.h"
#include "eclipse/contacts.h"
#include "eclipse/finder.h"
#include "ephemeris/timescales.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <set>

namespace {

double JulianDayOfDate(const std::string& date) {
    int year = 0, month = 0, day = 0;
    std::sscanf(date.c_str(), "%d-%d-%d", &year, &month, &day);
    return CalendarToJulianDay(day, month, year, 0.0, 0, 0);
}

double JulianDayOf(const std::string& date, const std::string& time) {
    int hour = 0, minute = 0, second = 0;
    std::sscanf(time.c_str(), "%d:%d:%d", &hour, &minute, &second);
    return JulianDayOfDate(date) + (hour * 3600.0 + minute * 60.0 + second) / 86400.0;
}

void ExpectSameMinutes(double jdStart) {
    const ContactTimes fast = ContactTimesOfDate(jdStart, Ephemeris::Classic);
    const ContactTimes sampled = SampledContactTimesOfDate(jdStart, Ephemeris::Classic);
    const CalendarDate d = JulianDayToCalendarDate(jdStart + 0.5);
    SCOPED_TRACE(std::to_string(d.year) + "-" + std::to_string(d.month) + "-" +
                 std::to_string(d.day));
    ASSERT_EQ(fast.eclipse, sampled.eclipse);
    ASSERT_EQ(fast.umbral, sampled.umbral);
    if (sampled.eclipse) {
        EXPECT_EQ(fast.firstPenumbraStep, sampled.firstPenumbraStep);
        EXPECT_EQ(fast.lastPenumbraStep, sampled.lastPenumbraStep);
    }
    if (sampled.umbral) {
        EXPECT_EQ(fast.firstUmbraStep, sampled.firstUmbraStep);
        EXPECT_EQ(fast.lastUmbraStep, sampled.lastUmbraStep);
    }
}

TEST(ContactSearch, SameMinutesAsTheSampledRunOnTheReferenceDates) {
    for (const CsvRow& row : LoadCsv("solar_eclipses.csv")) {
        const double jd = JulianDayOfDate(row.text("date"));
        // The date of greatest eclipse and the days either side, which may hold
        // the first or last contacts.
        for (double day = -1.0; day <= 1.0; day += 1.0)
            ExpectSameMinutes(jd + day);
    }
}

TEST(ContactSearch, SameMinutesOnEclipseDatesAcrossTheMillennia) {
    // Every eclipse of a few sample decades, with the days around it: central
    // eclipses whose umbral hits come and go between sampled heights, contacts
    // across midnight, the remote past where Delta T is hours.
    const int decades[] = {-1990, -590, 1000, 1900, 2020, 2990};
    for (int year : decades) {
        const double from = CalendarToJulianDay(1, 1, year, 0.0, 0, 0);
        for (const EclipseCircumstances& c :
             EclipsesBetween(from, from + 3.0 * 365.25, Ephemeris::Classic)) {
            const double date = std::floor(c.jdGreatestUT - 0.5) + 0.5;
            for (double day = -1.0; day <= 1.0; day += 1.0)
                ExpectSameMinutes(date + day);
        }
    }
}

TEST(ContactSearch, SameMinutesOnDatesSpreadOver1900To2100) {
    // Every 151st day: almost all without an eclipse, some within one.
    const double from = CalendarToJulianDay(1, 1, 1900, 0.0, 0, 0);
    const double to = CalendarToJulianDay(1, 1, 2100, 0.0, 0, 0);
    int eclipses = 0;
    for (double jd = from; jd < to; jd += 151.0) {
        ExpectSameMinutes(jd);
        eclipses += ContactTimesOfDate(jd, Ephemeris::Classic).eclipse ? 1 : 0;
    }
    EXPECT_GT(eclipses, 0);
}

TEST(ContactSearch, NoEclipseFarFromNewMoon) {
    // 2024 April 8 is the new moon; a week later nothing, at full moon nothing
    // (the Moon behind the Earth casts no shadow on it).
    const double newMoon = CalendarToJulianDay(8, 4, 2024, 0.0, 0, 0);
    EXPECT_TRUE(ContactTimesOfDate(newMoon, Ephemeris::Classic).eclipse);
    EXPECT_FALSE(ContactTimesOfDate(newMoon + 7.0, Ephemeris::Classic).eclipse);
    EXPECT_FALSE(ContactTimesOfDate(newMoon + 15.0, Ephemeris::Classic).eclipse);
    EXPECT_FALSE(ContactTimesOfDate(std::nan(""), Ephemeris::Classic).eclipse);
}

// P1, U1, U4, P4 of the finder against the published times, compared in TT so
// that the two Delta T models drop out. The canon's times are cut to the second.
TEST(GlobalContacts, AgreeWithPublishedTimes) {
    int compared = 0;
    for (const CsvRow& row : LoadCsv("solar_eclipses.csv")) {
        SCOPED_TRACE(row.text("date"));
        const double jd = JulianDayOfDate(row.text("date"));
        const std::vector<EclipseCircumstances> found =
            EclipsesBetween(jd, jd + 1.0, Ephemeris::Classic);
        ASSERT_EQ(found.size(), 1u);
        const EclipseCircumstances& c = found.front();
        const double canonDeltaT = row.number("delta_t_s");
        const bool centralUmbra = row.text("umbra") == "central";
        const struct {
            const char* name;
            const ContactInstant& ours;
            double toleranceS;
        } contacts[] = {
            {"p1", c.p1, 12.0},
            {"u1", c.u1, centralUmbra ? 12.0 : 60.0},
            {"u4", c.u4, centralUmbra ? 12.0 : 60.0},
            {"p4", c.p4, 12.0},
        };
        for (const auto& contact : contacts) {
            const std::string name = contact.name;
            if (row.empty(name + "_ut")) {
                EXPECT_FALSE(contact.ours.present) << name;
                continue;
            }
            ASSERT_TRUE(contact.ours.present) << name;
            const double published =
                JulianDayOf(row.text(name + "_date"), row.text(name + "_ut")) + 0.5 / 86400.0;
            const double differenceS =
                ((contact.ours.jdUT + c.deltaT / 86400.0) - (published + canonDeltaT / 86400.0)) *
                86400.0;
            EXPECT_NEAR(differenceS, 0.0, contact.toleranceS) << name;
            ++compared;
        }
        EXPECT_EQ(std::string(1, EclipseKindLetter(c.type)), row.text("type"));
    }
    EXPECT_GT(compared, 120);
}

// The fitted polynomials at the canon's reference instant against the canon's.
TEST(PolynomialElementsFit, AgreeWithTheCanonsElements) {
    for (const CsvRow& row : LoadCsv("solar_eclipses.csv")) {
        SCOPED_TRACE(row.text("date"));
        const double jd = JulianDayOfDate(row.text("date"));
        const std::vector<EclipseCircumstances> found =
            EclipsesBetween(jd, jd + 1.0, Ephemeris::Classic);
        ASSERT_EQ(found.size(), 1u);
        const PolynomialElements& p = found.front().elements;
        // Greatest eclipse within half an hour of the whole hour t0.
        EXPECT_NEAR(found.front().jdGreatestTT, p.jdT0, 0.5 / 24.0 + 1e-9);
        const double t0 = JulianDayOfDate(row.text("t0_date_tdt")) + row.number("t0") / 24.0;
        const ElementsOfT e = EvaluateElements(p, (t0 - p.jdT0) * 24.0);
        EXPECT_NEAR(e.x, row.number("x0"), 0.002);
        EXPECT_NEAR(e.y, row.number("y0"), 0.002);
        EXPECT_NEAR(e.d, row.number("d0"), 0.0005);
        EXPECT_NEAR(std::remainder(e.mu - row.number("mu0"), 360.0), 0.0, 0.01);
        EXPECT_NEAR(e.l1, row.number("l10"), 0.0001);
        EXPECT_NEAR(e.l2, row.number("l20"), 0.0001);
        EXPECT_NEAR(e.dx, row.number("x1"), 0.0002);
        EXPECT_NEAR(e.dy, row.number("y1"), 0.0002);
        EXPECT_NEAR(p.mu[1], row.number("mu1"), 0.0005);
        EXPECT_NEAR(p.tanF1, row.number("tanf1"), 2e-6);
        EXPECT_NEAR(p.tanF2, row.number("tanf2"), 2e-6);
    }
}

} // namespace
