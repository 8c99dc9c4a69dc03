#include "airframe/FuelSystem.h"

#include "airframe/Electric.h"
#include "airframe/JetEngine.h"
#include "airframe/SystemStep.h"
#include "avionics/Adc.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <cmath>
#include <string>

namespace tavi {

namespace {

constexpr int kLeftTankToken = 304;
constexpr int kRightTankToken = 303;
constexpr int kWeightPerGallonToken = 306;

constexpr uint32_t kEngine1FuelPumpToggleEvent = 0x10324;
constexpr uint32_t kEngine2FuelPumpToggleEvent = 0x10325;
constexpr uint32_t kSelectorOffEvent = 0x101A4;
constexpr uint32_t kSelectorLeftToRightEvent = 0x101A5;
constexpr uint32_t kSelectorRightToLeftEvent = 0x101A6;

// Pumps A, B, C of each side and the buses that feed them.
constexpr std::array<int, FuelSystem::kPumpsPerSide> kSide1PumpBuses = {
    Electric::kEssentialBus1, Electric::kEssentialBus2, Electric::kDcBus1};
constexpr std::array<int, FuelSystem::kPumpsPerSide> kSide2PumpBuses = {
    Electric::kEssentialBus2, Electric::kEssentialBus1, Electric::kDcBus2};
constexpr float kPumpAmps = 5.0f;
constexpr float kFuelPanelAmps = 5.0f;
constexpr float kCrossfeedValveAmps = 5.0f;

constexpr float kImbalanceSetLb = 800.0f;
constexpr float kImbalanceClearLb = 100.0f;
// Without a running pump a side's feed fails at this contents; with one at the unusable
// gallons.
constexpr float kSuctionFeedMinimumLb = 365.0f;
constexpr float kUnusableGallons = 5.8f;
constexpr float kLowLevelLb = 584.0f;
// A tank that loses this much in one frame was emptied or jumped, not burned.
constexpr float kLargestBurnLb = 10.0f;

constexpr float kStartTemperature = 5.0f;
constexpr float kTemperatureRate = 0.0002f;
constexpr float kSmallestLevel = 0.2f;
constexpr float kLowestTemperature = -50.0f;
constexpr float kHighestTemperature = 60.0f;
constexpr float kLowTemperature = -40.0f;

constexpr uint32_t kBackupAlternationMs = 1000;
constexpr uint32_t kApuShutoffClosingMs = 10000;

// The three pumps of one side.
struct PumpSide {
    // The pump switch is on and the side's tank is in use.
    bool wanted;
    int32_t selector;
    const std::array<int, FuelSystem::kPumpsPerSide>& buses;
    std::array<bool, FuelSystem::kPumpsPerSide>& running;
    bool& selectedDead;
    uint32_t& deadSince;
};

bool anyRunning(const std::array<bool, FuelSystem::kPumpsPerSide>& pumps) {
    return std::find(pumps.begin(), pumps.end(), true) != pumps.end();
}

// The selected pump runs when it has power. When it is wanted and does not run, the other two
// take over in turn, half a second each; and when the one whose turn it is has no power
// either, every pump with power runs.
void runSide(const PumpSide& side, const Electric* electric, uint32_t now) {
    auto powered = [&](int pump) {
        return electric && electric->isPowered(side.buses[static_cast<std::size_t>(pump)]);
    };
    const int selected = std::clamp(side.selector, static_cast<int32_t>(FuelSystem::kPumpA),
                                    static_cast<int32_t>(FuelSystem::kPumpC));
    for (int pump = 0; pump < FuelSystem::kPumpsPerSide; ++pump) {
        side.running[static_cast<std::size_t>(pump)] =
            side.wanted && pump == selected && powered(pump);
    }

    const bool dead = side.wanted && !side.running[static_cast<std::size_t>(selected)];
    if (dead && !side.selectedDead) {
        side.deadSince = now;
    }
    side.selectedDead = dead;
    if (!dead) {
        return;
    }
    const uint32_t phase = (now - side.deadSince) % kBackupAlternationMs;
    const int backup =
        (selected + (phase < kBackupAlternationMs / 2 ? 1 : 2)) % FuelSystem::kPumpsPerSide;
    side.running[static_cast<std::size_t>(backup)] = powered(backup);
    if (!anyRunning(side.running)) {
        for (int pump = 0; pump < FuelSystem::kPumpsPerSide; ++pump) {
            side.running[static_cast<std::size_t>(pump)] = powered(pump);
        }
    }
}

// The message text naming the affected sides, or nothing when no side is affected.
std::string sidesText(const char* prefix, bool side1, bool side2, const char* suffix) {
    const std::string list = eicasUnitList({side1, side2});
    return list.empty() ? std::string() : prefix + list + suffix;
}

// The simulator's selector position; a value that is no small whole number reads as 0, a
// position the system does not know.
int32_t selectorPosition(double value) {
    return value >= 0.0 && value < 256.0 ? static_cast<int32_t>(value) : 0;
}

} // namespace

void FuelSystem::loadSettings(Aircraft& aircraft) {
    startupMode =
        platform::profile::parseInt(aircraft.readIniString("Startup", "startupMode", "0"));
}

void FuelSystem::addElectricLoad(Aircraft&, BusLoads& loads) {
    for (int pump = 0; pump < kPumpsPerSide; ++pump) {
        const auto index = static_cast<std::size_t>(pump);
        if (pumpRunning1[index]) {
            loads[kSide1PumpBuses[index]] += kPumpAmps;
        }
        if (pumpRunning2[index]) {
            loads[kSide2PumpBuses[index]] += kPumpAmps;
        }
    }
    loads[Electric::kEssentialBus1] += kFuelPanelAmps;
    loads[Electric::kEssentialBus2] += kFuelPanelAmps;
    if (tankSelector != kCrossfeedOff) {
        loads[Electric::kCentralBus] += kCrossfeedValveAmps;
    }
}

void FuelSystem::update(Aircraft& aircraft) {
    electric = aircraft.electric();
    eicasDau = aircraft.eicasDau();
    readTanks(aircraft);
    updateImbalance();
    updatePumpsAndCrossfeed(aircraft);
    updateTemperature(aircraft);
    countFuelUsed();
    feedEngines(aircraft);
    updateEicasMessages(aircraft);
    if (!started) {
        applyStartupState();
    }
    if (!started && aircraft.simTimeMs != 0) {
        started = true;
    }
}

void FuelSystem::readTanks(const Aircraft& aircraft) {
    fuelWeightPerGallon = static_cast<float>(aircraft.tokens.value(kWeightPerGallonToken));
    previousLeftFuel = leftFuel;
    previousRightFuel = rightFuel;
    leftFuel = static_cast<float>(aircraft.tokens.value(kLeftTankToken)) * fuelWeightPerGallon;
    rightFuel = static_cast<float>(aircraft.tokens.value(kRightTankToken)) * fuelWeightPerGallon;
    leftGallons = leftQuantityVar.read();
    rightGallons = rightQuantityVar.read();
}

// The imbalance latches at 800 lb and releases below 100 lb.
void FuelSystem::updateImbalance() {
    const float difference = std::abs(leftFuel - rightFuel);
    const bool now = imbalance ? difference >= kImbalanceClearLb : difference >= kImbalanceSetLb;
    latch(imbalance, imbalanceChanged, now);
}

void FuelSystem::updatePumpsAndCrossfeed(const Aircraft& aircraft) {
    pump1Switch = pump1SwitchVar.read() != 0.0;
    pump2Switch = pump2SwitchVar.read() != 0.0;
    tankSelector = selectorPosition(tankSelectorVar.read());
    unlimitedFuel = unlimitedFuelVar.read() != 0.0;
    leftLevel = static_cast<float>(leftLevelVar.read() / 100.0);

    driveCrossfeed();
    runPumps(aircraft.simTimeMs);
    minimumFeedLeft =
        anyRunning(pumpRunning1) ? kUnusableGallons * fuelWeightPerGallon : kSuctionFeedMinimumLb;
    minimumFeedRight =
        anyRunning(pumpRunning2) ? kUnusableGallons * fuelWeightPerGallon : kSuctionFeedMinimumLb;
    updatePressures(aircraft);
    latch(lowLevel1, lowLevel1Changed, leftFuel < kLowLevelLb);
    latch(lowLevel2, lowLevel2Changed, rightFuel < kLowLevelLb);
}

// The tank selector follows the crossfeed knob while essential bus 2 has power, and is held at
// Off without it.
void FuelSystem::driveCrossfeed() {
    const bool powered = essentialBus2Powered();
    const int32_t wanted = powered ? crossfeedKnob : kCrossfeedOff;
    selectorCommanded = tankSelector != wanted;
    if (selectorCommanded) {
        applyTankSelector(wanted);
    }
    const bool fail = powered ? tankSelector != crossfeedKnob
                              : crossfeedKnob != kCrossfeedOff || tankSelector != kCrossfeedOff;
    latch(crossfeedFail, crossfeedFailChanged, fail);
}

void FuelSystem::runPumps(uint32_t now) {
    const int32_t selector = feedSelector();
    runSide({pump1Switch && selector != kRightToLeft, pumpSelector1, kSide1PumpBuses, pumpRunning1,
             selectedPumpDead1, pumpDeadSince1},
            electric, now);
    runSide({pump2Switch && selector != kLeftToRight, pumpSelector2, kSide2PumpBuses, pumpRunning2,
             selectedPumpDead2, pumpDeadSince2},
            electric, now);
}

void FuelSystem::updatePressures(const Aircraft& aircraft) {
    const bool leftFeeds = pump1Switch && anyRunning(pumpRunning1) && leftFuel > minimumFeedLeft;
    const bool rightFeeds = pump2Switch && anyRunning(pumpRunning2) && rightFuel > minimumFeedRight;
    const int32_t selector = feedSelector();
    const bool side1Fed = selector == kRightToLeft ? rightFeeds : leftFeeds;
    const bool side2Fed = selector == kLeftToRight ? leftFeeds : rightFeeds;
    latch(lowPressure1, lowPressure1Changed, !side1Fed);
    latch(lowPressure2, lowPressure2Changed, !side2Fed);

    const Electric::Apu* apu = electric ? &electric->apu : nullptr;
    latch(apuLowPressure, apuLowPressureChanged,
          lowPressure2 && apu && apu->state == Electric::Apu::kRunning);
    const bool closing = apu && apu->knob == Electric::Apu::kKnobOff &&
                         aircraft.simTimeMs - apu->knobChangedTime <= kApuShutoffClosingMs;
    latch(apuShutoffClosed, apuShutoffClosedChanged, apu && (!apu->fuelShutoffOpen || closing));
}

// The tanks warm or cool toward the total air temperature, a fuller tank more slowly.
void FuelSystem::updateTemperature(const Aircraft& aircraft) {
    const bool wasLow = fuelTemperature <= kLowTemperature;
    if (!started) {
        fuelTemperature = kStartTemperature;
        previousLeftFuel = leftFuel;
        previousRightFuel = rightFuel;
    } else {
        const Adc* adc = aircraft.adc();
        const float outside = adc ? adc->totalAirTemperature : fuelTemperature;
        const float level = std::max(leftLevel, kSmallestLevel);
        fuelTemperature +=
            (outside - fuelTemperature) * frameSeconds(aircraft) * kTemperatureRate / level;
        fuelTemperature = std::clamp(fuelTemperature, kLowestTemperature, kHighestTemperature);
    }
    lowTemperatureChanged = wasLow != (fuelTemperature <= kLowTemperature);
}

// Refuelling or a jump of the tank contents counts as no burn.
void FuelSystem::countFuelUsed() {
    const float left = previousLeftFuel - leftFuel;
    const float right = previousRightFuel - rightFuel;
    const bool burned =
        left >= 0.0f && right >= 0.0f && left < kLargestBurnLb && right < kLargestBurnLb;
    fuelBurnedThisFrame = burned ? left + right : 0.0f;
    fuelUsed1 += fuelBurnedThisFrame;
    fuelUsed2 += fuelBurnedThisFrame;
}

// Each engine draws from the tank the selector gives it; a burning engine whose tank is at its
// minimum feed has its fuel cut.
void FuelSystem::feedEngines(const Aircraft& aircraft) {
    if (unlimitedFuel) {
        fuelAvailable1 = true;
        fuelAvailable2 = true;
    } else {
        const bool leftFeeds = leftFuel > minimumFeedLeft;
        const bool rightFeeds = rightFuel > minimumFeedRight;
        const int32_t selector = feedSelector();
        fuelAvailable1 = selector == kRightToLeft ? rightFeeds : leftFeeds;
        fuelAvailable2 = selector == kLeftToRight ? leftFeeds : rightFeeds;
    }
    const JetEngine* engine1 = aircraft.engine1();
    const JetEngine* engine2 = aircraft.engine2();
    if (engine1 && engine1->combustion && !fuelAvailable1) {
        engine1->cutFuel();
    }
    if (engine2 && engine2->combustion && !fuelAvailable2) {
        engine2->cutFuel();
    }
}

void FuelSystem::updateEicasMessages(const Aircraft& aircraft) {
    const Adc* adc = aircraft.adc();
    const bool all =
        eicasPower.poweredAgain(eicasDau) || !started || (adc && adc->flightPhaseChanged);
    const bool shown =
        !adc || adc->flightPhase == kAirbornePhase || adc->flightPhase == kOnGroundPhase;
    const uint32_t now = aircraft.simTimeMs;
    auto evaluate = [&](bool trigger, int32_t level, int32_t id, const std::string& text) {
        if (all || trigger) {
            showEicasMessage(eicasDau, now, level, id, shown ? text : std::string());
        }
    };

    evaluate(lowLevel1Changed || lowLevel2Changed, kEicasWarning, 11,
             sidesText("FUEL ", lowLevel1, lowLevel2, " LO LEVEL"));
    evaluate(lowPressure1Changed || lowPressure2Changed, kEicasCaution, 12,
             sidesText("E", lowPressure1, lowPressure2, " FUEL LO PRESS"));
    evaluate(lowTemperatureChanged, kEicasCaution, 13,
             textWhen(fuelTemperature <= kLowTemperature, "FUEL TANK LO TEMP"));
    evaluate(imbalanceChanged, kEicasCaution, 15, textWhen(imbalance, "FUEL IMBALANCE"));
    evaluate(apuLowPressureChanged, kEicasCaution, 16,
             textWhen(apuLowPressure, "APU FUEL LO PRESS"));
    evaluate(apuShutoffClosedChanged, kEicasAdvisory, 18,
             textWhen(apuShutoffClosed, "APU FUEL SOV CLSD"));
    evaluate(selectorCommanded, kEicasAdvisory, 19,
             textWhen(tankSelector != kCrossfeedOff && essentialBus2Powered(), "FUEL XFEED OPEN"));
    evaluate(crossfeedFailChanged, kEicasCaution, 14, textWhen(crossfeedFail, "FUEL XFEED FAIL"));
}

void FuelSystem::applyStartupState() {
    const bool pumpsOn = startupMode != 0;
    setFuelPump1(pumpsOn);
    setFuelPump2(pumpsOn);
    if (!pumpsOn) {
        pumpSelector1 = kPumpA;
        pumpSelector2 = kPumpA;
    }
}

// The switch is noted as commanded, so that a second call before the simulator is read again
// does not toggle it back.
void FuelSystem::setFuelPump1(bool on) {
    if (pump1Switch != on) {
        panelServices().sendKeyEvent(kEngine1FuelPumpToggleEvent, 0);
        pump1Switch = on;
    }
}

void FuelSystem::setFuelPump2(bool on) {
    if (pump2Switch != on) {
        panelServices().sendKeyEvent(kEngine2FuelPumpToggleEvent, 0);
        pump2Switch = on;
    }
}

void FuelSystem::crossfeedKnobUp() {
    if (crossfeedKnob == kRightToLeft) {
        crossfeedKnob = kCrossfeedOff;
    } else {
        crossfeedKnob = kLeftToRight;
    }
}

void FuelSystem::crossfeedKnobDown() {
    if (crossfeedKnob == kLeftToRight) {
        crossfeedKnob = kCrossfeedOff;
    } else {
        crossfeedKnob = kRightToLeft;
    }
}

void FuelSystem::applyTankSelector(int32_t position) {
    platform::PanelServices& panel = panelServices();
    if (!essentialBus2Powered()) {
        panel.sendKeyEvent(kSelectorOffEvent, 0);
        return;
    }
    switch (position) {
    case kLeftToRight:
        panel.sendKeyEvent(kSelectorLeftToRightEvent, 0);
        break;
    case kRightToLeft:
        panel.sendKeyEvent(kSelectorRightToLeftEvent, 0);
        break;
    default:
        panel.sendKeyEvent(kSelectorOffEvent, 0);
        break;
    }
    tankSelector = position;
}

bool FuelSystem::essentialBus2Powered() const {
    return electric && electric->isPowered(Electric::kEssentialBus2);
}

// A selector position outside the three known ones (the simulator's, for the frame in which it
// is driven back to Off) counts as Off: each tank feeds its own side.
int32_t FuelSystem::feedSelector() const {
    return tankSelector == kLeftToRight || tankSelector == kRightToLeft ? tankSelector
                                                                        : kCrossfeedOff;
}

} // namespace tavi
