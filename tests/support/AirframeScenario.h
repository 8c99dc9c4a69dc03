#pragma once

#include "airframe/Electric.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/EicasDau.h"
#include "avionics/Gps.h"
#include "core/sound/SoundManager.h"
#include "displays/PanelElement.h"
#include "platform/audio/OpenAlDevice.h"
#include "support/HeldSystem.h"
#include "support/ModuleHarness.h"
#include "support/WavBytes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace tavi::test {

// The air data computer and the attitude reference as a test plays them: their state is the
// test's, their own frames do not run.
class PlayedAdc : public Adc {
public:
    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

class PlayedAhrs : public Ahrs {
public:
    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

// The module running on the stand-in simulator, its sounds on a loopback device whose time
// moves with the frames. The neighbours whose own frames these tests do not run (air data,
// attitude reference, GPS, brakes, engines, fuel) are played by the test through the state the
// electrical systems read of them.
class AirframeScenario {
public:
    static constexpr uint32_t kFrameMs = 56;
    static constexpr int kMechanisationSlot = 18;
    static constexpr int kPneumaticSlot = 25;

    // The aircraft's sounds that these tests hear, with their lengths in milliseconds.
    static inline const std::vector<std::pair<SoundId, uint32_t>> kSounds = {
        {sounds::kCautionChime, 800},
        {sounds::kWarningChime, 1000},
        {sounds::kAuralUnitOk, 1200},
        {sounds::kAuralUnitOneChannel, 1200},
        {sounds::kAuralUnitOne, 1200},
        {46, 100},
        {sounds::kKnobClick, 100},
        {48, 100},
        {sounds::kApuStartup, 3000},
        {sounds::kApuRunning, 1000},
        {sounds::kApuShutdown, 2000},
        {sounds::kBatteriesOn, 500},
        {sounds::kBatteriesStartup, 700},
        {54, 2000},
        {55, 2000},
        {sounds::kCabinCallout, 1500},
        {20, 900},
        {21, 900},
        {35, 900},
        {36, 900},
        {37, 900},
        {38, 900},
        {39, 900},
        {43, 1500},
        {44, 600},
        {58, 1000},
        {59, 1000},
    };

    // `beforeStart` sets the simulator's state that the module's first frame finds.
    explicit AirframeScenario(const std::string& ini = "",
                              const std::function<void(sim::Panel&)>& beforeStart = {}) {
        if (!ini.empty()) {
            module.writeIni(ini);
        }
        if (beforeStart) {
            beforeStart(module.simulator.panel);
        }
        module.startModule();
        play<PlayedAhrs>(12);
        play<PlayedAdc>(13);
        installSounds();
    }

    Aircraft& aircraft() { return module.aircraft(); }
    // Takes every other system out of the aircraft, so that only these post and draw.
    void keepOnly(std::initializer_list<const System*> kept) {
        for (System*& system : aircraft().systems) {
            if (std::find(kept.begin(), kept.end(), system) == kept.end()) {
                delete system;
                system = nullptr;
            }
        }
    }
    Electric& electric() { return *aircraft().electric(); }
    EicasDau& eicas() { return *aircraft().eicasDau(); }
    Aws& aws() { return *aircraft().aws(); }
    Adc& adc() { return *aircraft().adc(); }
    FuelSystem& fuel() { return *aircraft().fuelSystem(); }
    sim::Panel& panel() { return module.simulator.panel; }

    int keyEventCount(uint32_t eventId) {
        const std::vector<sim::KeyEvent>& events = panel().keyEventsSent();
        return static_cast<int>(
            std::count_if(events.begin(), events.end(),
                          [&](const sim::KeyEvent& e) { return e.eventId == eventId; }));
    }
    SoundManager& sounds() { return *aircraft().soundManager; }
    bool hasSounds() const { return device != nullptr; }

