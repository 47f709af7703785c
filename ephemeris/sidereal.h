#pragma once

// Greenwich mean sidereal time (IAU 1982).

// The IAU 1982 expression of sidereal time at 0h UT in seconds of time, for t
// Julian centuries of UT from J2000.0 (not reduced to one day).
double SiderealSecondsAt0h(double t);

// The sidereal angle the apparent places report: the 0h expression evaluated at the
// theory instant (offset by 1/12 day), reduced to [360, 720) degrees.
double TheorySiderealAngle(double jdTheory);

// Sidereal time at 0h UT of the Julian day jd0 (a x.5 value), hours in [0, 24).
double SiderealTimeAt0h(double jd0);

// Sidereal time at the instant jd (UT): that of the preceding 0h advanced at the
// sidereal rate. Hours in [0, 24).
double GreenwichSiderealHours(double jd);
