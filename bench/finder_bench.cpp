// Speed of the eclipse finder and of the contact-time search.
#include "eclipse/contacts.h"
#include "eclipse/finder.h"
#include "ephemeris/timescales.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

namespace {

// Every eclipse of 1900-2100 with its full circumstances.
void AllEclipses1900To2100(benchmark::State& state) {
    const double from = CalendarToJulianDay(1, 1, 1900, 0.0, 0, 0);
    const double to = CalendarToJulianDay(1, 1, 2101, 0.0, 0, 0);
    for (auto _ : state) {
        const std::vector<EclipseCircumstances> found =
            EclipsesBetween(from, to, Ephemeris::Precise);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(AllEclipses1900To2100)->Unit(benchmark::kMillisecond);

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

// kestrova-cli eclipses -1999-01-01 3000-12-31 as a process, output discarded.
void CliAllEclipses(benchmark::State& state) {
    const std::string command =
        std::string(KESTROVA_CLI) + " eclipses -1999-01-01 3000-12-31 > /dev/null";
    for (auto _ : state) {
        const int status = std::system(command.c_str());
        if (status != 0)
            state.SkipWithError("kestrova-cli failed");
    }
}
BENCHMARK(CliAllEclipses)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace

BENCHMARK_MAIN();
