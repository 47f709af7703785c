// Speed of the path of the shadow: every minute of the central line with its
// limits, the partial limits and the sunrise/sunset curves, from the date; the
// curves of maximum and of equal magnitude; the map files.
#include "eclipse/map_curves.h"
#include "eclipse/path.h"
#include "ephemeris/timescales.h"
#include "export/map_export.h"

#include <benchmark/benchmark.h>

namespace {

void PathOfOneEclipse(benchmark::State& state) {
    const double jd = CalendarToJulianDay(8, 4, 2024, 0.0, 0, 0);
    for (auto _ : state) {
        const EclipsePath path = EclipsePathOfDate(jd, Ephemeris::Precise);
        benchmark::DoNotOptimize(path.centralLine.data());
    }
}
BENCHMARK(PathOfOneEclipse)->Unit(benchmark::kMillisecond);

// The central line alone with its limits, from elements already fitted.
void CentralLineFromElements(benchmark::State& state) {
    const double jd = CalendarToJulianDay(8, 4, 2024, 0.0, 0, 18);
    const PolynomialElements e = FitPolynomialElements(jd, Ephemeris::Precise);
    for (auto _ : state) {
        const EclipsePath path = ComputeEclipsePath(e);
        benchmark::DoNotOptimize(path.centralLine.data());
    }
}
BENCHMARK(CentralLineFromElements)->Unit(benchmark::kMillisecond);

// The lines of maximum, the maxima at sunrise and sunset and the magnitude lines.
void MapCurvesOfOneEclipse(benchmark::State& state) {
    const EclipsePath path =
        EclipsePathOfDate(CalendarToJulianDay(8, 4, 2024, 0.0, 0, 0), Ephemeris::Classic);
    for (auto _ : state) {
        const MapCurves curves = ComputeMapCurves(path);
        benchmark::DoNotOptimize(curves.maximumLines.data());
    }
}
BENCHMARK(MapCurvesOfOneEclipse)->Unit(benchmark::kMillisecond);

void MapFeaturesOfOneEclipse(benchmark::State& state) {
    const EclipsePath path =
        EclipsePathOfDate(CalendarToJulianDay(8, 4, 2024, 0.0, 0, 0), Ephemeris::Precise);
    for (auto _ : state) {
        const std::string text = MapGeoJson(MapFeatures(path));
        benchmark::DoNotOptimize(text.data());
    }
}
BENCHMARK(MapFeaturesOfOneEclipse)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
