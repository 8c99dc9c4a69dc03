#pragma once

#include "avionics/EicasDau.h"
#include "core/DigitalFilter.h"
#include "core/PiController.h"
#include "core/PidController.h"
#include "core/System.h"
#include "core/TrendFilter.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tavi {

class Adc;
class Ahrs;
class AhrsUnit;
class Autopilot;
class Fadec;
class Fms;
class FlightPlanLeg;
class Gps;
class RadAlt;
class Radio;
class RadioUnit;
class Tcas;
struct LnavState;

// The flight director's lateral modes, active or armed.
enum class FdLateralMode : int32_t {
    None = 0,
    Rol = 1,
    Hdg = 2,
    Vor = 3,
    Vapp = 4,
    Loc = 5,
    Bc = 6,
    Lnav = 7,
    // Wings level under TO/GA.
    TogaRol = 8,
};

// The flight director's vertical modes, active or armed.
enum class FdVerticalMode : int32_t {
    None = 0,
    Pit = 1,
    Alt = 2,
    Asel = 3,
    Vs = 4,
    // IAS or Mach hold.
    Speed = 5,
    ClimbDescent = 6,
    Gs = 7,
    Toga = 8,
};

// The [Autopilot] settings of the guidance laws that are not controller gains.
struct FdGuidanceSettings {
    double vsGainLoBreakpoint = 15000.0;
    double vsGainHiBreakpoint = 35000.0;
    double vsLoAltKp = -0.0000004;
    double vsHiAltKp = -0.0000003;
    double headingLoSpeed = 150.0;
    double headingHiSpeed = 250.0;
    double headingLoKp = -1.5;
    double headingHiKp = -2.5;
    double captureCasDiff = 10.0;
    double looseCasDiff = 30.0;
    double climbAccelerateFpm = 1000.0;
    double descentDecelerateFpm = -500.0;
    double lnavMaxBank = 24.5;
    double lnavMaxBankIas = 184.0;
    // The Autopilot's pitch and bank rate limits (deg/s), which also pace the command bars.
    double pitchRateMax = 2.5;
    double bankRateMax = 5.0;
};

// The flight guidance's mode logic: the active and armed lateral and vertical modes, the targets
// (heading bug, preselected altitude, IAS or Mach, vertical speed), the two flight directors and
// the coupled side, touch-control steering, the turn knob and pitch wheel, and the captures that
// turn armed modes into active ones. The targets live in the simulator's own autopilot
// variables: they go out by key event and come back through the panel tokens every frame. The
// simulator's own autopilot functions are kept off.
//
// Angles in degrees with the simulator's signs (pitch nose-up negative), altitudes in feet,
// speeds in knots, vertical speeds in feet per minute, times in ms of the module's clock.
class FlightDirector : public System {
public:
    static constexpr float kHalfBankDefault = 14.0f;

    // The controllers start with their built-in gains; the settings replace them.
    FlightDirector();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void handleSimEvent(uint32_t eventId, uint32_t data) override;
    bool wantsSimEvents() override { return true; }
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // Modes. Any request gives mode none while both flight directors are off and the autopilot
    // is disengaged, and while the flight director is inhibited.
    void setLateralMode(FdLateralMode mode);
    void setVerticalMode(FdVerticalMode mode);
    // ROL, the lateral arming cleared and the bank command on the present bank; the FMS calls it
    // when its LNAV guidance ends.
    void cancelLateralMode();

    // The autopilot panel's buttons (also the simulator's autopilot key events).
    void pressNav();
    void pressApproach();
    void selectHeadingMode(bool on);
    void toggleAltitudeHold();
    void selectVerticalSpeedMode(bool on);
    void selectSpeedMode(bool on);
    void selectFlightLevelChange(bool on);
    // Also the thrust levers and the CDU.
    void pressToGa();
    void toggleFlightDirector1();
    void toggleFlightDirector2();
    void switchSide();
    void setLowBank(bool on);
    void toggleLowBank();
    bool isLowBankOn() const;
    // The navigation source buttons of side 1 or 2: the FMS (true) or the radio.
    void selectNavigationSource(int side, bool fms);
    bool isFmsSource(int side) const { return side == 1 ? fmsSource1 : fmsSource2; }
    void turnKnob(float step);
    void centreTurnKnob();
    void pitchWheel(float step);
    // A click of the pedestal's pitch wheel: the step, and the wheel's picture turns.
    void clickPitchWheel(float step);

    // Targets.
    void setHeadingBug(float degrees);
    void adjustHeadingBug(float delta);
    void syncHeadingToCurrent();
    void setAltitudePreselect(int32_t feet);
    void adjustAltitudePreselect(float delta);
    void setVerticalSpeedTarget(int32_t feetPerMinute);
    void adjustVerticalSpeedTarget(float delta);
    void setSpeedTarget(int32_t knots);
    void setMachTarget(float mach);
    void adjustSpeedTarget(float delta);
    void adjustMachTarget(float delta);
    void toggleSpeedUnits();

