#pragma once

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/EicasDau.h"
#include "displays/PanelElement.h"
#include "fms/Fms.h"
#include "support/ModuleHarness.h"

#include <array>
#include <initializer_list>
#include <string>
#include <vector>

namespace tavi::test {

// The electrical network with the buses the test powers. Like the real one, it collects every
// system's and screen's load in its frame.
class FixedNetwork : public Electric {
public:
    void update(Aircraft& aircraft) override {
        loads = BusLoads{};
        for (System* system : aircraft.systems) {
            if (system) {
                system->addElectricLoad(aircraft, loads);
            }
        }
        for (PanelElement* screen : aircraft.displays) {
            if (screen) {
                screen->addElectricLoad(aircraft, loads);
            }
        }
    }

    void power(std::initializer_list<int> powered) {
        for (PowerBus& bus : buses) {
            bus.powered = false;
        }
        for (int bus : powered) {
            buses[static_cast<std::size_t>(bus)].powered = true;
        }
    }

    // What the systems drew in the last frame.
    BusLoads loads;
};

// Neighbours whose state the test sets; their own frames leave it alone.
class FixedAdc : public Adc {
public:
    void update(Aircraft&) override {}
};

class FixedAhrs : public Ahrs {
public:
    void update(Aircraft&) override {}
};

class FixedFms : public Fms {
public:
    void update(Aircraft&) override {}
};

// The module on the stand-in simulator with the electrical network, the air data computer, the
// attitude reference and the flight management system played by the test. The network starts
// with every bus powered and both avionics masters on, and one frame has seen it.
class AvionicsBench {
public:
    AvionicsBench() {
        module.startModule();
        standIn(kElectricSlot, network);
        standIn(kAhrsSlot, ahrs);
        standIn(kAdcSlot, adc);
        standIn(Aircraft::kFmsSlot, fms);
        network.power({0, 1, 2, 3, 4, 5, 6, 7, 8, 9});
        network.avionicsMaster1 = true;
        network.avionicsMaster2 = true;
        step();
    }
    ~AvionicsBench() {
        for (const auto& [slot, original] : originals) {
            aircraft().systems[static_cast<std::size_t>(slot)] = original;
        }
    }
    AvionicsBench(const AvionicsBench&) = delete;
    AvionicsBench& operator=(const AvionicsBench&) = delete;

    Aircraft& aircraft() { return module.aircraft(); }
    sim::Panel& panel() { return module.simulator.panel; }
    uint32_t now() { return aircraft().simTimeMs; }

    // Frames of 1/18 s.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
        }
    }
    // One frame of the given length.
    void stepBy(double seconds) { module.simulator.stepBy(seconds); }
    // Takes effect in the next frame.
    void pause(bool paused) { module.simulator.simConnect.setPaused(paused); }

    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        if (const EicasDau* unit = aircraft().eicasDau()) {
            for (const EicasMessage& message : unit->messages) {
                texts.push_back(message.text);
            }
        }
        return texts;
    }

    ModuleHarness module;
    FixedNetwork network;
    FixedAdc adc;
    FixedAhrs ahrs;
    FixedFms fms;

private:
    static constexpr int kElectricSlot = 9;
    static constexpr int kAhrsSlot = 12;
    static constexpr int kAdcSlot = 13;

    void standIn(int slot, System& system) {
        System*& held = aircraft().systems[static_cast<std::size_t>(slot)];
        originals.push_back({slot, held});
        held = &system;
    }

    std::vector<std::pair<int, System*>> originals;
};

} // namespace tavi::test
