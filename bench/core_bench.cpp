// Speed of the computation: apparent places, shadow outlines, contact times, sunrise.
#include "eclipse/contacts.h"
#include "eclipse/outline.h"
#include "eclipse/riseset.h"
#include "ephemeris/apparent.h"
#include "ephemeris/timescales.h"

#include <benchmark/benchmark.h>

namespace {

const double kGreatest2006 = CalendarToJulianDay(29, 3, 2006, 0.0, 11, 10);
const double kMidnight2006 = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);

void ApparentPlacesOfOneInstant(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ApparentPlacesAt(kGreatest2006));
}
BENCHMARK(ApparentPlacesOfOneInstant)->Unit(benchmark::kMicrosecond);

// The precise engine's Sun and Moon at one instant (ELP/MPP02, VSOP87D, ERFA).
void PreciseApparentPlacesOfOneInstant(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ApparentPlacesAt(kGreatest2006, Ephemeris::Precise));
}
BENCHMARK(PreciseApparentPlacesOfOneInstant)->Unit(benchmark::kMicrosecond);

void TabulateOneDayOfMinutes(benchmark::State& state) {
    for (auto _ : state) {
        const std::vector<ApparentPlaces> day = Tabulate(kMidnight2006, 1440, 1440, true);
        benchmark::DoNotOptimize(day.data());
    }
}
BENCHMARK(TabulateOneDayOfMinutes)->Unit(benchmark::kMillisecond);

// What the calculate button computes: one instant, 1000 umbral and 50000 penumbral heights.
void Snapshot(benchmark::State& state) {
    for (auto _ : state) {
        const ShadowSnapshot s = ShadowAt(kGreatest2006, true, 1000.0, 50000.0, Ephemeris::Classic);
        benchmark::DoNotOptimize(s.penumbra.lat.data());
    }
}
BENCHMARK(Snapshot)->Unit(benchmark::kMillisecond);

// One of the map command's hourly outlines: the penumbra at 50000 heights, the elements
// given.
void HourlyPenumbraOutline(benchmark::State& state) {
    const BesselianElements e = ElementsAt(ApparentPlacesAt(kGreatest2006));
    for (auto _ : state) {
        const Outline o = TraceOutline(e, Cone::Penumbra, 50000.0);
        benchmark::DoNotOptimize(o.lat.data());
    }
}
BENCHMARK(HourlyPenumbraOutline)->Unit(benchmark::kMillisecond);

// What the generate button computes: the first and last minutes of each cone.
void ContactTimesOfAnEclipseDate(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(ContactTimesOfDate(kMidnight2006, Ephemeris::Classic));
}
BENCHMARK(ContactTimesOfAnEclipseDate)->Unit(benchmark::kMicrosecond);

void ContactTimesOfADateWithoutEclipse(benchmark::State& state) {
    const double jd = CalendarToJulianDay(14, 3, 2006, 0.0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ContactTimesOfDate(jd, Ephemeris::Classic));
}
BENCHMARK(ContactTimesOfADateWithoutEclipse)->Unit(benchmark::kMicrosecond);

void RiseSet(benchmark::State& state) {
    for (auto _ : state)
        benchmark::DoNotOptimize(
            SunRiseSet(kMidnight2006, 45.0, 0.0, 0.0, false, Ephemeris::Classic));
}
BENCHMARK(RiseSet)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
