#pragma once

#include "core/JoystickButton.h"
#include "core/PiController.h"
#include "core/PidController.h"
#include "core/SimVar.h"
#include "core/System.h"
#include "core/TrendFilter.h"

#include <array>
#include <cstdint>

namespace tavi {

class Adc;
class Ahrs;
class Aws;
class Electric;
class Mechanisation;

// The autopilot: its engage and yaw-damper state, the pitch and bank commands that the flight
// director's modes and laws write, and the servos that fly them by moving the simulator's
// elevator, ailerons and elevator trim. Angles in degrees with the simulator's signs (pitch
// nose-up negative); control positions are the simulator's integers of magnitude up to 16383.
// It also owns the stick pusher, the stick-shaker cut-outs, the quick-disconnect button and the
// masking of the pilot's elevator and aileron axes while it flies.
class Autopilot : public System {
public:
    static constexpr uint32_t kElevatorEvent = 0x1009E;
    static constexpr uint32_t kAileronEvent = 0x1009F;
    static constexpr uint32_t kElevatorTrimEvent = 0x100AA;
    static constexpr int32_t kMaskingPriority = 10'000'000;
    static constexpr int32_t kPassingPriority = 1;
    static constexpr uint32_t kNever = 0x80000000u;
    static constexpr float kStallAoaPad = 2.0f;

    Autopilot();

    // The most nose-up pitch the angle of attack allows from the present pitch: the one that
    // keeps 2 degrees of margin to the stall angle (simulator sign: up is negative).
    static float stallLimitedPitch(float pitch, float aoaMargin) {
        return pitch - (aoaMargin - kStallAoaPad);
    }

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    bool wantsSimEvents() override { return true; }
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    void toggleEngage();
    void toggleYawDamper();
    // Kept within pitchLimitUp..pitchLimitDown.
    void setPitchCommand(float pitch);
    // The pitch wheel: moves the pitch command; returns the new command.
    float adjustPitchTarget(float step);
    // Magnitude kept within maxBank.
    void setBankCommand(float bank);
    void levelWings() { setBankCommand(0.0f); }
    // The commands follow the side-1 attitude and the servos restart from the control positions.
    void syncPitch();
    void syncBank();

    // The servo steps the flight director runs each frame; they move the controls only while
    // enabled and engaged, and send nothing while unpowered.
    // The flight director's speed protection is passed but plays no part here.
    void updatePitchServo(bool enabled, bool speedProtection);
    void updateBankServo(bool enabled);
    void updateAutotrim(bool enabled);

    bool isStickShaker1CutoutLit() const;
    bool isStickShaker2CutoutLit() const;
    void toggleStickShaker1Cutout();
    void toggleStickShaker2Cutout();

    bool started = false;
    bool engaged = false;
    bool yawDamper = false;
    bool onGround = false;
    bool wasOnGround = true;
    bool unpowered = false;
    float pitchCommand = 0.0f;
    float bankCommand = 0.0f;
    float pitchLimitUp = -25.0f;
    float pitchLimitDown = 15.0f;
    float maxBank = 27.0f;
    float halfBank = 14.0f;
    uint32_t disengagedAt = kNever;
    uint32_t yawDamperOffAt = kNever;
    JoystickButton quickDisconnect;
    float altitude = 0.0f;
    uint32_t powerLostAt = 0;
    uint32_t pusherSince = 0;
    bool pusherActive = false;
    bool pusherInhibited = false;
    bool shaker1Cutout = false;
    bool shaker2Cutout = false;
    // The guards over the stick shaker 1 and 2 cut-out buttons, closed at start and never saved.
    std::array<bool, 2> shakerCutoutGuardOpen{};
    double dt = 0.0;
    float trimElevatorThreshold = 0.03f;
    double pitchGainLoAltBreakpoint = 20000.0;
    double pitchGainHiAltBreakpoint = 35000.0;
    double pitchLoAltGain = -0.12;
    double pitchHiAltGain = -0.08;
    double bankGainLoAltBreakpoint = 20000.0;
    double bankGainHiAltBreakpoint = 30000.0;
    double bankLoAltGain = -0.3;
    double bankHiAltGain = -0.2;
    double trimLoRate = 0.01;
    double trimHiRate = 0.015;
    bool invertElevator = false;
    bool autotrim = true;
    bool disableAxes = true;
    PiController bankRatePi;
    PiController pitchRatePi;
    PidController pitchPid;
    PidController bankPid;
    TrendFilter elevatorPredictor;
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    Electric* electric = nullptr;
    Mechanisation* mechanisation = nullptr;
    float pitch = 0.0f;
    float previousPitch = 0.0f;
    float bank = 0.0f;
    float previousBank = 0.0f;
    double turnBackForceScalar = 1.25;
    double bfThreshold = 0.75;
    SimVar bodyPitchRateVar;
    SimVar bodyRollRateVar;
    float bodyPitchRate = 0.0f;
    float bodyRollRate = 0.0f;
    int32_t groupPriority = 0;

private:
    void trackAttitude(const Aircraft& aircraft);
    void checkQuickDisconnect(const Aircraft& aircraft);
    void updateGainSchedule();
    void updateStickPusher();
    bool pushConditionHolds() const;
    void updateAxisMasking(const Aircraft& aircraft);
    bool isAirborne() const { return !onGround; }
    bool isBusPowered(int bus) const;
    double elevatorPosition() const;
    double bankedPitchRate() const;
    double aileronPosition() const;
    double indicatedAirspeed() const;
    double radioAltitude = 0.0;
    bool autopilotMasterOn = false;
    bool tcsActive = false;
    float flapAngle = 0.0f;
    uint32_t now = 0;
    bool hasAttitude = false;
    Aws* aws = nullptr;
};

} // namespace tavi
