// Speed of the lunar-eclipse finder: one eclipse's circumstances, five centuries
// of eclipses, and the command line against the solar finder's over 1900-2100.
#include "eclipse/lunar.h"
#include "ephemeris/timescales.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// The total eclipse of 2025 September 7 (the full moon of lunation 317).
constexpr int kLunation = 317;

// One eclipse's circumstances: the fit (with its re-centring) and every contact.
void OneLunarEclipse(benchmark::State& state) {
    const Ephemeris engine = static_cast<Ephemeris>(state.range(0));
    for (auto _ : state)
        benchmark::DoNotOptimize(LunarEclipseOfLunation(kLunation, engine));
}
BENCHMARK(OneLunarEclipse)
    ->Arg(static_cast<int>(Ephemeris::Classic))
    ->Arg(static_cast<int>(Ephemeris::Precise))
    ->Unit(benchmark::kMicrosecond);

// The fit alone: five evaluations of the ephemeris.
void FitLunarElementsOnce(benchmark::State& state) {
    const Ephemeris engine = static_cast<Ephemeris>(state.range(0));
    const double jdT0 = CalendarToJulianDay(7, 9, 2025, 0.0, 0, 18);
    for (auto _ : state)
        benchmark::DoNotOptimize(FitLunarElements(jdT0, engine, kDefaultShadowRule));
}
BENCHMARK(FitLunarElementsOnce)
    ->Arg(static_cast<int>(Ephemeris::Classic))
    ->Arg(static_cast<int>(Ephemeris::Precise))
    ->Unit(benchmark::kMicrosecond);

void LunarEclipses1900To2100(benchmark::State& state) {
    const double from = CalendarToJulianDay(1, 1, 1900, 0.0, 0, 0);
    const double to = CalendarToJulianDay(1, 1, 2101, 0.0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(LunarEclipsesBetween(from, to, Ephemeris::Precise).size());
}
BENCHMARK(LunarEclipses1900To2100)->Unit(benchmark::kMillisecond);

// kestrova-cli over 1900-2100 as a process, output discarded: the lunar table
// against the solar one.
void Cli(benchmark::State& state, const char* command) {
    const std::string line = std::string(KESTROVA_CLI) + " " + command + " > /dev/null";
    for (auto _ : state) {
        if (std::system(line.c_str()) != 0)
            state.SkipWithError("kestrova-cli failed");
    }
}
BENCHMARK_CAPTURE(Cli, lunar_eclipses, "lunar-eclipses 1900-01-01 2100-12-31")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);
BENCHMARK_CAPTURE(Cli, eclipses, "eclipses 1900-01-01 2100-12-31")
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

} // namespace

BENCHMARK_MAIN();
