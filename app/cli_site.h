#pragma once

// The place a kestrova-cli command runs for, by name from the gazetteer.

#include "eclipse/local.h"

#include <optional>
#include <string>

// The place a command runs for: coordinates, and a name when named; its zone.
struct Site {
    Observer observer;
    std::string name;      // "Dallas, TX, US"; empty for bare coordinates
    std::string zone;      // IANA zone
    bool nautical = false; // at sea: the nautical zone of the longitude
};

// The place of that name from the gazetteer (the one installed, or `file`); the
// largest when several share it (the others are listed on stderr, on one line).
std::optional<Site> SiteByName(const std::string& name, const char* file);
