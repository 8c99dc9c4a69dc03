#pragma once

#include "airframe/Electric.h"
#include "airframe/Mechanisation.h"
#include "airframe/Pneumatic.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/Baro.h"
#include "avionics/EicasDau.h"
#include "avionics/Gpws.h"
#include "avionics/RadAlt.h"
#include "core/sound/SoundManager.h"
#include "support/LoopbackSounds.h"
#include "support/ModuleHarness.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavi::test {

// The module on the stand-in simulator for the sensor systems. Nothing runs before start(), so
// a test can set the simulator's state that the first frame reads. By default the aircraft
// starts with its engines running: batteries and avionics masters on.
class SensorScenario {
public:
    static constexpr const char* kEnginesRunning = "[Startup]\nstartupMode=2\n";
    static constexpr uint32_t kFrameMs = 56;

    explicit SensorScenario(const std::string& ini = kEnginesRunning) {
        if (!ini.empty()) {
            module.writeIni(ini);
        }
    }

    void start() { module.startModule(); }
    bool started() const { return theAircraft && theAircraft->initialised; }
    // Frames of 1/18 s; the sound device, when there is one, plays on for as long.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
            loopback.render(kFrameMs);
        }
    }
    void run(double seconds) { step(static_cast<int>(std::lround(seconds * 18.0))); }

    Aircraft& aircraft() { return module.aircraft(); }
    // Takes every other system out of the aircraft, so that only these post and sound.
    void keepOnly(std::initializer_list<const System*> kept) {
        for (System*& system : aircraft().systems) {
            if (std::find(kept.begin(), kept.end(), system) == kept.end()) {
                delete system;
                system = nullptr;
            }
        }
    }
    sim::Panel& panel() { return module.simulator.panel; }
    Electric& electric() { return *aircraft().electric(); }
    Ahrs& ahrs() { return *aircraft().ahrs(); }
    Baro& baro() { return *aircraft().baro(); }
    Adc& adc() { return *aircraft().adc(); }
    EicasDau& eicas() { return *aircraft().eicasDau(); }
    Aws& aws() { return *aircraft().aws(); }
    Mechanisation& mechanisation() { return *aircraft().mechanisation(); }
    SoundManager& sounds() { return *aircraft().soundManager; }

    int keyEventCount(uint32_t eventId) {
        const std::vector<sim::KeyEvent>& events = panel().keyEventsSent();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(),
                          [&](const sim::KeyEvent& e) { return e.eventId == eventId; }));
    }

    // The simulator's state as the sensors read it.
    void setOnGround(bool onGround) { panel().setToken(60, onGround ? 1.0 : 0.0); }
    void setPressureAltitude(double feet) { panel().setVariable("PRESSURE ALTITUDE", 0, feet); }
    void setMach(double mach) { panel().setVariable("AIRSPEED MACH", 0, mach); }
    void setWeight(double kilograms) { panel().setVariable("TOTAL WEIGHT", 0, kilograms); }

    // The neighbours' state as their own frames set it from the simulator; the air data
    // computer, which runs before them, reads it from the next frame on. Before the start only
    // the simulator's side is set.
    void setRadioAltitude(float feet) {
        panel().setToken(614, feet / 3.2808399 + 1.37);
        if (started()) {
            aircraft().radAlt()->radioAltitude = feet;
        }
    }
    void setFlaps(float degrees) {
        panel().setToken(907, degrees);
        if (started()) {
            mechanisation().flapAngle = degrees;
        }
    }
    void setGear(std::array<int32_t, 3> positions) {
        for (std::size_t i = 0; i < positions.size(); ++i) {
            panel().setToken(332 + static_cast<int32_t>(i), positions[i]);
        }
        if (started()) {
            mechanisation().gearPositions = positions;
        }
    }

    // The aircraft's sounds on a loopback device whose time moves with the frames; each sound
    // lasts the given milliseconds. False when OpenAL offers no loopback device.
    bool installSounds(const std::vector<std::pair<SoundId, uint32_t>>& lengths) {
        return loopback.install(module, lengths);
    }

    ModuleHarness module;

private:
    LoopbackSounds loopback;
};

} // namespace tavi::test
