// The strict command-line readers: the whole argument a number in range, or one line
// on stderr naming it.

#include "io/cli_args.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

std::string StderrOf(auto&& call) {
    testing::internal::CaptureStderr();
    call();
    return testing::internal::GetCapturedStderr();
}

int Lines(const std::string& text) {
    int n = 0;
    for (char c : text)
        n += c == '\n';
    return n;
}

} // namespace

TEST(ParseIntArg, TakesOnlyAWholeDecimalNumberInRange) {
    EXPECT_EQ(ParseIntArg("2006", "YEAR", -1999, 9999), 2006);
    EXPECT_EQ(ParseIntArg("+7", "DAY", 1, 31), 7);
    EXPECT_EQ(ParseIntArg("-1999", "YEAR", -1999, 9999), -1999);
    EXPECT_EQ(ParseIntArg("007", "DAY", 1, 31), 7);
    for (const char* bad : {"",
                            " 1",
                            "1 ",
                            "1x",
                            "x1",
                            "0x10",
                            "1e3",
                            "1.0",
                            "+-1",
                            "++1",
                            "--1",
                            "-",
                            "+",
                            "nan",
                            "inf",
                            "10000",
                            "-2000",
                            "2147483648",
                            "99999999999999999999999",
                            "-9223372036854775809"}) {
        std::optional<long long> value;
        const std::string err = StderrOf([&] { value = ParseIntArg(bad, "YEAR", -1999, 9999); });
        EXPECT_FALSE(value) << bad;
        EXPECT_EQ(Lines(err), 1) << bad;
        EXPECT_NE(err.find("YEAR"), std::string::npos) << err;
    }
}

TEST(ParseRealArg, RefusesNonFiniteHexAndTrailingText) {
    EXPECT_DOUBLE_EQ(*ParseRealArg("51.5", "LATITUDE", -90, 90), 51.5);
    EXPECT_DOUBLE_EQ(*ParseRealArg("-9e1", "LATITUDE", -90, 90), -90.0);
    EXPECT_DOUBLE_EQ(*ParseRealArg(".5", "LATITUDE", -90, 90), 0.5);
    for (const char* bad : {"", "nan", "-nan", "inf", "-inf", "infinity", "0x1p3", "1e999",
                            "90.0000001", "-91", "1,5", "5.5.5", "+-1", " 1", "1e", "e5"}) {
        std::optional<double> value;
        const std::string err = StderrOf([&] { value = ParseLatitudeArg(bad, "LATITUDE"); });
        EXPECT_FALSE(value) << bad;
        EXPECT_EQ(Lines(err), 1) << bad;
    }
}

TEST(ParseTimeArgs, HoursMinutesAndSecondsOfADay) {
    const auto t = ParseTimeArgs("23", "59", "59.999");
    ASSERT_TRUE(t);
    EXPECT_EQ(t->hour, 23);
    EXPECT_EQ(t->minute, 59);
    EXPECT_DOUBLE_EQ(t->second, 59.999);
    const char* bad[][3] = {{"24", "0", "0"}, {"-1", "0", "0"},   {"0", "60", "0"},
                            {"0", "0", "60"}, {"0", "0", "-0.5"}, {"0", "0", "nan"}};
    for (const auto& b : bad) {
        std::optional<TimeArg> value;
        const std::string err = StderrOf([&] { value = ParseTimeArgs(b[0], b[1], b[2]); });
        EXPECT_FALSE(value) << b[0] << " " << b[1] << " " << b[2];
        EXPECT_EQ(Lines(err), 1);
    }
}

TEST(ParseDateArgs, OnlyDatesThatExist) {
    // Gregorian leap rule from 1582 October 15, Julian before: 1500 and 1000 are leap
    // years in the Julian calendar, 1900 and 2100 are not in the Gregorian.
    const char* good[][3] = {{"29", "2", "2000"}, {"29", "2", "1500"},  {"29", "2", "-4"},
                             {"4", "10", "1582"}, {"15", "10", "1582"}, {"31", "12", "9999"},
                             {"1", "1", "-1999"}};
    for (const auto& g : good)
        EXPECT_TRUE(ParseDateArgs(g[0], g[1], g[2])) << g[0] << "." << g[1] << "." << g[2];
    const char* bad[][3] = {{"31", "2", "2006"},  {"29", "2", "2006"},      {"29", "2", "1900"},
                            {"29", "2", "2100"},  {"31", "4", "2006"},      {"5", "10", "1582"},
                            {"14", "10", "1582"}, {"57", "2", "2006"},      {"1", "0", "2006"},
                            {"1", "14", "2006"},  {"1", "8", "20089"},      {"0", "1", "2006"},
                            {"1", "1", "-2000"},  {"29", "3", "2147483647"}};
    for (const auto& b : bad) {
        std::optional<DateArg> value;
        const std::string err = StderrOf([&] { value = ParseDateArgs(b[0], b[1], b[2]); });
        EXPECT_FALSE(value) << b[0] << "." << b[1] << "." << b[2];
        EXPECT_EQ(Lines(err), 1) << err;
    }
}

TEST(ParseIsoDateArg, YearMonthDay) {
    const auto d = ParseIsoDateArg("-0584-05-28");
    ASSERT_TRUE(d);
    EXPECT_EQ(d->year, -584);
    EXPECT_EQ(d->month, 5);
    EXPECT_EQ(d->day, 28);
    for (const char* bad : {"2006-02-31", "2006-2-1", "2006/02/01", "-02-01", "2006-02-01x", ""}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ParseIsoDateArg(bad)) << bad;
        EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1);
    }
}

TEST(ParseSizeArg, TwoSidesInRangeWithoutWrapping) {
    const auto s = ParseSizeArg("748x539", "--size", 8192);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->width, 748);
    EXPECT_EQ(s->height, 539);
    EXPECT_TRUE(ParseSizeArg("1X1", "--size", 8192));
    // 4294967297 is 2^32 + 1: read through a 32-bit int it would wrap to 1.
    for (const char* bad : {"4294967297x5", "0x5", "5x0", "-5x5", "+5x5", "5x", "x5", "5", "5x5x5",
                            "8193x1", "5 x5", "5x5 ", "1e3x5", ""}) {
        testing::internal::CaptureStderr();
        EXPECT_FALSE(ParseSizeArg(bad, "--size", 8192)) << bad;
        EXPECT_EQ(Lines(testing::internal::GetCapturedStderr()), 1) << bad;
    }
}

TEST(CliArgMessages, ControlCharactersStayOnOneLine) {
    testing::internal::CaptureStderr();
    EXPECT_FALSE(ParseIntArg("1\n2\r3", "DAY", 1, 31));
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_EQ(Lines(err), 1) << err;
    EXPECT_NE(err.find("\\x0a"), std::string::npos) << err;
}
