// kestrova-cli local and next-local, run as a user runs them.
#include "local_data.h"

#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <sys/wait.h>

namespace {

struct CliRun {
    int status = -1;
    std::string out;
    std::string err;
};

CliRun Cli(const std::string& args) {
    const std::string errFile = testing::TempDir() + "local_cli_err.txt";
    const std::string command = std::string(KESTROVA_CLI) + " " + args + " 2>" + errFile;
    CliRun r;
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe)
        return r;
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        r.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    r.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (FILE* f = std::fopen(errFile.c_str(), "r")) {
        while ((n = std::fread(buffer.data(), 1, buffer.size(), f)) > 0)
            r.err.append(buffer.data(), n);
        std::fclose(f);
    }
    return r;
}

std::map<std::string, std::string> Lines(const std::string& out) {
    std::map<std::string, std::string> m;
    std::size_t start = 0;
    while (start < out.size()) {
        std::size_t end = out.find('\n', start);
        if (end == std::string::npos)
            end = out.size();
        const std::string line = out.substr(start, end - start);
        const std::size_t space = line.find(' ');
        if (space != std::string::npos)
            m[line.substr(0, space)] = line.substr(space + 1);
        start = end + 1;
    }
    return m;
}

// The point of greatest eclipse of 2017 August 21 from the sample table (canon's
// elements, ΔT 70.3 s), compared through TT with the ΔT the program prints.
TEST(LocalCli, GreatestPointOf2017AgainstSampleTable) {
    const CliRun r = Cli("local 21 8 2017 36.97 -87.66 0");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto m = Lines(r.out);
    EXPECT_EQ(m.at("kind"), "total");
    const double deltaT = std::stod(m.at("delta_t_s"));
    const struct {
        const char* name;
        const char* published;
    } contacts[] = {{"c1", "2017-08-21T16:56:04.0"},
                    {"c2", "2017-08-21T18:24:10.0"},
                    {"max", "2017-08-21T18:25:30.1"},
                    {"c3", "2017-08-21T18:26:50.1"},
                    {"c4", "2017-08-21T19:51:13.8"}};
    for (const auto& c : contacts) {
        SCOPED_TRACE(c.name);
        const double apart =
            (ParseIsoInstant(m.at(c.name)) - ParseIsoInstant(c.published)) * 86400.0 + deltaT -
            70.3;
        EXPECT_NEAR(apart, 0.0, 10.0);
    }
    EXPECT_NEAR(std::stod(m.at("magnitude")), 1.03059, 0.003);
    EXPECT_NEAR(std::stod(m.at("obscuration")), 1.0, 1e-9);
    EXPECT_NEAR(std::stod(m.at("duration_s")), 160.06, 4.0);
    EXPECT_NEAR(std::stod(m.at("sun_alt_c1")), 61.77, 0.1);
    EXPECT_NEAR(std::stod(m.at("sun_alt_max")), 63.89, 0.1);
    EXPECT_NEAR(std::stod(m.at("sun_az_max")), 197.94, 0.2);
    EXPECT_NEAR(std::stod(m.at("sun_alt_c4")), 53.58, 0.1);
    EXPECT_EQ(m.count("place"), 0u);
}

// Dallas saw about 3 min 50 s of totality on 2024 April 8 around 13:42 CDT.
TEST(LocalCli, DallasByNameInCentralDaylightTime) {
    const CliRun r = Cli("local 8 4 2024 --place Dallas");
    ASSERT_EQ(r.status, 0) << r.err;
    const auto m = Lines(r.out);
    EXPECT_EQ(m.at("kind"), "total");
    EXPECT_NEAR(std::stod(m.at("duration_s")), 230.0, 8.0);
    EXPECT_EQ(m.at("place"), "Dallas, TX, US");
    EXPECT_EQ(m.at("zone"), "America/Chicago");
    EXPECT_EQ(m.at("max_local").substr(0, 16), "2024-04-08T13:42");
    EXPECT_EQ(m.at("max_local").substr(m.at("max_local").size() - 4), " CDT");
    EXPECT_EQ(m.at("max").substr(0, 16), "2024-04-08T18:42");
    EXPECT_EQ(m.at("sun_up_c4"), "true");
    // At the height GeoNames gives Dallas, unless one is given.
    EXPECT_EQ(m.at("height_m"), "128");
    EXPECT_EQ(m.at("height_from"), "place");
    const auto given = Lines(Cli("local 8 4 2024 --place Dallas --height 0").out);
    EXPECT_EQ(given.at("height_m"), "0");
    EXPECT_EQ(given.at("height_from"), "given");
    EXPECT_EQ(Lines(Cli("local 8 4 2024 32.78 -96.8").out).at("height_from"), "sea_level");
    EXPECT_EQ(Lines(Cli("local 8 4 2024 32.78 -96.8 --height 200").out).at("height_m"), "200");
    const CliRun twice = Cli("local 8 4 2024 32.78 -96.8 100 --height 200");
    EXPECT_EQ(twice.status, 1);
    EXPECT_NE(twice.err.find("given twice"), std::string::npos) << twice.err;
    EXPECT_EQ(Cli("local 8 4 2024 --place Dallas --height -600").status, 1);
}

