#pragma once

#include "platform/object.h"

#include <vector>

// The Moon's shadow over one ephemeris run: derived Sun and Moon quantities and
// the Besselian elements for every step (built by the constructor), and on
// request the outline points of the penumbra and umbra on the Earth and the
// steps at which each cone reaches it (run).
//
// Lengths in Earth equatorial radii, angles in degrees unless noted; latitudes
// geodetic, longitudes east positive in [-180, 180].
class CShadowModel : public CObject {
public:
    CShadowModel(std::vector<double> sunRAHours, std::vector<double> sunDec,
                 std::vector<double> moonRAHours, std::vector<double> moonDec,
                 std::vector<double> sunDistance, std::vector<double> moonParallax,
                 std::vector<double> stepJD, double pointLat, double pointLon);
    ~CShadowModel() override = default;

    // Samples umbraSteps heights per step on the umbral cone and penumbraSteps on
    // the penumbral cone (a count below 1 skips that cone). Appends to the results.
    void run(double umbraSteps, double penumbraSteps);
    void TracePenumbra(int step, double zeta);
    void TraceUmbra(int step, double zeta);

    // Fundamental-plane point (xi, eta, zeta) of a step to latitude and longitude,
    // into m_pointLat and m_pointLon.
    void ConvertPoint(double xi, double eta, double zeta, int step);

    // Greenwich mean sidereal time at the 0h UT Julian day jd0, hours.
    static double SiderealTimeAt0h(double jd0);
    // Greenwich sidereal time of a step, hours.
    double StepSiderealTime(int step) const;

    // Inputs
    std::vector<double> m_sunRAHours;   // hours
    std::vector<double> m_sunDec;       // degrees
    std::vector<double> m_moonRAHours;  // hours
    std::vector<double> m_moonDec;      // degrees
    std::vector<double> m_sunDistance;  // AU
    std::vector<double> m_moonDistance; // Earth radii
    std::vector<double> m_moonParallax; // degrees
    std::vector<double> m_stepJD;       // Julian day (UT)

    double m_pointLat = 0.0; // last converted point, degrees
    double m_pointLon = 0.0;

    double m_pi = 3.141592653589793;
    double m_degToRad = 0.017453292519943295;
    double m_sunRadius = 0.0;     // Earth radii
    double m_moonRadius = 0.0;    // Earth radii
    double m_earthRadiusKm = 0.0; // km
    double m_auKm = 0.0;          // km

    // Scratch of the step being computed
    double m_axisUnit[3] = {0.0, 0.0, 0.0};
    double m_planeXUnit[3] = {0.0, 0.0, 0.0};
    double m_planeYUnit[3] = {0.0, 0.0, 0.0};

    // Fundamental-plane axes in equatorial coordinates
    std::vector<double> m_xAxisX, m_xAxisY, m_xAxisZ;
    std::vector<double> m_yAxisX, m_yAxisY, m_yAxisZ;
    std::vector<double> m_zAxisX, m_zAxisY, m_zAxisZ;

    std::vector<double> m_sunSemiDiameter;    // degrees
    std::vector<double> m_moonSemiDiameter;   // degrees
    std::vector<double> m_axisRA;             // a, degrees, (-180, 180]
    std::vector<double> m_axisDec;            // d, degrees
    double m_siderealTime = 0.0;              // hours, or degrees in the point conversion
    std::vector<double> m_stepSiderealHours;  // Greenwich sidereal time of each step, hours
    std::vector<double> m_sunParallax;        // arcseconds
    std::vector<double> m_moonParallaxArcmin; // arcminutes

    // Besselian elements
    std::vector<double> m_x, m_y, m_z; // Moon in the fundamental-plane frame
    std::vector<double> m_mu;          // Greenwich hour angle of the axis, [0, 360)
    std::vector<double> m_sinD, m_cosD;
    std::vector<double> m_l1, m_l2;       // cone radii on the fundamental plane; l2 < 0: total
    std::vector<double> m_f1, m_f2;       // cone half-angles, radians
    std::vector<double> m_tanF1, m_tanF2; // their tangents

    // The Earth's flattening: in the frame whose y is divided by rho1 and whose
    // axis declination is d1 the Earth is the unit sphere.
    std::vector<double> m_rho1;
    std::vector<double> m_sinD1, m_cosD1;

    // Geocentric equatorial rectangular coordinates, Earth radii
    std::vector<double> m_moonX, m_moonY, m_moonZ;
    std::vector<double> m_sunX, m_sunY, m_sunZ;

    // Results of run
    std::vector<int> m_penumbraHits; // one step index per sample that met the Earth
    std::vector<int> m_umbraHits;
    std::vector<double> m_penumbraLat, m_penumbraLon;
    std::vector<double> m_umbraLat, m_umbraLon;

private:
    void ComputeDerivedQuantities();
    void ComputeElements();
    void Trace(int step, double zeta, double l, double tanF, std::vector<int>& hits,
               std::vector<double>& lats, std::vector<double>& lons);
};
