#pragma once

// The finder's results as text: the eclipse table's columns (CSV and JSON) and
// the name-value lines of one eclipse's circumstances. Shared by kestrova-cli and
// the window's eclipse list.

#include "eclipse/circumstances.h"
#include "ephemeris/timescales.h"

#include <span>

#include <array>
#include <functional>
#include <string>
#include <utility>
#include <vector>

inline constexpr std::size_t kEclipseColumnCount = 15;

// date,greatest_ut,greatest_tt,delta_t_s,type,gamma,magnitude,lat,lon,sun_alt,
// sun_az,path_width_km,central_duration_s,saros,lunation
extern const std::array<const char*, kEclipseColumnCount> kEclipseColumns;

// Whether a column holds a number (JSON writes it bare, the list sorts by value).
bool EclipseColumnIsNumber(std::size_t column);

// One eclipse's fields in column order; empty where a value does not apply
// (path width and central duration of a non-central eclipse). The date is the
// UT date of greatest eclipse, times HH:MM:SS rounded to the second.
std::array<std::string, kEclipseColumnCount> EclipseFields(const EclipseCircumstances& c);

// A number with fixed decimals; one that rounds to zero is written without a minus
// sign ("0.0", never "-0.0"). The one number format of the program's tables.
std::string FixedNumber(double value, int decimals);

// A table row as the members of a JSON object, "name": value in the columns' order:
// numbers bare, other texts quoted, empty fields null.
std::string JsonMembers(std::span<const char* const> names, std::span<const std::string> fields,
                        const std::function<bool(std::size_t column)>& isNumber);

// The header line and one line per eclipse, each ending in a newline; a last
// column "ephemeris" names the engine of each row.
std::string EclipsesCsv(const std::vector<EclipseCircumstances>& eclipses);

// A JSON array of objects with the column names as keys; null for empty fields;
// and "ephemeris": the engine.
std::string EclipsesJson(const std::vector<EclipseCircumstances>& eclipses);

// "YYYY-MM-DDTHH:MM:SS" of a Julian day rounded to the second, or with decimals 1
// "YYYY-MM-DDTHH:MM:SS.s" rounded to the tenth (local circumstances), the program's one
// time text (the finder's, the exports', the window's, a zone's civil time):
// astronomical year, a leading minus for negative years; Julian calendar before 1582
// October 15; empty for an instant that is not a number or lies beyond +-1e8 days.
std::string FormatInstant(double jd, int decimals = 0);

// Every field of one eclipse as (name, value): the columns, the contacts
// p1 u1 u2 u3 u4 p4 (UT, absent ones left out), delta_t_sigma_s (the standard
// uncertainty of Delta T), lon_sigma_deg (the east-west uncertainty of the path
// it gives), ephemeris (the engine), and the polynomial elements x0 ... mu5,
// tanf1, tanf2 and t0 (the TT hour they are reckoned from).
std::vector<std::pair<std::string, std::string>> CircumstanceLines(const EclipseCircumstances& c);

// One line for the status bar: the type and greatest eclipse (UT, the place, and
// the central duration or the magnitude), e.g. "Total solar eclipse: greatest
// 18:17:24 UT at 25.3° N 104.2° W, totality 4 min 28 s (precise ephemeris)". UTF-8.
std::string EclipseSummary(const EclipseCircumstances& c);

// The UT date of greatest eclipse, as the table's date column shows it.
CalendarDate GreatestEclipseDate(const EclipseCircumstances& c);