// La Paz, at 3782 m, sees the eclipse of 2020 December 14 a little earlier and deeper
// than a point at sea level below it would: the height changes the answer.
TEST(LocalCli, ThePlacesHeightIsUsed) {
    const auto high = Lines(Cli("local 2020-12-14 --place \"La Paz, BO\"").out);
    const auto low = Lines(Cli("local 2020-12-14 --place \"La Paz, BO\" --height 0").out);
    ASSERT_EQ(high.at("height_m"), "3782");
    const Observer laPaz{std::stod(high.at("latitude")), std::stod(high.at("longitude")), 3782.0};
    const LocalCircumstances lc = ComputeLocalCircumstances(CanonElements("2020-12-14"), laPaz);
    EXPECT_NEAR(std::stod(high.at("magnitude")), lc.magnitude, 0.0005);
    EXPECT_NE(high.at("magnitude"), low.at("magnitude"));
}

// Madrid lies just outside the path of 2026 August 12; a Madrid in Colombia shares
// the name and is listed.
TEST(LocalCli, MadridJustOutsideThe2026Path) {
    const CliRun r = Cli("local 12 8 2026 --place madrid --json");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"kind\": \"partial\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"place\": \"Madrid, ES\""), std::string::npos);
    EXPECT_NE(r.out.find("CEST"), std::string::npos);
    EXPECT_EQ(r.out.front(), '{');
    EXPECT_NE(r.err.find("Madrid, CO"), std::string::npos);
}

// The eclipse line's fields (the second line of next-local's output).
std::vector<std::string> EclipseLineFields(const std::string& out) {
    const std::size_t start = out.find('\n') + 1;
    std::stringstream line(out.substr(start, out.find('\n', start) - start));
    std::vector<std::string> fields;
    std::string field;
    while (std::getline(line, field, ','))
        fields.push_back(field);
    return fields;
}

// The eclipse line is the finder's table line: the catalogue's type, path width
// (km) and Saros series of the total eclipse of 2024 April 8 and the hybrid one of
// 2023 April 20, seen total from Exmouth.
TEST(LocalCli, NextEclipseFromDallasAfterNewYear2024) {
    const CliRun r = Cli("next-local 1 1 2024 --place Dallas");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out.substr(0, 22), "date,greatest_ut,great");
    const std::vector<std::string> f = EclipseLineFields(r.out);
    ASSERT_EQ(f.size(), 16u) << r.out;
    EXPECT_EQ(f[0], "2024-04-08");
    EXPECT_EQ(f[1].substr(0, 5), "18:17");
    EXPECT_EQ(f[4], "T");
    EXPECT_NEAR(std::stod(f[11]), 197.5, 2.0);
    EXPECT_EQ(f[13], "139");
    EXPECT_EQ(Lines(r.out).at("kind"), "total");
}

TEST(LocalCli, NextEclipseFromExmouthIsTheHybridOf2023) {
    const CliRun r = Cli("next-local 1 1 2023 -21.93 114.13");
    ASSERT_EQ(r.status, 0) << r.err;
    const std::vector<std::string> f = EclipseLineFields(r.out);
    ASSERT_EQ(f.size(), 16u) << r.out;
    EXPECT_EQ(f[0], "2023-04-20");
    EXPECT_EQ(f[4], "H");
    EXPECT_NEAR(std::stod(f[11]), 49.0, 2.0);
    EXPECT_NEAR(std::stod(f[12]), 76.0, 2.0); // 1 min 16 s at greatest eclipse
    EXPECT_EQ(f[13], "129");
    EXPECT_EQ(Lines(r.out).at("kind"), "total");
}

TEST(LocalCli, BadInputIsRefusedWithOneLine) {
    const char* bad[] = {"local 8 4 2024 91 0",
                         "local 8 4 2024 30 200",
                         "local 8 4 2024 30 -90 -600",
                         "local 8 4 2024 30 -90 10001",
                         "local 8 4 2024 --place Xyzzyq",
                         "local 9 4 2024 30 -90",
                         "local 31 2 2024 30 -90",
                         "local 8 4 2024 nan 0",
                         "next-local 1 1 2024 --place Xyzzyq"};
    for (const char* args : bad) {
        SCOPED_TRACE(args);
        const CliRun r = Cli(args);
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "");
        ASSERT_FALSE(r.err.empty());
        EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    }
    EXPECT_EQ(Cli("local 8 4 2024").status, 2);
    EXPECT_EQ(Cli("local 8 4 2024 30").status, 2);
}

