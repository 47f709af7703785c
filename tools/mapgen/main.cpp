// mapgen: writes the program's bitmaps (world maps and button faces) into the resource folder.
//
//   mapgen COUNTRIES_TOPOJSON RES_DIR
//   mapgen --icons RES_DIR       (only the application icon, res/icons/...)
//   mapgen --vector WORLD_ATLAS_DIR OUT_FILE   (the vector base map, res/map/world.kvm)
//
// COUNTRIES_TOPOJSON is countries-50m.json of the world-atlas package (Natural Earth).
#include "buttons.h"
#include "icon.h"
#include "projection.h"
#include "topology.h"
#include "vectormap.h"
#include "worldmap.h"

#include <QDir>
#include <QGuiApplication>
#include <QImage>

#include <cstdio>

namespace {

// BMP files are written uncompressed with 24 bits per pixel.
bool SaveBmp(const QImage& image, const QString& path) {
    if (!image.save(path, "BMP")) {
        std::fprintf(stderr, "mapgen: cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s  %d x %d\n", qPrintable(path), image.width(), image.height());
    return true;
}

// The application icon at every size of the hicolor theme:
// RES_DIR/icons/hicolor/NxN/apps/org.kestrova.Kestrova.png.
bool SaveIcons(const QDir& res) {
    bool ok = true;
    for (const int size : mapgen::kIconSizes) {
        const QString folder = QStringLiteral("icons/hicolor/%1x%1/apps").arg(size);
        if (!res.mkpath(folder)) {
            std::fprintf(stderr, "mapgen: cannot create %s\n", qPrintable(res.filePath(folder)));
            return false;
        }
        const QString path = res.filePath(folder + "/org.kestrova.Kestrova.png");
        if (!mapgen::DrawIcon(size).save(path, "PNG")) {
            std::fprintf(stderr, "mapgen: cannot write %s\n", qPrintable(path));
            ok = false;
        } else {
            std::printf("%s  %d x %d\n", qPrintable(path), size, size);
        }
    }
    return ok;
}

} // namespace

int main(int argc, char* argv[]) {
    // Fonts for the button captions need a GUI application, but no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);

    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == "--vector") {
        QString error;
        if (!mapgen::WriteVectorBaseMap(args[2], args[3], error)) {
            std::fprintf(stderr, "mapgen: %s\n", qPrintable(error));
            return 1;
        }
        return 0;
    }
    if (args.size() != 3) {
        std::fprintf(stderr, "usage: mapgen COUNTRIES_TOPOJSON RES_DIR\n"
                             "       mapgen --icons RES_DIR\n"
                             "       mapgen --vector WORLD_ATLAS_DIR OUT_FILE\n");
        return 2;
    }
    if (args[1] == "--icons")
        return SaveIcons(QDir(args[2])) ? 0 : 1;
    QString error;
    const auto topology = mapgen::ReadTopology(args[1], "countries", error);
    if (!topology) {
        std::fprintf(stderr, "mapgen: %s\n", qPrintable(error));
        return 1;
    }
    std::printf("%zu countries, %zu arcs\n", topology->countries.size(), topology->arcs.size());

    const QDir res(args[2]);
    if (!res.mkpath("buttons")) {
        std::fprintf(stderr, "mapgen: cannot create %s\n", qPrintable(res.filePath("buttons")));
        return 1;
    }
    bool ok = SaveBmp(mapgen::RenderWorldMap(*topology, mapgen::kScreenFrame),
                      res.filePath("world_map.bmp"));
    ok =
        SaveBmp(mapgen::RenderWorldMap(*topology, mapgen::kPageFrame), res.filePath("SVET0.bmp")) &&
        ok;
    for (const mapgen::ButtonFace& face : mapgen::ButtonFaces())
        ok = SaveBmp(mapgen::DrawButton(face), res.filePath("buttons/" + face.stem + ".bmp")) && ok;
    ok = SaveIcons(res) && ok;
    return ok ? 0 : 1;
}