    // The altitude lies in the capture band ahead of the aircraft (vertical navigation).
    bool isWithinAltitudeCapture(float targetAltitude);

    // The turn radius (nm) for a course change at a ground speed and altitude, with the lead
    // distance (nm) at which the turn starts.
    float computeTurnGeometry(float courseChange, float groundSpeed, float& lead, float altitude);
    // The heading law's proportional gain at a ground speed.
    double scheduleHeadingGain(double speed) const;
    // The guidance laws' settings, as loaded.
    const FdGuidanceSettings& guidanceSettings() const { return guidance; }

    // The modes, the targets as read back from the simulator, and the state the panels and
    // displays show.
    FdVerticalMode verticalMode() const { return verticalMode_; }
    FdVerticalMode armedVerticalMode() const { return armedVerticalMode_; }
    FdLateralMode lateralMode() const { return lateralMode_; }
    FdLateralMode armedLateralMode() const { return armedLateralMode_; }
    // The speed target is a Mach number.
    bool isMachMode() const { return machMode; }
    // TO/GA was engaged as take-off, not go-around.
    bool isTakeoffMode() const { return takeoffMode; }
    float iasTarget() const { return iasTarget_; }
    float machTarget() const { return machTarget_; }
    float altitudePreselect() const { return altitudePreselect_; }
    float altitudeHoldTarget() const { return altitudeHoldTarget_; }
    float vsTarget() const { return vsTarget_; }
    // 1..360.
    float headingBug() const { return headingBug_; }
    // The autopilot's maximum bank, or its half bank while low bank is on.
    float bankLimit() const { return bankLimit_; }
    // Climb/descent mode: below the preselected altitude.
    bool isClimbing() const { return climbing; }
    // The speed law flies the overspeed or minimum-speed protection.
    bool isSpeedProtectionActive() const { return speedProtection; }
    // The side whose navigation receiver, AHRS and FMS source the modes use.
    int32_t coupledSide() const { return coupledSide_; }
    // The coupled side's bus or air data is lost.
    bool isInhibited() const { return inhibited; }
    bool isDirectorOn(int side) const { return side == 1 ? fd1On : fd2On; }
    // APR selected the approach; NAV clears it.
    bool isApproachSelected() const { return approachSelected; }
    // The TCS button is held.
    bool isTcsActive() const { return tcsActive; }
    // The bank the turn knob commands; about 0 at its centre.
    float turnKnobCommand() const { return turnKnobCommand_; }
    // The pedestal's pitch wheel picture: 0 or 1, flipped by every click of the wheel so that it
    // turns.
    int32_t pitchWheelPhase() const { return pitchWheelPhase_; }
    // The flight director's command bars, rate-limited toward the Autopilot's commands.
    float pitchCommandBar() const { return pitchCommandBar_; }
    float bankCommandBar() const { return bankCommandBar_; }

    // The steps of a click of the pitch wheel (degrees of pitch) and of the turn knob (degrees of
    // bank).
    float pitchStep() const { return pitchStep_; }
    float bankStep() const { return bankStep_; }

private:
    // ROL: the heading held once the wings are level.
    float rollHoldHeading = 0.0f;
    // The simulator's own altitude hold holds the altitude in ALT.
    bool simAltHoldHanded = false;
    // Hold the bank at which TCS was released.
    bool tcsBankHold = false;
    // ROL: heading captured; wings-level timer running.
    bool rollHeadingHold = false;
    bool rollLevelTimerRunning = false;
    uint32_t navLostSince = 0;
    uint32_t togaSince = 0;
    float goAroundAltitude = 0.0f;
    // Bank when TCS was last held or released.
    float tcsBank = 0.0f;
    float pitchStep_ = 0.25f;
    float bankStep_ = 3.0f;
    Fms* fms = nullptr;
    // Altitude-capture gain (minutes) scheduled by pressure altitude.
    float altCaptureGain = 0.2f;
    // A jump of the true airspeed in one frame, kept for 5 s.
    bool tasJump = false;

