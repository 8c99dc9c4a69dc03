#pragma once

#include "avionics/EicasDau.h"
#include "core/SimVar.h"
#include "core/System.h"
#include "core/sound/AircraftSounds.h"

#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>

namespace tavi {

class Electric;
class JetEngine;

// Bleed air, air conditioning and ice protection. The engines' and the APU's bleed air feeds
// the ducts of side 1 and side 2, joined by the cross bleed; the ducts give the engine start
// its air and feed the two packs, which hold the cabin and cockpit at their selected
// temperatures. The ice detectors, the anti-ice of the engines, wings and stabiliser and the
// probe heaters are on the same object. Temperatures are degrees Celsius, pressures psi, times
// milliseconds of simulation time.
class Pneumatic : public System {
public:
    enum CrossBleedKnob : int32_t {
        kCrossBleedClosed = 0,
        kCrossBleedAuto = 1,
        kCrossBleedOpen = 2
    };
    enum AntiIceOverride : int32_t { kOverrideEngines = 0, kOverrideAuto = 1, kOverrideAll = 2 };
    enum IceDetectionTest : int32_t { kTestSystem1 = 0, kTestOff = 1, kTestSystem2 = 2 };
    static constexpr float kLowestSelectedTemperature = 18.0f;
    static constexpr float kHighestSelectedTemperature = 29.0f;
    static constexpr uint32_t kTimeNotYet = 0x80000000u;
    static constexpr SoundId kPack1Sound = 54;
    static constexpr SoundId kPack2Sound = 55;

    Pneumatic();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // The temperature selectors, limited to 18..29 degrees.
    void setCabinTemperature(float value);
    void setCockpitTemperature(float value);

    // Some anti-ice takes bleed air.
    bool anyAntiIceOn() const;
    // The engine's anti-ice button is on and the simulator's engine anti-ice follows.
    bool engine1AntiIceValveOpen() const;
    bool engine2AntiIceValveOpen() const;
    // The lights of the engine anti-ice buttons.
    bool engine1AntiIceLight() const;
    bool engine2AntiIceLight() const;
    // The ice detection test knob. A test starts its clock when the knob arrives at its
    // position; the panel's knob springs back to Off, the named variables step it.
    void setIceDetectionTest(const Aircraft& aircraft, int32_t position);
    // The "Reset Ice Speeds" button; it acts only on the ground.
    void resetIceSpeeds(const Aircraft& aircraft);

