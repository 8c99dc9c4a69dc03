// One EICAS frame in its busiest state: both engines running with every annunciation, the ITT
// caution arcs, alert boxes on the oil, fuel and APU values, and a message list longer than the
// screen with its status line, against the screen's share of the 18 Hz frame.
#include "displays/Eicas.h"

#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void busiestState(tavi::test::AvionicsBench& bench) {
    tavi::Aircraft& aircraft = bench.aircraft();
    for (tavi::JetEngine* engine : {aircraft.engine1(), aircraft.engine2()}) {
        engine->channelAPowered = true;
        engine->n1Percent = 101.3f;
        engine->n2Percent = 98.7f;
        engine->itt = 905.0f;
        engine->fuelFlow = 2345.0f;
        engine->oilPressure = 45.0f;
        engine->oilTemperature = 130.0f;
        engine->vibration = 3.9f;
        engine->combustion = true;
        engine->ignitionOn = true;
        engine->ignitorA = true;
        engine->ignitorB = true;
    }
    tavi::Fadec& fadec = *aircraft.fadec();
    fadec.thrustRating = tavi::kClimbRating;
    fadec.reserveArmed = {true, true};
    fadec.bus2Powered = true;
    aircraft.fuelSystem()->leftFuel = 700.0f;
    aircraft.fuelSystem()->rightFuel = 400.0f;
    bench.network.apu.knob = tavi::electric::Apu::kKnobOn;
    bench.network.apu.speed = 106.0f;
    bench.network.apu.egt = 700.0f;
    tavi::EicasDau& dau = *aircraft.eicasDau();
    for (int i = 0; i < 24; ++i) {
        tavi::EicasMessage message(bench.now(), i % 3, 300 + i,
                                   "ALERT MESSAGE " + std::to_string(i));
        dau.messages.insert(message)->acknowledged = true;
    }
}

void eicasFrame(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    busiestState(bench);
    auto& eicas = *static_cast<tavi::Eicas*>(bench.aircraft().display(tavi::kEicasDisplay));
    eicas.messageScroll = 4;
    tavi::platform::gfx::Surface surface(400, 476);
    surface.setLogicalSize(tavi::Eicas::kWidth, tavi::Eicas::kHeight);
    for (auto _ : state) {
        eicas.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(eicasFrame)->Unit(benchmark::kMicrosecond);

} // namespace
