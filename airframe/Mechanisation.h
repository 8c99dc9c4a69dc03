#pragma once

#include "avionics/EicasDau.h"
#include "core/SimVar.h"
#include "core/System.h"
#include "core/sound/AircraftSounds.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tavi {

class Aws;

// The aircraft's mechanical flight systems: the flight-control hydraulic channels, the surface
// and trim positions, the flaps, the speed brake and spoilers, the steering limit, the gear,
// the brakes with their temperatures, the doors, the windshield wipers and the cabin
// attendant of the virtual cockpit. It mirrors the simulator's own controls, restricts them where
// the aircraft's power and ground logic would, and publishes their state to the other systems.
class Mechanisation : public System {
public:
    static constexpr int32_t kGearDownAndLocked = 16383;
    // Wiper knob positions.
    enum WiperKnob : int32_t {
        kWiperIntermittent = 0,
        kWiperOff = 1,
        kWiperSlow = 2,
        kWiperFast = 3,
    };
    enum AttendantState : int32_t {
        kAttendantIdle = 0,
        kAttendantAtGate = 1,
        kAttendantShortRound = 2,
        // The long round runs twice.
        kAttendantLongRound = 3,
        kAttendantLongRoundAgain = 4,
    };

    Mechanisation();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    bool handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shiftDown, bool ctrlDown) override;
    // Events of the simulator; those the module itself sends while this system updates are
    // not taken as the pilot's.
    void handleSimEvent(uint32_t eventId, uint32_t data) override;
    bool wantsSimEvents() override { return true; }
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // The pilot's rudder axis. Above taxi speed on the ground the nose wheel answers only a
    // part of it, so the axis is sent again, scaled down, behind the pilot's own value.
    void onRudderAxis(Aircraft& aircraft, int32_t axis);
    // The flap lever's click areas: the simulator moves its flap handle one notch.
    void flapsIncrement();
    void flapsDecrement();
    bool isGearDownAndLocked() const;
    // The cockpit speed brake lever, 0 stowed .. 1 fully out; every change goes through here.
    void setSpoilerLever(float value);
    // The lamps of the four flight-control buttons of the overhead panel.
    bool aileronSystem1OffLight() const;
    bool aileronSystem2OffLight() const;
    bool rudderSystem1OffLight() const;
    bool rudderSystem2OffLight() const;
    // The thrust part of the gear warning: low over the ground with the flaps short of landing,
    // and the thrust of an approach (a lever back, with the other back too or its engine out).
    static bool approachThrust(float radioAltitude, float flapAngle,
                               const std::array<float, 2>& thrustLever,
                               const std::array<bool, 2>& engineBurns);
    // Ctrl+"." and the parking brake handle's click area.
    void toggleParkingBrake();
    // Knob positions 0..3; leaving Off starts the intermittent cycle.
    void setLeftWiperKnob(int32_t position);
    void setRightWiperKnob(int32_t position);

    bool started = false;
    // Simulator units: 0 stowed, 16383 fully deployed.
    float spoilerPosition = 0.0f;
    float spoilerHandle = 0.0f;
    float spoilersArmed = 0.0f;
    // Degrees.
    float flapAngle = 0.0f;
    // Nose, left and right gear: 0 up, 16383 down and locked.
    std::array<int32_t, 3> gearPositions{};
    // About +10 at full travel one way, -4 the other.
    float pitchTrimIndication = 0.0f;
    // Degrees.
    float aileronTrimAngle = 0.0f;
    float rudderTrimAngle = 0.0f;
    int32_t elevatorTrimPosition = 0;
    // -16383..16383.
    int32_t elevatorPosition = 0;
    int32_t aileronPosition = 0;
    int32_t rudderPosition = 0;
    // Pedal brakes 0..1.
    float brakeLeft = 0.0f;
    float brakeRight = 0.0f;
    // Degrees Celsius, between the total air temperature and scaleMax.
    float brakeTemperatureLeft = 0.0f;
    float brakeTemperatureRight = 0.0f;
    // Panel token 323 divided by 32767; not 0 while the parking brake is set.
    float parkingBrake = 0.0f;
    float speedBrakeLever = 0.0f;
    bool aileronPositionChanged = false;
    bool aileronTrimChanged = false;
    bool rudderTrimChanged = false;
    bool previousOnGround = true;
    // True while update runs.
    bool inUpdate = false;
    // Main door and baggage door opening in percent.
    std::array<float, 2> exitOpen{};
    std::array<bool, 2> exitOpenChanged{};
    bool flapAngleChanged = false;
    bool spoilerPositionChanged = false;
    // DC bus 1 and essential bus 2 as the pitch trim sees them.
    bool pitchTrimBus1Unpowered = false;
    bool pitchTrimBus1UnpoweredChanged = false;
    bool pitchTrimBus2Unpowered = false;
    bool pitchTrimBus2UnpoweredChanged = false;
    // The overhead panel's flight-control system buttons.
    bool aileronSystem1On = true;
    bool aileronSystem2On = true;
    bool rudderSystem1On = true;
    bool rudderSystem2On = true;
    bool aileronSystem1Inop = false;
    bool aileronSystem1InopChanged = false;
    bool aileronSystem2Inop = false;
    bool aileronSystem2InopChanged = false;
    bool rudderSystem1Inop = false;
    bool rudderSystem1InopChanged = false;
    bool rudderSystem2Inop = false;
    bool rudderSystem2InopChanged = false;
    // DC bus 1 and DC bus 2 as the flaps see them.
    bool flapBus1Unpowered = false;
    bool flapBus1UnpoweredChanged = false;
    bool flapBus2Unpowered = false;
    bool flapBus2UnpoweredChanged = false;
    // DC bus 2 as the spoilers see it.
    bool spoilersUnpowered = false;
    bool spoilersUnpoweredChanged = false;
    // The lever is out while the spoilers are held stowed.
    bool speedBrakeDisagree = false;
    bool speedBrakeDisagreeChanged = false;
    // The last touchdown; an aircraft that starts on the ground has none of its own.
    uint32_t touchdownTime = 2147483648u;
    // The start of the current trim run, then the time of the last trim call-out.
    uint32_t trimRunStart = 0;
    uint32_t lastTrimEventTime = 0;
    bool elevatorTrimChanged = false;
    // Set by every change of the accumulator pressure; the EICAS step clears it.
    bool emergencyBrakePressureChanged = false;
    // The brake temperature sensors' DC buses 1 and 2.
    bool brakeSensor1Unpowered = false;
    bool brakeSensor2Unpowered = false;
    int32_t flapHandleToken = 0;
    // The flap handle held while the flaps have no power.
    int32_t heldFlapHandle = 0;
    int32_t flapHandleIndex = 0;
    // Psi. Hydraulic system 2 recharges the emergency brake accumulator; only the parking brake
    // drains it.
    float emergencyBrakePressure = 3000.0f;
    bool brakeOverheat = false;
    bool brakeOverheatChanged = false;
    // Parked with the flaps up: the crew is reminded to check the take-off flaps.
    bool checkA1Perf = false;
    bool checkA1PerfChanged = false;
    // Factor on both the heating and the cooling of the brakes.
    float heatingScalar = 1.0f;
    // The top of the brake temperature scales; brake temperatures never exceed scaleMax.
    float scaleMax = 0.0f;
    float scaleMaxGreen = 200.0f;
    float overheat = 0.0f;
    // Open in flight, or on the ground with an engine running.
    bool mainDoorOpen = false;
    bool mainDoorOpenChanged = false;
    bool baggageDoorOpen = false;
    bool baggageDoorOpenChanged = false;
    int32_t leftWiperKnob = kWiperOff;
    int32_t rightWiperKnob = kWiperOff;
    // Fractions of a wipe cycle, 0 parked.
    float leftWiperPosition = 0.0f;
    float rightWiperPosition = 0.0f;
    uint32_t leftWiperStart = 0;
    uint32_t rightWiperStart = 0;
    bool limitSteering = true;
    float steeringAngle = 10.0f;
    // The rudder axis is scaled by steeringAngle / steeringReference.
    float steeringReference = 55.0f;
    int32_t attendantState = kAttendantIdle;
    // The frame of the attendant's animation in the virtual cockpit.
    float attendantFrame = 0.0f;
    uint32_t attendantLastCheck = 0;

