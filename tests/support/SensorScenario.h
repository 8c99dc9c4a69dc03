#pragma once

#include "airframe/Electric.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <string>

namespace tavi::test {

// The module on the stand-in simulator for the sensor systems. Nothing runs before start(), so
// a test can set the simulator's state that the first frame reads. By default the aircraft
// starts with its engines running: batteries and avionics masters on.
class SensorScenario {
public:
    static constexpr const char* kEnginesRunning = "[Startup]\nstartupMode=2\n";

    explicit SensorScenario(const std::string& ini = kEnginesRunning) {
        if (!ini.empty()) {
            module.writeIni(ini);
        }
    }

    void start() { module.startModule(); }
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
        }
    }

    Aircraft& aircraft() { return module.aircraft(); }
    sim::Panel& panel() { return module.simulator.panel; }
    Electric& electric() { return *aircraft().electric(); }
    Ahrs& ahrs() { return *aircraft().ahrs(); }
    Baro& baro() { return *aircraft().baro(); }

    int keyEventCount(uint32_t eventId) {
        const std::vector<sim::KeyEvent>& events = panel().keyEventsSent();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(),
                          [&](const sim::KeyEvent& e) { return e.eventId == eventId; }));
    }

    ModuleHarness module;
};

} // namespace tavi::test
