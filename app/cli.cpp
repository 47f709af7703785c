// kestrova-cli: what the program computes, as text (and pictures), for scripts
// and for checking results against published tables.
#include "app/cli_render.h"
#include "eclipse/contacts.h"
#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

constexpr const char* kUsage =
    "usage:\n"
    "  kestrova-cli ephemeris DAY MONTH YEAR HOUR MINUTE SECOND\n"
    "  kestrova-cli elements  DAY MONTH YEAR HOUR MINUTE SECOND\n"
    "  kestrova-cli contacts  DAY MONTH YEAR\n"
    "  kestrova-cli snapshot  DAY MONTH YEAR HOUR MINUTE SECOND [--points] [--png FILE "
    "[--size WxH]]\n"
    "  kestrova-cli riseset   DAY MONTH YEAR LATITUDE\n"
    "  kestrova-cli map       DAY MONTH YEAR --png FILE [--size WxH]\n"
    "  kestrova-cli print     DAY MONTH YEAR --pdf FILE\n";

int Usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

// Date and time as the input fields parse them: atoi and atof.
struct Instant {
    int day = 0;
    int month = 0;
    int year = 0;
    int hour = 0;
    int minute = 0;
    double second = 0.0;
};

Instant ParseInstant(char** args, bool withTime) {
    Instant t;
    t.day = std::atoi(args[0]);
    t.month = std::atoi(args[1]);
    t.year = std::atoi(args[2]);
    if (withTime) {
        t.hour = std::atoi(args[3]);
        t.minute = std::atoi(args[4]);
        t.second = std::atof(args[5]);
    }
    return t;
}

// A snapshot ephemeris: one day of one step at the instant, Delta T applied.
CEphemeris SnapshotEphemeris(const Instant& t) {
    return CEphemeris(t.day, t.month, t.year, t.second, t.minute, t.hour, 1, 1, 1, 0.0, 0.0, 0.0);
}

void PrintValue(const char* name, double value) {
    std::printf("%s %.15g\n", name, value);
}

int Ephemeris(const Instant& t) {
    const CEphemeris e = SnapshotEphemeris(t);
    PrintValue("sunRA", e.m_sunRA[0]);
    PrintValue("sunDec", e.m_sunDec[0]);
    PrintValue("sunGST", e.m_sunGST[0]);
    PrintValue("jd", e.m_jdSeries[0]);
    PrintValue("moonRAHours", e.m_moonRAHours[0]);
    PrintValue("moonDec", e.m_moonDec[0]);
    PrintValue("moonParallax", e.m_moonParallax[0]);
    PrintValue("sunDistance", e.m_sunDistance[0]);
    PrintValue("sunRAHours", e.m_sunRAHours[0]);
    PrintValue("deltaT", e.m_deltaTUsed);
    return 0;
}

int Elements(const Instant& t) {
    const CShadowModel m = MakeShadowModel(SnapshotEphemeris(t));
    PrintValue("x", m.m_x[0]);
    PrintValue("y", m.m_y[0]);
    PrintValue("d", m.m_axisDec[0]);
    PrintValue("mu", m.m_mu[0]);
    PrintValue("l1", m.m_l1[0]);
    PrintValue("l2", m.m_l2[0]);
    PrintValue("f1", m.m_f1[0]);
    PrintValue("f2", m.m_f2[0]);
    return 0;
}

int Contacts(const Instant& t, char** args) {
    const CEphemeris e(t.day, t.month, t.year, 0.0, 0, 0, 1, kContactStepsPerDay, 1, 0.0, 0.0, 0.0);
    CShadowModel m = MakeShadowModel(e);
    m.run(kContactSamples, kContactSamples);
    const ContactTimes c = FindContactTimes(m);
    if (!c.eclipse) {
        std::printf("%s\n", NoEclipseMessage(args[0], args[1], args[2]).c_str());
        return 0;
    }
    for (const std::string& line : c.lines)
        std::printf("%s\n", line.c_str());
    return 0;
}

void PrintExtent(const char* name, const std::vector<double>& lat, const std::vector<double>& lon) {
    std::printf("%sPoints %zu\n", name, lat.size());
    if (lat.empty())
        return;
    const auto [latMin, latMax] = std::minmax_element(lat.begin(), lat.end());
    const auto [lonMin, lonMax] = std::minmax_element(lon.begin(), lon.end());
    std::printf("%sLat %.6f %.6f\n", name, *latMin, *latMax);
    std::printf("%sLon %.6f %.6f\n", name, *lonMin, *lonMax);
}

int Snapshot(const Instant& t, bool points) {
    CShadowModel m = MakeShadowModel(SnapshotEphemeris(t));
    m.run(1000.0, 50000.0);
    PrintExtent("penumbra", m.m_penumbraLat, m.m_penumbraLon);
    PrintExtent("umbra", m.m_umbraLat, m.m_umbraLon);
    if (points) {
        for (std::size_t i = 0; i < m.m_penumbraLat.size(); ++i)
            std::printf("P %.6f %.6f\n", m.m_penumbraLat[i], m.m_penumbraLon[i]);
        for (std::size_t i = 0; i < m.m_umbraLat.size(); ++i)
            std::printf("U %.6f %.6f\n", m.m_umbraLat[i], m.m_umbraLon[i]);
    }
    return 0;
}

int RiseSet(const Instant& t, double latitude) {
    CEphemeris e(t.day, t.month, t.year, 0.0, 0, 0, 1, 1, 0, latitude, 0.0, 0.0);
    e.RiseSet("SUNCE");
    PrintValue("rise", e.m_riseUT);
    PrintValue("set", e.m_setUT);
    return 0;
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
    const Instant t = ParseInstant(argv + 2, true);
    if (o.png != nullptr)
        return RenderSnapshotPng(t.day, t.month, t.year, t.hour, t.minute, t.second, o.png, o.width,
                                 o.height);
    return Snapshot(t, o.points);
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
    if (command == "ephemeris" && argc == 8)
        return Ephemeris(ParseInstant(argv + 2, true));
    if (command == "elements" && argc == 8)
        return Elements(ParseInstant(argv + 2, true));
    if (command == "contacts" && argc == 5)
        return Contacts(ParseInstant(argv + 2, false), argv + 2);
    if (command == "print" && argc == 7 && std::strcmp(argv[5], "--pdf") == 0)
        return RenderPrintPdf(argv[2], argv[3], argv[4], argv[6]);
    if (command == "riseset" && argc == 6)
        return RiseSet(ParseInstant(argv + 2, false), std::atof(argv[5]));
    return Usage();
}
