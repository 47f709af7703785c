#include "app/cli_render.h"

#include "io/cli_args.h"

#include "geo/map_view.h"
#include "model/input_parse.h"
#include "platform/save_file.h"
#include "view/kestrova_view.h"
#include "view/scene.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QPrinter>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string SecondsText(double second) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", second);
    return text;
}

// Whether path is a folder of this user's that only this user may enter, as Qt wants
// its runtime folder.
bool IsPrivateFolder(const char* path) {
    struct stat info {};
    return path != nullptr && path[0] == '/' && ::stat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::geteuid() && (info.st_mode & 0777) == 0700;
}

// A private runtime folder for the run of this program, removed when it ends. Qt warns
// on stderr when XDG_RUNTIME_DIR is not set or not private (as under sudo, cron or a
// container), and the program's output must stay free of that.
void EnsureRuntimeFolder() {
    if (IsPrivateFolder(std::getenv("XDG_RUNTIME_DIR"))) {
        return;
    }
    const char* tmp = std::getenv("TMPDIR");
    static std::string folder =
        std::string(tmp && tmp[0] == '/' ? tmp : "/tmp") + "/kestrova-runtime-XXXXXX";
    if (::mkdtemp(folder.data()) == nullptr) {
        return; // Qt then says what it thinks
    }
    setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    std::atexit([] { ::rmdir(folder.c_str()); });
}

// The pictures need no display: Qt's offscreen platform unless one is chosen. Null when
// an application exists already.
std::unique_ptr<QApplication> OffscreenApplication() {
    if (QApplication::instance()) {
        return nullptr;
    }
    if (!std::getenv("QT_QPA_PLATFORM")) {
        setenv("QT_QPA_PLATFORM", "offscreen", 0);
    }
    EnsureRuntimeFolder();
    static int argc = 1;
    static char name[] = "kestrova-cli";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
}

void ReportMessageBoxes(const CMessageRecorder& boxes) {
    for (const MessageBoxCall& box : boxes.m_calls) {
        std::fprintf(stderr, "%s: %s\n", qPrintable(box.caption), qPrintable(box.text));
    }
}

// Whether a picture of width x height can be made; says why not on stderr.
bool CheckPictureSize(int width, int height) {
    if (width <= 0 || height <= 0 || width > kMaxPictureSide || height > kMaxPictureSide) {
        std::fprintf(stderr, "kestrova-cli: the size must be between 1x1 and %dx%d\n",
                     kMaxPictureSide, kMaxPictureSide);
        return false;
    }
    return true;
}

// Makes a field wide enough for text: the command line's date was checked already,
// and a year such as -1999 must not be cut to the window's four characters.
void WidenField(CRichEdit* field, const std::string& text) {
    if (field != nullptr && field->maxLength() < static_cast<int>(text.size())) {
        field->LimitText(static_cast<int>(text.size()));
    }
}

// The real view on the offscreen platform, laid out at a size, its message boxes
// recorded instead of shown.
struct OffscreenView {
    OffscreenView(int width, int height) : app(OffscreenApplication()) {
        view.SetMessageBoxSink(&boxes);
        view.resize(width, height);
        view.show();
        view.OnInitialUpdate();
    }
    // Types the date into the fields, as a user would.
    void TypeDate(const std::string& day, const std::string& month, const std::string& year) {
        WidenField(view.m_pEditDay, day);
        WidenField(view.m_pEditMonth, month);
        WidenField(view.m_pEditYear, year);
        view.m_strDay = day;
        view.m_strMonth = month;
        view.m_strYear = year;
        view.WriteEditTexts();
    }

    std::unique_ptr<QApplication> app;
    CMessageRecorder boxes;
    CKestrovaView view;
};

// The map command's computation of the date needs no window: it starts at once, on other
// threads, while Qt and the window are set up, and the window's map command takes it
// over (or computes afresh if it parses the date otherwise).
PendingDateMap StartMapOfDate(const std::string& day, const std::string& month,
                              const std::string& year, Ephemeris engine) {
    return StartDateMap({ParseInt(day), ParseInt(month), ParseInt(year)}, engine);
}

int SaveWindowPng(CKestrovaView& view, const std::string& file) {
    const QImage image = view.grab().toImage();
    const QString failure = SaveImageAtomically(image, QString::fromStdString(file), "PNG");
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}

} // namespace

