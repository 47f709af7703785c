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

// The canon's polynomial elements of the catalogue row whose UT date is `date`
// (the catalogue prints cubic terms for d, mu, l1 and l2 too; all are zero).
inline PolynomialElements CanonElements(const std::string& date) {
    // x, y cubic; d, l1, l2 quadratic; mu linear.
    auto fill = [](PolynomialElements& e, auto n) {
        for (std::size_t k = 0; k < 4; ++k) {
            const std::string i = std::to_string(k);
            e.x[k] = n("x" + i);
            e.y[k] = n("y" + i);
        }
        for (std::size_t k = 0; k < 3; ++k) {
            const std::string i = std::to_string(k);
            e.d[k] = n("d" + i);
            e.l1[k] = n("l1" + i);
            e.l2[k] = n("l2" + i);
        }
        e.mu[0] = n("mu0");
        e.mu[1] = n("mu1");
        e.tanF1 = n("tanf1");
        e.tanF2 = n("tanf2");
        e.deltaT = n("delta_t_s");
    };
    for (const CsvRow& row : ReadCsv("eclipse_catalogue_sample.csv")) {
        if (row.at("date_ut_iso").substr(0, 10) != date)
            continue;
        auto n = [&](const std::string& key) { return std::stod(row.at(key)); };
        PolynomialElements e;
        fill(e, n);
        e.t0Hour = n("t0_td_h");
        e.jdT0 = std::floor(n("jd_td") - 0.5) + 0.5 + e.t0Hour / 24.0;
        e.jdT0 += std::round(n("jd_td") - e.jdT0); // t0 may belong to the next day
        return e;
    }
    for (const CsvRow& row : ReadCsv("solar_eclipses.csv")) {
        if (row.at("date") != date)
            continue;
        auto n = [&](const std::string& key) { return std::stod(row.at(key)); };
        PolynomialElements e;
        fill(e, n);
        e.t0Hour = n("t0");
        e.jdT0 = ParseIsoInstant(row.at("t0_date_tdt") + "T00:00:00") + e.t0Hour / 24.0;
        return e;
    }
    throw std::runtime_error("no elements for " + date);
}
