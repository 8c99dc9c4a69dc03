// The ice protection of Pneumatic: icing conditions from the simulator's weather, the two ice
// detectors with their test, the ice speeds, the probe heaters and the anti-ice of the engines,
// wings and stabiliser, with their EICAS messages.
#include "airframe/Electric.h"
#include "airframe/JetEngine.h"
#include "airframe/Pneumatic.h"
#include "avionics/Ahrs.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

enum IceMessageId : int32_t {
    kAntiIceSwitchOffMessage = 47,
    kEngineAntiIceFailMessage = 48,
    kWingAntiIceFailMessage = 49,
    kStabAntiIceFailMessage = 50,
    kIceConditionAntiIceInopMessage = 51,
    kNoIceAntiIceOnMessage = 53,
    kIceSpeedsMessage = 54,
    kPitotInopMessage = 55,
    kAoaHeatInopMessage = 56,
    kTatHeatInopMessage = 57,
    kIceDetectorsFailMessage = 58,
    kIceDetectorFailMessage = 59,
    kIceConditionMessage = 60,
};

constexpr uint32_t kPitotHeatOnEvent = 0x10218;
constexpr uint32_t kPitotHeatOffEvent = 0x10219;
constexpr uint32_t kStructuralDeiceToggleEvent = 0x10321;

// Icing: at most 10 degrees TAT with at least this precipitation state.
constexpr float kIcingTemperature = 10.0f;
constexpr int32_t kIcingPrecipitation = 4;
// A detector test with the engine above 83 % N2 shows the bleed air too cold, from 10 to 20 s
// into the test.
constexpr float kBleedTestN2 = 83.0f;
constexpr uint32_t kBleedTestFirstMs = 10001;
constexpr uint32_t kBleedTestLastMs = 20000;
// The probe heaters are watched once an engine runs; the AOA and TAT heaters fail after the
// pitot heater they share a switch and bus with.
constexpr float kProbeHeatN2 = 60.0f;
constexpr uint32_t kAoaHeatDelayMs = 2000;
constexpr uint32_t kTatHeatDelayMs = 4000;
// Wing and stabiliser anti-ice need the aircraft moving at least this fast, knots.
constexpr float kAntiIceGroundSpeed = 25.0f;

