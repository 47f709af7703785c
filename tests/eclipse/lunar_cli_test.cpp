// kestrova-cli's lunar commands as a user runs them.
#include "eclipse/cli_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Value(const std::string& out, const std::string& name) {
    const std::size_t at = out.find("\n" + name + " ");
    if (at == std::string::npos)
        return {};
    const std::size_t begin = at + name.size() + 2;
    return out.substr(begin, out.find('\n', begin) - begin);
}

// Two total eclipses seen from where the Moon is up, and not from the other side
// of the Earth (Mumbai and New York, 2025 September 7; Los Angeles and London,
// 2022 November 8).
TEST(LunarCli, VisibleWhereTheMoonIsUp) {
    const struct {
        const char* arguments;
        const char* visible;
    } cases[] = {{"lunar 7 9 2025 19.076 72.878", "true"},
                 {"lunar 7 9 2025 40.713 -74.006", "false"},
                 {"lunar 8 11 2022 34.052 -118.244 90", "true"},
                 {"lunar 8 11 2022 51.507 -0.128", "false"}};
    for (const auto& c : cases) {
        const CliRun run = RunCli(c.arguments);
        EXPECT_EQ(run.status, 0) << c.arguments << run.err;
        EXPECT_EQ(Value("\n" + run.out, "visible"), c.visible) << c.arguments;
        EXPECT_EQ(Value("\n" + run.out, "type"), "T") << c.arguments;
        EXPECT_EQ(Value("\n" + run.out, "ephemeris"), "precise") << c.arguments;
    }
    // Mumbai sees totality begin high in the south-east.
    const CliRun mumbai = RunCli("lunar 7 9 2025 19.076 72.878 --json");
    EXPECT_NE(mumbai.out.find("\"u2\": \"2025-09-07T17:30:"), std::string::npos) << mumbai.out;
    EXPECT_NE(mumbai.out.find("\"u2_moon_up\": true"), std::string::npos);
}

TEST(LunarCli, TableNextPreviousAndRefusals) {
    const CliRun year = RunCli("lunar-eclipses 2025-01-01 2025-12-31 --ephemeris classic");
    ASSERT_EQ(year.status, 0) << year.err;
    // The columns asked for, in their order, first.
    const std::string columns =
        "date,greatest_ut,greatest_tt,delta_t_s,type,gamma,penumbral_magnitude,umbral_magnitude,"
        "p1,u1,u2,u3,u4,p4,penumbral_duration_s,partial_duration_s,total_duration_s,saros,"
        "sublunar_lat,sublunar_lon,";
    EXPECT_EQ(year.out.substr(0, columns.size()), columns);
    EXPECT_NE(year.out.find("\n2025-03-14,06:58:"), std::string::npos) << year.out;
    EXPECT_NE(year.out.find("\n2025-09-07,18:1"), std::string::npos);
    EXPECT_NE(year.out.find(",classic,chauvenet\n"), std::string::npos);
    EXPECT_EQ(std::count(year.out.begin(), year.out.end(), '\n'), 3);

    const CliRun next = RunCli("next 15 3 2025 --lunar --json");
    EXPECT_EQ(next.status, 0);
    EXPECT_NE(next.out.find("\"date\": \"2025-09-07\""), std::string::npos) << next.out;
    const CliRun previous = RunCli("previous 7 9 2025 --lunar");
    EXPECT_NE(previous.out.find("\n2025-03-14,"), std::string::npos) << previous.out;

    const CliRun none = RunCli("lunar 9 11 2022 51.5 0");
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("no lunar eclipse"), std::string::npos);
    EXPECT_EQ(RunCli("lunar 8 11 2022 91 0").status, 1);
    EXPECT_EQ(RunCli("lunar-eclipses 2025-01-01 2025-12-31 --shadow umbral").status, 1);
    EXPECT_EQ(RunCli("lunar-eclipses 2025-01-01").status, 2);
    EXPECT_EQ(RunCli("lunar-eclipses 2025-01-01 3001-01-01").status, 1);
}

// The visibility curves as files for other programs: six contacts and the
// sub-lunar point.
TEST(LunarCli, MapFiles) {
    const std::string kml = ::testing::TempDir() + "/lunar_test.kml";
    const std::string geojson = ::testing::TempDir() + "/lunar_test.geojson";
    const CliRun run = RunCli("lunar-map 8 11 2022 --kml " + kml + " --geojson " + geojson);
    ASSERT_EQ(run.status, 0) << run.err;
    std::ifstream file(geojson);
    const std::string text((std::istreambuf_iterator<char>(file)), {});
    for (const char* name : {"P1", "U1", "U2", "U3", "U4", "P4"})
        EXPECT_NE(text.find(std::string("Moon on the horizon at ") + name), std::string::npos);
    EXPECT_NE(text.find("\"Point\""), std::string::npos);
    EXPECT_EQ(RunCli("lunar-map 9 11 2022 --kml " + kml).status, 1);
    EXPECT_EQ(RunCli("lunar-map 8 11 2022 --kml /dev/null").status, 1);
}

} // namespace