// CSV rows as maps from the header's names.
std::vector<std::map<std::string, std::string>> Rows(const std::string& out) {
    std::vector<std::vector<std::string>> lines;
    std::stringstream text(out);
    std::string line;
    while (std::getline(text, line)) {
        std::vector<std::string> cells;
        std::stringstream s(line);
        std::string cell;
        while (std::getline(s, cell, ','))
            cells.push_back(cell);
        if (!line.empty() && line.back() == ',')
            cells.emplace_back();
        lines.push_back(cells);
    }
    std::vector<std::map<std::string, std::string>> rows;
    for (std::size_t i = 1; i < lines.size(); ++i) {
        std::map<std::string, std::string> row;
        for (std::size_t c = 0; c < lines[0].size() && c < lines[i].size(); ++c)
            row[lines[0][c]] = lines[i][c];
        rows.push_back(row);
    }
    return rows;
}

const char* KindText(EclipseKind k) {
    return k == EclipseKind::Total     ? "total"
           : k == EclipseKind::Annular ? "annular"
           : k == EclipseKind::Partial ? "partial"
                                       : "none";
}

// Every eclipse of the published table (1969..2026) that the canon's elements show
// from the place, with its kind and magnitude, and no other of those dates.
TEST(LocalCli, EclipsesSeenFromATownAgainstTheCanon) {
    struct Town {
        const char* name;
        Observer observer; // GeoNames' coordinates and height
    };
    for (const Town& town : {Town{"Madrid, Spain", {40.4165, -3.70256, 665.0}},
                             Town{"Dallas, TX", {32.78306, -96.80667, 128.0}}}) {
        SCOPED_TRACE(town.name);
        const CliRun r = Cli(std::string("local-eclipses 1969 2026 --place \"") + town.name + "\"");
        ASSERT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::map<std::string, std::string>> byDate;
        for (const auto& row : Rows(r.out))
            byDate[row.at("date")] = row;
        std::size_t seen = 0;
        for (const CsvRow& ref : ReadCsv("solar_eclipses.csv")) {
            const std::string date = ref.at("date");
            const LocalCircumstances lc =
                ComputeLocalCircumstances(CanonElements(date), town.observer);
            const bool visible = lc.kind != EclipseKind::None && lc.visible;
            ASSERT_EQ(byDate.count(date), visible ? 1u : 0u) << date;
            if (!visible)
                continue;
            ++seen;
            EXPECT_EQ(byDate[date].at("kind"), KindText(lc.kind)) << date;
            EXPECT_NEAR(std::stod(byDate[date].at("magnitude")), lc.magnitude, 0.005) << date;
        }
        EXPECT_GE(seen, 4u); // 6 from Madrid, 4 from Dallas
    }
    // Dallas in 2024: local time and the duration of totality.
    const auto rows = Rows(Cli("local-eclipses 2024-04-01 2024-04-30 --place \"Dallas, TX\" "
                               "--kind total")
                               .out);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].at("maximum_local").substr(0, 16), "2024-04-08T13:42");
    EXPECT_EQ(rows[0].at("maximum_local").substr(rows[0].at("maximum_local").size() - 3), "CDT");
    EXPECT_EQ(rows[0].at("duration").substr(0, 6), "3 min ");
}

// Lunar eclipses seen from a town: listed when the Moon stands above the horizon at
// greatest eclipse (the catalogue's place of the Moon and sidereal time), left out when it
// is so far below that it cannot rise before the umbral phase ends (15 degrees an hour).
TEST(LocalCli, LunarEclipsesSeenFromATownAgainstTheCatalogue) {
    constexpr double kRad = 3.14159265358979323846 / 180.0;
    for (const Observer town : {Observer{19.07, 72.88, 0.0}, Observer{40.71, -74.01, 0.0}}) {
        const CliRun r = Cli("local-eclipses 1700 2200 " + std::to_string(town.latitude) + " " +
                             std::to_string(town.longitude) + " --lunar");
        ASSERT_EQ(r.status, 0) << r.err;
        std::map<std::string, std::map<std::string, std::string>> byDate;
        for (const auto& row : Rows(r.out))
            byDate[row.at("date")] = row;
        int checked = 0;
        for (const CsvRow& ref : ReadCsv("lunar_eclipses_sample.csv")) {
            if (ref.at("semi_partial_min").empty())
                continue;
            const double hours = std::stod(ref.at("greatest_ut").substr(0, 2)) +
                                 std::stod(ref.at("greatest_ut").substr(3, 2)) / 60.0;
            const double lst =
                (std::stod(ref.at("gst0_h")) + hours * 1.00273791) * 15.0 + town.longitude;
            const double h = (lst - std::stod(ref.at("moon_ra_h")) * 15.0) * kRad;
            const double dec = std::stod(ref.at("moon_dec")) * kRad;
            const double lat = town.latitude * kRad;
            const double alt = std::asin(std::sin(lat) * std::sin(dec) +
                                         std::cos(lat) * std::cos(dec) * std::cos(h)) /
                               kRad;
            const double reach = std::stod(ref.at("semi_partial_min")) / 60.0 * 15.0 + 2.0;
            const std::string date = ref.at("date");
            if (alt > 2.0) {
                ASSERT_EQ(byDate.count(date), 1u) << date << " Moon at " << alt;
                EXPECT_NEAR(std::stod(byDate[date].at("umbral_magnitude")),
                            std::stod(ref.at("umb_mag")), 0.01)
                    << date;
                ++checked;
            } else if (alt < -reach) {
                EXPECT_EQ(byDate.count(date), 0u) << date << " Moon at " << alt;
                ++checked;
            }
        }
        EXPECT_GE(checked, 15);
    }
    EXPECT_EQ(Cli("local-eclipses 2025 2026 40.4 -3.7 --lunar --kind total").status, 1);
}

