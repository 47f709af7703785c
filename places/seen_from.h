#pragma once

// Where a solar eclipse is seen, in words: the countries its central path crosses
// and the large regions its partial zone covers, from the eclipse's own elements and
// the country map (places/country_map.h).

#include "eclipse/polynomial_elements.h"

#include <string>
#include <vector>

struct SeenFrom {
    // Countries where the umbra or antumbra touches land with the Sun up, in the
    // order the shadow first touches them (where a path ends at sunrise or sunset,
    // the shadow sweeps along the horizon and that order need not follow the
    // central line); empty for a partial eclipse.
    std::vector<std::string> path;
    // Regions where the eclipse is seen at least in part with the Sun up, those
    // with the most land first (per sampled 1-degree cell of equal area).
    std::vector<std::string> partial;
};

// From the elements over greatest eclipse +- 4 h (within their window). The path is
// sampled every 15 s across the whole shadow and every second along both limits, on
// the country map's cells of about 13 km; the partial zone every 5 min on a grid of
// land points about 110 km apart (and one point in each smaller country).
SeenFrom WhereSeen(const PolynomialElements& elements);

// "Path: Mexico, United States, Canada · Partial: North America, Europe (north,
// west)": regions of one continent are written together, and all its regions as the
// continent's name ("Europe"). "Partial: ..." alone without a path; empty when
// neither touches land.
std::string DescribeSeenFrom(const SeenFrom& seen);
