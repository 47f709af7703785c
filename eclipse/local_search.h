#pragma once

#include "eclipse/local.h"

#include <cstddef>
#include <functional>
#include <vector>

// The solar eclipses seen from one place over a span of years: those whose greatest
// eclipse (UT) lies in [jdFromUT, jdToUT), whose penumbra reaches the observer while
// the Sun is above the horizon, and that `keep` accepts; in order, at most `most`.
std::vector<LocalEclipse> LocalEclipsesBetween(double jdFromUT, double jdToUT, const Observer& o,
                                               const std::function<bool(const LocalEclipse&)>& keep,
                                               std::size_t most, Ephemeris engine);
