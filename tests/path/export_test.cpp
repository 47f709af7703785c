// The path table and the map files: times, fields, and writes that fail cleanly.
#include "canon.h"

#include "export/map_export.h"
#include "export/path_table.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(IsoUt, WholeSecondsOnTheUtDate) {
    const double midnight = canon::JdOfDate("2024-04-08");
    EXPECT_EQ(IsoUt(midnight), "2024-04-08T00:00:00");
    EXPECT_EQ(IsoUt(midnight + (18.0 + 17.0 / 60.0 + 15.4 / 3600.0) / 24.0), "2024-04-08T18:17:15");
    // Half a second before midnight rounds up into the next day, not to 24:00:00.
    EXPECT_EQ(IsoUt(midnight + 1.0 - 0.4 / 86400.0), "2024-04-09T00:00:00");
    EXPECT_EQ(IsoUt(std::nan("")), "");
}

TEST(PathTableCsv, HeaderRowsAndEmptyFieldsWhereALimitIsMissing) {
    const EclipsePath path = EclipsePathOfDate(canon::JdOfDate("2024-04-08"), Ephemeris::Classic);
    const std::string csv = PathTableCsv(path);
    // The Sun's altitude at the line's ends rounds to zero, written without a sign.
    EXPECT_EQ(csv.find("-0.0,"), std::string::npos);
    EXPECT_EQ(csv.find("-0.0\n"), std::string::npos);
    std::istringstream text(csv);
    std::string line;
    std::getline(text, line);
    EXPECT_EQ(line, "ut,central_lat,central_lon,north_lat,north_lon,south_lat,south_lon,width_km,"
                    "limits_distance_km,duration_s,sun_alt,ephemeris");
    std::size_t rows = 0;
    bool someMissing = false;
    while (std::getline(text, line)) {
        ++rows;
        EXPECT_EQ(std::count(line.begin(), line.end(), ','), 11) << line;
        someMissing = someMissing || line.find(",,") != std::string::npos;
    }
    EXPECT_EQ(rows, path.centralLine.size());
    // At the sunrise end the northern limit has not yet reached the Earth.
    EXPECT_TRUE(someMissing);
    EXPECT_FALSE(path.centralLine.front().north.has_value());
}

TEST(MapFeatures, NamedFeaturesWithTheirTimes) {
    const EclipsePath path = EclipsePathOfDate(canon::JdOfDate("2006-03-29"), Ephemeris::Classic);
    const auto features = MapFeatures(path);
    ASSERT_FALSE(features.empty());
    EXPECT_EQ(features.back().name, "Greatest eclipse");
    EXPECT_TRUE(features.back().point);
    bool central = false;
    for (const MapFeature& f : features) {
        EXPECT_FALSE(f.beginUt.empty()) << f.name;
        EXPECT_LE(f.beginUt, f.endUt) << f.name;
        if (f.name == "Central line") {
            central = true;
            EXPECT_EQ(f.beginUt.substr(0, 10), "2006-03-29");
        }
        for (const auto& line : f.lines)
            for (std::size_t k = 1; k < line.size(); ++k)
                EXPECT_LE(std::fabs(line[k].lon - line[k - 1].lon), 180.0) << f.name;
    }
    EXPECT_TRUE(central);
}

} // namespace
