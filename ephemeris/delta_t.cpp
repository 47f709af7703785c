#include "ephemeris/delta_t.h"

#include "ephemeris/constants.h"
#include "ephemeris/timescales.h"

#include <algorithm>
#include <cmath>

// Delta T, in seconds, from four sources by range:
//
// - Inside the 40-year table (about 1968 January to 2008 December): the table
//   entry of the year, k = trunc((JD - 2440222.0) / 365.2422), truncated toward
//   zero, so the year before JD 2440222.0 also uses entry 0.
// - 2009 to 2026: the observed values on 1 January (USNO), interpolated linearly.
// - Before the table: the polynomial expressions of F. Espenak and J. Meeus,
//   Five Millennium Canon of Solar Eclipses (NASA TP-2006-214141), section 2.
// - After 2026: the same expressions shifted by a constant so that Delta T
//   continues from the observed 2026 value.
//
// The expressions hold for a Moon with the tidal acceleration -26"/cy^2, with
// which the historical values were derived from ancient eclipses. Outside the
// observed years they get the standard correction for the tidal acceleration ndot
// of the engine's Moon, -0.91072 (ndot + 26) ((y - 1955) / 100)^2 seconds (Espenak
// and Meeus, ibid.), without which the classic engine's eclipses of the remote past
// and future land hours early (constants.h holds the values).
namespace {

struct ObservedDeltaT {
    int year; // value on 1 January, 0h UT
    double seconds;
};

constexpr ObservedDeltaT kObserved[] = {
    {2009, 65.78}, {2010, 66.07}, {2011, 66.32}, {2012, 66.60}, {2013, 66.91}, {2014, 67.28},
    {2015, 67.64}, {2016, 68.10}, {2017, 68.59}, {2018, 68.97}, {2019, 69.22}, {2020, 69.36},
    {2021, 69.36}, {2022, 69.29}, {2023, 69.20}, {2024, 69.18}, {2025, 69.14}, {2026, 69.11},
};

double Square(double v) {
    return v * v;
}

// The tidal acceleration of each engine's Moon: Brown's for the classic one; for the precise
// one lunar laser ranging's, which its Moon is brought to (precise.cpp) and which the canon's
// Moon and Delta T have too.
double TidalAcceleration(Ephemeris engine) {
    return engine == Ephemeris::Precise ? kTidalAccelerationLlr : kTidalAccelerationBrown;
}

double LunarAccelerationCorrection(double y, double tidalAcceleration) {
    return -0.91072 * (tidalAcceleration - kTidalAccelerationHistorical) *
           Square((y - 1955.0) / 100.0);
}

double EspenakMeeus(double y) {
    if (y < -500.0)
        return -20.0 + 32.0 * Square((y - 1820.0) / 100.0);
    if (y < 500.0) {
        const double u = y / 100.0;
        return 10583.6 +
               u * (-1014.41 +
                    u * (33.78311 + u * (-5.952053 +
                                         u * (-0.1798452 + u * (0.022174192 + u * 0.0090316521)))));
    }
    if (y < 1600.0) {
        const double u = (y - 1000.0) / 100.0;
        return 1574.2 +
               u * (-556.01 +
                    u * (71.23472 + u * (0.319781 + u * (-0.8503463 +
                                                         u * (-0.005050998 + u * 0.0083572073)))));
    }
    if (y < 1700.0) {
        const double t = y - 1600.0;
        return 120.0 + t * (-0.9808 + t * (-0.01532 + t / 7129.0));
    }
    if (y < 1800.0) {
        const double t = y - 1700.0;
        return 8.83 + t * (0.1603 + t * (-0.0059285 + t * (0.00013336 - t / 1174000.0)));
    }
    if (y < 1860.0) {
        const double t = y - 1800.0;
        return 13.72 +
               t * (-0.332447 +
                    t * (0.0068612 +
                         t * (0.0041116 +
                              t * (-0.00037436 + t * (0.0000121272 +
                                                      t * (-0.0000001699 + t * 0.000000000875))))));
    }
    if (y < 1900.0) {
        const double t = y - 1860.0;
        return 7.62 + t * (0.5737 +
                           t * (-0.251754 + t * (0.01680668 + t * (-0.0004473624 + t / 233174.0))));
    }
    if (y < 1920.0) {
        const double t = y - 1900.0;
        return -2.79 + t * (1.494119 + t * (-0.0598939 + t * (0.0061966 - t * 0.000197)));
    }
    if (y < 1941.0) {
        const double t = y - 1920.0;
        return 21.20 + t * (0.84493 + t * (-0.076100 + t * 0.0020936));
    }
    if (y < 1961.0) {
        const double t = y - 1950.0;
        return 29.07 + t * (0.407 + t * (-1.0 / 233.0 + t / 2547.0));
    }
    if (y < 1986.0) {
        const double t = y - 1975.0;
        return 45.45 + t * (1.067 + t * (-1.0 / 260.0 - t / 718.0));
    }
    if (y < 2005.0) {
        const double t = y - 2000.0;
        return 63.86 + t * (0.3345 + t * (-0.060374 +
                                          t * (0.0017275 + t * (0.000651814 + t * 0.00002373599))));
    }
    if (y < 2050.0) {
        const double t = y - 2000.0;
        return 62.92 + t * (0.32217 + t * 0.005589);
    }
    if (y < 2150.0)
        return -20.0 + 32.0 * Square((y - 1820.0) / 100.0) - 0.5628 * (2150.0 - y);
    return -20.0 + 32.0 * Square((y - 1820.0) / 100.0);
}

// The expressions for this program's Moon.
double HistoricalDeltaT(double y, double tidalAcceleration) {
    return EspenakMeeus(y) + LunarAccelerationCorrection(y, tidalAcceleration);
}

// Espenak and Meeus, for the decimal year y.
// Julian day of 1 January, 0h UT, of a Gregorian year.
double NewYearJd(int year) {
    return CalendarToJulianDay(1, 1, year, 0.0, 0, 0);
}

double DecimalYear(double jd) {
    return 2000.0 + (jd - 2451544.5) / 365.2425;
}

} // namespace

