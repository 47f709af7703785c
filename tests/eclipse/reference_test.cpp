// The program against published predictions: contact minutes and Besselian
// elements of the eclipses in tests/data/solar_eclipses.csv.
#include "eclipse/besselian.h"
#include "eclipse/contacts.h"
#include "eclipse/outline.h"
#include "ephemeris/delta_t.h"
#include "ephemeris/timescales.h"
#include "model/texts.h"
#include "reference_data.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

namespace {

struct Contact {
    const char* dateColumn;
    const char* timeColumn;
    int line;      // index of the program's line
    bool roundsUp; // first contacts show the first minute at which the cone touches
};

constexpr Contact kContacts[] = {
    {"p1_date", "p1_ut", 0, true},
    {"p4_date", "p4_ut", 1, false},
    {"u1_date", "u1_ut", 2, true},
    {"u4_date", "u4_ut", 3, false},
};

// The minute a one-minute stepping should show for a published contact.
int ExpectedMinute(int seconds, bool roundsUp) {
    return roundsUp ? (seconds + 59) / 60 : seconds / 60;
}

int ShownMinute(const std::string& line) {
    const std::string time = line.substr(line.size() - 5);
    return std::stoi(time.substr(0, 2)) * 60 + std::stoi(time.substr(3, 2));
}

TEST(ReferenceEclipses, ContactMinutesAgreeWithPublishedPredictions) {
    int compared = 0;
    int exact = 0;
    int withinOne = 0;
    for (const ReferenceEclipse& ref : LoadReferenceEclipses()) {
        int year = 0, month = 0, day = 0;
        ParseDate(ref.text("date"), year, month, day);
        const ContactTimes c =
            ContactTimesOfDate(CalendarToJulianDay(day, month, year, 0, 0, 0), Ephemeris::Classic);
        const std::array<std::string, 4> lines = ContactLines(c);

        ASSERT_TRUE(c.eclipse) << ref.text("date") << ": no eclipse found";
        EXPECT_EQ(c.umbral, ref.text("umbra") != "none") << ref.text("date");
        if (ref.text("umbra") == "none") {
            EXPECT_EQ(lines[2], "Moon enters totality:  --:--") << ref.text("date");
            EXPECT_EQ(lines[3], "Moon leaves totality:  --:--") << ref.text("date");
        }
        for (const Contact& contact : kContacts) {
            // A contact on the day before or after lies outside a run over the date.
            if (!ref.has(contact.dateColumn) || ref.text(contact.dateColumn) != ref.text("date"))
                continue;
            if (contact.line >= 2 && !c.umbral)
                continue;
            const int want =
                ExpectedMinute(ParseSeconds(ref.text(contact.timeColumn)), contact.roundsUp);
            const int got = ShownMinute(lines[static_cast<std::size_t>(contact.line)]);
            ++compared;
            exact += got == want ? 1 : 0;
            withinOne += std::abs(got - want) <= 1 ? 1 : 0;
            if (std::abs(got - want) > 1)
                std::printf("%s %s: published %s, shown %s\n", ref.text("date").c_str(),
                            contact.timeColumn, ref.text(contact.timeColumn).c_str(),
                            lines[static_cast<std::size_t>(contact.line)].c_str());
            // Grazing contacts near the poles move by minutes between a spherical
            // and an ellipsoidal Earth; nothing else may be that far off.
            EXPECT_LE(std::abs(got - want), 5)
                << ref.text("date") << " " << contact.timeColumn << ": published "
                << ref.text(contact.timeColumn) << ", shown "
                << lines[static_cast<std::size_t>(contact.line)];
        }
    }
    std::printf("contacts within one minute: %d of %d, on the exact minute: %d\n", withinOne,
                compared, exact);
    // What the program reaches with the Earth's flattening; on a sphere grazing
    // contacts near the poles fall minutes off and these counts drop.
    EXPECT_EQ(compared, 134);
    EXPECT_GE(withinOne, 133) << "want at least 133 of " << compared << " within a minute";
    EXPECT_GE(exact, 111) << "want at least 111 of " << compared << " on the exact minute";
}

// Coefficient of t^degree of an element polynomial; at t = 0 only the constant counts.
double Polynomial(const ReferenceEclipse& ref, const std::string& name, int degree) {
    return ref.number(name + std::to_string(degree));
}

TEST(ReferenceEclipses, BesselianElementsAtTheReferenceInstant) {
    struct {
        double x = 0, y = 0, d = 0, mu = 0, l1 = 0, l2 = 0, tanF1 = 0, tanF2 = 0;
    } worst;
    for (const ReferenceEclipse& ref : LoadReferenceEclipses()) {
        int year = 0, month = 0, day = 0;
        ParseDate(ref.text("t0_date_tdt"), year, month, day);
        const double t0 = ref.number("t0");
        // The instant t0 TT in UT, with the program's own Delta T.
        const double jdTT = CalendarToJulianDay(day, month, year, 0.0, 0, 0) + t0 / 24.0;
        double deltaT = DeltaTSeconds(jdTT);
        deltaT = DeltaTSeconds(jdTT - deltaT / 86400.0);
        const double secondsUT = t0 * 3600.0 - deltaT;

        const ApparentPlaces places =
            ApparentPlacesAt(CalendarToJulianDay(day, month, year, secondsUT, 0, 0));
        ASSERT_NEAR(places.deltaT, deltaT, 1e-9) << ref.text("date");
        const BesselianElements m = ElementsAt(places);
        const std::string& date = ref.text("date");

        // The canon's mu is an ephemeris hour angle, reckoned from TT.
        const double wantMu = ref.number("mu0") - 0.00417807 * deltaT;
        const double muError = std::fmod(m.mu - wantMu + 540.0, 360.0) - 180.0;
        worst.x = std::max(worst.x, std::fabs(m.x - Polynomial(ref, "x", 0)));
        worst.y = std::max(worst.y, std::fabs(m.y - Polynomial(ref, "y", 0)));
        worst.d = std::max(worst.d, std::fabs(m.d - Polynomial(ref, "d", 0)));
        worst.mu = std::max(worst.mu, std::fabs(muError));
        worst.l1 = std::max(worst.l1, std::fabs(m.l1 - Polynomial(ref, "l1", 0)));
        worst.l2 = std::max(worst.l2, std::fabs(m.l2 - Polynomial(ref, "l2", 0)));
        worst.tanF1 = std::max(worst.tanF1, std::fabs(m.tanF1 - ref.number("tanf1")));
        worst.tanF2 = std::max(worst.tanF2, std::fabs(m.tanF2 - ref.number("tanf2")));
        // Tolerances a little above what the program reaches (see the line it prints).
        EXPECT_NEAR(m.x, Polynomial(ref, "x", 0), 0.002) << date << " x";
        EXPECT_NEAR(m.y, Polynomial(ref, "y", 0), 0.001) << date << " y";
        EXPECT_NEAR(m.d, Polynomial(ref, "d", 0), 0.0003) << date << " d";
        EXPECT_NEAR(muError, 0.0, 0.007) << date << " mu " << m.mu << " want " << wantMu;
        EXPECT_NEAR(m.l1, Polynomial(ref, "l1", 0), 0.00002) << date << " l1";
        EXPECT_NEAR(m.l2, Polynomial(ref, "l2", 0), 0.0003) << date << " l2";
        EXPECT_NEAR(m.tanF1, ref.number("tanf1"), 2e-7) << date << " tan f1";
        EXPECT_NEAR(m.tanF2, ref.number("tanf2"), 2e-7) << date << " tan f2";
    }
    std::printf("largest differences: x %.5f y %.5f d %.5f mu %.5f l1 %.6f l2 %.6f tanf1 %.2g "
                "tanf2 %.2g\n",
                worst.x, worst.y, worst.d, worst.mu, worst.l1, worst.l2, worst.tanF1, worst.tanF2);
}

} // namespace

