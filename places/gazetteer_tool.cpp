// kestrova-gazetteer SOURCE.tsv INDEX.kgz: compiles the gazetteer's text source into
// the binary index the programs load (the build runs it on res/places/places.tsv).
#include "io/atomic_write.h"
#include "places/gazetteer.h"
#include "places/zone_time.h"

#include <cstdio>
#include <fstream>
#include <sstream>

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fputs("usage: kestrova-gazetteer SOURCE.tsv INDEX.kgz\n", stderr);
        return 2;
    }
    std::ifstream file(argv[1], std::ios::binary);
    if (!file) {
        std::fprintf(stderr, "kestrova-gazetteer: cannot read %s\n",
                     PrintableText(argv[1]).c_str());
        return 1;
    }
    std::ostringstream text;
    text << file.rdbuf();
    const GazetteerBuild build =
        BuildGazetteerIndex(text.str(), [](const std::string& zone) { return IsKnownZone(zone); });
    if (!build.error.empty()) {
        std::fprintf(stderr, "kestrova-gazetteer: %s: %s\n", PrintableText(argv[1]).c_str(),
                     build.error.c_str());
        return 1;
    }
    const WriteResult written = WriteFileAtomically(argv[2], build.bytes);
    if (!written.ok()) {
        std::fprintf(stderr, "kestrova-gazetteer: %s\n", written.error.c_str());
        return 1;
    }
    return 0;
}
