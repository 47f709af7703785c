#pragma once

// The place a kestrova-cli command runs for, by name from the gazetteer.

#include "eclipse/local.h"

#include <optional>
#include <string>

// Where the observer's height comes from.
enum class HeightFrom {
    Given,    // on the command line
    Place,    // the named place's, from the gazetteer
    SeaLevel, // assumed: none given, none known
};

// "given", "place" or "sea_level" (the output's height_from).
const char* HeightFromName(HeightFrom from);

// The place a command runs for: coordinates, and a name when named; its zone.
struct Site {
    Observer observer;
    std::string name;      // "Dallas, TX, US"; empty for bare coordinates
    std::string zone;      // IANA zone
    bool nautical = false; // at sea: the nautical zone of the longitude
    HeightFrom heightFrom = HeightFrom::SeaLevel;
};

// The place of that name from the gazetteer (the one installed, or `file`); the
// largest when several share it (the others are listed on stderr, on one line). Its
// height is the place's where the gazetteer knows it, else sea level.
std::optional<Site> SiteByName(const std::string& name, const char* file);