namespace {

// Mean position of the umbra's outline at greatest eclipse; the outline of a
// small umbra surrounds the published point of greatest eclipse.
TEST(ReferenceEclipses, UmbraSurroundsThePointOfGreatestEclipse) {
    int checked = 0;
    for (const ReferenceEclipse& ref : LoadReferenceEclipses()) {
        // Near the limb (large gamma) the shadow stretches and its outline's mean
        // moves away from the axis.
        if (ref.text("umbra") != "central" || std::fabs(ref.number("gamma")) > 0.9)
            continue;
        int year = 0, month = 0, day = 0;
        ParseDate(ref.text("date"), year, month, day);
        const int seconds = ParseSeconds(ref.text("greatest_ut"));
        const Outline m = ShadowAt(CalendarToJulianDay(day, month, year, seconds % 60,
                                                       seconds / 60 % 60, seconds / 3600),
                                   true, 1000.0, 0.0, Ephemeris::Classic)
                              .umbra;
        // 1000 heights miss an umbra only a few kilometres across.
        if (m.lat.empty()) {
            EXPECT_LT(std::fabs(ref.number("magnitude") - 1.0), 0.01) << ref.text("date");
            continue;
        }
        ASSERT_EQ(m.lat.size(), m.lon.size());
        double lat = 0.0, east = 0.0, north = 0.0;
        for (std::size_t i = 0; i < m.lat.size(); ++i) {
            lat += m.lat[i];
            east += std::cos(m.lon[i] * 0.017453292519943295);
            north += std::sin(m.lon[i] * 0.017453292519943295);
        }
        lat /= static_cast<double>(m.lat.size());
        const double lon = std::atan2(north, east) / 0.017453292519943295;
        const double lonError = std::fmod(lon - ref.number("greatest_lon") + 540.0, 360.0) - 180.0;
        EXPECT_NEAR(lat, ref.number("greatest_lat"), 1.0) << ref.text("date");
        EXPECT_NEAR(lonError * std::cos(lat * 0.017453292519943295), 0.0, 1.0)
            << ref.text("date") << " lon " << lon << " want " << ref.number("greatest_lon");
        ++checked;
    }
    EXPECT_GT(checked, 20);
}

} // namespace
