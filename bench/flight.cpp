// The closed-loop LNAV flight of the test region: the whole module flying a five-leg route on
// the stand-in's flight model, in simulated seconds per second of wall-clock time.
#include "support/LnavRoute.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kSecondsPerIteration = 10.0;

void lnavRouteFlight(benchmark::State& state) {
    tavi::test::FlightScenario flight;
    tavi::test::LnavRoute route(flight);
    if (!route.setUp()) {
        state.SkipWithError("the route could not be loaded and coupled");
        return;
    }
    for (auto _ : state) {
        route.fly(kSecondsPerIteration);
    }
    state.counters["simulated_seconds_per_second"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kSecondsPerIteration,
                           benchmark::Counter::kIsRate);
}
// Ninety iterations fly the 62 nm route from ZZAA to ZZAE.
BENCHMARK(lnavRouteFlight)->Iterations(90)->Unit(benchmark::kMillisecond);

} // namespace
