#pragma once

// Published solar-eclipse predictions (tests/data/solar_eclipses.csv): contact
// times and polynomial Besselian elements of the Five Millennium Canon.

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct ReferenceEclipse {
    std::map<std::string, std::string> fields;

    const std::string& text(const std::string& name) const { return fields.at(name); }
    double number(const std::string& name) const { return std::stod(fields.at(name)); }
    bool has(const std::string& name) const { return !fields.at(name).empty(); }
};

inline std::vector<std::string> SplitCsvLine(std::string line) {
    if (!line.empty() && line.back() == '\r')
        line.pop_back();
    std::vector<std::string> cells;
    std::stringstream stream(line);
    std::string cell;
    while (std::getline(stream, cell, ','))
        cells.push_back(cell);
    if (!line.empty() && line.back() == ',')
        cells.emplace_back();
    return cells;
}

inline std::vector<ReferenceEclipse> LoadReferenceEclipses() {
    std::ifstream file(KESTROVA_TEST_DATA_DIR "/solar_eclipses.csv");
    if (!file)
        throw std::runtime_error("cannot read " KESTROVA_TEST_DATA_DIR "/solar_eclipses.csv");
    std::string line;
    std::getline(file, line);
    const std::vector<std::string> header = SplitCsvLine(line);
    std::vector<ReferenceEclipse> eclipses;
    while (std::getline(file, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = SplitCsvLine(line);
        ReferenceEclipse e;
        for (std::size_t i = 0; i < header.size(); ++i)
            e.fields[header[i]] = i < cells.size() ? cells[i] : std::string();
        eclipses.push_back(e);
    }
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
