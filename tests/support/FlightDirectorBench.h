#pragma once

#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "avionics/Radio.h"
#include "core/sound/SoundManager.h"
#include "platform/audio/OpenAlDevice.h"
#include "support/AvionicsBench.h"
#include "support/WavBytes.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tavi::test {

// The guidance panel's speed and vertical-speed knob events.
constexpr uint32_t kVerticalSpeedEvent = 0x101F4;
constexpr uint32_t kIasEvent = 0x101F5;

// The FMS as the flight director sees it: an LNAV output record and the active leg's length
// that the test sets, and a count of the missed-approach activations.
class ScriptedFms : public Fms {
public:
    void update(Aircraft&) override {}
    LnavState* lnavState() override { return hasLnav ? &lnav : nullptr; }
    std::optional<double> activeLegDistance() const override { return legDistance; }
    void activateMissedApproach() override { ++missedApproaches; }

    bool hasLnav = true;
    LnavState lnav;
    std::optional<double> legDistance;
    int missedApproaches = 0;
};

// The flight director on the stand-in simulator. The electrical network, the air data and the
// attitude reference are played by the test (AvionicsBench), the FMS is scripted, and the radios
// and the radio altimeter read the stand-in's variables. The aircraft flies at 5000 ft, 250 kt,
// 10 degrees below the stall angle of attack, wings level, more than 5 s after lift-off, with both
// flight directors on in PIT and ROL.
class FlightDirectorBench {
public:
    static constexpr uint32_t kApproachButton = 0x100BC;
    static constexpr uint32_t kToGaButton = 0x10145;
    static constexpr int kFmsSlot = Aircraft::kFmsSlot;
    // A localizer and a VOR frequency in the BCD32 layout: 110.30 and 113.90 MHz.
    static constexpr int32_t kIlsFrequency = 0x11030000;
    static constexpr int32_t kVorFrequency = 0x11390000;

    FlightDirectorBench() {
        original = aircraft().systems[kFmsSlot];
        aircraft().systems[kFmsSlot] = &fms;
        adc().maxOperatingSpeed = 320.0f;
        adc().maxOperatingMach = 0.78f;
        adc().minimumSpeed = 100.0f;
        adc().aoaMargin = 10.0f;
        setAirborne(true);
        setAltitude(5000.0f);
        setSpeed(250.0f);
        setRadioAltitude(5000.0f);
        setPreselect(5000.0f);
        fd().toggleFlightDirector1();
        fd().toggleFlightDirector2();
        run(6.0);
        panel().clearKeyEventsSent();
    }
    ~FlightDirectorBench() { aircraft().systems[kFmsSlot] = original; }
    FlightDirectorBench(const FlightDirectorBench&) = delete;
    FlightDirectorBench& operator=(const FlightDirectorBench&) = delete;

    Aircraft& aircraft() { return bench.aircraft(); }
    FlightDirector& fd() { return *aircraft().flightDirector(); }
    Autopilot& autopilot() { return *aircraft().autopilot(); }
    FixedAdc& adc() { return bench.adc; }
    FixedAhrs& ahrs() { return bench.ahrs; }
    FixedNetwork& network() { return bench.network; }
    RadioUnit& receiver(int side = 1) {
        return side == 1 ? aircraft().radio()->unit1 : aircraft().radio()->unit2;
    }
    sim::Panel& panel() { return bench.panel(); }
    sim::SimConnectServer& simConnect() { return bench.module.simulator.simConnect; }
    sim::Host& host() { return bench.module.simulator.host; }
    const std::filesystem::path& simulatorFolder() const { return bench.module.folder.path(); }
    uint32_t now() { return bench.now(); }
    // Frames of 1/18 s; the sound device, when there is one, plays on for as long.
    void step(int frames = 1) {
        for (int i = 0; i < frames; ++i) {
            bench.step();
            if (device) {
                device->render(kFrameMs);
            }
        }
    }
    void run(double seconds) { step(static_cast<int>(seconds * 18.0 + 0.5)); }

    // The aircraft, as the sensors give it; lifted off long enough ago for the captures.
    void setAirborne(bool airborne) {
        ahrs().onGround = !airborne;
        panel().setToken(60, airborne ? 0.0 : 1.0);
        adc().liftoffTime = 0;
    }
    void setAltitude(float feet) {
        adc().indicatedAltitude = feet;
        adc().pressureAltitude = feet;
    }
    void setSpeed(float cas) { adc().indicatedAirspeed = cas; }
    void setVerticalSpeed(float feetPerMinute) {
        ahrs().unit1.verticalSpeed = ahrs().unit2.verticalSpeed = feetPerMinute;
    }
    void setAttitude(float pitch, float bank) {
        ahrs().unit1.pitch = ahrs().unit2.pitch = pitch;
        ahrs().unit1.bank = ahrs().unit2.bank = bank;
    }
    void setHeading(float heading) { ahrs().unit1.heading = ahrs().unit2.heading = heading; }
    void setRadioAltitude(float feet) { panel().setToken(614, feet / 3.2808399 + 1.37); }
    // The simulator's altitude preselect, as the target read-back finds it.
    void setPreselect(float feet) { panel().setToken(109, feet); }

