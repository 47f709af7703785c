#pragma once

// Published solar-eclipse predictions (tests/data/solar_eclipses.csv): contact
// times and polynomial Besselian elements of the Five Millennium Canon.

#include "csv_table.h"

#include <string>
#include <vector>

struct ReferenceEclipse : CsvRow {
    bool has(const std::string& name) const { return !empty(name); }
};

inline std::vector<ReferenceEclipse> LoadReferenceEclipses() {
    std::vector<ReferenceEclipse> eclipses;
    for (CsvRow& row : LoadCsv("solar_eclipses.csv"))
        eclipses.push_back({std::move(row)});
    return eclipses;
}

// "YYYY-MM-DD" into its three numbers.
inline void ParseDate(const std::string& date, int& year, int& month, int& day) {
    year = std::stoi(date.substr(0, 4));
    month = std::stoi(date.substr(5, 2));
    day = std::stoi(date.substr(8, 2));
}

// "HH:MM:SS" in seconds of the day.
inline int ParseSeconds(const std::string& time) {
    return std::stoi(time.substr(0, 2)) * 3600 + std::stoi(time.substr(3, 2)) * 60 +
           std::stoi(time.substr(6, 2));
}
