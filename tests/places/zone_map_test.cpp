#include "places/gazetteer.h"
#include "places/zone_map.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

TEST(ZoneMap, ZonesOfKnownPlaces) {
    EXPECT_EQ(ZoneAtPoint(32.7767, -96.797).zone, "America/Chicago");     // Dallas
    EXPECT_EQ(ZoneAtPoint(40.4168, -3.7038).zone, "Europe/Madrid");       // Madrid
    EXPECT_EQ(ZoneAtPoint(64.1466, -21.9426).zone, "Atlantic/Reykjavik"); // Reykjavík
    EXPECT_EQ(ZoneAtPoint(-33.8688, 151.2093).zone, "Australia/Sydney");
    EXPECT_EQ(ZoneAtPoint(35.6762, 139.6503).zone, "Asia/Tokyo");
    EXPECT_FALSE(ZoneAtPoint(40.4168, -3.7038).nautical);
    // El Paso keeps Mountain time, 900 km west of Dallas.
    EXPECT_EQ(ZoneAtPoint(31.7619, -106.485).zone, "America/Denver");
}

TEST(ZoneMap, TheHighSeasKeepNauticalTime) {
    const PointZone atlantic = ZoneAtPoint(0.0, -30.0);
    EXPECT_TRUE(atlantic.nautical);
    EXPECT_EQ(atlantic.zone, "Etc/GMT+2");
    EXPECT_EQ(NauticalZone(7.4), "Etc/GMT");
    EXPECT_EQ(NauticalZone(7.6), "Etc/GMT-1");
    EXPECT_EQ(NauticalZone(-179.0), "Etc/GMT+12");
    EXPECT_EQ(NauticalZone(179.0), "Etc/GMT-12");
    EXPECT_TRUE(ZoneAtPoint(90.0, 0.0).nautical);
    EXPECT_TRUE(ZoneAtPoint(std::nan(""), 0.0).nautical);
}

// The boundary map against GeoNames' zones of its places: two independent sources.
TEST(ZoneMap, AgreesWithTheGazetteer) {
    const GazetteerLoad load = LoadGazetteer(FindGazetteerFile(""));
    ASSERT_EQ(load.error, "");
    std::size_t same = 0, sea = 0, n = 0;
    for (const char* name : {"Dallas", "Madrid", "Reykjavik", "Lima", "Nairobi", "Perth",
                             "Anchorage", "Honolulu", "Kolkata", "Chicago", "Denver", "Phoenix",
                             "Tehran", "Kathmandu", "Auckland", "Santiago", "Cairo", "Helsinki"}) {
        const Place p = FindPlaces(load.gazetteer, name).front();
        const PointZone z = ZoneAtPoint(p.latitude, p.longitude);
        ++n;
        same += z.zone == p.zone;
        sea += z.nautical;
    }
    EXPECT_EQ(sea, 0u);
    EXPECT_EQ(same, n);
}

} // namespace
