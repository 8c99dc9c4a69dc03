#pragma once

#include "fms/DescentPath.h"

#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

namespace tavi {

class FlightPlan;
struct PerfInit;

enum class VnavMode : int32_t {
    None = 0,
    Climb = 1,
    // The descent phase off the descent path.
    Descend = 2,
    // At or capturing the target.
    Level = 3,
    // The target lies below the aircraft during the climb or the cruise.
    EnrouteDescend = 5,
    // On the descent path.
    PathDescend = 6,
};

// The VNAV output: the target altitude and vertical mode, the descent path with its angles,
// vertical speed and deviation, the top of descent, the constraints in reach and the speed
// command. The CDU pages and the PFD read it; the crew and the autopilot fly it.
struct VnavState {
    int32_t targetAltitude = 0;
    int32_t previousTargetAltitude = 0;
    uint32_t climbConstraintLeg = 0;
    double climbConstraintDistance = 0.0;
    bool constraintAhead = false;
    // VNAV ran this frame on a usable plan; the speed command is valid.
    bool valid = false;
    VnavMode mode = VnavMode::None;
    VnavMode previousMode = VnavMode::None;
    // Feet below the climb constraint the climb is predicted to reach it (<= 0).
    int32_t climbConstraintShortfall = 0;
    // Feet above the descent path (negative below).
    int32_t verticalDeviation = 0;
    int32_t speedCommandIas = 0;
    double speedCommandMach = 0.0;
    bool speedByIas = false;
    bool speedByMach = false;
    bool todAhead = false;
    double distanceToConstraint = 0.0;
    double requiredPathAngle = 0.0;
    double commandPathAngle = 0.0;
    double flightPathAngle = 0.0;
    double distanceToTod = 0.0;
    // Feet per minute that fly the command path angle; negative descends.
    double requiredVerticalSpeed = 0.0;
    bool descentConstraintFound = false;
    double descentConstraintDistance = 0.0;
    uint32_t descentConstraintLeg = 0;
    int32_t descentConstraintExcess = 0;
    std::string todName;
};

// The aircraft as VNAV sees it this frame.
struct VnavInputs {
    // Feet, feet per minute and knots.
    float altitude = 0.0f;
    float preselect = 0.0f;
    float verticalSpeed = 0.0f;
    float groundSpeed = 0.0f;
    bool onGround = true;
    bool airborne = false;
    // More than 3 s have passed since lift-off.
    bool pastLiftOff = false;
    bool positionInitialised = false;
    // The present position, degrees.
    double latitude = 0.0;
    double longitude = 0.0;
    // Along the active leg and to its fix, nm, and seconds to its fix; lnavValid while LNAV flies
    // a leg, lnavApproach while that leg belongs to an approach.
    double legAlongTrack = 0.0;
    double distanceToGo = 0.0;
    double timeToGo = -1.0;
    bool lnavValid = false;
    bool lnavApproach = false;
    // The speeds the command stays within (kt and Mach).
    float lowSpeedLimit = 0.0f;
    float maxSpeed = 320.0f;
    float mmo = 0.78f;
    float gearLimitSpeed = 320.0f;
    float flapLimitSpeed = 320.0f;
    bool flapsOut = false;
    float radioAltitude = 0.0f;
    // Reference speed 3; 0 while it is not in use.
    int32_t referenceSpeed3 = 0;
    // The pilot asked for a pause this far (nm) before the top of descent.
    bool pauseAtTod = false;
    double nmBeforeTod = 20.0;
};

// What VNAV asks of the FMS and the flight director around it.
class VnavHost {
public:
    virtual ~VnavHost() = default;
    virtual void showMessage(const std::string& text, int32_t priority) = 0;
    // Removes the message when it is the one in front.
    virtual void withdrawMessage(const std::string& text) = 0;
    virtual bool isWithinAltitudeCapture(float altitude) = 0;
    virtual void pauseSimulator() = 0;
    // The CLIMB or CRUISE page gives way to DESCENT at the top of descent.
    virtual void showDescentPage() = 0;
    // The performance predictions run at once (after a step climb moved the cruise altitude).
    virtual void runFuelPredictions() = 0;
};

// The vertical half of the guidance: the flight phase from the predicted top of climb and top
// of descent, the target altitude from the plan's constraints, the vertical mode, the descent
// path and its deviation, the top-of-descent pause and the altitude messages.
class Vnav {
public:
    static constexpr const char* kCheckAltConstraint = "CHECK ALT CONSTRAINT";
    static constexpr const char* kPathTooSteep = "FLT PATH ANGLE TOO STEEP";

    // Once a frame after LNAV and the predictions.
    void update(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs, VnavHost& host);

    // Feet to the nearest multiple of 10; a remainder of 5 or more (toward zero, signed) rounds
    // up.
    static int32_t roundToTen(int32_t value);

    VnavState state;
    bool todPauseDone = false;
    bool deviationShown = false;
    // The PFD pointer, -120..120 for -400..400 ft.
    double deviationScale = 0.0;

    // The descent path VNAV guides on.
    const DescentPath& descentPath() const { return path; }

private:
    // The path from this frame's predictions; where the active leg starts, the altitude the
    // path had there when the leg became active.
    void updatePath(const FlightPlan& plan, const PerfInit& perfInit);
    // Deviation, command path angle and vertical speed on the path at the route position.
    void guideOnPath(const PerfInit& perfInit, const VnavInputs& inputs, double position);
    // "CHECK ALT CONSTRAINT" while the active or the next leg's descent constraint is predicted
    // not to be made: the crew hears of it before the leg, not at its fix.
    void warnOfUnmadeConstraint(const FlightPlan& plan, PerfInit& perfInit, VnavHost& host);
    // Where the path levels off next makes the target, not below the given floor; a level part
    // ahead makes the next top of descent.
    void levelPartAhead(const PerfInit& perfInit, float altitude, double position, int32_t floor,
                        VnavHost& host);
    void chooseMode(VnavMode descending, bool onPath, bool approachLeg, float altitude,
                    float preselect, VnavHost& host);
    void updateSpeedCommand(const FlightPlan& plan, const PerfInit& perfInit,
                            const VnavInputs& inputs);
    // The phase's speed with the speed limit, the departure and the approach speeds.
    double phaseSpeed(const FlightPlan& plan, const PerfInit& perfInit, const VnavInputs& inputs,
                      double& mach);
    void climbPhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs, VnavHost& host);
    void cruisePhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs,
                     VnavHost& host);
    void descentPhase(FlightPlan& plan, PerfInit& perfInit, const VnavInputs& inputs,
                      VnavHost& host);
    void pauseBeforeTod(double distanceToTod, const VnavInputs& inputs, VnavHost& host);
    void closingStep(const FlightPlan& plan, PerfInit& perfInit, VnavHost& host);
    double distanceToTodFrom(const FlightPlan& plan, const PerfInit& perfInit,
                             const VnavInputs& inputs) const;

    DescentPath path;
    std::size_t pathStartLeg = std::numeric_limits<std::size_t>::max();
    float pathStartAltitude = std::numeric_limits<float>::quiet_NaN();
};

} // namespace tavi
