#include "app/cli_site.h"

#include "places/gazetteer.h"

#include <cstdio>
#include <vector>

namespace {

void Fail(const std::string& reason) {
    std::fprintf(stderr, "kestrova-cli: %s\n", reason.c_str());
}

} // namespace

const char* HeightFromName(HeightFrom from) {
    switch (from) {
    case HeightFrom::Given:
        return "given";
    case HeightFrom::Place:
        return "place";
    case HeightFrom::SeaLevel:
        break;
    }
    return "sea_level";
}

std::optional<Site> SiteByName(const std::string& name, const char* file) {
    const std::string path = file ? std::string(file) : FindGazetteerFile(RunningProgramFolder());
    if (path.empty()) {
        Fail("the gazetteer places.kgz is not installed beside this program (--gazetteer FILE "
             "names another)");
        return std::nullopt;
    }
    const GazetteerLoad load = LoadGazetteer(path);
    if (!load.error.empty()) {
        Fail(load.error);
        return std::nullopt;
    }
    const std::vector<Place> found = FindPlaces(load.gazetteer, name);
    if (found.empty()) {
        Fail(NoPlaceMessage(load.gazetteer, name));
        return std::nullopt;
    }
    if (found.size() > 1) {
        std::string others;
        for (std::size_t i = 1; i < found.size() && i < 10; ++i)
            others += (i > 1 ? "; " : "") + DescribePlace(found[i]) + " (" +
                      std::to_string(found[i].population) + ")";
        if (found.size() > 10)
            others += "; ...";
        std::fprintf(stderr,
                     "kestrova-cli: %zu places are named \"%s\"; using the largest, %s. "
                     "Others: %s. Add \", REGION\" or \", COUNTRY\" to choose.\n",
                     found.size(), PrintableText(name).c_str(), DescribePlace(found[0]).c_str(),
                     others.c_str());
    }
    const Place& p = found[0];
    const std::string typed = name.substr(0, name.find(','));
    if (FoldName(typed) != FoldName(p.name))
        std::fprintf(stderr, "kestrova-cli: \"%s\" is taken as %s\n", PrintableText(typed).c_str(),
                     DescribePlace(p).c_str());
    return Site{{p.latitude, p.longitude, p.heightM.value_or(0.0)},
                DescribePlace(p),
                p.zone,
                false,
                p.heightM ? HeightFrom::Place : HeightFrom::SeaLevel};
}