    FdVerticalMode verticalMode_ = FdVerticalMode::None;
    FdVerticalMode armedVerticalMode_ = FdVerticalMode::None;
    FdLateralMode lateralMode_ = FdLateralMode::None;
    FdLateralMode armedLateralMode_ = FdLateralMode::None;
    bool machMode = false;
    bool takeoffMode = false;
    float iasTarget_ = 0.0f;
    float machTarget_ = 0.0f;
    float altitudePreselect_ = 0.0f;
    float altitudeHoldTarget_ = 0.0f;
    float vsTarget_ = 0.0f;
    float headingBug_ = 0.0f;
    float bankLimit_ = 27.0f;
    bool speedProtection = false;
    // The level-change law flies the speed (not its entry vertical speed).
    bool speedCaptured = false;
    bool climbing = false;
    int32_t coupledSide_ = 1;
    // The coupled NAV course and frequency (BCD) at the last capture.
    int32_t capturedCourse = 0;
    int32_t capturedNavFrequency = 0;
    bool inhibited = false;
    bool fd1On = false;
    bool fd2On = false;
    bool approachSelected = false;
    bool tcsActive = false;
    float turnKnobCommand_ = 0.0f;
    int32_t pitchWheelPhase_ = 0;
    float pitchCommandBar_ = 0.0f;
    float bankCommandBar_ = 0.0f;

    void fetchSystems(Aircraft& aircraft);
    bool isRunningFrame(const Aircraft& aircraft) const;

    // Frame steps.
    void readTargetsBack(const Aircraft& aircraft);
    void updateGainSchedules();
    void updateAbove400Ft();
    void ensureConsistency();
    void toggleFlightDirector(bool& on);
    void clearModes();
    void leaveModesWhileInhibited();
    bool followAltitude();
    void synchroniseSpeedTargets(const Aircraft& aircraft);
    void followGlideslopeNeedle();
    void detectTrueAirspeedJump();
    void updateEicasMessages(Aircraft& aircraft);
    void announceAltitude(Aircraft& aircraft);
    void registerNamedVariables();
    void actOnNamedVariables();
    void keepSimulatorAutopilotOff(const Aircraft& aircraft);

    // Guidance: touch-control steering, then the captures and transitions of the modes.
    void updateGuidance(const Aircraft& aircraft);
    void updateTouchControlSteering(const Aircraft& aircraft);
    FdVerticalMode updateVerticalTransitions();
    void captureVerticalModes();
    void flyVerticalLaw(FdVerticalMode law, const Aircraft& aircraft);
    FdLateralMode updateLateralTransitions();
    void flyLateralLaw(FdLateralMode law);
    void captureRadioCourse();
    void updateLnavArmingAndCapture();
    void handOverAltitudeHold(const Aircraft& aircraft);
    void switchSpeedUnitsByAltitude();
    void monitorVor();
    void monitorLocalizer();
    void monitorGlideslope();
    void monitorLnav();
    void cancelApproach();

    // Guidance laws.
    void loadGuidanceSettings(Aircraft* aircraft);
    void updateVsGainSchedule(double pressureAltitude);
    void updateTurnRate();
    void flyVerticalSpeed(float target);
    double verticalSpeedPitch(float target);
    void flyAltitudeHold();
    void flyAltitudeCapture();
    void flyLevelChange(float target);
    void flyClimbDescent();
    void flyGlideslope();
    void flyToga();
    void updateSpeedProtection();
    bool isOverspeedAhead() const;
    bool isResolutionAdvisoryFlown() const;
    std::optional<float> selectedVerticalSpeed() const;
    void flySpeedProtection();
    void flyProtectedVerticalSpeed(float selected, float predicted, double speedPitch);
    float protectedSpeed() const;
    double speedProtectionPitch(float cas, float predicted);
    double speedLawPitch(float target, float cas, float predicted);
    void flyHeading(float target, bool trueHeading);
    void flyTrack(float target);
    double trackBank(float target);
    double lnavTrackCorrection(const LnavState& state);
    void flyRollHold();
    void flyVor();
    void flyLocalizer();
    void steerLnav();
    bool turnInRequiredDirection(FlightPlanLeg& leg);
    void updateCommandBars();
    void commandPitch(double pitch);
    void commandBank(double bank);
    float limitedPitch() const;
    float autopilotPitchCommand() const;
    float autopilotBankCommand() const;
    void resetPitchLoop();
    void resetLevelChangeLoop();

    // Helpers.
    void setTakeoffOrGoAround();
    void leaveMach();
    void armAltitudeSelect();
    void disarmUnlessGlideslope();
    void disarmGlideslope();
    void clearRollFlags();
    bool isFlightDirectorOrAutopilotOn() const;
    bool isAutopilotEngaged() const;
    void runAutopilotServos();
    bool isAirborne() const;
    bool isFmsSourceCoupled() const;
    bool isBackCourse() const;
    bool isCoupledHeadingValid() const;
    const LnavState* lnav() const;
    std::optional<double> activeLegDistance() const;
    RadioUnit* coupledReceiver() const;
    AhrsUnit* coupledAhrs() const;
    float currentPitch() const;
    float currentBank() const;
    float verticalSpeed() const;
    float calibratedAirspeed() const;
    float radioAltitude() const;
    float autopilotMaxBank() const;
    float autopilotHalfBank() const;
    uint32_t now() const;
    void writeTurnKnob() const;
    bool isRefusedNearPreselect() const;

