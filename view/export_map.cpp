#include "view/export_map.h"

#include "eclipse/finder_text.h"
#include "export/map_export.h"
#include "geo/projection.h"
#include "io/atomic_write.h"
#include "platform/save_file.h"
#include "render/map_painter.h"
#include "view/kestrova_view.h"

#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>

#include <cstdio>
#include <memory>

namespace {

constexpr double kPanelTop = 413.0; // design row where the control panel begins

QString WritePng(CKestrovaView& view, const QString& file) {
    const int height = TruncToInt(kPanelTop * view.m_zoomY);
    const QImage image = view.grab(QRect(0, 0, view.width(), height)).toImage();
    if (image.isNull())
        return QStringLiteral("the window could not be drawn");
    return SaveImageAtomically(image, file, "PNG");
}

// The view as vectors: the same picture as the PNG, one PDF point per window pixel.
QString WritePdf(CKestrovaView& view, const QString& file) {
    return SavePdfAtomically(
        [&view](const QString& temporary) {
            const int width = view.width();
            const int height = TruncToInt(kPanelTop * view.m_zoomY);
            if (width <= 0 || height <= 0) {
                return false;
            }
            QPdfWriter writer(temporary);
            writer.setResolution(72);
            writer.setPageMargins(QMarginsF(0, 0, 0, 0));
            writer.setPageSize(QPageSize(QSizeF(width, height), QPageSize::Point));
            QPainter painter;
            if (!painter.begin(&writer)) {
                return false;
            }
            painter.setClipRect(QRect(0, 0, width, height));
            CDC dc(painter);
            const MapView mapView = view.CurrentMapView();
            PaintMapFrame(dc, width, view.height(), view.GetScene(), mapView);
            return painter.end();
        },
        file);
}

QString WriteText(const QString& file, const std::string& text) {
    return QString::fromStdString(
        WriteFileAtomically(QFile::encodeName(file).toStdString(), text).error);
}

} // namespace

QString ExportFileFilters() {
    return QStringLiteral("PNG image (*.png);;PDF document (*.pdf);;KML (*.kml);;GeoJSON "
                          "(*.geojson)");
}

QString WithExportSuffix(const QString& file, const QString& chosenFilter) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    for (const char* known : {"png", "pdf", "kml", "geojson"})
        if (suffix == QLatin1String(known))
            return file;
    const qsizetype star = chosenFilter.indexOf(QStringLiteral("*."));
    const qsizetype close = chosenFilter.indexOf(QLatin1Char(')'), star);
    if (star < 0 || close < 0)
        return file;
    return file + chosenFilter.mid(star + 1, close - star - 1);
}

QString ExportMap(CKestrovaView& view, const QString& file) {
    const QString suffix = QFileInfo(file).suffix().toLower();
    if (suffix == QLatin1String("png"))
        return WritePng(view, file);
    if (suffix == QLatin1String("pdf"))
        return WritePdf(view, file);
    if (suffix == QLatin1String("kml") || suffix == QLatin1String("geojson")) {
        const EclipsePath& path = view.GetScene().eclipse;
        if (path.kind == EclipseKind::None)
            return QStringLiteral("there is no eclipse on the map: press \"map\" for a date first");
        const std::vector<MapFeature> features = MapFeatures(path);
        const std::string iso = FormatInstant(path.greatest.jd);
        const std::string title = "Solar eclipse of " + iso.substr(0, iso.find('T'));
        return WriteText(file, suffix == QLatin1String("kml") ? MapKml(features, title)
                                                              : MapGeoJson(features));
    }
    return QStringLiteral("the file type is not known: use .png, .pdf, .kml or .geojson");
}
