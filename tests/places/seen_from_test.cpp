// Where eclipses are seen, from the canon's elements, against what the published
// maps of those eclipses show.
#include "eclipse/local_data.h"
#include "places/country_map.h"
#include "places/seen_from.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testing::AllOf;
using testing::Contains;
using testing::ElementsAre;
using testing::IsEmpty;
using testing::Not;

std::string AreaAt(double latitude, double longitude) {
    const MapArea a = MapAreaOf(MapAreaAt(latitude, longitude));
    return std::string(a.country) + " / " + std::string(a.region);
}

TEST(CountryMap, CountriesAndRegionsOfPoints) {
    EXPECT_EQ(AreaAt(32.78, -96.80), "United States / North America");    // Dallas
    EXPECT_EQ(AreaAt(61.22, -149.90), "United States / North America");   // Anchorage
    EXPECT_EQ(AreaAt(21.31, -157.86), "United States / Pacific islands"); // Honolulu
    EXPECT_EQ(AreaAt(40.42, -3.70), "Spain / Europe (south)");            // Madrid
    EXPECT_EQ(AreaAt(64.15, -21.94), "Iceland / Europe (north)");         // Reykjavik
    EXPECT_EQ(AreaAt(4.93, -52.33), "France / South America");            // Cayenne
    EXPECT_EQ(AreaAt(55.76, 37.62), "Russia / Europe (east)");            // Moscow
    EXPECT_EQ(AreaAt(55.03, 82.92), "Russia / Asia (north)");             // Novosibirsk
    EXPECT_EQ(AreaAt(64.73, 177.51), "Russia / Asia (north)");            // Anadyr
    EXPECT_EQ(AreaAt(-77.85, 166.67), "Antarctica / Antarctic");          // McMurdo
    EXPECT_EQ(AreaAt(-17.53, -149.57), "French Polynesia / Pacific islands");
    EXPECT_EQ(MapAreaAt(0.0, -140.0), 0u); // the Pacific
    EXPECT_EQ(MapAreaAt(35.0, -40.0), 0u); // the Atlantic
    EXPECT_EQ(MapAreaAt(91.0, 0.0), 0u);
    EXPECT_EQ(MapAreaAt(0.0, std::nan("")), 0u);
}

TEST(SeenFrom, PathsCrossTheCountriesOfThePublishedMaps) {
    EXPECT_THAT(WhereSeen(CanonElements("2024-04-08")).path,
                ElementsAre("Mexico", "United States", "Canada"));
    EXPECT_THAT(WhereSeen(CanonElements("2017-08-21")).path, ElementsAre("United States"));
    EXPECT_THAT(WhereSeen(CanonElements("2021-12-04")).path, ElementsAre("Antarctica"));
    // The annular eclipse of 2023 from Oregon to Brazil.
    EXPECT_THAT(WhereSeen(CanonElements("2023-10-14")).path,
                ElementsAre("United States", "Mexico", "Belize", "Guatemala", "Honduras",
                            "Nicaragua", "Costa Rica", "Panama", "Colombia", "Brazil"));
    // 2026: from the Arctic over Greenland and Iceland to Spain, ending at sunset off
    // the Balearic Islands. (Portugal's north-eastern corner lies a few km inside the
    // southern limit, at the map's resolution; it is not asked for.)
    const std::vector<std::string> path2026 = WhereSeen(CanonElements("2026-08-12")).path;
    EXPECT_THAT(path2026, AllOf(Contains("Greenland"), Contains("Iceland"), Contains("Spain"),
                                Not(Contains("France")), Not(Contains("United Kingdom"))));
    EXPECT_LT(std::find(path2026.begin(), path2026.end(), "Iceland"),
              std::find(path2026.begin(), path2026.end(), "Spain"));
    EXPECT_THAT(WhereSeen(CanonElements("2025-03-29")).path, IsEmpty()); // partial
}

TEST(SeenFrom, PartialZonesCoverTheirRegionsOnly) {
    const std::vector<std::string> p2024 = WhereSeen(CanonElements("2024-04-08")).partial;
    EXPECT_EQ(p2024.front(), "North America"); // most of its land
    EXPECT_THAT(p2024,
                AllOf(Contains("Central America"), Contains("Caribbean"),
                      Contains("Europe (north)"), Not(Contains("Africa (south)")),
                      Not(Contains("Asia (east)")), Not(Contains("Australia and New Zealand"))));
    const std::vector<std::string> p2021 = WhereSeen(CanonElements("2021-12-04")).partial;
    EXPECT_THAT(p2021, AllOf(Contains("Antarctic"), Contains("Africa (south)"),
                             Not(Contains("Europe (north)")), Not(Contains("North America"))));
    // 2025 March: Europe, north-west Africa, Siberia, Greenland, north-east America
    // and at sunrise the north of South America.
    const std::vector<std::string> p2025 = WhereSeen(CanonElements("2025-03-29")).partial;
    EXPECT_THAT(p2025, AllOf(Contains("Europe (west)"), Contains("Africa (north)"),
                             Contains("North America"), Contains("Asia (north)"),
                             Not(Contains("Asia (south)")), Not(Contains("Antarctic")),
                             Not(Contains("Australia and New Zealand"))));
}

TEST(SeenFrom, DescriptionGroupsRegionsOfOneContinent) {
    std::vector<std::string> europe;
    for (std::size_t r = 0; r < MapRegionCount(); ++r)
        if (std::string(MapRegionName(r)).rfind("Europe (", 0) == 0)
            europe.emplace_back(MapRegionName(r));
    SeenFrom seen{{"Mexico", "United States"},
                  {"North America", "Europe (west)", "Caribbean", "Europe (north)"}};
    EXPECT_EQ(DescribeSeenFrom(seen), "Path: Mexico, United States \xC2\xB7 Partial: North "
                                      "America, Europe (west, north), Caribbean");
    seen = {{}, europe};
    seen.partial.emplace_back("Africa (north)");
    EXPECT_EQ(DescribeSeenFrom(seen), "Partial: Europe, Africa (north)");
    EXPECT_EQ(DescribeSeenFrom({}), "");
}

} // namespace
