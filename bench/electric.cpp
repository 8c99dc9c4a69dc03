// One frame of the electrical network: the sources, the buses, the loads of every system slot
// and every screen, the sharing among the sources and the EICAS upkeep.
#include "airframe/Electric.h"

#include "avionics/Ahrs.h"
#include "displays/PanelElement.h"
#include "support/ModuleHarness.h"

#include <benchmark/benchmark.h>

namespace {

using tavi::Aircraft;
using tavi::BusLoads;

// A consumer as most systems are: a few buses, some of them only with an avionics master on.
class Consumer : public tavi::System {
public:
    explicit Consumer(int bus) : bus(bus) {}
    void update(Aircraft&) override {}
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override {
        loads[bus] += 5.0f;
        if (aircraft.electric()->avionicsMaster1) {
            loads[tavi::Electric::kEssentialBus1] += 5.0f;
        }
        loads[tavi::Electric::kAcBus] += 1.0f;
    }

private:
    int bus;
};

class Screen : public tavi::PanelElement {
public:
    void update(Aircraft&) override {}
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override {
        if (!unpowered && aircraft.electric()->avionicsMaster2) {
            loads[tavi::Electric::kDcBus2] += 10.0f;
        }
    }
};

void electricFrame(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    module.startModule();
    Aircraft& aircraft = module.aircraft();
    for (int slot = 0; slot < Aircraft::kSystemSlots; ++slot) {
        auto& system = aircraft.systems[static_cast<std::size_t>(slot)];
        if (!system) {
            system = new Consumer(slot % tavi::kBusCount);
        }
    }
    for (int slot = tavi::kPfdLeft; slot <= tavi::kClockRight; ++slot) {
        aircraft.displays[static_cast<std::size_t>(slot)] = new Screen();
    }
    // Both engines running, their generators and the batteries on the buses.
    tavi::Electric& electric = *aircraft.electric();
    for (int engine = 1; engine <= 2; ++engine) {
        module.simulator.panel.setVariable("GENERAL ENG COMBUSTION", engine, 1.0);
        module.simulator.panel.setVariable("GENERAL ENG GENERATOR ACTIVE", engine, 1.0);
    }
    aircraft.ahrs()->onGround = true;
    electric.battery1.batterySwitch = true;
    electric.battery2.batterySwitch = true;
    for (int i = 0; i < 4; ++i) {
        module.simulator.step();
    }
    for (auto _ : state) {
        electric.update(aircraft);
        benchmark::DoNotOptimize(electric.buses.data());
    }
    state.counters["generator1_amps"] = electric.generator1.current;
}
BENCHMARK(electricFrame);

} // namespace