    // Set at the end of the first update with a non-zero simulation time.
    bool started = false;
    int32_t startupMode = 0;
    // The overhead panel lights its buttons only while the annunciators have power.
    bool lampPower = false;
    // The MFD's environmental page draws it against a full scale of 1850.
    float ecsIndicatorValue = 1780.0f;
    float cabinTemperatureSelected = 23.0f;
    float cockpitTemperatureSelected = 24.0f;
    float bleedTemperature1 = 0.0f;
    float bleedTemperature2 = 0.0f;
    // The modelled air temperatures.
    float cabinTemperature = 0.0f;
    float cockpitTemperature = 0.0f;
    bool bleed1Switch = true;
    bool bleed2Switch = true;
    bool apuBleedSwitch = false;
    bool pack1Switch = true;
    bool pack2Switch = true;
    bool gasperFanSwitch = true;
    bool recirculationSwitch = true;
    int32_t crossBleedKnob = kCrossBleedAuto;
    // Follows the knob only while essential bus 1 has power.
    int32_t crossBleedValve = kCrossBleedAuto;
    bool gasperFanRunning = false;
    // Bleed air reaches the duct of side 1, side 2.
    bool side1Supplied = true;
    bool side2Supplied = true;
    // Duct pressures of side 1 and 2 in psi, never below 0, and the pressures they are moving
    // to (which may be negative); the engine start draws on them.
    float ductPressure1 = 32.0f;
    float ductPressure2 = 32.0f;
    float ductPressureTarget1 = 0.0f;
    float ductPressureTarget2 = 0.0f;
    // The anti-ice override knob: 0 Engines, 1 Auto, 2 All.
    int32_t antiIceOverrideKnob = 1;
    // The packs' flow-control valves; a pack runs while its valve is open and its side supplied.
    bool pack1ValveOpen = false;
    bool pack1ValveOpenChanged = false;
    bool pack2ValveOpen = false;
    bool pack2ValveOpenChanged = false;
    // The APU feeds the bleed ducts.
    bool apuBleedValveOpen = false;
    // The cross bleed joins the two sides.
    bool crossBleedOpen = false;
    bool crossBleedOpenChanged = false;
    // The cross bleed valve does not stand where the knob is.
    bool crossBleedFail = false;
    bool crossBleedFailChanged = false;
    // Raised by an ice detector test only.
    bool bleed1LowTemp = false;
    bool bleed1LowTempChanged = false;
    bool bleed2LowTemp = false;
    bool bleed2LowTempChanged = false;
    // The cross bleed knob is at Closed with an engine running and the parking brake released.
    bool crossBleedSwitchOff = false;
    bool crossBleedSwitchOffChanged = false;
    // The engine's bleed button is off in flight outside a start.
    bool bleed1ValveClosed = false;
    bool bleed1ValveClosedChanged = false;
    bool bleed2ValveClosed = false;
    bool bleed2ValveClosedChanged = false;
    // The simulator's pitot heat, which stands for all three probes.
    bool simPitotHeat = false;
    bool pitot1Switch = false;
    bool pitot2Switch = false;
    bool pitot3Switch = false;
    bool pitot1HeatInop = false;
    bool pitot1HeatInopChanged = false;
    bool pitot2HeatInop = false;
    bool pitot2HeatInopChanged = false;
    bool pitot3HeatInop = false;
    bool pitot3HeatInopChanged = false;
    bool aoa1HeatInop = false;
    bool aoa1HeatInopChanged = false;
    bool aoa2HeatInop = false;
    bool aoa2HeatInopChanged = false;
    bool tat1HeatInop = false;
    bool tat1HeatInopChanged = false;
    bool tat2HeatInop = false;
    bool tat2HeatInopChanged = false;
    uint32_t lastIcingCheck = 0;
    uint32_t pitot1InopSince = 0;
    uint32_t pitot2InopSince = 0;
    // The weather met at the last icing check allows ice.
    bool icingConditions = false;
    bool iceDetectionChanged = false;
    bool iceDetected1 = false;
    bool iceDetected2 = false;
    bool engine1AntiIceSwitch = false;
    bool engine2AntiIceSwitch = false;
    bool wingAntiIceSwitch = false;
    bool stabAntiIceSwitch = false;
    // The simulator's structural deice.
    bool simStructuralDeice = false;
    // Windshield heat buttons.
    bool windshield1AntiIce = false;
    bool windshield2AntiIce = false;
    // Wing and stabiliser anti-ice, always set together.
    bool wingAntiIceOn = false;
    bool stabAntiIceOn = false;
    int32_t iceDetectionTestKnob = kTestOff;
    bool antiIceSwitchOff = false;
    bool antiIceSwitchOffChanged = false;
    bool engine1AntiIceFail = false;
    bool engine1AntiIceFailChanged = false;
    bool engine2AntiIceFail = false;
    bool engine2AntiIceFailChanged = false;
    bool wingAntiIceFail = false;
    bool wingAntiIceFailChanged = false;
    bool stabAntiIceFail = false;
    bool stabAntiIceFailChanged = false;
    bool iceConditionAntiIceInop = false;
    bool iceConditionAntiIceInopChanged = false;
    bool iceDetectorsFail = false;
    bool iceDetectorsFailChanged = false;
    bool iceDetector1Fail = false;
    bool iceDetector1FailChanged = false;
    bool iceDetector2Fail = false;
    bool iceDetector2FailChanged = false;
    bool noIceAntiIceOn = false;
    bool noIceAntiIceOnChanged = false;
    // When the test knob last arrived at Sys 1, Sys 2.
    uint32_t iceTest1Start = kTimeNotYet;
    uint32_t iceTest2Start = kTimeNotYet;
    // Icing conditions were met: the minimum speeds rise until the crew resets them.
    bool iceSpeeds = false;
    bool iceSpeedsChanged = false;
    // When each pack last started and stopped running.
    uint32_t pack1OnTime = 0;
    uint32_t pack1OffTime = kTimeNotYet;
    uint32_t pack2OnTime = 0;
    uint32_t pack2OffTime = kTimeNotYet;
    // The engines' own anti-ice as this system last read it; kept as values, since the
    // engines may be replaced between frames.
    bool engine1AntiIceOn = false;
    bool engine2AntiIceOn = false;
    // The simulator's precipitation state.
    int32_t precipitationState = 0;
    SimVar precipitationVar{"AMBIENT PRECIP STATE", "enum", 0};
    bool namedVariablesRegistered = false;

private:
    enum Variable : std::size_t {
        kIceOvrd,
        kIceOvrdDec,
        kIceOvrdInc,
        kIceTest,
        kIceTestDec,
        kIceTestInc,
        kXbleed,
        kXbleedDec,
        kXbleedInc,
        kVariableCount,
    };

