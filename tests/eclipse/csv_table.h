#pragma once

// A CSV file of tests/data as rows of named fields.

#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

struct CsvRow {
    std::map<std::string, std::string> fields;

    const std::string& text(const std::string& name) const { return fields.at(name); }
    double number(const std::string& name) const { return std::stod(fields.at(name)); }
    bool empty(const std::string& name) const { return fields.at(name).empty(); }
};

inline std::vector<std::string> SplitCsv(std::string line) {
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

inline std::vector<CsvRow> LoadCsv(const std::string& name) {
    const std::string path = std::string(KESTROVA_TEST_DATA_DIR) + "/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    std::string line;
    std::getline(file, line);
    const std::vector<std::string> header = SplitCsv(line);
    std::vector<CsvRow> rows;
    while (std::getline(file, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = SplitCsv(line);
        CsvRow row;
        for (std::size_t i = 0; i < header.size(); ++i)
            row.fields[header[i]] = i < cells.size() ? cells[i] : std::string();
        rows.push_back(row);
    }
    return rows;
}
