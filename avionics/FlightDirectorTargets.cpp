// The flight director's targets and its link with the simulator: target key events and their
// read-back from the panel tokens, the IAS/Mach synchronisation, the simulator's autopilot key
// events, the named panel variables and the simulator's own autopilot kept off.
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Autopilot.h"
#include "avionics/Clamp.h"
#include "avionics/FlightDirector.h"
#include "avionics/FlightDirectorLaws.h"
#include "core/Aircraft.h"
#include "core/Angles.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "core/Units.h"
#include "gauges/AutopilotPanelKnobs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <utility>

namespace tavi {

namespace {

// Target key events and the panel tokens that bring the targets back.
constexpr uint32_t kHeadingBugEvent = 0x101FA;
constexpr uint32_t kAltitudePreselectEvent = 0x1024C;
constexpr uint32_t kIasEvent = 0x101F5;
constexpr uint32_t kMachEvent = 0x101F6;
constexpr uint32_t kClearToken848Event = 0x10347;
constexpr int kIasToken = 116;
constexpr int kMachToken = 118;
constexpr int kAltitudePreselectToken = 109;
constexpr int kVerticalSpeedToken = 120;
constexpr int kHeadingBugToken = 855;
constexpr int kToken848 = 848;
constexpr int kAltitudeUnitsToken = 335;
constexpr double kMetricAltitudes = 2.0;

// The simulator's autopilot key events that reach the mode operations.
constexpr uint32_t kToGaEvent = 0x10145;
constexpr uint32_t kAltitudeHoldEvent = 0x100BE;
constexpr uint32_t kNavEvent = 0x100C1;
constexpr uint32_t kHeadingEvent = 0x100BD;
constexpr uint32_t kApproachEvent = 0x100BC;
constexpr uint32_t kFlightDirectorEvent = 0x102F0;

// The simulator's autopilot master and altitude hold.
constexpr int kSimMasterToken = 103;
constexpr int kSimAltitudeHoldToken = 108;
constexpr uint32_t kSimMasterOffEvent = 0x100FF;
constexpr uint32_t kSimMasterSetEvent = 0x10100;
constexpr uint32_t kSimAltitudeHoldOnEvent = 0x10110;
constexpr uint32_t kSimAltitudeHoldOffEvent = 0x10118;

// The simulator's other autopilot functions and the events that switch each off.
struct SimFunction {
    int token;
    uint32_t offEvent;
};
constexpr SimFunction kSimFunctions[] = {
    {117, 0x10231}, {115, 0x10241}, {104, 0x10119}, {110, 0x10114}, {105, 0x1011B}, {106, 0x10117},
};
// Tokens 111 and 112 go off with one event.
constexpr int kSimToken111 = 111;
constexpr int kSimToken112 = 112;
constexpr uint32_t kSimOff111And112Event = 0x10115;
constexpr int kSimToken113 = 113;
constexpr uint32_t kSimOff113Event = 0x1011A;

constexpr int32_t kLowestPreselect = -900;
constexpr int32_t kHighestPreselect = 37000;
constexpr int32_t kVerticalSpeedLimit = 6000;
constexpr int32_t kLowestSpeedTarget = 80;
constexpr double kLowestMachTarget = 0.2;
// A Mach target rounds up to the next hundredth only from nine tenths of it.
constexpr double kMachRoundUp = 0.9;
constexpr int64_t kSpeedSyncTicks = 6;

void sendEvent(uint32_t eventId, int32_t value) {
    panelServices().sendKeyEvent(eventId, static_cast<uint32_t>(value));
}

// A metric altitude or vertical speed of the simulator in feet, cut to whole hundreds toward
// zero.
float metricToFeet(float metres) {
    return static_cast<float>(saturatedInt32(std::round(metres * kFeetPerMetre)) / 100 * 100);
}

using KnobHandler = int32_t (*)(int32_t, int32_t, uint32_t);

// A knob's named variable: 3 pushes the knob (where it has a push), 2 turns it by the large
// step, any other non-zero value by the small one. In the order of the knob variable ids.
struct KnobVariable {
    const char* name;
    KnobHandler turn;
    KnobHandler push;
};

const KnobVariable kKnobVariables[] = {
    {"TaviCrs1Dec", apCourse1KnobDec, apCourse1KnobPush},
    {"TaviCrs1Inc", apCourse1KnobInc, apCourse1KnobPush},
    {"TaviCrs2Dec", apCourse2KnobDec, apCourse2KnobPush},
    {"TaviCrs2Inc", apCourse2KnobInc, apCourse2KnobPush},
    {"TaviHdgDec", apHeadingKnobDec, apHeadingKnobPush},
    {"TaviHdgInc", apHeadingKnobInc, apHeadingKnobPush},
    {"TaviAltDec", apAltitudeKnobDec, nullptr},
    {"TaviAltInc", apAltitudeKnobInc, nullptr},
    {"TaviSpdDec", apSpeedKnobDec, apSpeedKnobPush},
    {"TaviSpdInc", apSpeedKnobInc, apSpeedKnobPush},
};

constexpr double kPushValue = 3.0;
constexpr double kLargeStepValue = 2.0;

} // namespace

void FlightDirector::handleSimEvent(uint32_t eventId, uint32_t) {
    switch (eventId) {
    case kToGaEvent:
        pressToGa();
        break;
    case kAltitudeHoldEvent:
        toggleAltitudeHold();
        break;
    case kNavEvent:
        pressNav();
        break;
    case kHeadingEvent:
        selectHeadingMode(lateralMode_ != FdLateralMode::Hdg);
        break;
    case kApproachEvent:
        pressApproach();
        break;
    case kFlightDirectorEvent:
        toggleFlightDirector1();
        toggleFlightDirector2();
        break;
    default:
        break;
    }
}

// Targets.

void FlightDirector::setHeadingBug(float degrees) {
    sendEvent(kHeadingBugEvent, static_cast<int32_t>(std::lround(normalize360(degrees))));
}

void FlightDirector::adjustHeadingBug(float delta) {
    setHeadingBug(headingBug_ + delta);
}

void FlightDirector::syncHeadingToCurrent() {
    if (const AhrsUnit* unit = coupledAhrs()) {
        setHeadingBug(unit->heading);
    }
}

// An active ASEL gives way to PIT; the next frames arm it again for the new altitude.
void FlightDirector::setAltitudePreselect(int32_t feet) {
    sendEvent(kAltitudePreselectEvent, std::clamp(feet, kLowestPreselect, kHighestPreselect));
    if (verticalMode_ == FdVerticalMode::Asel) {
        setVerticalMode(FdVerticalMode::Pit);
    }
}

void FlightDirector::adjustAltitudePreselect(float delta) {
    setAltitudePreselect(saturatedInt32(altitudePreselect_ + delta));
}

void FlightDirector::setVerticalSpeedTarget(int32_t feetPerMinute) {
    sendEvent(kVerticalSpeedEvent,
              std::clamp(feetPerMinute, -kVerticalSpeedLimit, kVerticalSpeedLimit));
}

void FlightDirector::adjustVerticalSpeedTarget(float delta) {
    setVerticalSpeedTarget(saturatedInt32(vsTarget_ + delta));
}

// Within 80 kt and the maximum operating speed; in IAS the Mach target follows.
void FlightDirector::setSpeedTarget(int32_t knots) {
    knots = std::max(knots, kLowestSpeedTarget);
    if (adc && static_cast<float>(knots) > adc->maxOperatingSpeed) {
        knots = saturatedInt32(adc->maxOperatingSpeed);
    }
    iasTarget_ = static_cast<float>(knots);
    if (machMode) {
        return;
    }
    sendEvent(kIasEvent, knots);
    if (adc) {
        setMachTarget(static_cast<float>(adc->machFromCas(iasTarget_)));
    }
}

// Within 0.2 and the maximum operating Mach, in hundredths; in Mach the IAS target follows.
void FlightDirector::setMachTarget(float mach) {
    double limited = mach >= kLowestMachTarget ? mach : kLowestMachTarget;
    if (adc && limited > adc->maxOperatingMach) {
        limited = adc->maxOperatingMach;
    }
    const double hundredths = limited * 100.0;
    int32_t steps = saturatedInt32(hundredths);
    if (hundredths - steps > kMachRoundUp) {
        ++steps;
    }
    machTarget_ = static_cast<float>(steps) * 0.01f;
    if (!machMode) {
        return;
    }
    sendEvent(kMachEvent, steps);
    if (adc) {
        setSpeedTarget(saturatedInt32(adc->casFromMach(machTarget_)));
    }
}

void FlightDirector::adjustSpeedTarget(float delta) {
    if (verticalMode_ == FdVerticalMode::Vs || verticalMode_ == FdVerticalMode::ClimbDescent) {
        return;
    }
    setSpeedTarget(saturatedInt32(iasTarget_ + delta));
}

void FlightDirector::adjustMachTarget(float delta) {
    if (verticalMode_ == FdVerticalMode::Vs || verticalMode_ == FdVerticalMode::ClimbDescent) {
        return;
    }
    setMachTarget(machTarget_ + delta);
}

void FlightDirector::toggleSpeedUnits() {
    if (verticalMode_ == FdVerticalMode::ClimbDescent || verticalMode_ == FdVerticalMode::Toga) {
        return;
    }
    if (machMode) {
        leaveMach();
        return;
    }
    machMode = true;
    if (adc) {
        setMachTarget(static_cast<float>(adc->machFromCas(iasTarget_)));
    }
}

// IAS whatever the vertical mode, with the Mach target's speed as the IAS target.
void FlightDirector::leaveMach() {
    if (!machMode) {
        return;
    }
    machMode = false;
    if (adc) {
        setSpeedTarget(saturatedInt32(adc->casFromMach(machTarget_)));
    }
}

// The simulator's autopilot variables hold the targets; they come back one frame after they
// were sent.
void FlightDirector::readTargetsBack(const Aircraft& aircraft) {
    const FsTokensReader& tokens = aircraft.tokens;
    if (!machMode) {
        iasTarget_ = static_cast<float>(tokens.value(kIasToken));
    } else {
        machTarget_ = static_cast<float>(tokens.value(kMachToken));
    }
    altitudePreselect_ = static_cast<float>(tokens.value(kAltitudePreselectToken));
    vsTarget_ = static_cast<float>(tokens.value(kVerticalSpeedToken));
    const int32_t heading = (saturatedInt32(tokens.value(kHeadingBugToken)) % 360 + 360) % 360;
    headingBug_ = heading == 0 ? 360.0f : static_cast<float>(heading);
    if (tokens.value(kToken848) != 0.0) {
        sendEvent(kClearToken848Event, 0);
    }
    if (tokens.value(kAltitudeUnitsToken) == kMetricAltitudes) {
        altitudePreselect_ = metricToFeet(altitudePreselect_);
        vsTarget_ = metricToFeet(vsTarget_);
    }
}

// Every sixth simulator tick the other speed target follows the selected one; a selected target
// out of its range is replaced by the maximum operating speed or Mach.
void FlightDirector::synchroniseSpeedTargets(const Aircraft& aircraft) {
    if (!adc || aircraft.tick % kSpeedSyncTicks != 0) {
        return;
    }
    if (!machMode) {
        if (iasTarget_ > adc->maxOperatingSpeed || iasTarget_ < kLowestSpeedTarget) {
            setSpeedTarget(saturatedInt32(adc->maxOperatingSpeed));
            return;
        }
        const double mach = adc->machFromCas(iasTarget_);
        if (std::fabs(mach - machTarget_) >= 0.01) {
            setMachTarget(static_cast<float>(mach));
        }
        return;
    }
    if (machTarget_ > adc->maxOperatingMach || machTarget_ < kLowestMachTarget) {
        setMachTarget(adc->maxOperatingMach);
        return;
    }
    const int32_t cas = saturatedInt32(adc->casFromMach(machTarget_));
    if (static_cast<float>(cas) != iasTarget_) {
        setSpeedTarget(cas);
    }
}

// Named variables.

void FlightDirector::registerNamedVariables() {
    platform::PanelServices& panel = panelServices();
    const std::pair<const char*, int32_t*> pitchAndTurnVariables[] = {
        {"PitchUpClick", &fdVarPitchUp},       {"PitchDownClick", &fdVarPitchDown},
        {"TurnLeftClick", &fdVarTurnLeft},     {"TurnRightClick", &fdVarTurnRight},
        {"TurnCenterClick", &fdVarTurnCenter}, {"TurnKnob", &fdVarTurnKnob},
    };
    for (const auto& [name, id] : pitchAndTurnVariables) {
        *id = panel.registerNamedVariable(name);
    }
    static_assert(std::size(kKnobVariables) == std::tuple_size_v<decltype(knobVarIds)>);
    for (std::size_t i = 0; i < knobVarIds.size(); ++i) {
        knobVarIds[i] = panel.registerNamedVariable(kKnobVariables[i].name);
    }
    varsRegistered = true;
    centreTurnKnob();
}

void FlightDirector::actOnNamedVariables() {
    if (takeRequest(fdVarPitchUp)) {
        pitchWheel(-pitchStep_);
    }
    if (takeRequest(fdVarPitchDown)) {
        pitchWheel(pitchStep_);
    }
    if (takeRequest(fdVarTurnLeft)) {
        turnKnob(bankStep_);
    }
    if (takeRequest(fdVarTurnRight)) {
        turnKnob(-bankStep_);
    }
    if (takeRequest(fdVarTurnCenter)) {
        centreTurnKnob();
    }
    for (std::size_t i = 0; i < knobVarIds.size(); ++i) {
        const double value = takeRequestValue(knobVarIds[i]);
        if (value == 0.0) {
            continue;
        }
        const KnobVariable& variable = kKnobVariables[i];
        if (value == kPushValue && variable.push) {
            variable.push(0, 0, 0);
        } else {
            variable.turn(0, 0, value == kLargeStepValue ? kRightClickFlags : kLeftClickFlags);
        }
    }
}

// The simulator.

// In ALT under the autopilot, the simulator's own altitude hold may hold the altitude when it is
// the preselected one.
void FlightDirector::handOverAltitudeHold(const Aircraft& aircraft) {
    if (!useDefaultAp) {
        return;
    }
    const bool simHolding = aircraft.tokens.value(kSimAltitudeHoldToken) != 0.0;
    const bool atPreselect = altitudeHoldTarget_ == altitudePreselect_;
    if (isAutopilotEngaged() && atPreselect && !simHolding) {
        sendEvent(kSimAltitudeHoldOnEvent, 0);
        simAltHoldHanded = true;
    } else if (simHolding && !atPreselect) {
        sendEvent(kSimAltitudeHoldOffEvent, 0);
        simAltHoldHanded = false;
    }
    // The own loops restart while the simulator holds: they grew unchecked meanwhile and took
    // over with a jump.
    if (simHolding) {
        altHoldPi.integral = 0.0;
        vsRatePi.integral = 0.0;
        resetPitchLoop();
    }
}

// Every function of the simulator's autopilot that comes on is switched off again, except the
// altitude hold handed to it (with its master).
void FlightDirector::keepSimulatorAutopilotOff(const Aircraft& aircraft) {
    const bool holdingAltitude = isAutopilotEngaged() && verticalMode_ == FdVerticalMode::Alt;
    if (!holdingAltitude || !useDefaultAp) {
        simAltHoldHanded = false;
    }
    const auto isOn = [&](int token) {
        return aircraft.tokens.value(token) != 0.0;
    };
    if (isOn(kSimMasterToken) && !simAltHoldHanded) {
        sendEvent(kSimMasterOffEvent, 0);
    } else if (!isOn(kSimMasterToken) && simAltHoldHanded) {
        sendEvent(kSimMasterSetEvent, 1);
    }
    for (const SimFunction& function : kSimFunctions) {
        if (isOn(function.token)) {
            sendEvent(function.offEvent, 0);
        }
    }
    if (isOn(kSimAltitudeHoldToken) && !(simAltHoldHanded && holdingAltitude)) {
        sendEvent(kSimAltitudeHoldOffEvent, 0);
    }
    if (isOn(kSimToken111) || isOn(kSimToken112)) {
        sendEvent(kSimOff111And112Event, 0);
    }
    if (isOn(kSimToken113)) {
        sendEvent(kSimOff113Event, 0);
    }
}

} // namespace tavi
