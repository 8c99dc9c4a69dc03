#pragma once

#include "airframe/Electric.h"
#include "avionics/Radio.h"
#include "avionics/Transponder.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <initializer_list>
#include <vector>

namespace tavi::test {

// The transponder as the module finds it when it is loaded.
inline void resetTransponder() {
    TransponderMode = kTransponderStandby;
    TransponderCode = 0x1200;
    TransponderPresetCode = 0x1200;
}

// The module on the stand-in simulator with its radios, the electrical buses and avionics
// masters in the test's hands, and the transponder at its power-on state.
class RadioScenario : public testing::Test {
protected:
    // The electrical network with its buses as the test sets them.
    class FixedNetwork : public Electric {
    public:
        void update(Aircraft&) override {}

        void power(std::initializer_list<int> powered) {
            for (PowerBus& bus : buses) {
                bus.powered = false;
            }
            for (int bus : powered) {
                buses[static_cast<std::size_t>(bus)].powered = true;
            }
        }
    };

    RadioScenario() {
        resetTransponder();
        panel().setVariable("TRANSPONDER CODE", 1, 0x1200);
        // The units start from their own frequencies: the simulator tells them none.
        for (const char* variable : {"COM ACTIVE FREQUENCY", "NAV ACTIVE FREQUENCY"}) {
            for (const int side : {1, 2}) {
                panel().setVariable(variable, side, 0.0);
            }
        }
        module.startModule();
        // The flight director keeps the simulator's autopilot targets in range by key events of
        // its own; the radio tests count every key event.
        delete aircraft().systems[kFlightDirectorSlot];
        aircraft().systems[kFlightDirectorSlot] = nullptr;
        real = aircraft().systems[kElectricSlot];
        aircraft().systems[kElectricSlot] = &network;
        network.power({Electric::kDcBus1, Electric::kDcBus2, Electric::kEssentialBus1,
                       Electric::kEssentialBus2});
        network.networkPowered = true;
        step();
        panel().clearKeyEventsSent();
    }
    ~RadioScenario() override {
        aircraft().systems[kElectricSlot] = real;
        resetTransponder();
    }

    Aircraft& aircraft() { return module.aircraft(); }
    Radio& radio() { return *aircraft().radio(); }
    RadioUnit& unit(int side) { return side == 1 ? radio().unit1 : radio().unit2; }
    sim::Panel& panel() { return module.simulator.panel; }
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
        }
    }

    std::vector<uint32_t> valuesSent(uint32_t eventId) {
        std::vector<uint32_t> values;
        for (const sim::KeyEvent& event : panel().keyEventsSent()) {
            if (event.eventId == eventId) {
                values.push_back(event.value);
            }
        }
        return values;
    }

    static constexpr int kElectricSlot = 9;
    static constexpr int kFlightDirectorSlot = 24;

    ModuleHarness module;
    FixedNetwork network;
    System* real = nullptr;
};

} // namespace tavi::test
