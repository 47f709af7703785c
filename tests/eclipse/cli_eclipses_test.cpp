// kestrova-cli's finder commands as a user runs them: output, exit status,
// messages on stderr and nothing half-printed.
#include "eclipse/cli_run.h"

#include <gtest/gtest.h>

#include <string>

namespace {

const char* kHeader = "date,greatest_ut,greatest_tt,delta_t_s,type,gamma,magnitude,lat,lon,"
                      "sun_alt,sun_az,path_width_km,central_duration_s,saros,lunation,ephemeris\n";

TEST(CliEclipses, NextAndPrevious) {
    const CliRun next = RunCli("next 1 1 2025");
    EXPECT_EQ(next.status, 0);
    ASSERT_EQ(next.out.substr(0, std::string(kHeader).size()), kHeader);
    EXPECT_EQ(next.out.substr(std::string(kHeader).size(), 11), "2025-03-29,");
    EXPECT_NE(next.out.find(",P,"), std::string::npos);

    const CliRun previous = RunCli("previous 1 1 2025");
    EXPECT_EQ(previous.status, 0);
    EXPECT_EQ(previous.out.substr(std::string(kHeader).size(), 11), "2024-10-02,");
}

TEST(CliEclipses, RangeAsCsvAndJson) {
    const CliRun csv = RunCli("eclipses 2024-01-01 2024-12-31");
    EXPECT_EQ(csv.status, 0);
    EXPECT_EQ(csv.out.substr(0, std::string(kHeader).size()), kHeader);
    EXPECT_NE(csv.out.find("\n2024-04-08,"), std::string::npos);
    EXPECT_NE(csv.out.find("\n2024-10-02,"), std::string::npos);

    const CliRun json = RunCli("eclipses 2024-01-01 2024-12-31 --json");
    EXPECT_EQ(json.status, 0);
    EXPECT_EQ(json.out.front(), '[');
    EXPECT_NE(json.out.find("\"date\": \"2024-04-08\""), std::string::npos);
    EXPECT_NE(json.out.find("\"type\": \"T\""), std::string::npos);

    // The last day of the range is included: 2024 April 8 ends it.
    const CliRun oneDay = RunCli("eclipses 2024-04-08 2024-04-08");
    EXPECT_NE(oneDay.out.find("\n2024-04-08,"), std::string::npos);

    // --where: a quoted last column in CSV, a member in JSON, on every row.
    const CliRun where = RunCli("eclipses 2024-01-01 2024-12-31 --where");
    std::string header = kHeader;
    header.insert(header.size() - 1, ",seen_from");
    EXPECT_EQ(where.out.substr(0, header.size()), header);
    EXPECT_NE(where.out.find(",precise,\"Path: Mexico, United States, Canada \xC2\xB7 Partial: "
                             "North America"),
              std::string::npos);
    EXPECT_NE(where.out.find(",precise,\"Path: Chile, Argentina"), std::string::npos);
    const CliRun whereJson = RunCli("eclipses 2024-04-08 2024-10-02 --json --where");
    EXPECT_NE(whereJson.out.find("\"ephemeris\": \"precise\", \"seen_from\": \"Path: Mexico"),
              std::string::npos);
    EXPECT_NE(whereJson.out.find("\"seen_from\": \"Path: Chile"), std::string::npos);
}

TEST(CliEclipses, CircumstancesOfThales) {
    // The eclipse of 585 BC May 28 (astronomical year -584), total.
    const CliRun run = RunCli("circumstances 28 5 -584");
    EXPECT_EQ(run.status, 0);
    EXPECT_NE(run.out.find("date -0584-05-28\n"), std::string::npos);
    EXPECT_NE(run.out.find("type T\n"), std::string::npos);
    EXPECT_NE(run.out.find("\np1 -0584-05-28T"), std::string::npos);
    EXPECT_NE(run.out.find("\ntanf2 "), std::string::npos);
    EXPECT_NE(run.out.find("\nt0 "), std::string::npos);
}

TEST(CliEclipses, RefusalsSayWhyAndPrintNothing) {
    const CliRun gap = RunCli("circumstances 10 10 1582");
    EXPECT_EQ(gap.status, 1);
    EXPECT_TRUE(gap.out.empty());
    EXPECT_NE(gap.err.find("1582"), std::string::npos);

    const CliRun none = RunCli("circumstances 1 1 2025");
    EXPECT_EQ(none.status, 1);
    EXPECT_TRUE(none.out.empty());
    EXPECT_NE(none.err.find("no solar eclipse on this date"), std::string::npos);

    const CliRun reversed = RunCli("eclipses 2025-01-01 2024-01-01");
    EXPECT_EQ(reversed.status, 1);
    EXPECT_TRUE(reversed.out.empty());
    EXPECT_FALSE(reversed.err.empty());

    const CliRun badDate = RunCli("eclipses 2025-02-30 2026-01-01");
    EXPECT_EQ(badDate.status, 1);
    EXPECT_TRUE(badDate.out.empty());

    const CliRun badForm = RunCli("next 1 1 20x5");
    EXPECT_EQ(badForm.status, 1);
    EXPECT_TRUE(badForm.out.empty());

    const CliRun years = RunCli("eclipses 2024 2030");
    EXPECT_EQ(years.status, 1);
    EXPECT_TRUE(years.out.empty());
    EXPECT_NE(years.err.find("2024-01-01 2024-12-31"), std::string::npos) << years.err;

    EXPECT_EQ(RunCli("eclipses 2025-01-01 2026-01-01 --xml").status, 2);
}

TEST(CliEclipses, FifteenOctober1582IsAccepted) {
    const CliRun run = RunCli("next 15 10 1582");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.substr(0, std::string(kHeader).size()), kHeader);
}

} // namespace
