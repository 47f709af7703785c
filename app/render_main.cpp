// kestrova-render: the picture commands of kestrova-cli (snapshot --png, map,
// print), drawn by the window's own code on Qt's offscreen platform. kestrova-cli
// hands these commands over with its own arguments.
#include "app/cli_render.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

int Usage() {
    std::fputs("usage:\n"
               "  kestrova-cli snapshot DAY MONTH YEAR HOUR MINUTE SECOND --png FILE [--size WxH]\n"
               "  kestrova-cli map      DAY MONTH YEAR --png FILE [--size WxH]\n"
               "  kestrova-cli print    DAY MONTH YEAR --pdf FILE\n",
               stderr);
    return 2;
}

// "WxH" with both at least 1 and at most 20000 pixels.
bool ParseSize(const char* text, int& width, int& height) {
    char x = 0;
    char rest = 0;
    return std::sscanf(text, "%d%c%d%c", &width, &x, &height, &rest) == 3 &&
           (x == 'x' || x == 'X') && width >= 1 && height >= 1 && width <= 20000 && height <= 20000;
}

// The options after a command's numbers: --points, --png FILE, --size WxH.
struct PictureOptions {
    bool points = false;
    const char* png = nullptr;
    int width = kDefaultPngWidth;
    int height = kDefaultPngHeight;
};

// Reads the options from argv[first] on. False for an option it does not know, a
// missing value, or --points where points are not offered.
bool ParseOptions(int argc, char** argv, int first, bool pointsOffered, PictureOptions& o) {
    for (int i = first; i < argc; ++i) {
        if (pointsOffered && std::strcmp(argv[i], "--points") == 0) {
            o.points = true;
        } else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            o.png = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            if (!ParseSize(argv[++i], o.width, o.height)) {
                std::fprintf(stderr, "kestrova-cli: --size wants WxH, for example 748x539\n");
                return false;
            }
        } else {
            return false;
        }
    }
    return true;
}

// snapshot DAY MONTH YEAR HOUR MINUTE SECOND [--points] [--png FILE [--size WxH]]
int SnapshotCommand(int argc, char** argv) {
    PictureOptions o;
    if (argc < 8 || !ParseOptions(argc, argv, 8, true, o))
        return Usage();
    if (o.png == nullptr)
        return Usage();
    return RenderSnapshotPng(std::atoi(argv[2]), std::atoi(argv[3]), std::atoi(argv[4]),
                             std::atoi(argv[5]), std::atoi(argv[6]), std::atof(argv[7]), o.png,
                             o.width, o.height);
}

// map DAY MONTH YEAR --png FILE [--size WxH]
int MapCommand(int argc, char** argv) {
    PictureOptions o;
    if (argc < 7 || !ParseOptions(argc, argv, 5, false, o) || o.png == nullptr)
        return Usage();
    return RenderMapPng(argv[2], argv[3], argv[4], o.png, o.width, o.height);
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2)
        return Usage();
    const std::string command = argv[1];
    if (command == "snapshot")
        return SnapshotCommand(argc, argv);
    if (command == "map")
        return MapCommand(argc, argv);
    if (command == "print" && argc == 7 && std::strcmp(argv[5], "--pdf") == 0)
        return RenderPrintPdf(argv[2], argv[3], argv[4], argv[6]);
    return Usage();
}