// The simulator's enumeration value; 0 when it is no number.
int32_t truncatedState(double value) {
    if (!std::isfinite(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

bool inBleedTestWindow(uint32_t sinceTestStart) {
    return sinceTestStart >= kBleedTestFirstMs && sinceTestStart <= kBleedTestLastMs;
}

// Sends the engine's anti-ice event until the simulator's engine anti-ice agrees.
void keepEngineAntiIce(const JetEngine* engine, bool wanted) {
    if (engine && engine->antiIceOn != wanted) {
        engine->setAntiIce(wanted);
    }
}

} // namespace

bool Pneumatic::engine1AntiIceLight() const {
    return engine1AntiIceValveOpen() && lampPower;
}

bool Pneumatic::engine2AntiIceLight() const {
    return engine2AntiIceValveOpen() && lampPower;
}

void Pneumatic::setIceDetectionTest(const Aircraft& aircraft, int32_t position) {
    position = std::clamp(position, static_cast<int32_t>(kTestSystem1),
                          static_cast<int32_t>(kTestSystem2));
    if (position == kTestSystem1 && iceDetectionTestKnob != kTestSystem1) {
        iceTest1Start = aircraft.simTimeMs;
    }
    if (position == kTestSystem2 && iceDetectionTestKnob != kTestSystem2) {
        iceTest2Start = aircraft.simTimeMs;
    }
    iceDetectionTestKnob = position;
}

void Pneumatic::resetIceSpeeds(const Aircraft& aircraft) {
    const Ahrs* ahrs = aircraft.ahrs();
    if (ahrs && ahrs->onGround) {
        iceSpeeds = false;
        iceSpeedsChanged = true;
    }
}

// A detector sees ice in icing conditions or under test, and only with its bus powered. With
// both detectors failed nothing is detected.
void Pneumatic::updateIceDetection(const Inputs& in) {
    precipitationState = truncatedState(precipitationVar.read());
    checkIcingConditions(in);
    const bool test1 = iceDetectionTestKnob == kTestSystem1;
    const bool test2 = iceDetectionTestKnob == kTestSystem2;
    const bool detected1 = (icingConditions || test1) && in.dcBus1Powered;
    const bool detected2 = (icingConditions || test2) && in.dcBus2Powered;
    iceDetectionChanged = detected1 != iceDetected1 || detected2 != iceDetected2;
    iceDetected1 = detected1;
    iceDetected2 = detected2;
    latch(iceDetector1Fail, iceDetector1FailChanged, !in.dcBus1Powered || test1);
    latch(iceDetector2Fail, iceDetector2FailChanged, !in.dcBus2Powered || test2);
    latch(iceDetectorsFail, iceDetectorsFailChanged, iceDetector1Fail && iceDetector2Fail);
    if (iceDetectorsFail) {
        iceDetected1 = iceDetected2 = false;
    }
    // Only a test still running counts: ice met soon after a test has ended is no test.
    latch(bleed1LowTemp, bleed1LowTempChanged,
          test1 && detected1 && in.engine1.n2Percent >= kBleedTestN2 &&
              inBleedTestWindow(in.now - iceTest1Start));
    latch(bleed2LowTemp, bleed2LowTempChanged,
          test2 && detected2 && in.engine2.n2Percent >= kBleedTestN2 &&
              inBleedTestWindow(in.now - iceTest2Start));
}

// Every frame from the first started frame on: sampled once a minute, the anti-ice in Auto
// would stay off for up to a minute in icing. Only a check sets the ice speeds.
void Pneumatic::checkIcingConditions(const Inputs& in) {
    if (!started) {
        return;
    }
    lastIcingCheck = in.now;
    icingConditions =
        in.totalAirTemperature <= kIcingTemperature && precipitationState >= kIcingPrecipitation;
    if (icingConditions && !iceSpeeds) {
        iceSpeeds = true;
        iceSpeedsChanged = true;
    }
}

void Pneumatic::updateProbeHeat(const Inputs& in) {
    if (!started) {
        pitot1Switch = pitot2Switch = pitot3Switch = true;
    }
    simPitotHeat = in.pitotHeatOn;
    const bool heater1 = pitot1Switch && in.dcBus1Powered;
    const bool heater2 = pitot2Switch && in.dcBus2Powered;
    const bool heater3 = pitot3Switch && in.dcBus2Powered;
    if (started) {
        keepSimulatorPitotHeat(heater1 || heater2 || heater3);
    }
    const bool enginesRunning =
        in.engine1.n2Percent > kProbeHeatN2 || in.engine2.n2Percent > kProbeHeatN2;
    latch(pitot1HeatInop, pitot1HeatInopChanged, enginesRunning && !heater1);
    if (pitot1HeatInopChanged && pitot1HeatInop) {
        pitot1InopSince = in.now;
    }
    latch(pitot2HeatInop, pitot2HeatInopChanged, enginesRunning && !heater2);
    if (pitot2HeatInopChanged && pitot2HeatInop) {
        pitot2InopSince = in.now;
    }
    latch(pitot3HeatInop, pitot3HeatInopChanged, enginesRunning && !heater3);
    const uint32_t since1 = in.now - pitot1InopSince;
    const uint32_t since2 = in.now - pitot2InopSince;
    latch(aoa1HeatInop, aoa1HeatInopChanged, pitot1HeatInop && since1 >= kAoaHeatDelayMs);
    latch(aoa2HeatInop, aoa2HeatInopChanged, pitot2HeatInop && since2 >= kAoaHeatDelayMs);
    latch(tat1HeatInop, tat1HeatInopChanged,
          pitot1HeatInop && !in.onGround && since1 >= kTatHeatDelayMs);
    latch(tat2HeatInop, tat2HeatInopChanged,
          pitot2HeatInop && !in.onGround && since2 >= kTatHeatDelayMs);
}

// The simulator has one pitot heat for the three probes.
void Pneumatic::keepSimulatorPitotHeat(bool wanted) const {
    if (wanted && !simPitotHeat) {
        panelServices().sendKeyEvent(kPitotHeatOnEvent, 0);
    } else if (!wanted && simPitotHeat) {
        panelServices().sendKeyEvent(kPitotHeatOffEvent, 0);
    }
}

void Pneumatic::updateAntiIce(const Inputs& in) {
    const bool ice = iceDetected1 || iceDetected2;
    if (!started) {
        engine1AntiIceSwitch = engine2AntiIceSwitch = wingAntiIceSwitch = stabAntiIceSwitch = true;
    }
    simStructuralDeice = in.structuralDeiceOn;
    applyAntiIceOverride(in, ice);
    if (simStructuralDeice != (wingAntiIceOn || stabAntiIceOn)) {
        panelServices().sendKeyEvent(kStructuralDeiceToggleEvent, 0);
    }
    updateAntiIceFaults(in, ice);
}

// The override knob decides the anti-ice whatever the engine buttons say; the buttons decide
// whether an engine's valve counts as open.
void Pneumatic::applyAntiIceOverride(const Inputs& in, bool ice) {
    const bool moving = in.groundSpeed >= kAntiIceGroundSpeed;
    bool engines = false;
    bool airframe = false;
    switch (antiIceOverrideKnob) {
    case kOverrideAll:
        engines = true;
        airframe = !in.onGround || moving;
        break;
    case kOverrideEngines:
        engines = true;
        airframe = ice && moving;
        break;
    default:
        engines = airframe = ice && moving;
        break;
    }
    keepEngineAntiIce(in.engine1System, engines);
    keepEngineAntiIce(in.engine2System, engines);
    // An engine's valve closes now; the engine reports it only in the next frame, and until then
    // Auto's own switching off would read as anti-ice on without ice.
    if (!engines) {
        engine1AntiIceOn = engine2AntiIceOn = false;
    }
    wingAntiIceOn = stabAntiIceOn = airframe;
}

void Pneumatic::updateAntiIceFaults(const Inputs& in, bool ice) {
    latch(
        antiIceSwitchOff, antiIceSwitchOffChanged,
        !(engine1AntiIceSwitch && engine2AntiIceSwitch && wingAntiIceSwitch && stabAntiIceSwitch));
    latch(engine1AntiIceFail, engine1AntiIceFailChanged, engine1AntiIceSwitch && !in.dcBus1Powered);
    latch(engine2AntiIceFail, engine2AntiIceFailChanged, engine2AntiIceSwitch && !in.dcBus2Powered);
    latch(wingAntiIceFail, wingAntiIceFailChanged, wingAntiIceSwitch && !in.dcBus1Powered);
    latch(stabAntiIceFail, stabAntiIceFailChanged, stabAntiIceSwitch && !in.dcBus2Powered);
    latch(iceConditionAntiIceInop, iceConditionAntiIceInopChanged,
          ice && (engine1AntiIceFail || engine2AntiIceFail || wingAntiIceFail || stabAntiIceFail));
    latch(noIceAntiIceOn, noIceAntiIceOnChanged,
          anyAntiIceOn() && !(iceDetected1 || iceDetected2) && !in.onGround);
}

void Pneumatic::updateProbeHeatMessages(EicasDau* eicasDau, const Inputs& in, bool all) const {
    const bool shown = !in.messagesInhibited;
    if (all || pitot1HeatInopChanged || pitot2HeatInopChanged || pitot3HeatInopChanged) {
        showEicasMessage(
            eicasDau, in.now, kEicasCaution, kPitotInopMessage,
            listText("PITOT ",
                     {shown && pitot1HeatInop, shown && pitot2HeatInop, shown && pitot3HeatInop},
                     " INOP"));
    }
    if (all || aoa1HeatInopChanged || aoa2HeatInopChanged) {
        showEicasMessage(
            eicasDau, in.now, kEicasCaution, kAoaHeatInopMessage,
            listText("AOA ", {shown && aoa1HeatInop, shown && aoa2HeatInop}, " HEAT INOP"));
    }
    if (all || tat1HeatInopChanged || tat2HeatInopChanged) {
        showEicasMessage(
            eicasDau, in.now, kEicasCaution, kTatHeatInopMessage,
            listText("TAT ", {shown && tat1HeatInop, shown && tat2HeatInop}, " HEAT INOP"));
    }
}

void Pneumatic::updateAntiIceMessages(EicasDau* eicasDau, const Inputs& in, bool all) const {
    const bool shown = !in.messagesInhibited;
    if (all || antiIceSwitchOffChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kAntiIceSwitchOffMessage,
                         flagText(shown && antiIceSwitchOff, "A/ICE SWITCH OFF"));
    }
    if (all || engine1AntiIceFailChanged || engine2AntiIceFailChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kEngineAntiIceFailMessage,
                         listText("E", {shown && engine1AntiIceFail, shown && engine2AntiIceFail},
                                  " A/ICE FAIL"));
    }
    if (all || wingAntiIceFailChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kWingAntiIceFailMessage,
                         flagText(shown && wingAntiIceFail, "WG1-2 A/ICE FAIL"));
    }
    if (all || stabAntiIceFailChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kStabAntiIceFailMessage,
                         flagText(shown && stabAntiIceFail, "STAB A/ICE FAIL"));
    }
    if (all || iceConditionAntiIceInopChanged) {
        showEicasMessage(eicasDau, in.now, kEicasWarning, kIceConditionAntiIceInopMessage,
                         flagText(shown && iceConditionAntiIceInop, "ICE COND-A/I INOP"));
    }
}