int RenderSnapshotPng(int day, int month, int year, int hour, int minute, double second,
                      const std::string& file, int width, int height) {
    if (!CheckPictureSize(width, height)) {
        return 2;
    }
    OffscreenView o(width, height);
    // The fields show what a user would type; the seconds keep their full value, which
    // the field's four characters could not hold.
    o.view.m_strHour = std::to_string(hour);
    o.view.m_strMinute = std::to_string(minute);
    o.view.m_strSecond = SecondsText(second);
    o.TypeDate(std::to_string(day), std::to_string(month), std::to_string(year));
    o.view.ParseInputs();
    o.view.RunSnapshot();
    ReportMessageBoxes(o.boxes);
    return SaveWindowPng(o.view, file);
}

int RenderMapPng(const std::string& day, const std::string& month, const std::string& year,
                 const std::string& file, int width, int height, Ephemeris engine) {
    if (!CheckPictureSize(width, height)) {
        return 2;
    }
    PendingDateMap pending = StartMapOfDate(day, month, year, engine);
    OffscreenView o(width, height);
    o.view.m_engine = engine;
    o.view.SetPendingMap(std::move(pending));
    o.TypeDate(day, month, year);
    o.view.OnMap();
    ReportMessageBoxes(o.boxes);
    return SaveWindowPng(o.view, file);
}

int RenderMapViewPng(const std::string& day, const std::string& month, const std::string& year,
                     const ViewArg& view, const std::string& file, int width, int height,
                     Ephemeris engine) {
    if (!CheckPictureSize(width, height)) {
        return 2;
    }
    PendingDateMap pending = StartMapOfDate(day, month, year, engine);
    OffscreenView o(kDefaultPngWidth, kDefaultPngHeight);
    o.view.m_engine = engine;
    o.view.SetPendingMap(std::move(pending));
    o.TypeDate(day, month, year);
    o.view.OnMap();
    ReportMessageBoxes(o.boxes);
    const MapView mapView =
        view.globe ? PictureGlobeView(width, height, view.lat, view.lon)
                   : PictureBoxView(width, height, {view.south, view.west, view.north, view.east});
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    {
        QPainter painter(&image);
        CDC dc(painter);
        PaintMapPicture(dc, o.view.GetScene(), mapView);
    }
    const QString failure = SaveImageAtomically(image, QString::fromStdString(file), "PNG");
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}

int RenderPrintPdf(const std::string& day, const std::string& month, const std::string& year,
                   const std::string& file, Ephemeris engine) {
    // A file that cannot be written is said in one line, before Qt's printer would
    // report it in its own words. The check leaves no file behind.
    {
        const QString path = QString::fromStdString(file);
        const bool existed = QFileInfo::exists(path);
        QFile probe(path);
        if (!probe.open(QIODevice::Append)) {
            std::fprintf(stderr, "kestrova-cli: cannot write %s: %s\n", file.c_str(),
                         qPrintable(probe.errorString()));
            return 1;
        }
        probe.close();
        if (!existed) {
            probe.remove();
        }
    }
    PendingDateMap pending = StartMapOfDate(day, month, year, engine);
    OffscreenView o(kDefaultPngWidth, kDefaultPngHeight);
    // The page is drawn from the scene; the window is never seen, so the map command
    // does not repaint it.
    o.view.hide();
    o.view.m_engine = engine;
    o.view.SetPendingMap(std::move(pending));
    o.TypeDate(day, month, year);
    o.view.OnMap();

    // The print sequence as the window runs it, into a PDF instead of a chosen printer:
    // a temporary file beside the target, checked whole, then renamed over it.
    const auto print = [&](const QString& temporary) {
        const std::unique_ptr<QPrinter> printer = CreateDefaultPrinter();
        printer->setOutputFileName(temporary);
        printer->setOutputFormat(QPrinter::PdfFormat);
        CPrintInfo info;
        info.m_bDirect = true;
        return o.view.PrintOn(*printer, info);
    };
    const QString failure = SavePdfAtomically(print, QString::fromStdString(file));
    ReportMessageBoxes(o.boxes);
    if (!failure.isEmpty()) {
        std::fprintf(stderr, "kestrova-cli: %s\n", qPrintable(failure));
        return 1;
    }
    return 0;
}
