#pragma once

// The sentences that tell what a place sees of a solar eclipse (the right click on
// the map and the Eclipse menu). Qt-free: the window passes in how it writes civil
// times.

#include "eclipse/local.h"

#include <functional>
#include <optional>
#include <string>

struct LocalReport {
    double latitude = 0.0;  // degrees, north positive
    double longitude = 0.0; // degrees, east positive
    std::string placeName;  // "Dallas, US"; empty for a point of the map
    double greatestJdUT = 0.0;
    LocalCircumstances local;
    Ephemeris engine = Ephemeris::Precise; // the theories of the eclipse's elements
    // Said under the place when set: the observer's height (metres above sea level) with
    // where it comes from ("Denver, CO, US", "assumed: ..."), and the time zone of the
    // civil times ("America/Chicago", or "UTC-6, the nautical zone at sea").
    std::optional<double> heightM;
    std::string heightSource;
    std::string zoneText;
};

// A civil time for an instant (Julian day, UT), e.g. "13:42:30.0 CDT"; empty when
// there is none to show.
using CivilTimeText = std::function<std::string(double jdUT)>;

// "2024 April 8" for the UT date of jd.
std::string EclipseDateText(double jdUT);

// "32.783° N, 96.807° W".
std::string PositionText(double latitude, double longitude);

// The whole report: the eclipse and the place, the kind seen, each contact and the
// maximum in UT and civil time with the Sun's altitude and azimuth, magnitude,
// obscuration and duration; or, outside the eclipse's reach, that it is not seen. When
// the Sun stays below the horizon it says that the eclipse is not seen, and still
// lists the contacts, flagged.
std::string LocalCircumstancesText(const LocalReport& report, const CivilTimeText& civilTime);