void Pneumatic::updateIceDetectionMessages(EicasDau* eicasDau, const Inputs& in, bool all) {
    const bool shown = !in.messagesInhibited;
    if (all || iceDetectorsFailChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kIceDetectorsFailMessage,
                         flagText(shown && iceDetectorsFail, "ICE DETECTORS FAIL"));
    }
    if (all || iceDetector1FailChanged || iceDetector2FailChanged) {
        showEicasMessage(
            eicasDau, in.now, kEicasCaution, kIceDetectorFailMessage,
            listText("ICE DET ", {shown && iceDetector1Fail, shown && iceDetector2Fail}, " FAIL"));
    }
    // Ice is reported in every phase.
    if (all || iceDetectionChanged) {
        showEicasMessage(eicasDau, in.now, kEicasAdvisory, kIceConditionMessage,
                         flagText(iceDetected1 || iceDetected2, "ICE CONDITION"));
    }
    if (all || noIceAntiIceOnChanged) {
        showEicasMessage(eicasDau, in.now, kEicasCaution, kNoIceAntiIceOnMessage,
                         flagText(shown && noIceAntiIceOn, "NO ICE-A/ICE ON"));
    }
    if (all || iceSpeedsChanged) {
        showEicasMessage(eicasDau, in.now, kEicasAdvisory, kIceSpeedsMessage,
                         flagText(shown && iceSpeeds, "SPS/ICE SPEEDS"));
        iceSpeedsChanged = false;
    }
}

} // namespace tavi