    // What the coupled NAV receiver gets from the stand-in, from the next frame.
    void receiveVor(int32_t course, double cdi, int side = 1) {
        panel().setVariable("NAV ACTIVE FREQUENCY", side, kVorFrequency);
        panel().setVariable("NAV SIGNAL", side, 100.0);
        panel().setVariable("NAV HAS NAV", side, 1.0);
        panel().setVariable("NAV HAS LOCALIZER", side, 0.0);
        panel().setVariable("NAV OBS", side, course);
        panel().setVariable("NAV CDI", side, cdi);
    }
    // Bit 2 and bit 4 of the back-course flags both mark a back course.
    void receiveLocalizer(double cdi, bool backCourse = false, int side = 1) {
        panel().setVariable("NAV ACTIVE FREQUENCY", side, kIlsFrequency);
        panel().setVariable("NAV SIGNAL", side, 100.0);
        panel().setVariable("NAV HAS NAV", side, 0.0);
        panel().setVariable("NAV HAS LOCALIZER", side, 1.0);
        panel().setVariable("NAV BACK COURSE FLAGS", side, backCourse ? 0x14 : 0.0);
        panel().setVariable("NAV CDI", side, cdi);
    }
    void receiveGlideslope(bool flag, double gsi, int side = 1) {
        panel().setVariable("NAV GS FLAG", side, flag ? 1.0 : 0.0);
        panel().setVariable("NAV GSI", side, gsi);
    }
    void loseNavSignal(int side = 1) {
        panel().setVariable("NAV SIGNAL", side, 0.0);
        panel().setVariable("NAV HAS LOCALIZER", side, 0.0);
        panel().setVariable("NAV GS FLAG", side, 0.0);
    }

    // LNAV guidance on a leg of 10 nm, with the FMS as side 1's source.
    void flyLnav(double alongTrack, double crossTrack) {
        fd().selectNavigationSource(1, true);
        fms.legDistance = 10.0;
        fms.lnav.valid = true;
        fms.lnav.legAlongTrack = alongTrack;
        fms.lnav.crossTrackError = crossTrack;
    }

    int eventCount(uint32_t eventId) {
        const std::vector<sim::KeyEvent>& events = panel().keyEventsSent();
        return static_cast<int>(std::count_if(events.begin(), events.end(),
                                              [&](const auto& e) { return e.eventId == eventId; }));
    }
    std::vector<int32_t> eventValues(uint32_t eventId) {
        std::vector<int32_t> values;
        for (const sim::KeyEvent& event : panel().keyEventsSent()) {
            if (event.eventId == eventId) {
                values.push_back(static_cast<int32_t>(event.value));
            }
        }
        return values;
    }
    std::vector<std::string> messages() { return bench.messages(); }
    bool shows(const std::string& text) {
        const std::vector<std::string> texts = messages();
        return std::find(texts.begin(), texts.end(), text) != texts.end();
    }

    // Reads the settings again after writing them.
    void loadSettings(const std::string& ini) {
        bench.module.writeIni(ini);
        autopilot().loadSettings(aircraft());
        fd().loadSettings(aircraft());
    }

    // The aircraft's sounds on a loopback device, with the altitude alert loaded; false when
    // OpenAL offers no loopback device.
    bool installAltitudeAlert() {
        device = platform::audio::LoopbackAudioDevice::open();
        if (!device) {
            return false;
        }
        auto manager =
            std::make_unique<SoundManager>([this](std::string_view line) { aircraft().log(line); },
                                           [this](platform::audio::AudioResult& result) {
                                               result = platform::audio::kAudioOk;
                                               return device;
                                           });
        manager->init();
        const std::filesystem::path folder = bench.module.folder.path() / "sounds";
        manager->setFolder(folder.string() + "/");
        writeFile(folder / "alert.wav", sineWave16(300));
        manager->load(kAltitudeAlert, "alert.wav");
        aircraft().soundManager = std::move(manager);
        return true;
    }
    bool alertQueued() { return aircraft().soundManager->isQueued(kAltitudeAlert); }

    static constexpr SoundId kAltitudeAlert = 42;
    static constexpr uint32_t kFrameMs = 56;

    ScriptedFms fms;

private:
    AvionicsBench bench;
    System* original = nullptr;
    std::shared_ptr<platform::audio::LoopbackAudioDevice> device;
};

} // namespace tavi::test
