// The precise engine's Besselian elements against the canon's published polynomials
// (tests/data/eclipse_catalogue_sample.csv, 127 eclipses over -1999..3000), at each
// polynomial's reference instant t0 TT, and the fit of those elements against the theory.
#include "csv_table.h"

#include "eclipse/besselian.h"
#include "eclipse/polynomial_elements.h"
#include "ephemeris/apparent.h"
#include "ephemeris/delta_t.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

namespace {

struct Spread {
    double max = 0.0;
    double sum = 0.0;
    double sumSquares = 0.0;
    int count = 0;
    void Add(double error) {
        max = std::max(max, std::fabs(error));
        sum += error;
        sumSquares += error * error;
        ++count;
    }
    double Mean() const { return count > 0 ? sum / count : 0.0; }
    double Rms() const { return count > 0 ? std::sqrt(sumSquares / count) : 0.0; }
};

struct Spreads {
    Spread x, y, d, mu, l1, l2;
    void Print(const char* range) const {
        std::printf("%s (%d eclipses): max/rms x %.6f/%.6f y %.6f/%.6f d %.6f/%.6f "
                    "mu %.6f/%.6f l1 %.6f l2 %.6f\n",
                    range, x.count, x.max, x.Rms(), y.max, y.Rms(), d.max, d.Rms(), mu.max,
                    mu.Rms(), l1.max, l2.max);
    }
};

} // namespace

TEST(PreciseEngine, BesselianElementsMatchTheCanon) {
    Spreads modern, all;
    for (const CsvRow& row : LoadCsv("eclipse_catalogue_sample.csv")) {
        // t0 is the whole TT hour nearest greatest eclipse.
        const double jdGreatest = row.number("jd_td");
        double jdT0 = std::floor(jdGreatest + 0.5) - 0.5 + row.number("t0_td_h") / 24.0;
        jdT0 += std::round(jdGreatest - jdT0); // t0 may belong to the next day
        const std::string& date = row.text("date_td_iso");
        const int year = std::stoi(date.substr(0, date.find('-', 1)));
        // The UT of that instant with the engine's own Delta T.
        double deltaT = DeltaTSeconds(jdT0, Ephemeris::Precise);
        deltaT = DeltaTSeconds(jdT0 - deltaT / 86400.0, Ephemeris::Precise);
        const BesselianElements e =
            ElementsAt(ApparentPlacesAt(jdT0 - deltaT / 86400.0, deltaT, Ephemeris::Precise));

        const double dx = e.x - row.number("x0");

        const double dy = e.y - row.number("y0");
        const double dd = e.d - row.number("d0");
        const double wantMu = row.number("mu0") - 0.00417807 * deltaT; // hour angle at the UT
        const double dmu = std::remainder(e.mu - wantMu, 360.0);
        const double dl1 = e.l1 - row.number("l10");
        const double dl2 = e.l2 - row.number("l20");
        for (Spreads* s : {&all, year >= 1600 && year <= 2400 ? &modern : nullptr}) {
            if (s == nullptr)
                continue;
            s->x.Add(dx);
            s->y.Add(dy);
            s->d.Add(dd);
            s->mu.Add(dmu);
            s->l1.Add(dl1);
            s->l2.Add(dl2);
        }
        // Just above what the engine reaches (the lines printed below). Away from today
        // the tolerance grows with the square of the centuries from 1955: the canon's Moon
        // (ELP-2000/82) and ELP/MPP02 part there by up to some 13". A geometric Moon (0.0002) or a
        // broken term of either theory fails in the centuries around today; a Moon precessed unlike
        // the Sun (IAU 1976 against VSOP87D's Laskar) puts x 0.025 off at -2000, and DE405's tidal
        // acceleration instead of the canon's puts it 0.008 off: both fail there.
        const double u2 = ((year - 1955) / 100.0) * ((year - 1955) / 100.0);
        EXPECT_NEAR(dx, 0.0, 0.0001 + 3.5e-6 * u2) << date << " x " << e.x;
        EXPECT_NEAR(dy, 0.0, 0.0001 + 1.8e-6 * u2) << date << " y " << e.y;
        EXPECT_NEAR(dd, 0.0, 0.00002 + 8e-8 * u2) << date << " d " << e.d;
        EXPECT_NEAR(dmu, 0.0, 0.00003 + 1.3e-7 * u2)
            << date << " mu " << e.mu << " want " << wantMu;
        // The cones follow the canon's Sun radius (959.63" at 1 AU): the round 696 000 km
        // puts l1 and l2 up to 5e-6 above its values.
        EXPECT_NEAR(dl1, 0.0, 3e-6 + 1e-7 * u2) << date << " l1 " << e.l1;
        EXPECT_NEAR(dl2, 0.0, 3e-6 + 1e-7 * u2) << date << " l2 " << e.l2;
    }
    modern.Print("1600-2400");
    all.Print("-1999-3000");
    // The canon gives l1 and l2 to 1e-6: over the modern rows their rounding averages out
    // to some 5e-8, and what is left is the cones' own bias (the Sun's radius taken from
    // the angle 959.63" instead of its sine leaves +9e-7).
    EXPECT_NEAR(modern.l1.Mean(), 0.0, 3e-7);
    EXPECT_NEAR(modern.l2.Mean(), 0.0, 3e-7);
    EXPECT_GT(modern.x.count, 20);
    EXPECT_EQ(all.x.count, 127);
}

