// Speed of the computation: tabulation, shadow outlines, contact times, sunrise.
#include "eclipse/contacts.h"
#include "eclipse/shadow_model.h"
#include "ephemeris/ephemeris.h"

#include <benchmark/benchmark.h>

namespace {

void EphemerisSingleStep(benchmark::State& state) {
    for (auto _ : state) {
        const CEphemeris e(29, 3, 2006, 0.0, 11, 10, 1, 1, 1, 0.0, 0.0, 0.0);
        benchmark::DoNotOptimize(e.m_moonDec.data());
    }
}
BENCHMARK(EphemerisSingleStep)->Unit(benchmark::kMicrosecond);

void EphemerisOneDayOfMinutes(benchmark::State& state) {
    for (auto _ : state) {
        const CEphemeris e(29, 3, 2006, 0.0, 0, 0, 1, 1440, 1, 0.0, 0.0, 0.0);
        benchmark::DoNotOptimize(e.m_moonDec.data());
    }
}
BENCHMARK(EphemerisOneDayOfMinutes)->Unit(benchmark::kMillisecond);

// What the calculate button computes: one step, 1000 umbral and 50000 penumbral heights.
void Snapshot(benchmark::State& state) {
    for (auto _ : state) {
        const CEphemeris e(29, 3, 2006, 0.0, 11, 10, 1, 1, 1, 0.0, 0.0, 0.0);
        CShadowModel m = MakeShadowModel(e);
        m.run(1000.0, 50000.0);
        benchmark::DoNotOptimize(m.m_penumbraLat.data());
    }
}
BENCHMARK(Snapshot)->Unit(benchmark::kMillisecond);

// What the generate button computes: 1440 one-minute steps, 100 heights on each cone.
void ContactTimeRun(benchmark::State& state) {
    for (auto _ : state) {
        const CEphemeris e(29, 3, 2006, 0.0, 0, 0, 1, kContactStepsPerDay, 1, 0.0, 0.0, 0.0);
        CShadowModel m = MakeShadowModel(e);
        m.run(kContactSamples, kContactSamples);
        benchmark::DoNotOptimize(FindContactTimes(m));
    }
}
BENCHMARK(ContactTimeRun)->Unit(benchmark::kMillisecond);

void RiseSet(benchmark::State& state) {
    for (auto _ : state) {
        CEphemeris e(29, 3, 2006, 0.0, 0, 0, 1, 1, 0, 45.0, 0.0, 0.0);
        e.RiseSet("SUNCE");
        benchmark::DoNotOptimize(e.m_setUT);
    }
}
BENCHMARK(RiseSet)->Unit(benchmark::kMicrosecond);

} // namespace

BENCHMARK_MAIN();