    enum class SpeedProtection { None, Overspeed, LowSpeed };

    // Guidance controllers.
    TrendFilter casPredictor;
    PidController vsPid;
    PidController levelChangePid;
    PidController turnRatePid;
    PiController altHoldPi;
    PiController headingPi;
    PiController levelChangeAccPi;
    PiController vorPi;
    PiController gsPi;
    PiController lnavPi;
    PiController vsRatePi;
    FdGuidanceSettings guidance;
    // Pitch limits of the vertical loops (simulator sign: up is negative).
    float pitchLimitUp = -25.0f;
    float pitchLimitDown = 15.0f;
    TrendFilter vsPredictor;
    // The FMS is the navigation source of side 1, of side 2.
    bool fmsSource1 = false;
    bool fmsSource2 = false;
    PiController altCapturePi;
    PiController vappPi;
    PiController locPi;
    PiController turnTargetPi;
    DigitalFilter turnRateFilter{DigitalFilter::Law::FirstOrderLag, 1.0, 1, 0.0};
    // The vertical-speed loop's gain scheduled by pressure altitude.
    double vsScheduledGain = 0.0;
    // Degrees per second, positive turning right.
    float filteredTurnRate = 0.0f;
    bool started = false;
    // Named variables of the pitch wheel and turn knob: PitchUpClick, PitchDownClick,
    // TurnLeftClick, TurnRightClick, TurnCenterClick, TurnKnob; -1 until registered.
    int32_t fdVarPitchUp = -1;
    int32_t fdVarPitchDown = -1;
    int32_t fdVarTurnLeft = -1;
    int32_t fdVarTurnRight = -1;
    int32_t fdVarTurnCenter = -1;
    int32_t fdVarTurnKnob = -1;
    bool varsRegistered = false;
    bool useDefaultAp = true;
    // The air data's indicated altitude and its value before its last change.
    float altitude = 0.0f;
    float previousAltitude = 0.0f;
    // The radio altitude exceeded 400 ft since the aircraft was last on the ground.
    bool above400Ft = false;
    // The active lateral mode's signal and the glideslope flag, now and one frame before.
    bool navValid = false;
    bool navWasValid = false;
    bool gsValid = false;
    bool gsWasValid = false;
    uint32_t rollLevelSince = 0;
    uint32_t gsLostSince = 0;
    // The coupled glideslope needle, its previous value and its rate per second.
    float gsDeviation = 0.0f;
    float previousGsDeviation = 0.0f;
    float gsDeviationRate = 0.0f;
    // Pitch when TCS was last held or released.
    float tcsPitch = 0.0f;
    int32_t tcsJoystick = 0;
    uint32_t tcsButtonMask = 0xFFFFFFFF;
    // EICAS conditions, each with its change in this frame.
    bool windshearInop = false;
    bool windshearInopChanged = false;
    bool lateralModeOff = false;
    bool lateralModeOffChanged = false;
    bool verticalModeOff = false;
    bool verticalModeOffChanged = false;
    Aircraft* owner = nullptr;
    Autopilot* autopilot = nullptr;
    Ahrs* ahrs = nullptr;
    Adc* adc = nullptr;
    Radio* radio = nullptr;
    RadAlt* radAlt = nullptr;
    Gps* gps = nullptr;
    // Frame time, seconds.
    double dt = 0.0;
    // The maximum bank the settings give.
    float maxBank = 27.0f;
    double altCaptureLoBreakpoint = 10000.0;
    double altCaptureHiBreakpoint = 35000.0;
    double altCaptureLoGain = 0.2;
    double altCaptureHiGain = 0.15;
    // Named variables of the knobs: TaviCrs1Dec, TaviCrs1Inc, TaviCrs2Dec, TaviCrs2Inc,
    // TaviHdgDec, TaviHdgInc, TaviAltDec, TaviAltInc, TaviSpdDec, TaviSpdInc; -1 until
    // registered.
    std::array<int32_t, 10> knobVarIds = {-1, -1, -1, -1, -1, -1, -1, -1, -1, -1};
    float trueAirspeed = 0.0f;
    float previousTrueAirspeed = 0.0f;
    uint32_t tasJumpSince = 0;

    EicasPowerWatch eicasPower;
    Fadec* fadec = nullptr;
    SpeedProtection protection = SpeedProtection::None;
    // In the last frame of a protection episode the selected mode's own law flew.
    bool selectedLawFlies = false;
    // fpm: the integral part of the protection's easing of a selected vertical speed.
    double protectionEaseIntegral = 0.0;
    Tcas* tcas = nullptr;
    // The indicated altitude changed in this frame: the altitude crossings are looked at.
    bool altitudeChanged = false;
};

} // namespace tavi
