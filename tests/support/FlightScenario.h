#pragma once

#include "avionics/Autopilot.h"
#include "avionics/FlightDirector.h"
#include "core/Aircraft.h"
#include "support/LoopbackSounds.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <string>

namespace tavi::test {

// The whole module flying on the stand-in simulator's flight model, in a simulator folder that
// holds the test region's navigation database. The test is the pilot: it moves the simulator's
// controls, presses the simulator's autopilot keys, sets the gauges' panel variables and clicks
// what the panel gauges would click. Frames have irregular lengths from a fixed seed.
class FlightScenario {
public:
    static constexpr const char* kEnginesRunning = "[Startup]\nstartupMode=2\n";
    static constexpr uint32_t kAltitudeHoldKey = 0x100BE;
    static constexpr uint32_t kHeadingModeKey = 0x100BD;
    static constexpr uint32_t kToGaKey = 0x10145;
    static constexpr uint32_t kFlightDirectorKey = 0x102F0;
    static constexpr uint32_t kHeadingBugKey = 0x101FA;
    static constexpr uint32_t kSpeedTargetKey = 0x101F5;
    static constexpr uint32_t kAltitudePreselectKey = 0x1024C;
    static constexpr uint32_t kParkingBrakeKey = 0x100D8;
    static constexpr uint32_t kFlapsIncrementKey = 0x100DE;

    explicit FlightScenario(const std::string& ini = kEnginesRunning) {
        module.writeIni(ini);
        writeRegionDatabase(module.folder.path());
    }

    // The aircraft in steady level flight; the module starts on it.
    void startInFlight(double latitude, double longitude, double altitudeFeet,
                       double headingDegrees, double indicatedKnots) {
        simulator().placeInFlight(latitude, longitude, altitudeFeet, headingDegrees,
                                  indicatedKnots);
        module.startModule();
        fly(3.0);
    }
    // On the runway's threshold with the engines running; the module starts on it.
    bool startOnRunway(const std::string& airport, const std::string& runway) {
        if (!simulator().placeOnRunway(airport, runway)) {
            return false;
        }
        simulator().readyToFly();
        module.startModule();
        fly(3.0);
        return true;
    }

    // Flies for the time in frames of 40 to 75 ms; the pilot acts before each frame.
    void fly(double seconds, const std::function<void()>& pilot = {}) {
        std::uniform_real_distribution<double> frame(0.040, 0.075);
        const double end = simulator().simulatorSeconds() + seconds;
        while (simulator().simulatorSeconds() < end) {
            if (pilot) {
                pilot();
            }
            const double length = frame(random);
            simulator().stepBy(length);
            sounds.render(static_cast<uint32_t>(std::lround(length * 1000.0)));
        }
    }
    // Flies until the condition holds or the time runs out; false when it ran out.
    bool flyUntil(double seconds, const std::function<bool()>& done,
                  const std::function<void()>& pilot = {}) {
        const double end = simulator().simulatorSeconds() + seconds;
        while (simulator().simulatorSeconds() < end) {
            if (done()) {
                return true;
            }
            fly(0.05, pilot);
        }
        return done();
    }

    // The autopilot's engage button on the guidance panel.
    void pressAutopilotEngage() { autopilot().toggleEngage(); }
    void pressKey(uint32_t key, int32_t value = 0) {
        simulator().pilotKeyEvent(key, static_cast<uint32_t>(value));
    }
    void setHeadingBug(int32_t degrees) { pressKey(kHeadingBugKey, degrees); }
    void setAltitudePreselect(int32_t feet) { pressKey(kAltitudePreselectKey, feet); }
    // Both thrust levers to an angle (degrees), as the lever gauges set them.
    void setThrustLevers(double angle) {
        for (const char* lever : {"TaviThrottle1Lever", "TaviThrottle2Lever"}) {
            simulator().panel.setNamedVariable(lever, angle);
            simulator().panel.setNamedVariable(std::string(lever) + "Pressed", 1.0);
        }
    }

    // The speed brake lever, 0 stowed .. 1 fully out, as its gauge sets it.
    void setSpeedBrakeLever(double fraction) {
        simulator().panel.setNamedVariable("TaviSpoilerLever", 100.0 * fraction);
        simulator().panel.setNamedVariable("TaviSpoilerLeverPressed", 1.0);
    }

    // The pilot's hands, once a frame: the elevator follows the flight director's pitch bar
    // (simulator signs: pitch and the axis positive nose down).
    void followPitchBar() { holdPitch(fd().pitchCommandBar()); }
    void holdPitch(double degrees) {
        const double pitch = simulator().panel.variable("ATTITUDE INDICATOR PITCH DEGREES", 1);
        const double rate = simulator().panel.variable("ROTATION VELOCITY BODY X");
        const double axis = 2500.0 * (degrees - pitch) - 2500.0 * rate;
        simulator().pilotEvent("AXIS_ELEVATOR_SET",
                               static_cast<int32_t>(std::clamp(axis, -16383.0, 16383.0)));
    }
    // The thrust levers move a little each second towards the airspeed.
    void holdSpeed(double knots) {
        const double now = simulator().simulatorSeconds();
        if (now - lastThrustChange < 1.0) {
            return;
        }
        lastThrustChange = now;
        const double angle = simulator().panel.namedVariable("TaviThrottle1Lever");
        const double change = std::clamp(0.25 * (knots - indicatedKnots()), -1.5, 1.5);
        setThrustLevers(std::clamp(angle + change, 28.5, 72.0));
    }

    sim::Simulator& simulator() { return module.simulator; }
    Aircraft& aircraft() { return module.aircraft(); }
    FlightDirector& fd() { return *aircraft().flightDirector(); }
    Autopilot& autopilot() { return *aircraft().autopilot(); }
    double altitudeFeet() { return simulator().flight.state().altitudeFeet; }
    double indicatedKnots() { return simulator().flight.indicatedAirspeedKnots(); }
    double headingTrue() { return simulator().panel.token(86); }
    double headingMagnetic() { return simulator().panel.token(81); }

    ModuleHarness module;
    // The aircraft's sounds, once a test installs them, play on for as long as each frame.
    LoopbackSounds sounds;

private:
    std::mt19937 random{20261210};
    double lastThrustChange = -1.0;
};

} // namespace tavi::test
