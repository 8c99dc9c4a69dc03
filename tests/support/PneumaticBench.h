#pragma once

#include "airframe/Pneumatic.h"
#include "support/HeldAirframe.h"

#include <string>

namespace tavi::test {

// The bleed air, air conditioning and ice protection with their neighbours held: engines,
// electrical buses (all powered), attitude reference, air data, GPS and brakes. Only these, the
// EICAS unit and the aural warning unit stay in the aircraft, so the EICAS list holds only the
// messages of this system. Parked in the ground phase, outside air at 0 degrees.
class PneumaticBench : public HeldAirframe {
public:
    static constexpr float kFastAirspeed = 250.0f;

    explicit PneumaticBench(const std::string& ini = "") : HeldAirframe(ini) {
        scenario.keepOnly({&electric, &engine1, &engine2, aircraft().eicasDau(), aircraft().aws(),
                           aircraft().ahrs(), aircraft().adc(), aircraft().gps(),
                           aircraft().mechanisation(), aircraft().pneumatic()});
        step();
    }

    Pneumatic& pneumatic() { return *aircraft().pneumatic(); }
    Adc& adc() { return scenario.adc(); }

    void apu(bool running) {
        electric.apu.state = running ? electric::Apu::kRunning : electric::Apu::kOff;
    }
    // The engine runs at the N1 given; its bleed air flows while its bleed button is on.
    void runEngine(JetEngine& engine, float n1Percent) {
        combustion(engine, true);
        engine.n1Percent = n1Percent;
    }
    void onGround(bool ground) { aircraft().ahrs()->onGround = ground; }
    // In flight at 250 kt.
    void airborne() {
        onGround(false);
        adc().indicatedAirspeed = kFastAirspeed;
        scenario.enterPhase(kAirbornePhase);
    }
    void run(double seconds) { scenario.run(seconds); }
    uint32_t now() { return aircraft().simTimeMs; }

    const EicasMessage* message(int32_t id) {
        for (const EicasMessage& message : scenario.eicas().messages) {
            if (message.id == id) {
                return &message;
            }
        }
        return nullptr;
    }
    std::string text(int32_t id) {
        const EicasMessage* shown = message(id);
        return shown ? shown->text : std::string();
    }
};

} // namespace tavi::test