double DeltaTSeconds(double jd, Ephemeris engine) {
    const double tidalAcceleration = TidalAcceleration(engine);
    if (std::isnan(jd))
        return 0.0;
    const double k = -std::trunc((jd - kDeltaTTableStartJd) * (-1.0 / kDeltaTTableYear));
    if (k >= 0.0 && k < static_cast<double>(kDeltaTTable.size()))
        return kDeltaTTable[static_cast<std::size_t>(k)];

    const double firstObservedJd = NewYearJd(std::begin(kObserved)->year);
    const double lastObservedJd = NewYearJd(std::rbegin(kObserved)->year);
    if (k >= 0.0 && jd < firstObservedJd)
        return kObserved[0].seconds; // the hours between the table's end and 2009
    if (jd >= firstObservedJd && jd < lastObservedJd) {
        const auto* next =
            std::find_if(std::begin(kObserved), std::end(kObserved),
                         [jd](const ObservedDeltaT& o) { return NewYearJd(o.year) > jd; });
        const auto* prev = next - 1;
        const double t0 = NewYearJd(prev->year);
        const double t1 = NewYearJd(next->year);
        return prev->seconds + (next->seconds - prev->seconds) * (jd - t0) / (t1 - t0);
    }
    // Keep the polynomials finite: their years stay within what a date can hold.
    const double y = std::clamp(DecimalYear(jd), -100000.0, 100000.0);
    if (jd >= lastObservedJd) {
        const double shift = std::rbegin(kObserved)->seconds -
                             HistoricalDeltaT(DecimalYear(lastObservedJd), tidalAcceleration);
        return HistoricalDeltaT(y, tidalAcceleration) + shift;
    }
    return HistoricalDeltaT(y, tidalAcceleration);
}

double DeltaTSeconds(double jd) {
    return DeltaTSeconds(jd, Ephemeris::Classic);
}

double DeltaTUncertaintySeconds(double jd) {
    if (std::isnan(jd))
        return 0.0;
    const double firstObservedJd = kDeltaTTableStartJd;
    const double lastObservedJd = NewYearJd(std::rbegin(kObserved)->year);
    if (jd >= firstObservedJd && jd < lastObservedJd)
        return kObservedDeltaTUncertainty;
    const double y = std::clamp(DecimalYear(jd), -100000.0, 100000.0);
    return std::max(kObservedDeltaTUncertainty, 0.8 * Square((y - 1820.0) / 100.0));
}
