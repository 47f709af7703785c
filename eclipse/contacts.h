#pragma once

#include "ephemeris/engine.h"

// The contact-time run: the date from 0h UT in one-minute steps, with 100
// heights per step on each cone.
inline constexpr int kContactStepsPerDay = 1440;
inline constexpr double kContactSamples = 100.0;

// First and last minute of a date at which each cone meets the Earth.
struct ContactTimes {
    double jdStart = 0.0; // Julian day of the date's 0h UT; step i lies at jdStart + i / 1440
    bool eclipse = false; // the penumbra reaches the Earth: a solar eclipse is possible
    bool umbral = false;  // the umbra (or antumbra) reaches it too
    int firstPenumbraStep = 0;
    int lastPenumbraStep = 0;
    int firstUmbraStep = 0; // valid only when umbral
    int lastUmbraStep = 0;
};

// Julian day (UT) of a step of the contact-time run.
double ContactStepJD(const ContactTimes& contacts, int step);

// The contact times of the date whose 0h UT is the Julian day jdStart: a cone
// "meets the Earth" at a minute when the sampled test (kContactSamples heights
// on the cone, the flattened Earth's sections) finds a hit there. Found by root
// finding on the fitted elements and checked with the sampled test at the
// minutes where the fit alone cannot decide. The elements are those of the
// finder's eclipse (EclipsesBetween) whose phases can reach the date.
ContactTimes ContactTimesOfDate(double jdStart, Ephemeris engine);

// The same by running the sampled test at all 1440 minutes (the reference the
// fast search is tested against; about a hundred times slower).
ContactTimes SampledContactTimesOfDate(double jdStart, Ephemeris engine);
