// The gazetteer over any bytes: as an index and as a text source it loads whole or
// gives an error, never a crash; whatever loads answers any query, and every place
// it returns lies on the Earth.

#include "places/gazetteer.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

// A small real index to damage, and queries to put to it.
const std::string& Seed() {
    static const std::string bytes =
        BuildGazetteerIndex("C\tUS\tUnited States\tUSA\n"
                            "R\tUS\tTX\tTexas\n"
                            "P\tDallas\t\tBig D\tUS\tTX\t32.78\t-96.8\t1300000\tUTC\n"
                            "P\tParis\t\t\tFR\t11\t48.85\t2.35\t2100000\tUTC\n",
                            [](const std::string&) { return true; })
            .bytes;
    return bytes;
}

void Ask(const Gazetteer& g, const std::string& query) {
    for (const Place& p : FindPlaces(g, query))
        Require(std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0);
    for (const Place& p : SuggestPlaces(g, query, 3))
        Require(std::fabs(p.latitude) <= 90.0 && std::fabs(p.longitude) <= 180.0);
    const std::string message = NoPlaceMessage(g, query);
    for (const char c : message)
        Require(static_cast<unsigned char>(c) >= 0x20 && c != 0x7F);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    // The first byte chooses: damage the seed index at a place, read the bytes as an
    // index, or as a text source.
    const unsigned mode = size > 0 ? data[0] % 3 : 0;
    const std::string rest = size > 0 ? input.substr(1) : input;
    GazetteerLoad load;
    if (mode == 0) {
        std::string damaged = Seed();
        for (std::size_t i = 0; i + 2 < rest.size(); i += 3) {
            const std::size_t at = (static_cast<unsigned char>(rest[i]) << 8 |
                                    static_cast<unsigned char>(rest[i + 1])) %
                                   damaged.size();
            damaged[at] = rest[i + 2];
        }
        load = ReadGazetteerIndex(damaged);
    } else if (mode == 1) {
        load = ReadGazetteerIndex(rest);
    } else {
        const GazetteerBuild build =
            BuildGazetteerIndex(rest, [](const std::string& zone) { return zone == "UTC"; });
        Require(build.error.empty() != build.bytes.empty());
        if (build.error.empty()) {
            load = ReadGazetteerIndex(build.bytes);
            Require(load.error.empty());
        }
    }
    Require(load.error.empty() || PlaceCount(load.gazetteer) == 0);
    // The matcher over the seed, with the input as the query.
    static const GazetteerLoad seed = ReadGazetteerIndex(Seed());
    Ask(seed.gazetteer, rest.substr(0, 200));
    if (load.error.empty())
        Ask(load.gazetteer, "dallas, tx");
    return 0;
}
