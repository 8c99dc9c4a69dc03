// One paint of a primary flight display in its busiest state: on an ILS approach with the
// autopilot flying, both bearing pointers on stations, the TCAS self-test drawing its advisory
// bands, and the trend vectors out; against the 18 Hz frame.
#define TAVI_TEST_FIXTURES TAVI_SOURCE_DIR "/tests/fixtures"

#include "displays/Pfd.h"

#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void paint(benchmark::State& state, bool arc) {
    tavi::test::FlightScenario flight;
    tavi::test::IlsApproach approach(flight);
    approach.setUp();
    flight.flyUntil(
        240.0, [&] { return flight.fd().verticalMode == tavi::FdVerticalMode::Gs; },
        [&] { approach.fly(); });
    auto& pfd = *dynamic_cast<tavi::Pfd*>(flight.aircraft().display(tavi::kPfdLeft));
    pfd.bearing1Source = tavi::Pfd::kBearingVor;
    pfd.bearing2Source = tavi::Pfd::kBearingAdf;
    pfd.hsiArcMode = arc;
    flight.aircraft().tcas()->startSelfTest(flight.aircraft());
    flight.fly(1.0, [&] { approach.fly(); });
    pfd.speedTrendVisible = true;
    pfd.altitudeTrendVisible = true;
    pfd.bearing1Valid = true;
    pfd.bearing2Valid = true;
    tavi::platform::gfx::Surface surface(400, 476);
    surface.setLogicalSize(tavi::Pfd::kWidth, tavi::Pfd::kHeight);
    for (auto _ : state) {
        pfd.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(200, 147));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void pfdRoseOnApproach(benchmark::State& state) {
    paint(state, false);
}
BENCHMARK(pfdRoseOnApproach)->Unit(benchmark::kMicrosecond);

void pfdArcOnApproach(benchmark::State& state) {
    paint(state, true);
}
BENCHMARK(pfdArcOnApproach)->Unit(benchmark::kMicrosecond);

} // namespace
