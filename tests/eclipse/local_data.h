#pragma once

// Readers for the published local-circumstance tables and the canon's elements
// (tests/data/local_circumstances_sample.csv, local_contacts_published.csv,
// eclipse_catalogue_sample.csv).

#include "eclipse/local.h"
#include "ephemeris/timescales.h"

#include <cmath>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

using CsvRow = std::map<std::string, std::string>;

inline std::vector<CsvRow> ReadCsv(const std::string& name) {
    const std::string path = std::string(KESTROVA_TEST_DATA_DIR) + "/" + name;
    std::ifstream file(path);
    if (!file)
        throw std::runtime_error("cannot read " + path);
    auto split = [](std::string line) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        std::vector<std::string> cells;
        std::string cell;
        std::stringstream s(line);
        while (std::getline(s, cell, ','))
            cells.push_back(cell);
        if (!line.empty() && line.back() == ',')
            cells.emplace_back();
        return cells;
    };
    std::string line;
    std::getline(file, line);
    const std::vector<std::string> header = split(line);
    std::vector<CsvRow> rows;
    while (std::getline(file, line)) {
        if (line.empty())
            continue;
        const std::vector<std::string> cells = split(line);
        CsvRow row;
        for (std::size_t i = 0; i < header.size(); ++i)
            row[header[i]] = i < cells.size() ? cells[i] : std::string();
        rows.push_back(row);
    }
    return rows;
}

// Julian day of "YYYY-MM-DDTHH:MM:SS[.s][Z]" (positive years).
inline double ParseIsoInstant(const std::string& text) {
    int year = 0, month = 0, day = 0, hour = 0, minute = 0;
    double second = 0.0;
    if (std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%lf", &year, &month, &day, &hour, &minute,
                    &second) != 6)
        throw std::runtime_error("bad instant " + text);
    return CalendarToJulianDay(day, month, year, second, minute, hour);
}

inline bool HasCanonElements(const std::string& date) {
    for (const char* table : {"eclipse_catalogue_sample.csv", "solar_eclipses.csv"}) {
        const std::string key = table[0] == 'e' ? "date_ut_iso" : "date";
        for (const CsvRow& row : ReadCsv(table)) {
            if (row.at(key).substr(0, 10) == date)
                return true;
        }
    }
    return false;
}

// The canon's cubic elements of the catalogue row whose UT date is `date`.
inline CubicElements CanonElements(const std::string& date) {
    for (const CsvRow& row : ReadCsv("eclipse_catalogue_sample.csv")) {
        if (row.at("date_ut_iso").substr(0, 10) != date)
            continue;
        auto n = [&](const std::string& key) { return std::stod(row.at(key)); };
        CubicElements e;
        const double jdTT = n("jd_td");
        e.t0JdTT = std::floor(jdTT - 0.5) + 0.5 + n("t0_td_h") / 24.0;
        e.deltaT = n("delta_t_s");
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string p = std::to_string(i);
            e.x[i] = n("x" + p);
            e.y[i] = n("y" + p);
            e.d[i] = n("d" + p);
            e.mu[i] = n("mu" + p);
            e.l1[i] = n("l1" + p);
            e.l2[i] = n("l2" + p);
        }
        e.tanF1 = n("tanf1");
        e.tanF2 = n("tanf2");
        return e;
    }
    // The table of recent eclipses: quadratic d, l1, l2 and linear mu.
    for (const CsvRow& row : ReadCsv("solar_eclipses.csv")) {
        if (row.at("date") != date)
            continue;
        auto n = [&](const std::string& key) { return std::stod(row.at(key)); };
        const std::string t0Date = row.at("t0_date_tdt");
        CubicElements e;
        e.t0JdTT = ParseIsoInstant(t0Date + "T00:00:00") + n("t0") / 24.0;
        e.deltaT = n("delta_t_s");
        for (std::size_t i = 0; i < 4; ++i) {
            const std::string p = std::to_string(i);
            e.x[i] = n("x" + p);
            e.y[i] = n("y" + p);
            if (i < 3) {
                e.d[i] = n("d" + p);
                e.l1[i] = n("l1" + p);
                e.l2[i] = n("l2" + p);
            }
            if (i < 2)
                e.mu[i] = n("mu" + p);
        }
        e.tanF1 = n("tanf1");
        e.tanF2 = n("tanf2");
        return e;
    }
    throw std::runtime_error("no elements for " + date);
}
