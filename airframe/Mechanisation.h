#pragma once

#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

// The aircraft's mechanical flight systems: the flight-control hydraulic channels, the surface
// and trim positions, the flaps, the speed brake and spoilers, the steering limit, the gear,
// the brakes and the doors. It mirrors the simulator's own controls, restricts them where the
// aircraft's power and ground logic would, and publishes their state to the other systems.
class Mechanisation : public System {
public:
    static constexpr int32_t kGearDownAndLocked = 16383;

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
    // Panel token 323 divided by 32767; not 0 while the parking brake is set.
    float parkingBrake = 0.0f;
    float speedBrakeLever = 0.0f;
    bool aileronPositionChanged = false;
    bool aileronTrimChanged = false;
    bool rudderTrimChanged = false;
    bool previousOnGround = true;
    // True while update runs.
    bool inUpdate = false;
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
    int32_t flapHandleToken = 0;
    // The flap handle held while the flaps have no power.
    int32_t heldFlapHandle = 0;
    int32_t flapHandleIndex = 0;
    bool limitSteering = true;
    float steeringAngle = 10.0f;
    // The rudder axis is scaled by steeringAngle / steeringReference.
    float steeringReference = 55.0f;

private:
    enum Variable : std::size_t {
        kSpoilerLever,
        kSpoilerLeverPressed,
        kVariableCount,
    };

    // What this system reads of the others in one frame; an absent system reads as off.
    struct Readings {
        uint32_t now = 0;
        bool onGround = false;
        float groundSpeed = 0.0f;
        std::array<float, 2> thrustLever{};
        std::array<bool, 2> engineBurns{};
        std::array<float, 2> hydraulicPressure{};
        float smoothedAirspeed = 0.0f;
        // Bus power by bus number.
        std::array<bool, kBusCount> bus{};
        // The aircraft carries no autopilot in its slots yet: it reads as not engaged.
        bool autopilotEngaged = false;
    };

    Readings read(Aircraft& aircraft) const;
    void updateChannels(Aircraft& aircraft, const Readings& readings);
    void updateFlaps(Aircraft& aircraft, const Readings& readings);
    void updateTrims(Aircraft& aircraft, const Readings& readings);
    void updateSpoilers(Aircraft& aircraft, const Readings& readings);
    bool commandSpoilers(const Readings& readings, float position);
    bool commandSpoilersOnGround(const Readings& readings, float position) const;
    bool commandSpoilersAirborne(const Readings& readings, float position) const;
    void sendSpoilerRetract(float position) const;
    void updateSpoilerNoise(Aircraft& aircraft, const Readings& readings, float position) const;
    void registerVariables();
    void exchangeVariables();
    bool takeRequest(Variable variable) const;
    bool handleSlashKey(bool shiftDown, bool ctrlDown);
    void toggleSpoilerLever();

    SimVar flapsHandleIndexVar{"FLAPS HANDLE INDEX", "number", 0};
    std::array<int32_t, kVariableCount> variableIds{};
    bool namedVariablesRegistered = false;
};

} // namespace tavi
