#pragma once

#include "eclipse/circumstances.h"

#include <optional>
#include <vector>

// Every solar eclipse whose greatest eclipse (UT) lies in [jdFromUT, jdToUT), in
// order, with its circumstances.
std::vector<EclipseCircumstances> EclipsesBetween(double jdFromUT, double jdToUT);

// The first eclipse whose greatest eclipse lies after jdUT, and the last one
// before it. None beyond a search of 30 lunations.
std::optional<EclipseCircumstances> NextEclipse(double jdUT);
std::optional<EclipseCircumstances> PreviousEclipse(double jdUT);

// The eclipse of a lunation (0 at the new moon of 2000 January 6), if its shadow
// reaches the Earth.
std::optional<EclipseCircumstances> EclipseOfLunation(int lunation);