    // What an engine shows the other systems; an absent engine reads as stopped.
    struct EngineInputs {
        bool combustion = false;
        bool starterEngaged = false;
        bool startActive = false;
        bool antiIceOn = false;
        float n1Percent = 0.0f;
        float n2Percent = 0.0f;
        float throttleLever = 0.0f;
    };
    // What a frame reads of the other systems; an absent system reads as off.
    struct Inputs {
        // The engines of this frame, whose anti-ice this system keeps in step.
        const JetEngine* engine1System = nullptr;
        const JetEngine* engine2System = nullptr;
        uint32_t now = 0;
        // Seconds, 0 while paused.
        float seconds = 0.0f;
        bool dcBus1Powered = false;
        bool dcBus2Powered = false;
        bool essentialBus1Powered = false;
        bool apuRunning = false;
        bool onGround = false;
        float totalAirTemperature = 0.0f;
        float indicatedAirspeed = 0.0f;
        float indicatedAltitude = 0.0f;
        // The messages are held back during take-off and landing.
        bool messagesInhibited = false;
        bool flightPhaseChanged = false;
        float parkingBrake = 0.0f;
        // Knots.
        float groundSpeed = 0.0f;
        // The simulator's pitot heat and structural deice.
        bool pitotHeatOn = false;
        bool structuralDeiceOn = false;
        bool soundOn = false;
        EngineInputs engine1;
        EngineInputs engine2;
    };
    // Where bleed air comes from in this frame.
    struct BleedSources {
        bool engine1 = false;
        bool engine2 = false;
        bool apu = false;

        int engineCount() const { return engine1 + engine2; }
    };

    static void latch(bool& value, bool& changed, bool now);
    // The message text naming the affected units, or nothing when no unit is affected.
    static std::string listText(const char* prefix, std::initializer_list<bool> affected,
                                const char* suffix);
    static std::string flagText(bool shown, const char* text);
    static EngineInputs readEngine(const JetEngine* engine);
    Inputs readInputs(Aircraft& aircraft);
    void applyStartupPositions();
    void updateIceDetection(const Inputs& in);
    void checkIcingConditions(const Inputs& in);
    void updateBleedAir(const Inputs& in);
    BleedSources bleedSources(const Inputs& in) const;
    // Decides which sides are supplied and whether the APU feeds them; true when the cross
    // bleed is to be open.
    bool chooseSources(const Inputs& in, const BleedSources& bleeds);
    void updateBleedTemperatures(const Inputs& in, const BleedSources& bleeds);
    void updateBleedFaults(const Inputs& in);
    void updateDuctPressures(const Inputs& in, const BleedSources& bleeds, bool open);
    void drawStarterAir(const Inputs& in, float& target1, float& target2) const;
    void updateAirConditioning(Aircraft& aircraft, const Inputs& in);
    void updateCabinTemperatures(const Inputs& in);
    void updatePackValves(const Inputs& in);
    void updateProbeHeat(const Inputs& in);
    void keepSimulatorPitotHeat(bool wanted) const;
    void updateAntiIce(const Inputs& in);
    void applyAntiIceOverride(const Inputs& in, bool ice);
    void updateAntiIceFaults(const Inputs& in, bool ice);
    void updateEicasMessages(Aircraft& aircraft, const Inputs& in);
    void updateAirMessages(EicasDau* eicasDau, const Inputs& in, bool all) const;
    void updateProbeHeatMessages(EicasDau* eicasDau, const Inputs& in, bool all) const;
    void updateAntiIceMessages(EicasDau* eicasDau, const Inputs& in, bool all) const;
    void updateIceDetectionMessages(EicasDau* eicasDau, const Inputs& in, bool all);
    void addAirLoads(const EngineInputs& e1, const EngineInputs& e2, BusLoads& loads) const;
    void addIceProtectionLoads(const EngineInputs& e1, const EngineInputs& e2,
                               BusLoads& loads) const;
    void registerNamedVariables();
    void serveNamedVariables(Aircraft& aircraft);
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, int32_t value) const;
    // The knob's click, also when it already stands at its end.
    void clickKnob(Aircraft& aircraft) const;

    std::array<int32_t, kVariableCount> variableIds{};
    EicasPowerWatch eicasPower;
};

} // namespace tavi
