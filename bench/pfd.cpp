// One paint of a primary flight display in its busiest state: on an ILS approach with the
// autopilot flying, both bearing pointers on stations, the TCAS self-test drawing its advisory
// bands, and the trend vectors out; against the 18 Hz frame. The steady paints show the picture
// as it stands; the moving ones change the heading, airspeed and altitude a little before every
// paint, as a descending approach does from one frame to the next, so that the parts kept as
// pictures are painted again each time.
#define TAVI_TEST_FIXTURES TAVI_SOURCE_DIR "/tests/fixtures"

#include "displays/Pfd.h"

#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Radio.h"
#include "avionics/Tcas.h"
#include "platform/gfx/Surface.h"
#include "support/FlightScenario.h"
#include "support/IlsApproach.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void paint(benchmark::State& state, bool arc, bool moving) {
    tavi::test::FlightScenario flight;
    tavi::test::IlsApproach approach(flight);
    approach.setUp();
    flight.flyUntil(
        240.0, [&] { return flight.fd().verticalMode() == tavi::FdVerticalMode::Gs; },
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
    tavi::AhrsUnit& attitude = flight.aircraft().ahrs()->unit1;
    tavi::Adc& airData = *flight.aircraft().adc();
    float step = moving ? 1.0f : 0.0f;
    for (auto _ : state) {
        step = -step;
        attitude.heading += 0.05f * step;
        airData.smoothedAirspeed += 0.02f * step;
        airData.indicatedAltitude += 0.8f * step;
        pfd.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(200, 147));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void pfdRoseOnApproach(benchmark::State& state) {
    paint(state, false, false);
}
BENCHMARK(pfdRoseOnApproach)->Unit(benchmark::kMicrosecond);

void pfdArcOnApproach(benchmark::State& state) {
    paint(state, true, false);
}
BENCHMARK(pfdArcOnApproach)->Unit(benchmark::kMicrosecond);

void pfdRoseOnApproachMoving(benchmark::State& state) {
    paint(state, false, true);
}
BENCHMARK(pfdRoseOnApproachMoving)->Unit(benchmark::kMicrosecond);

void pfdArcOnApproachMoving(benchmark::State& state) {
    paint(state, true, true);
}
BENCHMARK(pfdArcOnApproachMoving)->Unit(benchmark::kMicrosecond);

} // namespace
