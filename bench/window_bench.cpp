// Speed of the window's drawing: the static picture (done on every repaint) and the
// plotting of a snapshot's points.

#include "render/map_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdlib>
#include <vector>

namespace {

void BM_PaintStaticPicture(benchmark::State& state) {
    QImage image(748, 539, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        PaintStaticPicture(dc, 748, 539, DefaultView(1.0, 1.0));
    }
}
BENCHMARK(BM_PaintStaticPicture)->Unit(benchmark::kMillisecond);

// A ring of points like a penumbra outline, plus a small umbra.
void BM_PlotShadowPoints(benchmark::State& state) {
    const int count = static_cast<int>(state.range(0));
    std::vector<double> lat, lon;
    for (int i = 0; i < count; ++i) {
        const double a = 2.0 * M_PI * i / count;
        lat.push_back(25.0 + 35.0 * std::sin(a));
        lon.push_back(15.0 + 35.0 * std::cos(a));
    }
    const std::vector<double> umbraLat(24, 23.0), umbraLon(24, 16.0);
    QImage image(748, 539, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        PlotPointBoxes(dc, DefaultView(1.0, 1.0), lat, lon, map_colours::kPenumbra);
        PlotPointBoxes(dc, DefaultView(1.0, 1.0), umbraLat, umbraLon, map_colours::kUmbra);
    }
    state.SetItemsProcessed(state.iterations() * count);
}
BENCHMARK(BM_PlotShadowPoints)->Arg(1000)->Arg(60000)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
