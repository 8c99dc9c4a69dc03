// One standby instrument frame in its busiest state: banked and pitched sphere with the ladder,
// the speed tape near the maximum speed with the Mach readout, the altitude drums rolling over a
// thousand below zero, and the heading tape, against the screen's share of the 18 Hz frame.
#include "displays/Isi.h"

#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void isiFrame(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    auto& isi = *static_cast<tavi::Isi*>(bench.aircraft().display(tavi::kStandbyInstrument));
    isi.aligning = false;
    isi.fastAligning = false;
    isi.machShown = true;
    bench.adc.smoothedAirspeed = 245.0f;
    bench.adc.maxOperatingSpeed = 250.0f;
    bench.adc.mach = 0.62f;
    bench.ahrs.unit2.pitch = -7.0f;
    bench.ahrs.unit2.bank = 25.0f;
    bench.ahrs.unit1.heading = 357.0f;
    bench.aircraft().baro()->standbySettingAltitude = -1990.0f;
    isi.setBrightness(200);
    tavi::platform::gfx::Surface surface(210, 210);
    surface.setLogicalSize(tavi::Isi::kSize, tavi::Isi::kSize);
    for (auto _ : state) {
        isi.draw(surface, 210, 210, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(isiFrame)->Unit(benchmark::kMicrosecond);

} // namespace
