#pragma once

#include "support/AirframeScenario.h"
#include "support/HeldSystem.h"

#include <algorithm>
#include <string>

namespace tavi::test {

// The airframe on the stand-in simulator with the neighbours of the system under test held by
// the test: both engines, the electrical buses (all powered at first), the attitude reference,
// the air data computer, the GPS and the brakes. The aircraft is parked in the ground phase.
class HeldAirframe {
public:
    explicit HeldAirframe(const std::string& ini = "")
        : scenario(ini), engine1(holdSystem<JetEngine>(aircraft(), 1, 1)),
          engine2(holdSystem<JetEngine>(aircraft(), 2, 2)),
          electric(holdSystem<Electric>(aircraft(), 9)) {
        holdSystem<Ahrs>(aircraft(), 12);
        holdSystem<Adc>(aircraft(), 13);
        holdSystem<Gps>(aircraft(), 14);
        holdSystem<Mechanisation>(aircraft(), 18);
        for (electric::PowerBus& bus : electric.buses) {
            bus.powered = true;
        }
        scenario.park();
    }

    Aircraft& aircraft() { return scenario.aircraft(); }
    sim::Panel& panel() { return scenario.panel(); }
    void step(int frames = 1) { scenario.step(frames); }
    void power(int bus, bool on) { electric.buses[static_cast<std::size_t>(bus)].powered = on; }
    // The simulator's combustion state and the engine's reading of it.
    void combustion(JetEngine& engine, bool on) {
        engine.combustion = on;
        panel().setVariable("GENERAL ENG COMBUSTION", engine.engineNumber, on);
    }
    int eventCount(uint32_t eventId) {
        const std::vector<sim::KeyEvent>& events = panel().keyEventsSent();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(),
                          [&](const sim::KeyEvent& e) { return e.eventId == eventId; }));
    }
    bool shows(const std::string& text) { return scenario.shows(text); }

    AirframeScenario scenario;
    JetEngine& engine1;
    JetEngine& engine2;
    Electric& electric;
};

} // namespace tavi::test
