#include "ephemeris/ephemeris.h"

#include "ephemeris/delta_t.h"
#include "ephemeris/timescales.h"

#include <cmath>

CEphemeris::CEphemeris(int day, int month, int year, double second, int minute, int hour,
                       int dayCount, int stepsPerDay, int applyDeltaT, double observerLatitude,
                       double observerLongitude, double observerHeight)
    : m_stepsPerDay(stepsPerDay), m_applyDeltaT(applyDeltaT), m_observerLatitude(observerLatitude),
      m_observerLongitude(observerLongitude), m_observerHeight(observerHeight), m_day(day),
      m_month(month), m_year(year), m_deltaT(kDeltaTTable) {
    m_jd = CalendarToJulianDay(day, month, year, second, minute, hour);
    m_jdStart = m_jd;
    m_stepCount = dayCount * stepsPerDay;
    Run();
}

void CEphemeris::InitUnits() {
    m_unitPi = 3.141592653589793;
    m_radToDeg = 57.29577951308232;
    m_degToRadUnit = 0.017453292519943295;
    m_radToArcmin = 3437.7467707849396;
    m_arcminToRad = 0.0002908882086657216;
    m_radToArcsec = 206264.80624709636;
    m_arcsecToRad = 4.84813681109536e-06;
}

void CEphemeris::Run() {
    InitUnits();
    if (m_stepCount < 1 || m_stepsPerDay < 1)
        return;
    const double stepsPerDay = m_stepsPerDay;
    for (int i = 0; i < m_stepCount; ++i) {
        // One rounding per step: repeated addition would drift below the minute.
        m_jd = m_jdStart + i / stepsPerDay;
        m_jdSeries.push_back(m_jd);
        m_deltaTUsed = m_applyDeltaT == 1 ? DeltaTSeconds(m_jd) : 0.0;
        m_jdTheory = m_jd + m_deltaTUsed / 86400.0;
        ComputeTimeArguments();
        ComputeFundamentalArguments();
        ComputeStep();
    }
}

void CEphemeris::ComputeTimeArguments() {
    m_T = (m_jdTheory - 2415020.0) * (1.0 / 36525.0);
    m_T2 = m_T * m_T;
    m_T3 = m_T2 * m_T;

    // IAU 1982 mean sidereal time at 0h UT, in seconds of time, applied to the instant.
    const double tu = ((m_jdTheory - 2451545.0) - 1.0 / 12.0) * (1.0 / 36525.0);
    const double g = (0.093104 * tu + 8640184.812866) * tu + 24110.54841 - 6.2e-6 * tu * tu * tu;
    const double k = -1.0 - std::trunc(-g / 86400.0);
    m_gst = (g - 86400.0 * k) / 240.0;
}

void CEphemeris::ComputeStep() {
    ComputeMoonLatitudeFactors();
    ComputeMoonLongitude();
    ComputeMoonLatitude();
    ComputeMoonParallax();

    ComputeNutation();
    ApplyNutationToMoon();
    EclipticToEquatorial();
    m_convRightAscensionHours = m_convRightAscension * 0.06666666666666667;

    ComputeSunOrbit();

    m_moonRAHours.push_back(m_convRightAscensionHours);
    m_moonDec.push_back(m_convDeclination);
    m_moonParallax.push_back(m_moonParallaxDeg);

    ComputeSunPerturbations();
    CompleteSunPosition();
    EclipticToEquatorial();

    m_sunRA.push_back(m_convRightAscension);
    m_sunDec.push_back(m_convDeclination);
    m_sunGST.push_back(m_gst);
    m_sunRAHours.push_back(m_convRightAscension * 0.06666666666666667);
    m_sunDistance.push_back(m_sunRadiusVector);
}

void CEphemeris::JulianDayToCalendar(double jd) {
    const CalendarDate date = JulianDayToCalendarDate(jd);
    m_calendarDay = date.day;
    m_calendarMonth = date.month;
    m_calendarYear = date.year;
}