namespace {

// x^2 + y^2 of the precise engine's elements at an instant of TT.
double AxisDistanceSquared(double jdTT) {
    const double deltaT = DeltaTSeconds(jdTT, Ephemeris::Precise);
    const BesselianElements e =
        ElementsAt(ApparentPlacesAt(jdTT - deltaT / 86400.0, deltaT, Ephemeris::Precise));
    return e.x * e.x + e.y * e.y;
}

} // namespace

// Greatest eclipse (the axis closest to the Earth's centre), found by golden-section
// search within 2.4 hours of the canon's: in TT within 0.6 s over 1600-2400 and 27 s
// everywhere (the lunar theories part by up to some 13" there, though no longer secularly:
// with DE405's tidal acceleration greatest eclipse came 0.034 s per century squared early,
// 67 s at -1737). In UT, with the engine's Delta T: within 1.5 s over 1600-2012, where the
// canon's Delta T is the same expressions or observed values (after 2012 its extrapolation
// runs up to 6 s ahead of the observed ones), so that a Delta T a few seconds off fails;
// within 27 s everywhere.
TEST(PreciseEngine, GreatestEclipseMatchesTheCanon) {
    double worstRecentTT = 0.0;
    double worstObservedUT = 0.0;
    double worstTT = 0.0;
    double worstUT = 0.0;
    for (const CsvRow& row : LoadCsv("eclipse_catalogue_sample.csv")) {
        const double jdCanon = row.number("jd_td");
        double a = jdCanon - 0.1;
        double b = jdCanon + 0.1;
        for (int i = 0; i < 50; ++i) {
            const double m1 = a + 0.381966 * (b - a);
            const double m2 = b - 0.381966 * (b - a);
            if (AxisDistanceSquared(m1) < AxisDistanceSquared(m2))
                b = m2;
            else
                a = m1;
        }
        const double jd = 0.5 * (a + b);
        const std::string& date = row.text("date_td_iso");
        const int year = std::stoi(date.substr(0, date.find('-', 1)));
        const double ttError = (jd - jdCanon) * 86400.0;
        const double utError =
            ttError - DeltaTSeconds(jd, Ephemeris::Precise) + row.number("delta_t_s");
        if (year >= 1600 && year <= 2400) {
            EXPECT_NEAR(ttError, 0.0, 0.6) << date << " greatest eclipse, s TT";
            worstRecentTT = std::max(worstRecentTT, std::fabs(ttError));
        }
        if (year >= 1600 && year <= 2012) {
            EXPECT_NEAR(utError, 0.0, 1.5) << date << " greatest eclipse, s UT";
            worstObservedUT = std::max(worstObservedUT, std::fabs(utError));
        }
        EXPECT_NEAR(ttError, 0.0, 27.0) << date << " greatest eclipse, s TT";
        EXPECT_NEAR(utError, 0.0, 27.0) << date << " greatest eclipse, s UT";
        worstTT = std::max(worstTT, std::fabs(ttError));
        worstUT = std::max(worstUT, std::fabs(utError));
    }
    std::printf("greatest eclipse: %.2f s TT over 1600-2400, %.2f s UT over 1600-2012, %.1f s TT "
                "and %.1f s UT over -1999-3000\n",
                worstRecentTT, worstObservedUT, worstTT, worstUT);
}

// The fit takes the precise engine at only some of its nodes: between them it must still
// follow the precise theory, in every era the canon sample spans.
TEST(PreciseEngine, FittedElementsFollowTheTheoryBetweenTheNodes) {
    const std::vector<CsvRow> rows = LoadCsv("eclipse_catalogue_sample.csv");
    for (std::size_t i = 0; i < rows.size(); i += 12) {
        const double jdT0 = std::round((rows[i].number("jd_td") - 0.5) * 24.0) / 24.0 + 0.5;
        const PolynomialElements p = FitPolynomialElements(jdT0, Ephemeris::Precise);
        for (const double t : {-4.3, -3.1, -1.1, 1.7, 3.2, 4.4}) {
            const double jdTT = jdT0 + t / 24.0;
            const BesselianElements e = ElementsAt(
                ApparentPlacesAt(jdTT - p.deltaT / 86400.0, p.deltaT, Ephemeris::Precise));
            const ElementsOfT f = EvaluateElements(p, t);
            const std::string where = rows[i].text("date_td_iso") + " t " + std::to_string(t);
            EXPECT_NEAR(f.x, e.x, 1e-6) << where;
            EXPECT_NEAR(f.y, e.y, 1e-6) << where;
            EXPECT_NEAR(f.l1, e.l1, 1e-7) << where;
            EXPECT_NEAR(f.l2, e.l2, 1e-7) << where;
            EXPECT_NEAR(f.d, e.d, 1e-5) << where;
            const double mu = e.mu + kSiderealDegreesPerSecond * p.deltaT;
            EXPECT_NEAR(std::remainder(f.mu - mu, 360.0), 0.0, 1e-5) << where;
        }
    }
}