private:
    enum Variable : std::size_t {
        kSpoilerLever,
        kSpoilerLeverPressed,
        kLeftWiper,
        kRightWiper,
        kLeftWiperKnob,
        kRightWiperKnob,
        kLeftWiperKnobLeftClick,
        kLeftWiperKnobRightClick,
        kRightWiperKnobLeftClick,
        kRightWiperKnobRightClick,
        kStewardess,
        kVariableCount,
    };

    // What this system reads of the others in one frame; an absent system reads as off.
    struct Readings {
        uint32_t now = 0;
        // Seconds of unpaused time since the last frame.
        double dt = 0.0;
        bool onGround = false;
        float groundSpeed = 0.0f;
        std::array<float, 2> thrustLever{};
        std::array<bool, 2> engineBurns{};
        std::array<float, 2> hydraulicPressure{};
        float smoothedAirspeed = 0.0f;
        float indicatedAirspeed = 0.0f;
        float indicatedAltitude = 0.0f;
        float totalAirTemperature = 0.0f;
        // Neither air-data side has a valid airspeed.
        bool airspeedInvalid = false;
        int32_t flightPhase = 0;
        bool flightPhaseChanged = false;
        // Bus power by bus number.
        std::array<bool, kBusCount> bus{};
        bool networkPowered = false;
        // Feet; none without a radio altimeter.
        std::optional<float> radioAltitude;
        // One of the GPWS alerts of modes 1 to 4.
        bool gpwsAlert = false;
        // The autopilot trims with its own event, so the trim call-out is for the crew's.
        bool autopilotEngaged = false;
    };

    Readings read(Aircraft& aircraft) const;
    static float rollingSpeed(const Aircraft& aircraft);
    void updateChannels(Aircraft& aircraft, const Readings& readings);
    void updateFlaps(Aircraft& aircraft, const Readings& readings);
    void updateTrims(Aircraft& aircraft, const Readings& readings);
    void updateSpoilers(Aircraft& aircraft, const Readings& readings);
    bool commandSpoilers(const Readings& readings, float position);
    bool commandSpoilersOnGround(const Readings& readings, float position) const;
    bool commandSpoilersAirborne(const Readings& readings, float position) const;
    void sendSpoilerRetract(float position) const;
    void updateSpoilerNoise(Aircraft& aircraft, const Readings& readings, float position) const;
    void updateGear(Aircraft& aircraft, const Readings& readings);
    void updateDoors(const Readings& readings);
    void updateBrakes(Aircraft& aircraft, const Readings& readings);
    float nextBrakeTemperature(float temperature, float pedal, bool heating,
                               const Readings& readings) const;
    void updateWipers(const Readings& readings);
    void updateEicasMessages(Aircraft& aircraft, const Readings& readings);
    void updateCheckA1Perf(const Readings& readings);
    void updateAttendant(const Readings& readings);
    void chooseAttendantRound(const Readings& readings);
    void setAttendant(int32_t state, float frame, uint32_t now);
    void registerVariables();
    void exchangeVariables(const Readings& readings);
    void exchangeWiperVariables();
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, double value) const;
    bool handleSlashKey(bool shiftDown, bool ctrlDown);
    void toggleSpoilerLever();

    // A value of the simulator truncated toward zero; a value beyond 32 bits saturates, no
    // number at all reads as 0.
    static int32_t truncated(double value);
    // A looped air noise whose volume grows with the deflection x and the airspeed factor y;
    // stopped while either is 0.
    static void playAirNoise(Aws* aws, SoundId id, double x, double y);
    static double airspeedFactor(float smoothedAirspeed);
    static void sendKeyEvent(uint32_t eventId, int32_t value = 0);
    // Sets a field with its changed flag: true when the new value differs from the old one.
    template <typename T>
    static void recompute(T& field, bool& changed, T value) {
        changed = value != field;
        field = value;
    }

    SimVar mainExitVar{"EXIT OPEN", "percent", 0};
    SimVar baggageExitVar{"EXIT OPEN", "percent", 1};
    SimVar flapsHandleIndexVar{"FLAPS HANDLE INDEX", "number", 0};
    std::array<int32_t, kVariableCount> variableIds{};
    bool namedVariablesRegistered = false;
    EicasPowerWatch eicasPower;
};

} // namespace tavi
