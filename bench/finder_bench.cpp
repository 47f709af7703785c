// Speed of the eclipse finder and of the contact-time search.
#include "eclipse/contacts.h"
#include "eclipse/finder.h"
#include "eclipse/polynomial_elements.h"
#include "ephemeris/timescales.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// Every eclipse of 1900-2100 with its full circumstances, on the precise engine (0) and
// the classic one (1).
void AllEclipses1900To2100(benchmark::State& state) {
    const double from = CalendarToJulianDay(1, 1, 1900, 0.0, 0, 0);
    const double to = CalendarToJulianDay(1, 1, 2101, 0.0, 0, 0);
    const Ephemeris engine = state.range(0) == 0 ? Ephemeris::Precise : Ephemeris::Classic;
    for (auto _ : state) {
        const std::vector<EclipseCircumstances> found = EclipsesBetween(from, to, engine);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(AllEclipses1900To2100)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

// One fit of the elements of 2024 April 8 on either engine.
void FitElements(benchmark::State& state) {
    const double jdT0 = CalendarToJulianDay(8, 4, 2024, 0.0, 0, 18);
    const Ephemeris engine = state.range(0) == 0 ? Ephemeris::Precise : Ephemeris::Classic;
    for (auto _ : state)
        benchmark::DoNotOptimize(FitPolynomialElements(jdT0, engine));
}
BENCHMARK(FitElements)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

void ContactTimesEclipseDate(benchmark::State& state) {
    const double jd = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ContactTimesOfDate(jd, Ephemeris::Classic));
}
BENCHMARK(ContactTimesEclipseDate)->Unit(benchmark::kMicrosecond);

void ContactTimesNoEclipseDate(benchmark::State& state) {
    const double jd = CalendarToJulianDay(15, 3, 2006, 0.0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(ContactTimesOfDate(jd, Ephemeris::Classic));
}
BENCHMARK(ContactTimesNoEclipseDate)->Unit(benchmark::kMicrosecond);

// The 1440-step sampled run the search replaces, for comparison.
void SampledContactTimesEclipseDate(benchmark::State& state) {
    const double jd = CalendarToJulianDay(29, 3, 2006, 0.0, 0, 0);
    for (auto _ : state)
        benchmark::DoNotOptimize(SampledContactTimesOfDate(jd, Ephemeris::Classic));
}
BENCHMARK(SampledContactTimesEclipseDate)->Unit(benchmark::kMillisecond);

// kestrova-cli eclipses over 1900-2100 (range 0) or -1999..3000 (range 1) as a process,
// output discarded, on the precise engine (0) or the classic one (1): what a user waits
// for, start-up included.
void CliEclipses(benchmark::State& state) {
    const char* range = state.range(0) == 0 ? " 1900-01-01 2100-12-31" : " -1999-01-01 3000-12-31";
    const char* engine = state.range(1) == 0 ? " --ephemeris precise" : " --ephemeris classic";
    const std::string command =
        std::string(KESTROVA_CLI) + " eclipses" + range + engine + " > /dev/null";
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (status != 0)
            state.SkipWithError("kestrova-cli failed");
    }
}
BENCHMARK(CliEclipses)
    ->Args({0, 0})
    ->Args({0, 1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(20)
    ->Repetitions(3)
    ->ReportAggregatesOnly();
BENCHMARK(CliEclipses)->Args({1, 0})->Args({1, 1})->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
