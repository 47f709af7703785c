// Speed of what a place sees: local circumstances, the eclipse of a day, the next
// eclipse seen from a place, the gazetteer, and where each eclipse is seen.
#include "eclipse/finder.h"
#include "eclipse/local.h"
#include "ephemeris/timescales.h"
#include "places/gazetteer.h"
#include "places/seen_from.h"
#include "places/zone_map.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

namespace {

const Observer kDallas{32.78306, -96.80667, 139.0};

double Jd(int day, int month, int year) {
    return CalendarToJulianDay(day, month, year, 0.0, 0, 0);
}

// One place, elements already at hand (the right click on a drawn eclipse).
void LocalCircumstancesAtOnePlace(benchmark::State& state) {
    const std::optional<EclipseCircumstances> f = EclipseOnDate(Jd(8, 4, 2024), Ephemeris::Precise);
    for (auto _ : state) {
        const LocalCircumstances lc = ComputeLocalCircumstances(f->elements, kDallas);
        benchmark::DoNotOptimize(lc);
    }
}
BENCHMARK(LocalCircumstancesAtOnePlace)->Unit(benchmark::kMicrosecond);

// The eclipse of a date from the ephemeris, then the place (kestrova-cli local).
void EclipseOfDayAndPlace(benchmark::State& state) {
    for (auto _ : state) {
        const std::optional<EclipseCircumstances> f =
            EclipseOnDate(Jd(8, 4, 2024), Ephemeris::Precise);
        const LocalCircumstances lc = ComputeLocalCircumstances(f->elements, kDallas);
        benchmark::DoNotOptimize(lc);
    }
}
BENCHMARK(EclipseOfDayAndPlace)->Unit(benchmark::kMicrosecond);

// The next eclipse seen from Dallas after the 2024 total eclipse.
void NextEclipseFromPlace(benchmark::State& state) {
    for (auto _ : state) {
        const std::optional<LocalEclipse> e =
            NextLocalEclipse(Jd(9, 4, 2024), kDallas, 100.0, Ephemeris::Precise);
        benchmark::DoNotOptimize(e);
    }
}
BENCHMARK(NextEclipseFromPlace)->Unit(benchmark::kMillisecond);

// Searches that together run through a whole century: every eclipse seen from Dallas
// from 2000 to 2100, one search after the other.
void EveryEclipseFromPlaceOverCentury(benchmark::State& state) {
    const double start = Jd(1, 1, 2000);
    const double end = start + 100.0 * 365.25;
    int count = 0;
    for (auto _ : state) {
        count = 0;
        double from = start;
        while (true) {
            const std::optional<LocalEclipse> e =
                NextLocalEclipse(from, kDallas, (end - from) / 365.25, Ephemeris::Precise);
            if (!e)
                break;
            ++count;
            from = e->eclipse.jdGreatestUT + 1.0;
        }
    }
    state.counters["eclipses"] = count;
}
BENCHMARK(EveryEclipseFromPlaceOverCentury)->Unit(benchmark::kMillisecond);

// The index the build compiles (places.kgz): mapped and checked whole.
void GazetteerLoadIndex(benchmark::State& state) {
    const std::string path = FindGazetteerFile("");
    for (auto _ : state) {
        const GazetteerLoad load = LoadGazetteer(path);
        benchmark::DoNotOptimize(load);
    }
}
BENCHMARK(GazetteerLoadIndex)->Unit(benchmark::kMillisecond);

void GazetteerLookup(benchmark::State& state) {
    const GazetteerLoad load = LoadGazetteer(FindGazetteerFile(""));
    const char* names[] = {"Dallas, TX", "são paulo", "MADRID", "NYC", "Saint-Étienne"};
    std::size_t i = 0;
    for (auto _ : state) {
        const std::vector<Place> found = FindPlaces(load.gazetteer, names[i++ % 5]);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(GazetteerLookup)->Unit(benchmark::kMicrosecond);

// The suggestion for a name the gazetteer does not know scans every name.
void GazetteerSuggestion(benchmark::State& state) {
    const GazetteerLoad load = LoadGazetteer(FindGazetteerFile(""));
    for (auto _ : state) {
        const std::vector<Place> found = SuggestPlaces(load.gazetteer, "Dalllas", 3);
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(GazetteerSuggestion)->Unit(benchmark::kMillisecond);

void ZoneOfPoint(benchmark::State& state) {
    double lon = -180.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(ZoneAtPoint(40.0, lon));
        lon = lon > 179.0 ? -180.0 : lon + 0.37;
    }
}
BENCHMARK(ZoneOfPoint)->Unit(benchmark::kMicrosecond);

// Where the 2024 total eclipse is seen: its path's countries and partial regions.
void WhereSeenOneEclipse(benchmark::State& state) {
    const std::optional<EclipseCircumstances> f = EclipseOnDate(Jd(8, 4, 2024), Ephemeris::Precise);
    for (auto _ : state)
        benchmark::DoNotOptimize(WhereSeen(f->elements));
}
BENCHMARK(WhereSeenOneEclipse)->Unit(benchmark::kMillisecond);

// The Eclipse list's column for every solar eclipse of 2000-2099 (its worker's share).
void WhereSeenCentury(benchmark::State& state) {
    const std::vector<EclipseCircumstances> eclipses =
        EclipsesBetween(Jd(1, 1, 2000), Jd(1, 1, 2100), Ephemeris::Precise);
    for (auto _ : state)
        for (const EclipseCircumstances& c : eclipses)
            benchmark::DoNotOptimize(DescribeSeenFrom(WhereSeen(c.elements)));
    state.counters["eclipses"] = static_cast<double>(eclipses.size());
}
BENCHMARK(WhereSeenCentury)->Unit(benchmark::kMillisecond)->Iterations(3);

// kestrova-cli local as a process, by coordinates and by name (the gazetteer's load
// and lookup on top); compare the real times.
void RunLocal(benchmark::State& state, const std::string& place) {
    const std::string command =
        std::string(KESTROVA_CLI) + " local 8 4 2024 " + place + " > /dev/null 2>&1";
    for (auto _ : state)
        if (std::system(command.c_str()) != 0)
            state.SkipWithError("kestrova-cli failed");
}
void LocalProcessByCoordinates(benchmark::State& state) {
    RunLocal(state, "32.78 -96.8");
}
BENCHMARK(LocalProcessByCoordinates)->Unit(benchmark::kMillisecond)->UseRealTime();
void LocalProcessByName(benchmark::State& state) {
    RunLocal(state, "--place Dallas");
}
BENCHMARK(LocalProcessByName)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace

BENCHMARK_MAIN();
