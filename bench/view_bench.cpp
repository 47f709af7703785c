// Speed of the view's commands on the offscreen window: one frame of the animation and
// the map command, computation and drawing together, and the map command's computation
// alone.

#include "model/eclipse_map.h"
#include "render/base_map_painter.h"
#include "render/map_painter.h"
#include "view/kestrova_view.h"
#include "view/scene.h"

#include <QApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdlib>
#include <vector>

namespace {

class BenchView : public CKestrovaView {
public:
    void Tick() { OnTimer(kAnimationTimerId); }
};

// A shown view of width x height with a date in its fields.
void ShowWithDate(BenchView& view, CMessageRecorder& boxes, int width, int height, const char* day,
                  const char* month, const char* year) {
    view.SetMessageBoxSink(&boxes);
    view.resize(width, height);
    view.show();
    view.OnInitialUpdate();
    view.SetDlgItemText(IDC_DAY, day);
    view.SetDlgItemText(IDC_MONTH, month);
    view.SetDlgItemText(IDC_YEAR, year);
}

// A view of the design size after "generate" for 29 March 2006.
void Generate(BenchView& view, CMessageRecorder& boxes) {
    ShowWithDate(view, boxes, 748, 539, "29", "3", "2006");
    view.OnContactTimes();
}

// One tick at the given minute of the day: the snapshot of that minute computed, the
// previous frame wiped, the new one plotted.
void AnimationTick(benchmark::State& state) {
    CMessageRecorder boxes;
    BenchView view;
    Generate(view, boxes);
    const int step = static_cast<int>(state.range(0));
    for (auto _ : state) {
        view.m_nCurStep = step;
        view.Tick();
    }
    view.OnStop();
    state.SetLabel(std::to_string(view.GetScene().penumbra.lat.size()) + " penumbra points");
}
BENCHMARK(AnimationTick)
    ->Arg(7 * 60 + 40)
    ->Arg(10 * 60 + 11)
    ->Arg(11 * 60 + 40)
    ->Unit(benchmark::kMillisecond);

// What the map button computes for a date, without drawing: the day's contact-time run,
// the hourly penumbra outlines, the umbra path minute by minute and the limit curves.
void MapComputation(benchmark::State& state, int day, int month, int year) {
    const RunRequest request{day, month, year, 1};
    for (auto _ : state) {
        const EclipseMap map = ComputeEclipseMap(request);
        const LimitCurveSeries limits = ComputeLimitCurveSeries(request);
        benchmark::DoNotOptimize(map.umbraPath.lat.data());
        benchmark::DoNotOptimize(limits.rise.data());
    }
}
BENCHMARK_CAPTURE(MapComputation, total_2006_03_29, 29, 3, 2006)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MapComputation, partial_2011_01_04, 4, 1, 2011)->Unit(benchmark::kMillisecond);

// The whole map button on the offscreen window: the wipe, the computation, the drawing.
void MapCommand(benchmark::State& state) {
    CMessageRecorder boxes;
    BenchView view;
    ShowWithDate(view, boxes, 748, 539, "29", "3", "2006");
    for (auto _ : state) {
        view.OnMap();
    }
}
BENCHMARK(MapCommand)->Unit(benchmark::kMillisecond);

// A 1600 x 1000 window after the map button for 8 April 2024, zoomed four times about a
// point over Texas (or turned to the globe) and panned.
struct MovedWindow {
    explicit MovedWindow(bool globe) {
        ShowWithDate(view, boxes, 1600, 1000, "8", "4", "2024");
        view.OnMap();
        if (globe) {
            view.OnGlobeView();
        } else {
            view.ZoomMapAbout(500, 300, 4.0);
        }
        view.PanMap(40, 25);
    }
    // The view of a drag's frame i: one pixel further each frame, back and forth, so
    // that no two frames in a row show the same view.
    MapView Frame(std::int64_t i) const {
        const MapView at = view.CurrentMapView();
        const double step = (i % 2 == 0) ? 1.0 : -1.0;
        return Panned(at, step, 0.5 * step);
    }
    CMessageRecorder boxes;
    BenchView view;
};

// One frame of the drag with every layer: what the window repaints each time the pointer
// moves.
void MovedFrame(benchmark::State& state, bool globe) {
    const MovedWindow window(globe);
    QImage image(1600, 1000, QImage::Format_RGB32);
    std::int64_t i = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter);
        PaintMapFrame(dc, 1600, 1000, window.view.GetScene(), window.Frame(i++));
    }
}
BENCHMARK_CAPTURE(MovedFrame, zoomed_mercator, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MovedFrame, globe, true)->Unit(benchmark::kMillisecond);

// The frame's two halves apart: the base map alone, and the eclipse's layers alone.
void MovedBaseMap(benchmark::State& state, bool globe) {
    const MovedWindow window(globe);
    QImage image(1600, 1000, QImage::Format_RGB32);
    std::int64_t i = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter);
        PaintVectorMap(dc, window.Frame(i++), ProgramBaseMap());
    }
}
BENCHMARK_CAPTURE(MovedBaseMap, zoomed_mercator, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MovedBaseMap, globe, true)->Unit(benchmark::kMillisecond);

void MovedScene(benchmark::State& state, bool globe) {
    const MovedWindow window(globe);
    QImage image(1600, 1000, QImage::Format_RGB32);
    std::int64_t i = 0;
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter);
        PaintScene(dc, window.view.GetScene(), window.Frame(i++));
    }
}
BENCHMARK_CAPTURE(MovedScene, zoomed_mercator, false)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(MovedScene, globe, true)->Unit(benchmark::kMillisecond);

// With KESTROVA_FRAME_DIR set, the pictures of some moved frames go to that folder as
// PNGs instead of the benchmarks, to compare what a change to the painters draws.
int WriteFrames(const char* folder) {
    const MovedWindow mercator(false);
    const MovedWindow globe(true);
    struct Named {
        const char* name;
        const MovedWindow* window;
        MapView view;
    };
    std::vector<Named> frames = {{"mercator0", &mercator, mercator.Frame(0)},
                                 {"mercator1", &mercator, mercator.Frame(1)},
                                 {"globe0", &globe, globe.Frame(0)},
                                 {"globe1", &globe, globe.Frame(1)}};
    // The globe turned to other places and sizes: a pole, the far side, a larger disc.
    const MapView at = globe.view.CurrentMapView();
    const struct {
        const char* name;
        double lat, lon, scale;
    } turns[] = {{"globe_pole", 80.0, -60.0, 0.95},  {"globe_south", -50.0, 120.0, 0.95},
                 {"globe_small", 20.0, -90.0, 0.6},  {"globe_large", 30.0, -95.0, 2.5},
                 {"globe_huge", 35.0, -100.0, 12.0}, {"globe_limb", 10.0, 10.0, 0.95}};
    for (const auto& t : turns) {
        MapView v = at;
        v.centreLat = t.lat;
        v.centreLon = t.lon;
        v.scale = t.scale;
        frames.push_back({t.name, &globe, v});
    }
    for (const Named& f : frames) {
        QImage image(1600, 1000, QImage::Format_RGB32);
        image.fill(Qt::white);
        {
            QPainter painter(&image);
            CDC dc(painter);
            PaintMapFrame(dc, 1600, 1000, f.window->view.GetScene(), f.view);
        }
        const QString file = QString::fromUtf8(folder) + "/" + f.name + ".png";
        if (!image.save(file)) {
            return 1;
        }
    }
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    if (const char* folder = std::getenv("KESTROVA_FRAME_DIR")) {
        return WriteFrames(folder);
    }
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
