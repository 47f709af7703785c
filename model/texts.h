#pragma once

// The sentences the user reads about computed results, shared by the window and
// kestrova-cli. No Qt here.

#include "eclipse/contacts.h"
#include "eclipse/lunar.h"

#include <array>
#include <string>

// "%.2d:%.2d" of the hours and minutes (truncated) of a Julian day (UT) since
// its preceding 0h UT; 0h itself shows as 24:00.
std::string FormatStepTime(double jd);

// "Moon enters penumbra:  07:37", ... in the order shown; "--:--" in the umbra
// lines of a partial eclipse. Meaningful only when contacts.eclipse.
std::array<std::string, 4> ContactLines(const ContactTimes& contacts);

// The contact block of a lunar eclipse: the penumbral, umbral and total phases
// (P1-P4, U1-U4, U2-U3) as UT minutes, "--:--" for an absent phase, and greatest
// eclipse.
std::array<std::string, 4> LunarContactLines(const LunarEclipse& eclipse);

// The text shown when no solar eclipse is possible on the typed date.
std::string NoEclipseMessage(const std::string& day, const std::string& month,
                             const std::string& year);

// Why a typed date cannot be computed ("February 2006 has 28 days", ...); empty
// for a valid date.
std::string DateProblemText(int day, int month, int year);
