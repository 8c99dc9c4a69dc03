#include "airframe/Electric.h"

#include "airframe/JetEngine.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Aws.h"
#include "avionics/EicasDau.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "core/RequestVariable.h"
#include "displays/PanelElement.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <string>

namespace tavi {

namespace {

constexpr int kSimPowerToken = 364;
constexpr uint32_t kSimPowerEvent = 0x102C1;
constexpr int kSimAvionicsToken = 740;
constexpr uint32_t kSimAvionicsToggleEvent = 0x102F5;
// Up to this speed a starting APU is fed by the network rather than feeding it.
constexpr float kApuSelfSustainingSpeed = 95.0f;
constexpr float kAcLoadToDc = 115.0f / 28.0f;
constexpr float kMinChargeAmps = 10.0f;
constexpr float kMaxChargeAmps = 20.0f;
constexpr float kApuKnobOnAmps = 10.0f;
constexpr float kApuFuelValveAmps = 5.0f;
constexpr uint32_t kHumFadeMs = 500;
constexpr int32_t kSilent = -10000;

constexpr std::array<const char*, 13> kElectricVariableNames = {
    "TaviBatt1",      "TaviBatt1Click", "TaviBatt2",   "TaviBatt2Click", "TaviBusTies",
    "TaviBusTiesDec", "TaviBusTiesInc", "TaviShedBus", "TaviShedBusDec", "TaviShedBusInc",
    "TaviApu",        "TaviApuDec",     "TaviApuInc",
};

// The current a battery takes while a generator carries its side.
float chargingCurrent(const electric::Battery& battery) {
    if (battery.charge >= battery.capacity) {
        return 0.0f;
    }
    return std::clamp(static_cast<float>(battery.capacity - battery.charge), kMinChargeAmps,
                      kMaxChargeAmps);
}

void click(Aircraft& aircraft) {
    if (Aws* aws = aircraft.aws()) {
        aws->play(sounds::kKnobClick, true);
    }
}

} // namespace

int Electric::OnlineSources::generatorCount() const {
    return generator1 + generator2 + generator3 + generator4 + apuGenerator;
}

Electric::Electric() {
    for (std::size_t bus = 0; bus < buses.size(); ++bus) {
        buses[bus].number = static_cast<int32_t>(bus);
    }
    variableIds.fill(-1);
}

void Electric::loadSettings(Aircraft& aircraft) {
    battery1.loadSettings(aircraft);
    battery2.loadSettings(aircraft);
    backupBattery.loadSettings(aircraft);
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

void Electric::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (apu.knob != Apu::kKnobOn) {
        return;
    }
    loads[kEssentialBus2] += kApuKnobOnAmps;
    if (apu.fuelShutoffOpen) {
        loads[kEssentialBus2] += kApuFuelValveAmps;
    }
}

void Electric::update(Aircraft& aircraft) {
    engine1 = aircraft.engine1();
    engine2 = aircraft.engine2();
    eicasDau = aircraft.eicasDau();
    updateSources(aircraft);
    keepSimulatorInStep(aircraft);
    if (!started) {
        applyStartupState(aircraft);
    }
    distribute(aircraft);
    for (PowerBus& bus : buses) {
        bus.latchPowered();
    }
    notePfdPower(aircraft);
    updateEicasMessages(aircraft);
    serveNamedVariables(aircraft);
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void Electric::updateSources(Aircraft& aircraft) {
    for (PowerSource* source :
         std::initializer_list<PowerSource*>{&battery1, &battery2, &backupBattery, &gpu, &apu,
                                             &generator1, &generator2, &generator3, &generator4}) {
        source->update(aircraft);
    }
}

void Electric::keepSimulatorInStep(const Aircraft& aircraft) const {
    platform::PanelServices& panel = panelServices();
    if (aircraft.tokens.value(kSimPowerToken) == 0.0) {
        panel.sendKeyEvent(kSimPowerEvent, 0);
    }
    const bool simAvionicsOn = aircraft.tokens.value(kSimAvionicsToken) != 0.0;
    if ((avionicsMaster1 || avionicsMaster2) != simAvionicsOn) {
        panel.sendKeyEvent(kSimAvionicsToggleEvent, 0);
    }
    for (const JetEngine* engine : {engine1, engine2}) {
        if (engine && engine->combustion != engine->generatorActive) {
            engine->toggleGenerator();
        }
    }
}

void Electric::applyStartupState(Aircraft& aircraft) {
    for (Generator* generator : {&generator1, &generator3, &generator2, &generator4}) {
        generator->setSwitch(true);
    }
    const bool dark = startupMode == 0;
    battery1.batterySwitch = !dark;
    battery2.batterySwitch = !dark;
    if (startupMode == 1) {
        apu.makeReady();
        apu.update(aircraft);
    } else {
        avionicsMaster1 = !dark;
        avionicsMaster2 = !dark;
    }
}

Electric::OnlineSources Electric::onlineSources() const {
    OnlineSources online;
    online.generator1 = generator1.isOnline();
    online.generator2 = generator2.isOnline();
    online.generator3 = generator3.isOnline();
    online.generator4 = generator4.isOnline();
    online.apuGenerator = apu.isOnline();
    online.gpu = gpu.isOnline();
    online.apuStarting = apu.state == Apu::kStarting && apu.speed <= kApuSelfSustainingSpeed;
    return online;
}

void Electric::distribute(Aircraft& aircraft) {
    const OnlineSources online = onlineSources();
    const Ahrs* ahrs = aircraft.ahrs();
    const bool onGround = ahrs && ahrs->onGround;
    onlineGenerators = online.generatorCount();
    connectBatteries(online);
    routeMainBuses(online, onGround);
    feedAcBus(online);
    feedEssentialBuses(online, onGround);
    feedShedBuses(online);
    collectAndShareLoads(aircraft, online);
    notePowerChange(aircraft, online);
    fadeHum(aircraft);
    annunciatorPower = networkPowered || gpu.available;
}

void Electric::connectBatteries(const OnlineSources& online) {
    // Tie 1 still stands as the previous frame left it.
    const bool centralBusFedFromOutside = busTie1Closed && (online.gpu || online.apuGenerator);
    battery1.setSwitch(battery1.batterySwitch && !online.generator1 && !online.generator3 &&
                       !centralBusFedFromOutside && !online.apuStarting);
    if (online.apuStarting && !online.gpu) {
        battery2.setSwitch(battery2.batterySwitch);
    } else {
        battery2.setSwitch(battery2.batterySwitch && !online.generator2 && !online.generator4);
    }
    backupBattery.setSwitch(battery1.batterySwitch && backupBattery.batterySwitch);
    buses[kBatteryBus1].powered =
        battery1.batterySwitch && battery1.voltage > electric::kOnlineVolts;
    buses[kBatteryBus2].powered =
        battery2.batterySwitch && battery2.voltage > electric::kOnlineVolts;
}

void Electric::routeMainBuses(const OnlineSources& online, bool onGround) {
    PowerBus& central = buses[kCentralBus];
    PowerBus& dc1 = buses[kDcBus1];
    PowerBus& dc2 = buses[kDcBus2];
    dc1.powered = battery1.isOnline() || online.generator1 || online.generator3;
    dc2.powered = battery2.isOnline() || online.generator2 || online.generator4;
    central.powered = online.gpu || online.apuGenerator || online.apuStarting;

    closeTies(online, onGround);
    if (busTiesKnob == kKnobOff) {
        busTie1Closed = false;
        busTie2Closed = false;
    } else if (busTiesKnob == kKnobOverride) {
        busTie1Closed = true;
        busTie2Closed = true;
    }

    if (busTie1Closed && busTie2Closed) {
        const bool any = central.powered || dc1.powered || dc2.powered;
        central.powered = dc1.powered = dc2.powered = any;
    } else if (busTie1Closed) {
        central.powered = dc1.powered = central.powered || dc1.powered;
    } else if (busTie2Closed) {
        central.powered = dc2.powered = central.powered || dc2.powered;
    }
}

void Electric::closeTies(const OnlineSources& online, bool onGround) {
    busTie1Closed = false;
    busTie2Closed = true;
    shedBus1Enabled = true;
    shedBus2Enabled = true;
    const int count = online.generatorCount();
    const bool apuGenerator = online.apuGenerator;
    auto setTies = [this](bool closed1, bool closed2) {
        busTie1Closed = closed1;
        busTie2Closed = closed2;
    };
    auto disableSheds = [this] {
        shedBus1Enabled = shedBus2Enabled = false;
    };

    if (online.gpu) {
        setTies(true, true);
    } else if (online.generator2 && online.generator4 && online.generator1 != online.generator3) {
        setTies(true, !apuGenerator);
    } else if (online.generator1 && online.generator3 && online.generator2 != online.generator4) {
        setTies(!apuGenerator, true);
    } else if (count == 3 && apuGenerator) {
        setTies(true, true);
    } else if (count == 2 || (count == 1 && !apuGenerator)) {
        setTies(true, true);
        disableSheds();
    } else if (count == 0 || (count == 1 && apuGenerator)) {
        setTies(onGround, onGround);
        disableSheds();
    }
}

void Electric::feedAcBus(const OnlineSources& online) {
    const bool side1Generator = online.generator1 || online.generator3;
    const bool side2Generator = online.generator2 || online.generator4;
    buses[kAcBus].powered =
        acPowerSwitch && (side1Generator || (busTie1Closed && (online.apuGenerator ||
                                                               (busTie2Closed && side2Generator))));
}

void Electric::feedEssentialBuses(const OnlineSources& online, bool onGround) {
    const int count = online.generatorCount();
    const bool batteriesOnly = count == 0 || (count == 1 && online.apuGenerator);
    const bool dc1 = buses[kDcBus1].powered;
    const bool dc2 = buses[kDcBus2].powered;
    const bool battery1Bus = buses[kBatteryBus1].powered;
    const bool battery2Bus = buses[kBatteryBus2].powered;
    bool essential1 = dc1;
    bool essential2 = dc2;
    if (!essentialPowerAuto) {
        essential1 = dc1 || battery1Bus;
        essential2 = dc2 || battery2Bus;
    } else if (batteriesOnly && !onGround) {
        essential1 = battery1Bus;
        essential2 = battery2Bus;
    }
    buses[kEssentialBus1].powered = essential1;
    buses[kEssentialBus2].powered = essential2;
}

void Electric::feedShedBuses(const OnlineSources& online) {
    if (shedBusKnob == kKnobOff) {
        shedBus1Enabled = shedBus2Enabled = false;
    } else if (shedBusKnob == kKnobOverride) {
        shedBus1Enabled = shedBus2Enabled = online.generatorCount() > 0 || online.gpu;
    }
    buses[kShedBus1].powered = shedBus1Enabled && buses[kDcBus1].powered;
    buses[kShedBus2].powered = shedBus2Enabled && buses[kDcBus2].powered;
}

void Electric::collectAndShareLoads(Aircraft& aircraft, const OnlineSources& online) {
    BusLoads loads;
    for (PowerBus& bus : buses) {
        bus.load = 0.0f;
    }
    collectLoads(aircraft, loads);

    for (float& amps : loads.amps) {
        amps *= 0.5f;
    }
    if (isPowered(kShedBus1)) {
        loads[kDcBus1] += loads[kShedBus1];
    }
    if (isPowered(kShedBus2)) {
        loads[kDcBus2] += loads[kShedBus2];
    }
    if (isPowered(kAcBus)) {
        loads[kEssentialBus1] += loads[kAcBus] * kAcLoadToDc;
    }
    if (isPowered(kEssentialBus1)) {
        loads[isPowered(kDcBus1) ? kDcBus1 : kBatteryBus1] += loads[kEssentialBus1];
    }
    if (isPowered(kEssentialBus2)) {
        loads[isPowered(kDcBus2) ? kDcBus2 : kBatteryBus2] += loads[kEssentialBus2];
    }
    if (!isPowered(kDcBus1)) {
        loads[kDcBus1] = 0.0f;
    }
    if (!isPowered(kDcBus2)) {
        loads[kDcBus2] = 0.0f;
    }
    for (PowerBus& bus : buses) {
        bus.load += loads[bus.number];
    }

    for (PowerSource* source : std::initializer_list<PowerSource*>{
             &generator1, &generator2, &generator3, &generator4, &apu, &battery1, &battery2}) {
        source->clearCurrent();
    }
    if (busTie1Closed && busTie2Closed) {
        shareNetwork(online, loads[kDcBus1], loads[kDcBus2]);
    } else {
        shareSide(online, battery1, busTie1Closed, generator1, generator3, loads[kDcBus1]);
        shareSide(online, battery2, busTie2Closed, generator2, generator4, loads[kDcBus2]);
    }
    battery1.setLoad(battery1.current + loads[kBatteryBus1]);
    battery2.setLoad(battery2.current + loads[kBatteryBus2]);
}

void Electric::collectLoads(Aircraft& aircraft, BusLoads& loads) {
    for (System* system : aircraft.systems) {
        if (system) {
            system->addElectricLoad(aircraft, loads);
        }
    }
    for (PanelElement* screen : aircraft.displays) {
        if (screen) {
            screen->addElectricLoad(aircraft, loads);
        }
    }
}

void Electric::shareSide(const OnlineSources& online, Battery& battery, bool tieClosed,
                         Generator& first, Generator& second, float load) {
    const bool apuOnSide = tieClosed && online.apuGenerator;
    const int count = first.isOnline() + second.isOnline() + apuOnSide;
    if (tieClosed && online.gpu) {
        return;
    }
    if (count == 0) {
        if (battery.isOnline()) {
            battery.current += load;
        }
        return;
    }
    const float charging = chargingCurrent(battery);
    load += charging;
    battery.current = -charging;
    const float share = load / static_cast<float>(count);
    for (Generator* generator : {&first, &second}) {
        if (generator->isOnline()) {
            generator->setLoad(share);
        }
    }
    if (apuOnSide) {
        apu.setLoad(share);
    }
}

void Electric::shareNetwork(const OnlineSources& online, float load1, float load2) {
    const std::initializer_list<PowerSource*> generators = {&generator1, &generator2, &generator3,
                                                            &generator4, &apu};
    if (online.gpu) {
        for (PowerSource* generator : generators) {
            if (generator->isOnline()) {
                generator->setLoad(0.0f);
            }
        }
        return;
    }
    const int count = online.generatorCount();
    if (count == 0) {
        const int batteries = battery1.isOnline() + battery2.isOnline();
        for (Battery* battery : {&battery1, &battery2}) {
            if (battery->isOnline()) {
                battery->current += (load1 + load2) / static_cast<float>(batteries);
            }
        }
        return;
    }
    const float charging1 = chargingCurrent(battery1);
    const float charging2 = chargingCurrent(battery2);
    battery1.current = -charging1;
    battery2.current = -charging2;
    const float share = (load1 + charging1 + load2 + charging2) / static_cast<float>(count);
    for (PowerSource* generator : generators) {
        if (generator->isOnline()) {
            generator->setLoad(share);
        }
    }
}

void Electric::notePowerChange(Aircraft& aircraft, const OnlineSources& online) {
    const bool powered =
        online.generatorCount() > 0 || online.gpu || battery1.isOnline() || battery2.isOnline();
    if (powered && !networkPowered) {
        powerOnTime = aircraft.simTimeMs;
        if (Aws* aws = aircraft.aws()) {
            aws->play(sounds::kBatteriesStartup, true);
        }
    } else if (!powered && networkPowered) {
        powerOffTime = aircraft.simTimeMs;
    }
    networkPowered = powered;
}

// The battery hum fades in over 500 ms after power-up and out over 500 ms after power-down.
void Electric::fadeHum(Aircraft& aircraft) const {
    Aws* aws = aircraft.aws();
    if (!aws) {
        return;
    }
    const bool soundOn = aircraft.simState.isSoundOn();
    const uint32_t since = aircraft.simTimeMs - (networkPowered ? powerOnTime : powerOffTime);
    int32_t wanted = aws->masterVolume();
    if (!soundOn) {
        wanted = kSilent;
    } else if (networkPowered && since < kHumFadeMs) {
        wanted = static_cast<int32_t>(since * 10000 / kHumFadeMs) + kSilent;
    } else if (!networkPowered && since != 0) {
        wanted =
            static_cast<int32_t>((kHumFadeMs - std::min(since, kHumFadeMs)) * 10000 / kHumFadeMs) +
            kSilent;
    }
    if (wanted != aws->volume(sounds::kBatteriesOn)) {
        aws->setVolume(sounds::kBatteriesOn, wanted);
    }
    if (networkPowered && !aws->isPlaying(sounds::kBatteriesOn)) {
        aws->playLooped(sounds::kBatteriesOn, true);
    } else if (!networkPowered && since > kHumFadeMs && aws->isPlaying(sounds::kBatteriesOn)) {
        aws->stop(sounds::kBatteriesOn);
    }
}

void Electric::notePfdPower(const Aircraft& aircraft) {
    // A missing screen draws nothing and asks for no check.
    auto note = [&aircraft](int displayId, bool& unpowered, bool& changed) {
        const PanelElement* screen = aircraft.display(displayId);
        const bool now = screen && screen->unpowered;
        changed = now != unpowered;
        unpowered = now;
    };
    note(kPfdLeft, pfd1Unpowered, pfd1UnpoweredChanged);
    note(kPfdRight, pfd2Unpowered, pfd2UnpoweredChanged);
}

void Electric::updateEicasMessages(Aircraft& aircraft) {
    const Adc* adc = aircraft.adc();
    const bool everything = eicasPower.poweredAgain(eicasDau) || !started;
    const bool cautions = everything || (adc && adc->flightPhaseChanged);
    // During take-off and landing the cautions name no unit, and so are removed.
    const bool shown =
        !adc || (adc->flightPhase != kTakeoffPhase && adc->flightPhase != kLandingPhase);
    const uint32_t now = aircraft.simTimeMs;
    auto evaluate = [&](bool trigger, int32_t level, int32_t id, const std::string& text) {
        if (trigger) {
            showEicasMessage(eicasDau, now, level, id, text);
        }
    };
    const std::initializer_list<Generator*> generators = {&generator1, &generator2, &generator3,
                                                          &generator4};
    auto overloaded = [&](const PowerSource& source) {
        return shown && source.current > electric::kOverloadAmps;
    };
    auto unpowered = [&](int bus) {
        return shown && !isPowered(bus);
    };

    evaluate(everything || battery1.overTempChanged || battery2.overTempChanged, kEicasWarning, 0,
             eicasUnitsText("BATT ", {battery1.isOverTemperature(), battery2.isOverTemperature()},
                            " OVTEMP"));

    bool generatorChanged = false;
    bool generatorOffBusChanged = false;
    for (Generator* generator : generators) {
        generatorChanged = generatorChanged || generator->changed;
        generatorOffBusChanged = generatorOffBusChanged || generator->offBusChanged;
        generator->changed = false;
    }
    evaluate(cautions || generatorChanged, kEicasCaution, 1,
             eicasUnitsText("GEN ",
                            {overloaded(generator1), overloaded(generator2), overloaded(generator3),
                             overloaded(generator4)},
                            " OVLD"));
    evaluate(cautions || generatorOffBusChanged, kEicasCaution, 2,
             eicasUnitsText("GEN ",
                            {shown && generator1.offBus, shown && generator2.offBus,
                             shown && generator3.offBus, shown && generator4.offBus},
                            " OFF BUS"));

    const bool apuChanged = apu.changed;
    apu.changed = false;
    evaluate(cautions || apuChanged, kEicasCaution, 3, textWhen(overloaded(apu), "APU GEN OVLD"));
    evaluate(cautions || apu.offBusChanged, kEicasCaution, 4,
             textWhen(shown && apu.offBus, "APU GEN OFF BUS"));

    evaluate(cautions || buses[kDcBus1].poweredChanged || buses[kDcBus2].poweredChanged,
             kEicasCaution, 5,
             eicasUnitsText("DC BUS ", {unpowered(kDcBus1), unpowered(kDcBus2)}, " OFF"));
    evaluate(
        cautions || buses[kEssentialBus1].poweredChanged || buses[kEssentialBus2].poweredChanged,
        kEicasCaution, 6,
        eicasUnitsText("ESS BUS ", {unpowered(kEssentialBus1), unpowered(kEssentialBus2)}, " OFF"));

    const bool shed1Off = !isPowered(kShedBus1);
    const bool shed2Off = !isPowered(kShedBus2);
    shedBus1OffChanged = shed1Off != shedBus1Off;
    shedBus2OffChanged = shed2Off != shedBus2Off;
    shedBus1Off = shed1Off;
    shedBus2Off = shed2Off;
    evaluate(cautions || shedBus1OffChanged || shedBus2OffChanged, kEicasCaution, 7,
             eicasUnitsText("SHED BUS ", {shown && shedBus1Off, shown && shedBus2Off}, " OFF"));

    const bool acOff = !isPowered(kAcBus) && onlineGenerators > 0;
    acBusOffChanged = acOff != acBusOff;
    acBusOff = acOff;
    evaluate(cautions || acBusOffChanged, kEicasCaution, 10,
             textWhen(shown && acBusOff, "115 VAC BUS OFF"));

    evaluate(cautions || battery1.batterySwitchChanged || battery2.batterySwitchChanged,
             kEicasCaution, 8,
             eicasUnitsText("BATT ",
                            {shown && !battery1.batterySwitch, shown && !battery2.batterySwitch},
                            " OFF BUS"));
    evaluate(cautions || backupBattery.batterySwitchChanged, kEicasCaution, 9,
             textWhen(shown && !backupBattery.batterySwitch, "BKUP BATT OFF BUS"));
    evaluate(cautions || pfd1UnpoweredChanged || pfd2UnpoweredChanged, kEicasCaution, 73,
             eicasUnitsText("CHECK PFD ", {shown && pfd1Unpowered, shown && pfd2Unpowered}, ""));
}

void Electric::setBatterySwitch(Aircraft& aircraft, Battery& battery, bool on) {
    battery.batterySwitch = on;
    click(aircraft);
}

void Electric::stepKnob(Aircraft& aircraft, int32_t& knob, int32_t step) {
    knob = std::clamp(knob + step, static_cast<int32_t>(kKnobOff),
                      static_cast<int32_t>(kKnobOverride));
    click(aircraft);
}

void Electric::stepApuKnob(Aircraft& aircraft, int32_t step) {
    apu.setKnob(std::clamp(apu.knob + step, static_cast<int32_t>(Apu::kKnobOff),
                           static_cast<int32_t>(Apu::kKnobStart)),
                aircraft.simTimeMs);
    click(aircraft);
}

bool Electric::takeRequest(Variable variable) const {
    return tavi::takeRequest(variableIds[variable]);
}

void Electric::publish(Variable variable, double value) const {
    panelServices().writeNamedVariable(variableIds[variable], value);
}

void Electric::serveNamedVariables(Aircraft& aircraft) {
    if (!variablesRegistered) {
        for (std::size_t i = 0; i < kVariableCount; ++i) {
            variableIds[i] = panelServices().registerNamedVariable(kElectricVariableNames[i]);
        }
        variablesRegistered = true;
    }
    if (takeRequest(kBatt1Click)) {
        setBatterySwitch(aircraft, battery1, !battery1.batterySwitch);
    }
    publish(kBatt1, battery1.batterySwitch);
    if (takeRequest(kBatt2Click)) {
        setBatterySwitch(aircraft, battery2, !battery2.batterySwitch);
    }
    publish(kBatt2, battery2.batterySwitch);
    if (takeRequest(kBusTiesDec)) {
        stepKnob(aircraft, busTiesKnob, -1);
    }
    if (takeRequest(kBusTiesInc)) {
        stepKnob(aircraft, busTiesKnob, 1);
    }
    publish(kBusTies, busTiesKnob);
    if (takeRequest(kShedBusDec)) {
        stepKnob(aircraft, shedBusKnob, -1);
    }
    if (takeRequest(kShedBusInc)) {
        stepKnob(aircraft, shedBusKnob, 1);
    }
    publish(kShedBus, shedBusKnob);
    if (takeRequest(kApuDec)) {
        stepApuKnob(aircraft, -1);
    }
    if (takeRequest(kApuInc)) {
        stepApuKnob(aircraft, 1);
    }
    publish(kApu, apu.knob);
}

} // namespace tavi
