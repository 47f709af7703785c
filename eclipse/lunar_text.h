#pragma once

// The lunar finder's results as text: the table's columns (CSV and JSON), shared
// by kestrova-cli and the window's eclipse list, and a one-line summary.

#include "eclipse/lunar.h"

#include <array>
#include <string>
#include <vector>

inline constexpr std::size_t kLunarColumnCount = 24;

// date,greatest_ut,greatest_tt,delta_t_s,type,gamma,penumbral_magnitude,
// umbral_magnitude,p1,u1,u2,u3,u4,p4,penumbral_duration_s,partial_duration_s,
// total_duration_s,saros,sublunar_lat,sublunar_lon,delta_t_uncertainty_s,lunation,
// ephemeris,shadow
extern const std::array<const char*, kLunarColumnCount> kLunarColumns;

// Whether a column holds a number (JSON writes it bare, the list sorts by value).
bool LunarColumnIsNumber(std::size_t column);

// One eclipse's fields in column order: the UT date of greatest eclipse, times
// HH:MM:SS and contacts YYYY-MM-DDTHH:MM:SS (UT), rounded to the second; empty
// for absent contacts and phases.
std::array<std::string, kLunarColumnCount> LunarFields(const LunarEclipse& c);

// The header line and one line per eclipse, each ending in a newline.
std::string LunarEclipsesCsv(const std::vector<LunarEclipse>& eclipses);

// A JSON array of objects with the column names as keys; null for empty fields.
std::string LunarEclipsesJson(const std::vector<LunarEclipse>& eclipses);

// "Total lunar eclipse: greatest 18:11:48 UT, umbral magnitude 1.362, totality
// 82 min". UTF-8.
std::string LunarEclipseSummary(const LunarEclipse& c);
