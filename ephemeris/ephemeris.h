#pragma once

#include "platform/object.h"

#include <array>
#include <vector>

// Tabulates the apparent geocentric Sun (Newcomb) and Moon (principal terms of
// Brown's theory) with nutation over a run of equal steps. The constructor runs
// the whole tabulation; afterwards every output series holds one value per step.
//
// Step i lies at the Julian day (UT) start + i / stepsPerDay. With the Delta T
// switch at 1 the theories are evaluated in dynamical time, JD + Delta T / 86400;
// the step's label in m_jdSeries stays UT.
class CEphemeris : public CObject {
public:
    CEphemeris(int day, int month, int year, double second, int minute, int hour, int dayCount,
               int stepsPerDay, int applyDeltaT, double observerLatitude, double observerLongitude,
               double observerHeight);
    ~CEphemeris() override = default;

    // Julian day (0h UT) to calendar date, into m_calendarDay/Month/Year.
    void JulianDayToCalendar(double jd);

    // Universal Times of sunrise and sunset at the observer (body "SUNCE", the
    // Sun) into m_riseUT and m_setUT; NaN where the Sun does not rise or set.
    void RiseSet(const char* body);

    // The run, called by the constructor.
    void Run();
    void InitUnits();
    void ComputeTimeArguments();
    void ComputeFundamentalArguments();
    void ComputeStep();

    // Sun
    void ComputeSunOrbit();
    void ComputeSunPerturbations();
    void CompleteSunPosition();

    // Moon
    void ComputeMoonLatitudeFactors();
    void ComputeMoonLongitude();
    void ComputeMoonLatitude();
    void ComputeMoonParallax();

    // Nutation and the equatorial conversion
    void ComputeNutation();
    void ApplyNutationToMoon();
    void EclipticToEquatorial();

    // Construction parameters and constants
    double m_pi = 3.141592653589793;
    double m_degToRad = 0.017453292519943295;
    int m_stepCount = 0;
    int m_stepsPerDay = 1;
    int m_applyDeltaT = 0;
    double m_observerLatitude = 0.0;  // degrees
    double m_observerLongitude = 0.0; // degrees, east positive
    double m_observerHeight = 0.0;    // metres
    // The civil date the run was built for; RiseSet refines on this same day.
    int m_day = 0;
    int m_month = 0;
    int m_year = 0;

    // Unit constants, set by InitUnits
    double m_unitPi = 0.0;
    double m_radToDeg = 0.0;
    double m_degToRadUnit = 0.0;
    double m_radToArcmin = 0.0;
    double m_arcminToRad = 0.0;
    double m_radToArcsec = 0.0;
    double m_arcsecToRad = 0.0;

    // The current step
    double m_jdStart = 0.0;    // Julian day (UT) of step 0
    double m_jd = 0.0;         // Julian day (UT) of the current step
    double m_jdTheory = 0.0;   // Julian day (TT when the switch is on) the theories use
    double m_deltaTUsed = 0.0; // seconds added for the current step
    double m_T = 0.0;          // Julian centuries from JD 2415020.0
    double m_T2 = 0.0;
    double m_T3 = 0.0;
    double m_gst = 0.0; // Greenwich sidereal angle, degrees, [0, 720)

    // The yearly Delta T table, seconds
    std::array<double, 40> m_deltaT{};

    // Fundamental arguments, radians (E dimensionless)
    double m_sunMeanLongitude = 0.0;   // L
    double m_sunMeanAnomaly = 0.0;     // M
    double m_moonMeanLongitude = 0.0;  // L'
    double m_moonMeanAnomaly = 0.0;    // M'
    double m_moonNode = 0.0;           // Omega (corrected)
    double m_moonElongation = 0.0;     // D
    double m_moonArgLatitude = 0.0;    // F
    double m_nodeTermArg = 0.0;        // A
    double m_venusArg = 0.0;           // V
    double m_jupiterArg = 0.0;         // J
    double m_marsArg = 0.0;            // Ma
    double m_saturnArg = 0.0;          // Sa
    double m_meanObliquity = 0.0;      // epsilon0
    double m_eccentricityFactor = 0.0; // E

    // Sun scratch values
    double m_sunLongPeriod = 0.0;         // rad
    double m_sunEquationOfCentre = 0.0;   // rad
    double m_sunRadiusVector = 0.0;       // AU
    double m_sunLongitude = 0.0;          // rad, then degrees after completion
    double m_sunRadiusPerturbation = 0.0; // 1e-7 AU
    double m_sunLatitude = 0.0;           // rad, then degrees after completion

    // Moon scratch values
    double m_moonEquationOfCentre = 0.0; // rad
    double m_moonParallaxElliptic = 0.0; // rad
    double m_moonLatFactor1 = 0.0;
    double m_moonLatFactor2 = 0.0;
    double m_moonLongitudeDeg = 0.0;
    double m_moonLatitudeDeg = 0.0;
    double m_moonParallaxDeg = 0.0;

    // Nutation and conversion
    double m_nutationLongitude = 0.0; // arcseconds
    double m_nutationObliquity = 0.0; // arcseconds
    double m_trueObliquityDeg = 0.0;
    double m_convLongitude = 0.0;      // rad
    double m_convLatitude = 0.0;       // rad
    double m_convObliquity = 0.0;      // rad
    double m_convRightAscension = 0.0; // degrees, [0, 360)
    double m_convDeclination = 0.0;    // degrees
    double m_convRightAscensionHours = 0.0;

    // JulianDayToCalendar's result
    int m_calendarDay = 0;
    int m_calendarMonth = 0;
    int m_calendarYear = 0;

    // Output series, one value per step
    std::vector<double> m_sunRA;        // degrees, [0, 360)
    std::vector<double> m_sunDec;       // degrees
    std::vector<double> m_sunGST;       // degrees, [0, 720)
    std::vector<double> m_jdSeries;     // Julian day (UT) of the step
    std::vector<double> m_moonRAHours;  // hours
    std::vector<double> m_moonDec;      // degrees
    std::vector<double> m_moonParallax; // degrees
    std::vector<double> m_sunDistance;  // AU
    std::vector<double> m_sunRAHours;   // hours

    // RiseSet's results, hours UT
    double m_riseUT = 0.0;
    double m_setUT = 0.0;
};
