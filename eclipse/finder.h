#pragma once

#include "eclipse/circumstances.h"
#include "ephemeris/engine.h"

#include <optional>
#include <vector>

// The mean-element estimate of a lunation's eclipse maximum (TT Julian day), to
// minutes in the present era, and whether the Moon is near enough a node then
// for an eclipse to be possible (a bound with a margin: most such lunations
// still have one).
struct LunationEstimate {
    double jdTT = 0.0;
    bool nearNode = false;
};
LunationEstimate EstimateLunation(int lunation);

// The same for the full moon that follows the new moon of a lunation: the
// estimate of a lunar eclipse's maximum, and whether the Moon is near a node.
LunationEstimate EstimateFullMoon(int lunation);

// The lunation of the last mean new moon at or before jd (0 beyond +-1e8
// lunations).
int LunationNear(double jd);

// The years the eclipse search covers (those of its Delta T and theories).
inline constexpr int kFirstSearchYear = -1999;
inline constexpr int kLastSearchYear = 3000;
// The solar finder reaches further, to the end of its Delta T table.
inline constexpr int kLastSolarSearchYear = 9999;

// The mean length of a lunation, days.
inline constexpr double kMeanLunationDays = 29.530588861;

// Each search fits the elements of the engine's theories once per eclipse.

// Every solar eclipse whose greatest eclipse (UT) lies in [jdFromUT, jdToUT), in
// order, with its circumstances.
std::vector<EclipseCircumstances> EclipsesBetween(double jdFromUT, double jdToUT, Ephemeris engine);

// The first eclipse whose greatest eclipse lies after jdUT, and the last one
// before it. None beyond a search of 30 lunations.
std::optional<EclipseCircumstances> NextEclipse(double jdUT, Ephemeris engine);
std::optional<EclipseCircumstances> PreviousEclipse(double jdUT, Ephemeris engine);

// The eclipse whose greatest eclipse falls on the UT day that begins at jd0
// (0h UT); none when there is none.
std::optional<EclipseCircumstances> EclipseOnDate(double jd0, Ephemeris engine);

// The eclipse of a lunation (0 at the new moon of 2000 January 6), if its shadow
// reaches the Earth.
std::optional<EclipseCircumstances> EclipseOfLunation(int lunation, Ephemeris engine);
