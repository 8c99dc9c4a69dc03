#pragma once

#include "airframe/ThrustTables.h"
#include "avionics/Adc.h"
#include "avionics/EicasDau.h"
#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>
#include <string>

namespace tavi {

class Aws;
class JetEngine;
class Mechanisation;

// The thrust ratings of the FADEC.
enum ThrustRatingMode : int32_t {
    kTakeoffRating = 0,
    kAltTakeoffRating = 1,
    kContinuousRating = 2,
    kClimbRating = 3,
    kCruiseRating = 4,
};

// The engines' full-authority digital control. It owns the two thrust levers with the throttle
// lock and the reversers, the thrust rating, the takeoff data the crew enters and the automatic
// reserve that gives full takeoff thrust when an engine fails during a reduced-thrust takeoff.
// Each frame it turns every lever angle into an N1 command and drives the simulator's throttle
// of each engine to the position that gives that N1. It runs the takeoff configuration check
// with its call-outs, keeps the ITT limits and posts the engine EICAS messages.
class Fadec : public System {
public:
    // What the FADEC takes from its neighbours, read afresh at the start of every frame. An
    // absent neighbour reads as off: airborne, the air data at rest, gear up, flaps, spoilers,
    // trim and brake at 0, no bus power, no anti-ice in use, no anti-ice override at Auto.
    struct Inputs {
        bool onGround = false;
        int32_t flightPhase = kLandingPhase;
        bool flightPhaseChanged = false;
        // Feet; knots; degrees Celsius.
        float pressureAltitude = 0.0f;
        float indicatedAltitude = 0.0f;
        float indicatedAirspeed = 0.0f;
        float staticAirTemperature = 0.0f;
        float isaDeviation = 0.0f;
        // Wing or stabiliser anti-ice on and active, or an engine anti-ice valve open.
        bool antiIceInUse = false;
        // The anti-ice override knob stands at Auto.
        bool antiIceOverrideAuto = false;
        // 0 up, 16383 down and locked.
        std::array<int32_t, 3> gearPositions{};
        // 0 stowed .. 16383 fully deployed.
        float spoilerPosition = 0.0f;
        // Degrees.
        float flapAngle = 0.0f;
        float pitchTrimIndication = 0.0f;
        float parkingBrake = 0.0f;
        bool dcBus2Powered = false;
        bool essentialBus1Powered = false;
        bool essentialBus2Powered = false;
    };

    Fadec();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    // Consumes Ctrl+E.
    bool handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shiftDown, bool ctrlDown) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // "T/O-1" while engine 1 does not burn, else the active rating's text.
    std::string thrustRatingText() const;
    std::string takeoffRatingText() const;
    bool reverser1Deployed() const { return reverserDeployed(0); }
    bool reverser2Deployed() const { return reverserDeployed(1); }
    // A rating the flight does not allow yet is refused without a word.
    void selectThrustRating(int32_t rating);
    void selectTakeoffRating() { selectThrustRating(kTakeoffRating); }
    // The takeoff-data store button and knob (delta -1 or +1, -5 or +5 coarse).
    void takeoffDataStore();
    void takeoffDataSet(const Aircraft& aircraft, int32_t delta);
    void setTakeoffDataEntered(bool entered) { takeoffDataEntered = entered; }
    void setThrustLever1(float angle) { setThrustLever(0, angle); }
    void setThrustLever2(float angle) { setThrustLever(1, angle); }
    void setThrottleLock(bool on);
    // Called by the FADEC control knobs: both channels reset, and a running takeoff-data entry
    // ends.
    void requestReset();
    // The pedestal's configuration-check button; the next frame runs the check.
    void requestTakeoffCheck() { takeoffCheckRequest = true; }
    bool takeoffCheckRequested() const { return takeoffCheckRequest; }
    // The pixel height of the throttle quadrant's lever reference image as the panel last
    // measured it (0 until then): lever and speed brake drags arrive in its pixels.
    void measureLeverReference(int32_t pixelHeight) { leverReferencePixels = pixelHeight; }
    int32_t leverReferenceHeight() const { return leverReferencePixels; }

    // Lever angles, degrees of lever travel: 0 full aft, 75 full forward.
    static constexpr float kFullReverseAngle = 4.0f;
    static constexpr float kReverseIdleAngle = 14.0f;
    static constexpr float kForwardIdleAngle = 22.0f;
    static constexpr float kIdleMaxAngle = 28.0f;
    static constexpr float kRatingAngle = 72.0f;
    static constexpr float kTakeoffMaxAngle = 78.0f;
    static constexpr float kLeverMaxAngle = 75.0f;
    static constexpr float kFullThrottleAngle = 85.0f;

