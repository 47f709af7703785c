// The path table and the map files: times, fields, and writes that fail cleanly.
#include "canon.h"

#include "export/map_export.h"
#include "export/path_table.h"
#include "geo/antimeridian.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

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

// Even-odd rule over the rings, in longitude and latitude.
bool Inside(const std::vector<std::vector<GeoPoint>>& rings, double lat, double lon) {
    bool in = false;
    for (const auto& ring : rings)
        for (std::size_t k = 1; k < ring.size(); ++k) {
            const GeoPoint& a = ring[k - 1];
            const GeoPoint& b = ring[k];
            if ((a.lat > lat) != (b.lat > lat) &&
                lon < a.lon + (lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat))
                in = !in;
        }
    return in;
}

double SignedArea(const std::vector<GeoPoint>& ring) {
    double area = 0.0;
    for (std::size_t k = 1; k < ring.size(); ++k)
        area += ring[k - 1].lon * ring[k].lat - ring[k].lon * ring[k - 1].lat;
    return area / 2.0;
}

// The path's polygon holds its own central line, in parts that do not cross the
// antimeridian: 2028 July 22 crosses it after New Zealand, 2021 December 4 and 2026
// August 12 run near the poles.
TEST(MapFeatures, ThePathPolygonHoldsItsCentralLineOnBothSidesOfTheAntimeridian) {
    for (const char* date : {"2028-07-22", "2021-12-04", "2026-08-12"}) {
        SCOPED_TRACE(date);
        const EclipsePath path = EclipsePathOfDate(canon::JdOfDate(date), Ephemeris::Classic);
        const auto features = MapFeatures(path);
        const auto band = std::find_if(features.begin(), features.end(),
                                       [](const MapFeature& f) { return !f.rings.empty(); });
        ASSERT_NE(band, features.end());
        EXPECT_EQ(band->name, "Path of totality");
        for (const auto& ring : band->rings) {
            ASSERT_GE(ring.size(), 4u);
            EXPECT_EQ(ring.front().lat, ring.back().lat);
            EXPECT_EQ(ring.front().lon, ring.back().lon);
            EXPECT_GT(SignedArea(ring), 0.0); // counter-clockwise
            for (std::size_t k = 1; k < ring.size(); ++k)
                EXPECT_LE(std::fabs(ring[k].lon - ring[k - 1].lon), 180.0);
        }
        int inside = 0;
        for (std::size_t k = 1; k + 1 < path.centralLine.size(); ++k) {
            const GeoPoint& c = path.centralLine[k].central;
            inside += Inside(band->rings, c.lat, c.lon);
        }
        EXPECT_EQ(inside, static_cast<int>(path.centralLine.size()) - 2);
    }
    // Sydney sees totality in 2028; the path's last minutes lie east of 180 degrees.
    const EclipsePath path = EclipsePathOfDate(canon::JdOfDate("2028-07-22"), Ephemeris::Classic);
    const MapFeature band = MapFeatures(path).front();
    ASSERT_EQ(band.rings.size(), 2u);
    EXPECT_TRUE(Inside(band.rings, -33.87, 151.21));
    EXPECT_FALSE(Inside(band.rings, -37.81, 144.96)); // Melbourne
    EXPECT_LT(path.centralLine.back().central.lon, -170.0);
}

// A ring around a pole is closed over it.
TEST(SplitRingAtAntimeridian, ARingAroundThePoleTakesThePoleIn) {
    std::vector<GeoPoint> ring;
    for (int lon = -170; lon <= 180; lon += 10)
        ring.push_back({80.0 + 5.0 * std::sin(lon * 0.0174533), lon == 180 ? -180.0 : lon * 1.0});
    ring.push_back(ring.front());
    const auto parts = SplitRingAtAntimeridian(ring);
    ASSERT_FALSE(parts.empty());
    EXPECT_TRUE(Inside(parts, 89.0, 30.0));
    EXPECT_TRUE(Inside(parts, 89.0, -150.0));
    EXPECT_FALSE(Inside(parts, 70.0, 30.0));
    for (const auto& p : parts)
        EXPECT_GT(SignedArea(p), 0.0);
}

} // namespace
