// One radio management unit frame in its busiest pages, against the 18 Hz frame: the radio
// page with every label lit, and the navigation backup page with a VOR and an NDB on the arc,
// both readouts and the DME.
#include "displays/Rmu.h"

#include "avionics/Radio.h"
#include "avionics/Transponder.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void drawFrames(benchmark::State& state, tavi::test::AvionicsBench& bench, tavi::Rmu& rmu) {
    tavi::platform::gfx::Surface surface(180, 225);
    surface.setLogicalSize(tavi::Rmu::kWidth, tavi::Rmu::kHeight);
    for (auto _ : state) {
        rmu.draw(surface, 180, 225, false);
        benchmark::DoNotOptimize(surface.pixel(90, 90));
    }
    bench.step();
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

tavi::Rmu& rmuOf(tavi::test::AvionicsBench& bench) {
    return *static_cast<tavi::Rmu*>(bench.aircraft().display(tavi::kRmuLeft));
}

void rmuRadioPage(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    tavi::Rmu& rmu = rmuOf(bench);
    tavi::Radio& radio = *bench.aircraft().radio();
    radio.identActive = true;
    radio.flightNumber = "TAV1234";
    radio.unit1.toggleSquelch();
    radio.unit1.toggleComBandwidth();
    tavi::TransponderMode = tavi::kTransponderTaRa;
    drawFrames(state, bench, rmu);
    tavi::TransponderMode = tavi::kTransponderStandby;
}
BENCHMARK(rmuRadioPage)->Unit(benchmark::kMicrosecond);

void rmuNavBackupPage(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    tavi::Rmu& rmu = rmuOf(bench);
    rmu.setPage(tavi::Rmu::kNavBackupPage);
    tavi::RadioUnit& unit = bench.aircraft().radio()->unit1;
    bench.ahrs.unit1.heading = 85.0f;
    unit.navSignal = 1;
    unit.hasNav = true;
    unit.adfSignal = 1;
    unit.adfBearing = 100.0f;
    unit.stationBearing = 70.0f;
    unit.hasDme = true;
    unit.dmeDistance = 12.3f;
    drawFrames(state, bench, rmu);
}
BENCHMARK(rmuNavBackupPage)->Unit(benchmark::kMicrosecond);

} // namespace
