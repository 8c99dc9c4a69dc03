#pragma once

#include "core/DigitalFilter.h"
#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

// One engine with its cockpit controls: the engine control knob (STOP, RUN, START) under its
// guard, the ignition knob and the FADEC control knob. Each frame it mirrors the simulator's
// engine into the indications the screens and the other systems read, keeps the two FADEC
// channels with their ignitors, runs the start sequence (start air, starter, ignition, fuel,
// start complete) and smooths N1, N2 and ITT for 12 s after light-off. It moves the simulator's
// starter, fuel lever, throttle, anti-ice and generator through key events.
class JetEngine : public System {
public:
    enum EngineControl : int32_t { kStop = 0, kRun = 1, kStart = 2 };
    enum Ignition : int32_t { kIgnitionOff = 0, kIgnitionAuto = 1, kIgnitionOn = 2 };
    enum FadecControl : int32_t { kReset = 0, kNeutral = 1, kAlternate = 2 };
    enum Channel : int32_t { kChannelA = 0, kChannelB = 1 };

    // What the engine takes from its neighbours, read afresh at the start of every frame. An
    // absent neighbour reads as off: airborne, still air at 0 degrees, no fuel, no start air and
    // no bus power.
    struct Inputs {
        bool onGround = false;
        float totalAirTemperature = 0.0f;
        // Calibrated airspeed, knots.
        float indicatedAirspeed = 0.0f;
        // Fuel reaches this engine.
        bool fuelAvailable = false;
        // Bleed air reaches the duct of the engine's side.
        bool startAirSupplied = false;
        // The duct pressure of the engine's side and the pressure it is moving to, psi.
        float ductPressure = 0.0f;
        float ductPressureTarget = 0.0f;
        bool essentialBus1Powered = false;
        bool essentialBus2Powered = false;
        // The other engine's start sequence runs.
        bool otherEngineStarting = false;
    };

    explicit JetEngine(int32_t engineNumber);

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // Sends the throttle setting when it differs from the simulator's.
    void setThrottle(int32_t units) const;
    void setEngineControl(const Aircraft& aircraft, int32_t position);
    void engineControlUp(const Aircraft& aircraft);
    // RESET asks the FADEC for a reset; ALTERNATE hands control to the other channel.
    void setFadecControl(Aircraft& aircraft, int32_t position);
    void toggleStarter() const;
    void cutFuel() const;
    void openFuel() const;
    void setAntiIce(bool on) const;
    // Sends the simulator's generator-toggle event of this engine.
    void toggleGenerator() const;

    bool started = false;
    int32_t engineNumber;
    int32_t startupMode = 0;
    // As shown: smoothed for 12 s after light-off.
    float n1Percent = 0.0f;
    float n2Percent = 0.0f;
    // The simulator's throttle lever as a fraction, 1 full forward, negative in reverse.
    float throttleLever = 0.0f;
    // Degrees Celsius, never below the total air temperature.
    float itt = 0.0f;
    // Pounds per hour.
    float fuelFlow = 0.0f;
    float vibration = 0.0f;
    float oilPressure = 0.0f;
    float oilTemperature = 0.0f;
    float oilQuantity = 0.0f;
    // The simulator's starter, combustion, generator-active and engine anti-ice states.
    bool starterEngaged = false;
    bool combustion = false;
    bool generatorActive = false;
    bool antiIceOn = false;
    // The throttle stood at idle when the engine control knob was last turned to STOP.
    bool idleAtCutoff = false;
    // The simulator's throttle in its units: 16384 full forward, negative in reverse.
    int32_t throttleUnits = 0;
    int32_t activeChannel = kChannelA;
    int32_t ignitionKnob = kIgnitionAuto;
    int32_t fadecControlKnob = kNeutral;
    int32_t engineControlKnob = kRun;
    uint32_t fadecControlTime = 0;
    uint32_t engineControlTime = 0;
    bool channelAPowered = false;
    bool channelBPowered = false;
    bool ignitionAPowered = false;
    bool ignitionBPowered = false;
    // The simulator's fuel lever: 0 cut off, 1 open.
    float mixture = 0.0f;
    bool startActive = false;
    // The essential bus of the engine's side has power.
    bool sideBusPowered = false;
    bool failed = false;
    bool ignitionOn = false;
    bool ignitorA = false;
    bool ignitorB = false;
    uint32_t fuelCheckTime = 0;
    uint32_t combustionStartTime = 0x80000000u;
    float fuelCheckN2 = 0.0f;
    // Settings: the N2 from which the ignitors fire on the ground and in flight, and from which
    // fuel is introduced in flight.
    float groundIgnitionN2 = 18.0f;
    float flightIgnitionN2 = 10.0f;
    float flightFuelValve = 20.0f;
    DigitalFilter n1Filter;
    DigitalFilter n2Filter;
    DigitalFilter ittFilter;
    float correctedN1 = 0.0f;
    float correctedN2 = 0.0f;
    // The guard over the engine control knob.
    bool guardOpen = false;
    Inputs inputs;

private:
    enum SimVariable : std::size_t {
        kN1,
        kN2,
        kThrottleLever,
        kCorrectedN1,
        kCorrectedN2,
        kItt,
        kFuelFlow,
        kOilPressure,
        kOilTemperature,
        kOilQuantity,
        kVibration,
        kStarter,
        kCombustion,
        kGeneratorActive,
        kAntiIce,
        kMixture,
        kFailed,
        kSimVariableCount,
    };
    enum Variable : std::size_t {
        kIgnitionVar,
        kIgnitionDec,
        kIgnitionInc,
        kCover,
        kCoverClick,
        kEngControl,
        kEngControlDec,
        kEngControlInc,
        kFadecControlVar,
        kFadecControlDec,
        kFadecControlInc,
        kVariableCount,
    };

    void readInputs(const Aircraft& aircraft);
    void applyStartupState(const Aircraft& aircraft);
    void mirrorSimulator(const Aircraft& aircraft);
    void updateChannels(const Aircraft& aircraft);
    void updateIgnition();
    void introduceFuel(const Aircraft& aircraft);
    void runStartSequence(const Aircraft& aircraft);
    bool startAirAvailable(bool slow) const;
    void engageStarter(bool slow);
    void smoothLightOff(const Aircraft& aircraft);
    void resetSmoothing();
    void switchChannel();
    bool isSlow() const;
    void serveNamedVariables(Aircraft& aircraft);
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, double value) const;

    std::array<SimVar, kSimVariableCount> simVariables;
    uint32_t starterToggleEvent;
    uint32_t fuelCutoffEvent;
    uint32_t fuelOpenEvent;
    uint32_t throttleEvent;
    uint32_t antiIceEvent;
    std::array<int32_t, kVariableCount> variableIds{};
    bool variablesRegistered = false;
};

} // namespace tavi
