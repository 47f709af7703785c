#include "places/gazetteer.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <sys/stat.h>

namespace {

const Gazetteer& World() {
    static const GazetteerLoad load =
        LoadGazetteer(std::string(KESTROVA_SOURCE_DIR) + "/res/places/cities15000.tsv");
    return load.gazetteer;
}

TEST(Gazetteer, FileHoldsTheLargerPlacesOfTheWorld) {
    const GazetteerLoad load =
        LoadGazetteer(std::string(KESTROVA_SOURCE_DIR) + "/res/places/cities15000.tsv");
    ASSERT_EQ(load.error, "");
    const Gazetteer& g = load.gazetteer;
    EXPECT_GT(g.places.size(), 20000u);
    EXPECT_GE(g.index.size(), g.places.size());
    std::size_t withZone = 0;
    for (const Place& p : g.places) {
        ASSERT_GT(p.population, 15000) << p.name;
        ASSERT_EQ(p.country.size(), 2u) << p.name;
        if (!p.zone.empty())
            ++withZone;
    }
    EXPECT_EQ(withZone, g.places.size());
    // Every zone named is in the system's database.
    for (const Place& p : g.places) {
        struct stat s {};
        ASSERT_EQ(stat(("/usr/share/zoneinfo/" + p.zone).c_str(), &s), 0) << p.zone;
    }
}

TEST(Gazetteer, NamesFoldCaseAccentsAndHyphens) {
    EXPECT_EQ(FoldName("São Paulo"), "sao paulo");
    EXPECT_EQ(FoldName("ZÜRICH"), "zurich");
    EXPECT_EQ(FoldName("Saint-Étienne"), "saint etienne");
    EXPECT_EQ(FoldName("  Łódź  "), "lodz");
    EXPECT_EQ(FoldName("Malmö"), "malmo");
    EXPECT_EQ(FoldName("Ærøskøbing"), "aroskobing");
    EXPECT_EQ(FoldName("Москва"), "Москва"); // no Latin letters to fold
}

// Coordinates from the GeoNames records (independent of the lookup).
TEST(Gazetteer, LookupByName) {
    const std::vector<const Place*> dallas = FindPlaces(World(), "dallas");
    ASSERT_EQ(dallas.size(), 1u); // the smaller Dallases have fewer than 15 000
    EXPECT_EQ(dallas[0]->country, "US");
    EXPECT_NEAR(dallas[0]->latitude, 32.78, 0.01);
    EXPECT_NEAR(dallas[0]->longitude, -96.81, 0.01);
    EXPECT_EQ(dallas[0]->zone, "America/Chicago");

    const std::vector<const Place*> madrid = FindPlaces(World(), "MADRID");
    ASSERT_EQ(madrid.size(), 2u);
    EXPECT_EQ(madrid[0]->country, "ES"); // largest first
    EXPECT_EQ(madrid[1]->country, "CO");
    EXPECT_GT(madrid[0]->population, madrid[1]->population);

    const std::vector<const Place*> colombia = FindPlaces(World(), "madrid, co");
    ASSERT_EQ(colombia.size(), 1u);
    EXPECT_EQ(colombia[0]->zone, "America/Bogota");

    const std::vector<const Place*> saoPaulo = FindPlaces(World(), "Sao Paulo");
    ASSERT_FALSE(saoPaulo.empty());
    EXPECT_EQ(saoPaulo[0]->name, "São Paulo");
    EXPECT_EQ(FindPlaces(World(), "são paulo").front(), saoPaulo.front());
    EXPECT_EQ(FindPlaces(World(), "zurich").front()->name, "Zürich");

    EXPECT_TRUE(FindPlaces(World(), "Nowhere-upon-Nothing").empty());
    EXPECT_TRUE(FindPlaces(World(), "").empty());
    EXPECT_TRUE(FindPlaces(World(), "madrid, xx").empty());
}

TEST(Gazetteer, BadFilesFailWithTheLine) {
    EXPECT_NE(LoadGazetteer("/nonexistent/cities.tsv").error, "");
    const std::string good = "# comment\nA\tA\tUS\t1.5\t2.5\t20000\tUTC\n";
    const GazetteerLoad ok = ParseGazetteer(good);
    EXPECT_EQ(ok.error, "");
    ASSERT_EQ(ok.gazetteer.places.size(), 1u);
    EXPECT_EQ(ParseGazetteer(good + "B\tB\tUS\t91\t0\t20000\tUTC\n").error,
              "line 3 is not a place");
    EXPECT_EQ(ParseGazetteer(good + "B\tB\tUS\tnan\t0\t20000\tUTC\n").error,
              "line 3 is not a place");
    EXPECT_EQ(ParseGazetteer(good + "B\tB\tUS\t1\t0\t20000\n").error, "line 3 is not a place");
    EXPECT_EQ(ParseGazetteer(good + "B\tB\tUS\t1\t0\tmany\tUTC\n").error, "line 3 is not a place");
}

} // namespace