    // Frames of 1/18 s; the sound device plays on for as long.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            module.simulator.step();
            if (device) {
                device->render(kFrameMs);
            }
        }
    }
    void run(double seconds) { step(static_cast<int>(std::lround(seconds * 18.0))); }

    // On the ground on a standard day, parking brake set, standing still, in the ground phase.
    void park() {
        adc().staticAirTemperature = 15.0f;
        panel().setToken(60, 1.0);
        panel().setToken(323, 32767.0);
        aircraft().ahrs()->onGround = true;
        aircraft().mechanisation()->parkingBrake = 1.0f;
        aircraft().gps()->groundSpeed = 0.0f;
        enterPhase(kOnGroundPhase);
    }

    // The air data computer reports a new flight phase for one frame.
    void enterPhase(int32_t phase) {
        adc().flightPhase = phase;
        adc().flightPhaseChanged = true;
        step();
        adc().flightPhaseChanged = false;
    }

    // The simulator's engine burns or not; the engine reads it in the next frame.
    void setCombustion(int engine, bool burning) {
        panel().setVariable("GENERAL ENG COMBUSTION", engine, burning ? 1.0 : 0.0);
    }

    void releaseParkingBrake() {
        panel().setToken(323, 0.0);
        aircraft().mechanisation()->parkingBrake = 0.0f;
    }

    // Puts flight controls that only hold their fields in place of the aircraft's, for the tests
    // of other systems that their messages would disturb; the parking brake stays as it is.
    void holdFlightControls() {
        const float parkingBrake = aircraft().mechanisation()->parkingBrake;
        holdSystem<Mechanisation>(aircraft(), kMechanisationSlot).parkingBrake = parkingBrake;
    }

    // A named variable as another gauge writes it; the module acts on it in the next frame.
    void request(const char* variable) { panel().setNamedVariable(variable, 1.0); }

    // Both batteries switched on from the overhead panel.
    void batteriesOn() {
        request("TaviBatt1Click");
        request("TaviBatt2Click");
        step();
    }

    // The message texts in the order of the list.
    std::vector<std::string> messages() {
        std::vector<std::string> texts;
        for (const EicasMessage& message : eicas().messages) {
            texts.push_back(message.text);
        }
        return texts;
    }
    bool shows(const std::string& text) {
        const std::vector<std::string> texts = messages();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    // The fuel system's reading of the simulator's main tanks.
    void fillTanks(double leftGallons, double rightGallons, float poundsPerGallon) {
        panel().setToken(304, leftGallons);
        panel().setToken(303, rightGallons);
        panel().setToken(306, poundsPerGallon);
        panel().setVariable("FUEL TANK LEFT MAIN QUANTITY", 0, leftGallons);
        panel().setVariable("FUEL TANK RIGHT MAIN QUANTITY", 0, rightGallons);
        fuel().leftGallons = leftGallons;
        fuel().rightGallons = rightGallons;
        fuel().fuelWeightPerGallon = poundsPerGallon;
        fuel().started = true;
    }

    ModuleHarness module;

private:
    template <typename Played>
    void play(std::size_t slot) {
        delete aircraft().systems[slot];
        aircraft().systems[slot] = new Played();
    }

    void installSounds() {
        device = platform::audio::LoopbackAudioDevice::open();
        if (!device) {
            return;
        }
        auto manager =
            std::make_unique<SoundManager>([this](std::string_view line) { aircraft().log(line); },
                                           [this](platform::audio::AudioResult& result) {
                                               result = platform::audio::kAudioOk;
                                               return device;
                                           });
        manager->init();
        const std::filesystem::path folder = module.folder.path() / "sounds";
        manager->setFolder(folder.string() + "/");
        for (const auto& [id, ms] : kSounds) {
            const std::string name = "sound" + std::to_string(id) + ".wav";
            writeFile(folder / name, sineWave16(ms));
            manager->load(id, name);
        }
        aircraft().soundManager = std::move(manager);
    }

    std::shared_ptr<platform::audio::LoopbackAudioDevice> device;
};

} // namespace tavi::test