TEST(LocalCli, NextEclipseOfTheKindsAsked) {
    // The 2024 totality is the first total one from Dallas after 2000; the next two
    // seen from Madrid after 2026-01-01 of any kind but total are 2026-08-12 (partial,
    // just outside the path) and 2027-08-02.
    CliRun r = Cli("next-local 2000-01-01 --place \"Dallas, TX\" --kind total");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Lines(r.out).at("greatest").substr(0, 10), "2024-04-08");
    EXPECT_EQ(Lines(r.out).at("kind"), "total");
    r = Cli("next-local 1 1 2026 40.4165 -3.70256 --kind partial,annular,hybrid --count 2");
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("greatest 2026-08-12"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("greatest 2027-08-02"), std::string::npos) << r.out;
    EXPECT_EQ(Cli("next-local 1 1 2026 40 -3 --kind totality").status, 1);
    EXPECT_EQ(Cli("next-local 1 1 2026 40 -3 --count 0").status, 1);
}

TEST(LocalCli, DatesInEitherFormAndTheSwappedDateHint) {
    const CliRun iso = Cli("local 2024-04-08 32.78 -96.8");
    ASSERT_EQ(iso.status, 0) << iso.err;
    EXPECT_EQ(iso.out, Cli("local 8 4 2024 32.78 -96.8").out);
    // Coordinates get the zone of the place.
    EXPECT_EQ(Lines(iso.out).at("zone"), "America/Chicago");
    EXPECT_EQ(Lines(iso.out).at("max_local").substr(0, 16), "2024-04-08T13:42");
    EXPECT_EQ(Lines(Cli("local 2026-08-12 64.1466 -21.9426").out).at("zone"), "Atlantic/Reykjavik");
    const CliRun swapped = Cli("local 4 8 2024 --place Dallas");
    EXPECT_EQ(swapped.status, 1);
    EXPECT_NE(swapped.err.find("2024-04-08"), std::string::npos) << swapped.err;
    EXPECT_NE(swapped.err.find("swapped"), std::string::npos) << swapped.err;
    EXPECT_EQ(Cli("contacts 2024-04-08").out, Cli("contacts 8 4 2024").out);
    EXPECT_EQ(Cli("eclipses 1 1 2024 31 12 2024").out, Cli("eclipses 2024-01-01 2024-12-31").out);
    EXPECT_EQ(Cli("contacts 2024-02-30").status, 1);
}

TEST(LocalCli, HelpForEachCommand) {
    for (const char* command : {"local", "next-local", "local-eclipses", "eclipses", "path",
                                "contacts", "zone", "next", "circumstances"}) {
        SCOPED_TRACE(command);
        const CliRun r = Cli(std::string(command) + " --help");
        EXPECT_EQ(r.status, 0);
        EXPECT_NE(r.out.find("Example:\n  kestrova-cli " + std::string(command)),
                  std::string::npos);
        EXPECT_NE(r.out.find("Output:"), std::string::npos);
    }
}

TEST(LocalCli, HostileNamesAndYears) {
    const CliRun r = Cli("local 2024-04-08 --place \"$(printf '\\033]0;x\\007')\"");
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.find('\x1b'), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\a'), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << r.err;
    // Within the program's years, and not beyond them.
    EXPECT_EQ(Cli("local 31 10 9999 0 0").status, 0);
    EXPECT_EQ(Cli("next 31 12 9999").status, 1);
    EXPECT_EQ(Cli("previous 1 1 -1999").status, 1);
}

} // namespace