    bool started = false;
    int32_t thrustRating = kTakeoffRating;
    // The rating chosen in the takeoff data, T/O-1 or ALT T/O-1.
    int32_t takeoffRating = kTakeoffRating;
    bool takeoffAntiIce = false;
    bool throttleLock = false;
    // Takeoff-data entry step: 0 idle, 1 rating, 2 temperature, 3 anti-ice.
    int32_t takeoffDataStep = 0;
    // The spring-loaded takeoff-data knob: -90 at rest, -130 turned left, -50 turned right.
    int32_t knobAngle = kKnobRestAngle;
    int32_t takeoffTemperature = 15;
    uint32_t touchdownTime = 0x80000000u;
    // Essential bus 1 or 2 has power.
    bool fadecPowered = false;
    // Reset requests of channel 1 and 2.
    std::array<bool, 2> resetRequest{true, true};
    // Per engine: the entered temperature is used for the takeoff N1.
    std::array<bool, 2> takeoffTempAccepted{};
    bool takeoffDataEntered = false;
    std::array<int32_t, 2> lastThrottleCommand{};
    std::array<float, 2> leverAngle{kIdleMaxAngle, kIdleMaxAngle};
    int32_t reverseLimitUnits = 0;
    // The pressure altitude at the last lift-off.
    float referenceAltitude = 0.0f;
    float ratingN1 = 85.0f;
    float idleN1 = 0.0f;
    float reverseN1 = 0.0f;
    // The N1 each lever commands.
    std::array<float, 2> commandedN1{};
    // 0 stowed .. 1 deployed.
    std::array<float, 2> reverserPosition{};
    // T/O-1 was selected while airborne.
    bool goAroundSelected = false;
    bool bus2Powered = false;
    std::array<bool, 2> reserveArmed{};
    bool reserveTriggered = false;
    bool reversersAvailable = true;
    bool noTakeoffData = false;
    // ITT red line per engine, degrees Celsius.
    std::array<float, 2> ittLimit{948.0f, 948.0f};
    bool noTakeoffConfig = false;
    ThrustTables tables;
    Inputs inputs;

private:
    static constexpr int32_t kKnobRestAngle = -90;

    enum Variable : std::size_t {
        kThrottle1Lever,
        kThrottle2Lever,
        kThrottle1LeverPressed,
        kThrottle2LeverPressed,
        kThrottleLockVar,
        kThrottleLockClick,
        kLeftReverser,
        kRightReverser,
        kToCheckClick,
        kToGaClick,
        kVariableCount,
    };

    void readInputs(const Aircraft& aircraft);
    void readAirData();
    void readFlightControls(const Mechanisation* mechanisation);
    void noteGroundChanges();
    void applyResets();
    void acceptTakeoffTemperatures();
    void updateReserve(uint32_t now);
    bool isLost(std::size_t engine) const;
    void changeRatingAutomatically();
    void updateTargets();
    float takeoffN1() const;
    float altTakeoffN1() const;
    float continuousN1() const;
    float goAroundN1(bool antiIce) const;
    void followSimulatorThrottles();
    void moveReversers(const Aircraft& aircraft);
    void checkTakeoffConfiguration();
    void announceTakeoffCheck(const std::array<bool, 4>& findings);
    void updateMessageConditions(uint32_t now);
    void updateIttLimits();
    void updateEicasMessages(uint32_t now);
    void serveNamedVariables(Aircraft& aircraft);
    void keepEngineSelection(const Aircraft& aircraft) const;

    void setThrustLever(std::size_t lever, float angle);
    void applyLeverLaw(std::size_t lever);
    bool reverserDeployed(std::size_t lever) const;
    bool burning(std::size_t engine) const;
    bool gearDown() const;
    double n1ForThrottle(double throttle) const;
    int32_t throttleUnitsForN1(double n1, bool reverse) const;
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, double value) const;

    int32_t minTakeoffTemperature = -54;
    int32_t maxTakeoffTemperature = 50;
    int32_t startupMode = 0;
    bool wasOnGround = false;
    uint32_t knobTime = 0;
    int32_t leverReferencePixels = 0;
    float throttleLowerLimit = 0.0f;
    bool gearWasDown = false;
    bool idleAntiIce = false;
    std::array<uint32_t, 2> reserveArmTime{};
    std::array<bool, 2> lowN1{};
    std::array<bool, 2> lowN1Changed{};
    bool antiIceDisagree = false;
    bool antiIceDisagreeChanged = false;
    bool noTakeoffDataChanged = false;
    bool noTakeoffConfigChanged = false;
    // The pedestal's configuration-check button was pressed.
    bool takeoffCheckRequest = false;
    std::array<bool, 2> engineFailed{};
    std::array<bool, 2> engineFailedChanged{};
    std::array<JetEngine*, 2> engines{};
    // Holds the engine law: the N1 a simulator throttle gives and the throttle an N1 needs.
    const Adc* adc = nullptr;
    Aws* aws = nullptr;
    EicasDau* eicasDau = nullptr;

    SimVar throttleLowerLimitVar;
    std::array<int32_t, kVariableCount> variableIds{};
    bool variablesRegistered = false;
    EicasPowerWatch eicasPower;
};

} // namespace tavi
