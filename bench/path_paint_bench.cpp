// Speed of the path's share of the map command: the path of the date's eclipse, its
// layer for the map, and the layer painted on the window.

#include "ephemeris/timescales.h"
#include "geo/projection.h"
#include "model/path_layer.h"
#include "render/path_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <benchmark/benchmark.h>

namespace {

void PathLayerOfTheDate(benchmark::State& state) {
    const double jd = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    for (auto _ : state) {
        const PathLayer layer = MakePathLayer(EclipsePathOfDate(jd, Ephemeris::Precise),
                                              projection::kSouthLimit, projection::kNorthLimit);
        benchmark::DoNotOptimize(layer.lines.data());
    }
}
BENCHMARK(PathLayerOfTheDate)->Unit(benchmark::kMillisecond);

void PaintPathLayer(benchmark::State& state) {
    const PathLayer layer = MakePathLayer(
        EclipsePathOfDate(CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0), Ephemeris::Precise),
        projection::kSouthLimit, projection::kNorthLimit);
    QImage image(748, 539, QImage::Format_RGB32);
    for (auto _ : state) {
        QPainter painter(&image);
        CDC dc(painter, 96, 96);
        std::vector<LabelBox> placed;
        DrawPathLayer(dc, layer, DefaultView(1.0, 1.0), placed);
        DrawPathLegend(dc, layer, 1.0, 1.0);
    }
}
BENCHMARK(PaintPathLayer)->Unit(benchmark::kMillisecond);

} // namespace

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    return 0;
}
