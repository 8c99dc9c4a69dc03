#include "airframe/Electric.h"
#include "gauges/OverheadArtwork.h"
#include "gauges/OverheadControls.h"

// The electrical part of the overhead panel: batteries, ground power, generators, AC power,
// backup battery, avionics masters, essential power, bus ties, shed buses, and the APU's
// master knob, stop button and fuel shutoff.
namespace tavi::overhead {

namespace {

using platform::Artwork;
using platform::kImageBright;
using platform::Tooltip;
using platform::TooltipArgument;

template <auto member>
constexpr auto electricField = &fieldOf<&Aircraft::electric, member>;

template <auto part, auto member>
constexpr auto electricPart = &partFieldOf<&Aircraft::electric, part, member>;

template <auto member>
constexpr auto electricState = &stateOf<electricField<member>>;

template <auto part, auto member>
constexpr auto partState = &stateOf<electricPart<part, member>>;

// The annunciators light only while the cockpit's lamps have power.
template <auto part, auto member>
int partOffLight(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? int(!((system->*part).*member) && system->annunciatorPower) : kUnknown;
}

template <bool Electric::*member>
int offLight(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? int(!(system->*member) && system->annunciatorPower) : kUnknown;
}

// Ground power is available and not in use, whether the lamps have power or not.
int gpuAvailableLight(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? int(system->gpu.available && !system->gpu.connected) : kUnknown;
}

int gpuInUseLight(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? int(system->gpu.connected && system->annunciatorPower) : kUnknown;
}

int essentialPowerButton(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? guardedState(!system->essentialPowerAuto && system->annunciatorPower,
                                 system->essentialPowerGuardOpen)
                  : kUnknown;
}

int apuFuelShutoffButton(Aircraft& aircraft) {
    const Electric* system = aircraft.electric();
    return system ? guardedState(!system->apu.fuelShutoffOpen && system->annunciatorPower,
                                 system->apu.fuelShutoffGuardOpen)
                  : kUnknown;
}

// ---- Handlers.

// The battery switches are set, not toggled; the system clicks.
template <electric::Battery Electric::*battery, bool on>
bool setBattery(Aircraft& aircraft, uint32_t) {
    Electric* system = aircraft.electric();
    if (!system) {
        return false;
    }
    system->setBatterySwitch(aircraft, system->*battery, on);
    return true;
}

template <auto source>
bool invertSource(Aircraft& aircraft, uint32_t) {
    Electric* system = aircraft.electric();
    if (!system) {
        return false;
    }
    electric::PowerSource& switched = system->*source;
    switched.setSwitch(!switched.connected);
    playClick(aircraft, kClickPushButton);
    return true;
}

template <int32_t step>
bool turnApuMaster(Aircraft& aircraft, uint32_t) {
    Electric* system = aircraft.electric();
    if (!system) {
        return false;
    }
    if (step < 0) {
        system->apu.stepKnobDown(aircraft.timeMs());
    } else {
        system->apu.stepKnobUp(aircraft.timeMs());
    }
    playClick(aircraft, kClickKnob);
    return true;
}

bool stopApu(Aircraft& aircraft, uint32_t) {
    Electric* system = aircraft.electric();
    if (!system) {
        return false;
    }
    system->apu.stop(aircraft);
    return true;
}

template <electric::Battery Electric::*battery, bool on>
constexpr auto batterySwitch = &controlHandler<&setBattery<battery, on>>;

template <auto source>
constexpr auto sourceButton = &controlHandler<&invertSource<source>>;

template <auto field>
constexpr auto pushHandler = &controlHandler<&toggle<field, kClickPushButton>>;

template <int32_t Electric::*knobField, int32_t step>
constexpr auto knobHandler = &controlHandler<&stepKnob<electricField<knobField>, step>>;

constexpr auto essentialPowerHandler = &controlHandler<
    &guarded<electricField<&Electric::essentialPowerGuardOpen>,
             &toggle<electricField<&Electric::essentialPowerAuto>, kClickPushButton>>>;
constexpr auto apuFuelShutoffHandler = &controlHandler<&guarded<
    electricPart<&Electric::apu, &electric::Apu::fuelShutoffGuardOpen>,
    &toggle<electricPart<&Electric::apu, &electric::Apu::fuelShutoffOpen>, kClickPushButton>>>;

// ---- Tooltips.

constexpr std::array<const char*, 2> kBatteryWords{"Off", "Auto"};
constexpr std::array<const char*, 2> kAvailableWords{"not Available", "Available"};
constexpr std::array<const char*, 2> kEssentialWords{"On", "Auto"};
constexpr std::array<const char*, 2> kFuelShutoffWords{"Fuel Off", "Fuel On"};
constexpr std::array<const char*, 3> kApuMasterWords{"Off", "On", "Start"};

template <auto source>
TooltipArgument switchArgument() {
    return textArgument<partState<source, &electric::PowerSource::connected>, kOffOn>();
}

const std::vector<TooltipArgument> kGpuArgs{
    textArgument<partState<&Electric::gpu, &electric::Gpu::available>, kAvailableWords>(),
    switchArgument<&Electric::gpu>()};
const std::vector<TooltipArgument> kApuGeneratorArgs{switchArgument<&Electric::apu>()};
const std::vector<TooltipArgument> kGenerator1Args{switchArgument<&Electric::generator1>()};
const std::vector<TooltipArgument> kGenerator2Args{switchArgument<&Electric::generator2>()};
const std::vector<TooltipArgument> kGenerator3Args{switchArgument<&Electric::generator3>()};
const std::vector<TooltipArgument> kGenerator4Args{switchArgument<&Electric::generator4>()};
const std::vector<TooltipArgument> kAvionicsArgs{
    textArgument<electricState<&Electric::avionicsMaster1>, kOffOn>(),
    textArgument<electricState<&Electric::avionicsMaster2>, kOffOn>()};

const Tooltip kBattery1Tip{
    "Battery 1 (%1!s!)",
    &stateWord<partState<&Electric::battery1, &electric::Battery::batterySwitch>, kBatteryWords>};
const Tooltip kBattery2Tip{
    "Battery 2 (%1!s!)",
    &stateWord<partState<&Electric::battery2, &electric::Battery::batterySwitch>, kBatteryWords>};
const Tooltip kGpuTip{"GPU (%1!s!, %2!s!)", &kGpuArgs};
const Tooltip kApuGeneratorTip{"APU Generator (%1!s!)", &kApuGeneratorArgs};
const Tooltip kGenerator1Tip{"Generator 1 (%1!s!)", &kGenerator1Args};
const Tooltip kGenerator3Tip{"Generator 3 (%1!s!)", &kGenerator3Args};
const Tooltip kGenerator2Tip{"Generator 2 (%1!s!)", &kGenerator2Args};
const Tooltip kGenerator4Tip{"Generator 4 (%1!s!)", &kGenerator4Args};
const Tooltip kAcPowerTip{"AC Power (%1!s!)",
                          &stateWord<electricState<&Electric::acPowerSwitch>, kOffOn>};
const Tooltip kBackupBatteryTip{
    "Backup Battery (%1!s!)",
    &stateWord<partState<&Electric::backupBattery, &electric::Battery::batterySwitch>, kOffOn>};
const Tooltip kAvionics1Tip{"Avionics Master 1 (%1!s!)", &kAvionicsArgs};
const Tooltip kAvionics2Tip{"Avionics Master 2 (%2!s!)", &kAvionicsArgs};
const Tooltip kEssentialTip{
    "Essential Power (%1!s!)",
    &stateWord<electricState<&Electric::essentialPowerAuto>, kEssentialWords>};
const Tooltip kBusTiesTip{"Bus Ties (%1!s!)",
                          &stateWord<electricState<&Electric::busTiesKnob>, kOffAutoOverride>};
const Tooltip kShedBusesTip{"Shed Buses (%1!s!)",
                            &stateWord<electricState<&Electric::shedBusKnob>, kOffAutoOverride>};
const Tooltip kApuFuelTip{
    "APU Fuel Shutoff (%1!s!)",
    &stateWord<partState<&Electric::apu, &electric::Apu::fuelShutoffOpen>, kFuelShutoffWords>};
const Tooltip kApuMasterTip{
    "APU Master (%1!s!)",
    &stateWord<partState<&Electric::apu, &electric::Apu::knob>, kApuMasterWords>};
const Tooltip kApuStopTip{"APU Stop", nullptr};

// ---- Elements.

constexpr Artwork kBattery1Switch = toggleArtwork("Overhead battery 1 switch");
constexpr Artwork kBattery2Switch = toggleArtwork("Overhead battery 2 switch");
constexpr Artwork kGpuAvailableLight = lampArtwork("Overhead GPU available light", "AVAIL", 24, 12);
constexpr Artwork kGpuInUseLight = lampArtwork("Overhead GPU in use light", "IN USE");
constexpr Artwork kApuGeneratorLight = lampArtwork("Overhead APU generator light", "OFF");
constexpr Artwork kGenerator1Light = lampArtwork("Overhead generator 1 light", "OFF");
constexpr Artwork kGenerator3Light = lampArtwork("Overhead generator 3 light", "OFF");
constexpr Artwork kGenerator2Light = lampArtwork("Overhead generator 2 light", "OFF");
constexpr Artwork kGenerator4Light = lampArtwork("Overhead generator 4 light", "OFF");
constexpr Artwork kAcPowerLight = lampArtwork("Overhead AC power light", "OFF");
constexpr Artwork kBackupBatteryLight = lampArtwork("Overhead backup battery light", "OFF");
constexpr Artwork kAvionics1Light = lampArtwork("Overhead avionics master 1 light", "OFF");
constexpr Artwork kAvionics2Light = lampArtwork("Overhead avionics master 2 light", "OFF");
constexpr Artwork kEssentialButton{
    "Overhead essential power button", 66, 109, 8, paintHingedGuardButton, "ON"};
constexpr Artwork kBusTiesKnob = knobArtwork("Overhead bus ties knob");
constexpr Artwork kShedBusesKnob = knobArtwork("Overhead shed buses knob");
constexpr Artwork kApuFuelButton{
    "Overhead APU fuel shutoff button", 72, 104, 8, paintHingedGuardButton, "SHUT"};
constexpr Artwork kApuMasterKnob = knobArtwork("Overhead APU master knob");

template <auto state>
constexpr auto lamp = &lampIcon<state>;

template <auto part>
constexpr auto sourceOffLamp = &lampIcon<&partOffLight<part, &electric::PowerSource::connected>>;

std::vector<GaugeElement> electricalElements() {
    return {
        iconElement(kBattery1Switch, 31, 455,
                    &litIcon<partState<&Electric::battery1, &electric::Battery::batterySwitch>,
                             &switchIndex>),
        iconElement(kBattery2Switch, 213, 455,
                    &litIcon<partState<&Electric::battery2, &electric::Battery::batterySwitch>,
                             &switchIndex>),
        iconElement(kGpuAvailableLight, 113, 381, lamp<&gpuAvailableLight>, kImageBright),
        iconElement(kGpuInUseLight, 112, 408, lamp<&gpuInUseLight>, kImageBright),
        iconElement(kApuGeneratorLight, 180, 397, sourceOffLamp<&Electric::apu>, kImageBright),
        iconElement(kGenerator1Light, 45, 295, sourceOffLamp<&Electric::generator1>, kImageBright),
        iconElement(kGenerator3Light, 111, 295, sourceOffLamp<&Electric::generator3>, kImageBright),
        iconElement(kGenerator2Light, 184, 295, sourceOffLamp<&Electric::generator2>, kImageBright),
        iconElement(kGenerator4Light, 248, 295, sourceOffLamp<&Electric::generator4>, kImageBright),
        iconElement(kAcPowerLight, 45, 677, lamp<&offLight<&Electric::acPowerSwitch>>,
                    kImageBright),
        iconElement(
            kBackupBatteryLight, 113, 677,
            lamp<&partOffLight<&Electric::backupBattery, &electric::Battery::batterySwitch>>,
            kImageBright),
        iconElement(kAvionics1Light, 180, 677, lamp<&offLight<&Electric::avionicsMaster1>>,
                    kImageBright),
        iconElement(kAvionics2Light, 247, 677, lamp<&offLight<&Electric::avionicsMaster2>>,
                    kImageBright),
        iconElement(kEssentialButton, 125, 416, &litIcon<&essentialPowerButton, &guardedIndex>),
        iconElement(kBusTiesKnob, 31, 581,
                    &litIcon<electricState<&Electric::busTiesKnob>, &threePositionKnobIcon>),
        iconElement(kShedBusesKnob, 213, 581,
                    &litIcon<electricState<&Electric::shedBusKnob>, &threePositionKnobIcon>),
        iconElement(kApuFuelButton, 847, 118, &litIcon<&apuFuelShutoffButton, &guardedIndex>),
        iconElement(
            kApuMasterKnob, 691, 168,
            &litIcon<partState<&Electric::apu, &electric::Apu::knob>, &threePositionKnobIcon>),
    };
}

std::vector<Control> electricalControls() {
    return {
        knob({38, 458, 55, 55}, "BATT 1", {"OFF", nullptr, "AUTO"}, kBattery1Tip,
             batterySwitch<&Electric::battery1, false>, batterySwitch<&Electric::battery1, true>),
        knob({222, 458, 55, 55}, "BATT 2", {"OFF", nullptr, "AUTO"}, kBattery2Tip,
             batterySwitch<&Electric::battery2, false>, batterySwitch<&Electric::battery2, true>),
        pushButtonControl({100, 380, 50, 50}, "GPU", kGpuTip, sourceButton<&Electric::gpu>),
        pushButtonControl({168, 380, 50, 50}, "APU GEN", kApuGeneratorTip,
                          sourceButton<&Electric::apu>),
        pushButtonControl({33, 276, 50, 50}, "GEN 1", kGenerator1Tip,
                          sourceButton<&Electric::generator1>),
        pushButtonControl({98, 276, 50, 50}, "GEN 3", kGenerator3Tip,
                          sourceButton<&Electric::generator3>),
        pushButtonControl({172, 276, 50, 50}, "GEN 2", kGenerator2Tip,
                          sourceButton<&Electric::generator2>),
        pushButtonControl({236, 276, 50, 50}, "GEN 4", kGenerator4Tip,
                          sourceButton<&Electric::generator4>),
        pushButtonControl({33, 658, 50, 50}, "AC PWR", kAcPowerTip,
                          pushHandler<electricField<&Electric::acPowerSwitch>>),
        pushButtonControl(
            {100, 658, 50, 50}, "BKUP BATT", kBackupBatteryTip,
            pushHandler<electricPart<&Electric::backupBattery, &electric::Battery::batterySwitch>>),
        pushButtonControl({166, 658, 50, 50}, "AVNX 1", kAvionics1Tip,
                          pushHandler<electricField<&Electric::avionicsMaster1>>),
        pushButtonControl({234, 658, 50, 50}, "AVNX 2", kAvionics2Tip,
                          pushHandler<electricField<&Electric::avionicsMaster2>>),
        guardedButton({133, 475, 50, 50}, "ESS PWR", kEssentialTip, essentialPowerHandler),
        knob({38, 584, 55, 55}, "BUS TIES", {"OFF", "AUTO", "OVRD"}, kBusTiesTip,
             knobHandler<&Electric::busTiesKnob, -1>, knobHandler<&Electric::busTiesKnob, 1>),
        knob({222, 584, 55, 55}, "SHED BUS", {"OFF", "AUTO", "OVRD"}, kShedBusesTip,
             knobHandler<&Electric::shedBusKnob, -1>, knobHandler<&Electric::shedBusKnob, 1>),
        guardedButton({858, 172, 50, 50}, "FUEL SHUTOFF", kApuFuelTip, apuFuelShutoffHandler),
        knob({700, 170, 55, 55}, "APU MASTER", {"OFF", "ON", "START"}, kApuMasterTip,
             &controlHandler<&turnApuMaster<-1>>, &controlHandler<&turnApuMaster<1>>),
        pushButtonControl({787, 183, 27, 27}, "STOP", kApuStopTip, &controlHandler<&stopApu>),
    };
}

} // namespace

Area electricalArea() {
    return {{}, electricalElements(), electricalControls()};
}

} // namespace tavi::overhead
