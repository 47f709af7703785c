// kestrova-render: the picture commands of kestrova-cli (snapshot --png, map,
// print), drawn by the window's own code on Qt's offscreen platform. kestrova-cli
// hands these commands over with its own arguments.
#include "app/cli_render.h"
#include "io/atomic_write.h"
#include "io/cli_args.h"

#include <QString>
#include <QtGlobal>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
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

// Whether file can be written; says why not on stderr. Checked before any drawing so
// that a device, a FIFO or a folder is refused at once.
bool WritableTarget(const char* file) {
    const WriteResult check = CheckWriteTarget(file);
    if (!check.ok()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", check.error.c_str());
        return false;
    }
    return true;
}

// Qt's own diagnostics (a missing runtime folder, font notes of the offscreen
// platform) are not this program's messages: only critical ones are shown, so that a
// refused command says one line. KESTROVA_QT_MESSAGES=1 shows them all.
void QuietQtMessages(QtMsgType type, const QMessageLogContext& /*context*/,
                     const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg) {
        std::fprintf(stderr, "kestrova-cli: %s\n", qPrintable(message));
    }
}

// The options after a command's numbers: --points, --png FILE, --size WxH.
struct PictureOptions {
    bool points = false;
    const char* png = nullptr;
    int width = kDefaultPngWidth;
    int height = kDefaultPngHeight;
    bool bad = false; // an option's value was refused (said on stderr)
};

// Reads the options from argv[first] on. False for an option it does not know, a
// missing value, --points where points are not offered, or a value refused (bad).
bool ParseOptions(int argc, char** argv, int first, bool pointsOffered, PictureOptions& o) {
    for (int i = first; i < argc; ++i) {
        if (pointsOffered && std::strcmp(argv[i], "--points") == 0) {
            o.points = true;
        } else if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
            o.png = argv[++i];
        } else if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc) {
            const std::optional<SizeArg> size = ParseSizeArg(argv[++i], "--size", kMaxPictureSide);
            if (!size) {
                o.bad = true;
                return false;
            }
            o.width = size->width;
            o.height = size->height;
        } else {
            return false;
        }
    }
    return true;
}

// snapshot DAY MONTH YEAR HOUR MINUTE SECOND [--points] [--png FILE [--size WxH]]
int SnapshotCommand(int argc, char** argv) {
    PictureOptions o;
    if (argc < 8)
        return Usage();
    if (!ParseOptions(argc, argv, 8, true, o))
        return o.bad ? 1 : Usage();
    if (o.png == nullptr)
        return Usage();
    const std::optional<DateArg> date = ParseDateArgs(argv[2], argv[3], argv[4]);
    if (!date)
        return 1;
    const std::optional<TimeArg> time = ParseTimeArgs(argv[5], argv[6], argv[7]);
    if (!time || !WritableTarget(o.png))
        return 1;
    return RenderSnapshotPng(date->day, date->month, date->year, time->hour, time->minute,
                             time->second, o.png, o.width, o.height);
}

// map DAY MONTH YEAR --png FILE [--size WxH]
int MapCommand(int argc, char** argv, Ephemeris engine) {
    PictureOptions o;
    if (argc < 7)
        return Usage();
    if (!ParseOptions(argc, argv, 5, false, o))
        return o.bad ? 1 : Usage();
    if (o.png == nullptr)
        return Usage();
    if (!ParseDateArgs(argv[2], argv[3], argv[4]) || !WritableTarget(o.png))
        return 1;
    return RenderMapPng(argv[2], argv[3], argv[4], o.png, o.width, o.height, engine);
}

} // namespace

int main(int rawArgc, char** rawArgv) {
    if (rawArgc < 2)
        return Usage();
    // kestrova-cli always names the engine; the path layer follows it.
    EngineArgs args = TakeEphemerisOption(rawArgc, rawArgv, Ephemeris::Precise);
    if (!args.engine)
        return 1;
    const Ephemeris engine = *args.engine;
    const int argc = static_cast<int>(args.rest.size() - 1);
    char** argv = args.rest.data();
    const char* showQt = std::getenv("KESTROVA_QT_MESSAGES");
    if (showQt == nullptr || std::strcmp(showQt, "1") != 0) {
        qInstallMessageHandler(QuietQtMessages);
    }
    const std::string command = argv[1];
    if (command == "snapshot")
        return SnapshotCommand(argc, argv);
    if (command == "map")
        return MapCommand(argc, argv, engine);
    if (command == "print" && argc == 7 && std::strcmp(argv[5], "--pdf") == 0) {
        if (!ParseDateArgs(argv[2], argv[3], argv[4]) || !WritableTarget(argv[6]))
            return 1;
        return RenderPrintPdf(argv[2], argv[3], argv[4], argv[6], engine);
    }
    return Usage();
}
