#include "places/gazetteer.h"
#include "places/zone_time.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

namespace {

const Gazetteer& World() {
    static const GazetteerLoad load = LoadGazetteer(FindGazetteerFile(""));
    return load.gazetteer;
}

bool Known(const std::string& zone) {
    return IsKnownZone(zone);
}

// The committed source holds GeoNames' places and the build's index is whole.
TEST(Gazetteer, IndexHoldsThePlacesOfTheWorld) {
    const GazetteerLoad load = LoadGazetteer(FindGazetteerFile(""));
    ASSERT_EQ(load.error, "");
    EXPECT_GT(PlaceCount(load.gazetteer), 40000u);
    // The text source reads to the same index.
    const GazetteerLoad source =
        LoadGazetteer(std::string(KESTROVA_SOURCE_DIR) + "/res/places/places.tsv");
    ASSERT_EQ(source.error, "");
    EXPECT_EQ(PlaceCount(source.gazetteer), PlaceCount(load.gazetteer));
}

TEST(Gazetteer, NamesFoldCaseAccentsAndPunctuation) {
    EXPECT_EQ(FoldName("São Paulo"), "sao paulo");
    EXPECT_EQ(FoldName("ZÜRICH"), "zurich");
    EXPECT_EQ(FoldName("Saint-Étienne"), "saint etienne");
    EXPECT_EQ(FoldName("  Łódź  "), "lodz");
    EXPECT_EQ(FoldName("Ærøskøbing"), "aroskobing");
    EXPECT_EQ(FoldName("St. John’s"), "st johns");
    EXPECT_EQ(FoldName("a\tb\x1b"), "a b");
    EXPECT_EQ(FoldName("Москва"), "Москва"); // no Latin letters to fold
}

// Coordinates and zones from the GeoNames records, not from the lookup.
TEST(Gazetteer, NamesPeopleUse) {
    const std::vector<Place> dallas = FindPlaces(World(), "dallas");
    ASSERT_GE(dallas.size(), 2u); // Oregon and Georgia have a Dallas too
    EXPECT_EQ(DescribePlace(dallas[0]), "Dallas, TX, US");
    EXPECT_NEAR(dallas[0].latitude, 32.78, 0.01);
    EXPECT_NEAR(dallas[0].longitude, -96.81, 0.01);
    EXPECT_EQ(dallas[0].zone, "America/Chicago");
    for (const char* q : {"Dallas, TX", "dallas, texas", "Dallas, Texas, USA", "Dallas, US"})
        EXPECT_EQ(FindPlaces(World(), q).front().latitude, dallas[0].latitude) << q;
    EXPECT_EQ(FindPlaces(World(), "Dallas, OR").front().zone, "America/Los_Angeles");

    for (const char* q : {"New York", "NYC", "new york city"})
        EXPECT_EQ(DescribePlace(FindPlaces(World(), q).front()), "New York City, NY, US") << q;
    EXPECT_EQ(FindPlaces(World(), "Munich").front().name, "München");
    EXPECT_EQ(FindPlaces(World(), "Paris, France").front().zone, "Europe/Paris");
    EXPECT_EQ(FindPlaces(World(), "Paris, FR").front().country, "FR");
    EXPECT_EQ(FindPlaces(World(), "Madrid").front().country, "ES"); // largest first
    EXPECT_EQ(FindPlaces(World(), "madrid, co").front().zone, "America/Bogota");

    EXPECT_TRUE(FindPlaces(World(), "Nowhere-upon-Nothing").empty());
    EXPECT_TRUE(FindPlaces(World(), "").empty());
    EXPECT_TRUE(FindPlaces(World(), "Madrid, XX").empty());
}

// GeoNames lists "Dalas" among Dallas's names; a doubled letter written once is
// taken for a slip and answered with a suggestion. Other near-spellings stay names.
TEST(Gazetteer, DoubledLetterSlipsAreNoNames) {
    EXPECT_TRUE(IsDoubledLetterSlip("dallas", "dalas"));
    EXPECT_TRUE(IsDoubledLetterSlip("havana", "havanna"));
    EXPECT_FALSE(IsDoubledLetterSlip("rome", "roma"));
    EXPECT_FALSE(IsDoubledLetterSlip("milan", "milano"));
    EXPECT_FALSE(IsDoubledLetterSlip("dallas", "dallas"));
    EXPECT_FALSE(IsDoubledLetterSlip("new  york", "new york")); // blanks are folded away
    EXPECT_TRUE(FindPlaces(World(), "Dalas").empty());
    EXPECT_EQ(NoPlaceMessage(World(), "Dalas"),
              "no place named \"Dalas\" in the gazetteer; did you mean Dallas, TX, US?");
    EXPECT_EQ(NoPlaceMessage(World(), "Havanna, Cuba"),
              "no place named \"Havanna, Cuba\" in the gazetteer; did you mean Havana, CU?");
    EXPECT_EQ(FindPlaces(World(), "Roma").front().country, "IT");
    // Vienne's name too: a spelling in use, Vienna's as the larger.
    EXPECT_EQ(FindPlaces(World(), "Viena").front().country, "AT");
    EXPECT_EQ(FindPlaces(World(), "München").front().name, "München");
}

// A point of the map is named after the nearest place within the distance asked; the
// distance is the great circle's (0.01 degrees of latitude is 1.11 km).
TEST(Gazetteer, NearestPlaceWithinADistance) {
    const Place city = FindPlaces(World(), "Dallas, TX").front();
    const std::optional<NearbyPlace> dallas =
        NearestPlace(World(), city.latitude + 0.01, city.longitude, 5.0);
    ASSERT_TRUE(dallas);
    EXPECT_EQ(DescribePlace(dallas->place), "Dallas, TX, US");
    EXPECT_NEAR(dallas->distanceKm, 1.113, 0.002);
    EXPECT_FALSE(NearestPlace(World(), 0.0, -140.0, 50.0)); // the open Pacific
    const std::optional<NearbyPlace> suva = NearestPlace(World(), -18.14, 178.44, 20.0);
    ASSERT_TRUE(suva);
    EXPECT_EQ(suva->place.country, "FJ");
    EXPECT_LT(NearestPlace(World(), city.latitude + 0.01, city.longitude, 500.0)->distanceKm, 1.12);
}

// The largest towns come first, each once: GeoNames' "City of London" has London's
// population and stands 3 km from it; towns of one population elsewhere all stay.
TEST(Gazetteer, PlacesBySizeListEachTownOnce) {
    const std::vector<Place> places = PlacesBySize(World(), PlaceCount(World()));
    EXPECT_GT(places.size(), 40000u);
    int london = 0;
    for (std::size_t i = 0; i < places.size(); ++i) {
        EXPECT_FALSE(i > 0 && places[i].population > places[i - 1].population) << places[i].name;
        london += places[i].name == "London" && places[i].country == "GB";
        EXPECT_NE(places[i].name, "City of London");
    }
    EXPECT_EQ(london, 1);
    EXPECT_LT(PlaceCount(World()) - places.size(), 30u); // a rare quirk of the data
}

// Heights above sea level as GeoNames gives them: the surveyed elevation where there
// is one (Denver's mile), else the terrain model's (La Paz; Jericho below sea level).
TEST(Gazetteer, PlacesCarryTheirHeight) {
    EXPECT_EQ(FindPlaces(World(), "Denver, CO").front().heightM, 1609.0);
    const std::optional<double> laPaz = FindPlaces(World(), "La Paz, BO").front().heightM;
    ASSERT_TRUE(laPaz);
    EXPECT_GT(*laPaz, 3500.0);
    const std::optional<double> jericho = FindPlaces(World(), "Jericho, PS").front().heightM;
    ASSERT_TRUE(jericho);
    EXPECT_LT(*jericho, -200.0);
}

TEST(Gazetteer, SuggestionsForSlips) {
    EXPECT_EQ(NoPlaceMessage(World(), "Dalllas"),
              "no place named \"Dalllas\" in the gazetteer; did you mean Dallas, TX, US, "
              "Dallas, OR, US or Dallas, GA, US?");
    EXPECT_EQ(DescribePlace(SuggestPlaces(World(), "Reykjavikk", 1).front()), "Reykjavík, IS");
    // A known name in the wrong country: its places elsewhere.
    EXPECT_EQ(SuggestPlaces(World(), "Dallas, Spain", 1).front().country, "US");
    EXPECT_TRUE(SuggestPlaces(World(), "Qxzqxzqxz", 3).empty());
    // Control bytes are shown, never sent to the terminal.
    EXPECT_EQ(NoPlaceMessage(World(), "\x1b]0;x\a"),
              "no place named \"\\x1B]0;x\\x07\" in the gazetteer");
}

const std::string kSource = "# a comment\n"
                            "C\tUS\tUnited States\tUSA\n"
                            "R\tUS\tTX\tTexas\n"
                            "P\tDallas\t\tBig D\tUS\tTX\t32.78\t-96.8\t1300000\tAmerica/Chicago\n"
                            "P\tParis\t\t\tUS\tTX\t33.66\t-95.55\t25000\tAmerica/Chicago\t182\n";

TEST(Gazetteer, SourceFaultsNameTheLine) {
    const GazetteerBuild ok = BuildGazetteerIndex(kSource, Known);
    ASSERT_EQ(ok.error, "");
    const GazetteerLoad index = ReadGazetteerIndex(ok.bytes);
    ASSERT_EQ(index.error, "");
    EXPECT_EQ(FindPlaces(index.gazetteer, "big d, texas").front().name, "Dallas");
    // The height column may be left out or empty.
    EXPECT_FALSE(FindPlaces(index.gazetteer, "Dallas").front().heightM);
    EXPECT_EQ(FindPlaces(index.gazetteer, "Paris").front().heightM, 182.0);

    const auto error = [](const std::string& extra) {
        return BuildGazetteerIndex(kSource + extra, Known).error;
    };
    EXPECT_EQ(error("P\tX\t\t\tUS\t\t91\t0\t1\tUTC\n").substr(0, 20), "line 6: not a place ");
    EXPECT_EQ(error("P\tX\t\t\tUS\t\tnan\t0\t1\tUTC\n").substr(0, 20), "line 6: not a place ");
    EXPECT_EQ(error("P\tX\t\t\tUS\t\t1\t0\t1\n").substr(0, 8), "line 6: ");
    EXPECT_EQ(error("P\tX\t\t\tUS\t\t1\t0\t1\tMars/Olympus\n"),
              "line 6: unknown time zone \"Mars/Olympus\"");
    EXPECT_EQ(error("P\tX\t\t\tUS\t\t1\t0\t1\tUTC"),
              "line 6: the file ends inside this line (cut short?)");
    EXPECT_EQ(error("R\tUS\tTX\tTexas again\n"), "line 6: a second region of that code");
    for (const char* height : {"12000", "-600", "1.5", "x"})
        EXPECT_EQ(error(std::string("P\tX\t\t\tUS\t\t1\t0\t1\tUTC\t") + height + "\n"),
                  "line 6: the height is not whole metres from -500 to 9000")
            << height;
}

TEST(Gazetteer, DamagedIndexIsRefusedWhole) {
    const std::string bytes = BuildGazetteerIndex(kSource, Known).bytes;
    ASSERT_FALSE(bytes.empty());
    for (const std::size_t cut :
         {std::size_t{0}, std::size_t{10}, std::size_t{64}, bytes.size() / 2, bytes.size() - 1}) {
        const GazetteerLoad load = ReadGazetteerIndex(bytes.substr(0, cut));
        EXPECT_NE(load.error, "") << cut;
        EXPECT_EQ(PlaceCount(load.gazetteer), 0u) << cut;
    }
    // Records that point outside their tables: the first place's latitude, its zone,
    // the first name's place, a count in the header.
    const auto damaged = [&](std::size_t at, char value) {
        std::string d = bytes;
        d[at] = value;
        return ReadGazetteerIndex(d).error;
    };
    EXPECT_EQ(damaged(64 + 3, 0x7F), "place 1 is malformed");
    EXPECT_EQ(damaged(64 + 17, 0x7F), "place 1 is malformed");
    EXPECT_EQ(damaged(64 + 23, 0x7F), "place 1 is malformed"); // its height
    EXPECT_EQ(damaged(64 + 2 * 24 + 7, 0x7F), "name 1 is malformed");
    EXPECT_EQ(damaged(12, 0x7F), "the header's table sizes do not add up to the file");
    // A file names itself in the error.
    const std::string path = testing::TempDir() + "cut.kgz";
    std::ofstream(path, std::ios::binary) << bytes.substr(0, bytes.size() - 3);
    const std::string error = LoadGazetteer(path).error;
    EXPECT_EQ(error.rfind(path + ": the index is ", 0), 0u) << error;
    std::remove(path.c_str());
}

} // namespace
