#pragma once

#include "airframe/PowerSource.h"

namespace tavi {

class Aws;

namespace electric {

class Battery;
class Gpu;

// The auxiliary power unit with its generator: start, run and spool-down from the master knob,
// the Stop button and the fuel shutoff; speed and exhaust temperature; the generator's voltage
// once it has run for 7 s; its sounds; and the fuel it burns from the simulator's main tanks.
// `connected` is the APU Generator switch.
class Apu : public PowerSource {
public:
    enum Knob : int32_t { kKnobOff = 0, kKnobOn = 1, kKnobStart = 2 };
    enum State : int32_t { kOff = 0, kStarting = 1, kSpoolingDown = 2, kRunning = 3 };

    // The batteries and the ground power unit give the start its power.
    Apu(Battery& battery1, Battery& battery2, const Gpu& gpu);

    void update(Aircraft& aircraft) override;

    // The master knob; notes the time of a move between Off and a non-Off position. Callers
    // keep the position within 0..2.
    void setKnob(int32_t position, uint32_t now);
    void stepKnobUp(uint32_t now);
    void stepKnobDown(uint32_t now);
    // The APU Stop button; the knob stays where it is.
    void stop(Aircraft& aircraft);
    // Straight into the running state, generator online at once.
    void makeReady();

    int32_t knob = kKnobOff;
    int32_t previousKnob = kKnobOff;
    int32_t state = kOff;
    // The "APU Fuel Shutoff" switch.
    bool fuelShutoffOpen = true;
    // The guard over the fuel shutoff button, closed at start and never saved.
    bool fuelShutoffGuardOpen = false;
    bool fuelAvailable = true;
    // Percent.
    float speed = 0.0f;
    // Degrees Celsius.
    float egt = 0.0f;
    float targetSpeed = 100.0f;
    float generatorVoltage = 0.0f;
    float egtPeak = 0.0f;
    uint32_t startTime = 0;
    uint32_t runningSince = 0;
    uint32_t knobChangedTime = kTimeNotYet;
    // The generator switch is off while the generator has voltage.
    bool offBus = false;
    bool offBusChanged = false;
    // Pounds burned and not yet taken from a tank.
    float fuelBurned = 0.0f;
    // Pounds per hour.
    float fuelFlow = 0.0f;

private:
    void turnKnob(Aircraft& aircraft, Aws* aws);
    void begin(uint32_t now, Aws* aws);
    void shutDown(Aws* aws);
    void spinUp(Aircraft& aircraft, Aws* aws);
    void spoolDown(float seconds, Aws* aws);
    void run(Aircraft& aircraft, Aws* aws);
    void burnFuel(Aircraft& aircraft);
    void updateEgt(const Aircraft& aircraft);
    void drawRunningValues();

    Battery& battery1;
    Battery& battery2;
    const Gpu& gpu;
};

} // namespace electric
} // namespace tavi
