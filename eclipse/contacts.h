#pragma once

#include <array>
#include <string>

class CEphemeris;
class CShadowModel;

// The contact-time run covers the date from 0h UT in one-minute steps, with
// 100 heights per step on each cone.
inline constexpr int kContactStepsPerDay = 1440;
inline constexpr double kContactSamples = 100.0;

// The shadow model over an ephemeris run, from copies of its seven series.
CShadowModel MakeShadowModel(const CEphemeris& ephemeris);

// First and last minute at which each cone meets the Earth on the run's date.
struct ContactTimes {
    bool eclipse = false; // the penumbra reaches the Earth: a solar eclipse is possible
    bool umbral = false;  // the umbra (or antumbra) reaches it too
    int firstPenumbraStep = 0;
    int lastPenumbraStep = 0;
    int firstUmbraStep = 0; // valid only when umbral
    int lastUmbraStep = 0;
    // "Moon enters penumbra:  07:37", ... in the order shown; "--:--" in the umbra
    // lines of a partial eclipse.
    std::array<std::string, 4> lines;
};

// Reads the contact steps from a model that has run.
ContactTimes FindContactTimes(const CShadowModel& model);

// "%.2d:%.2d" of the hours and minutes (truncated) of a Julian day (UT) since
// its preceding 0h UT; 0h itself shows as 24:00.
std::string FormatStepTime(double jd);

// The text shown when no solar eclipse is possible on the typed date.
std::string NoEclipseMessage(const std::string& day, const std::string& month,
                             const std::string& year);
