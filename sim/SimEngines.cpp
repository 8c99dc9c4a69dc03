#include "sim/SimEngines.h"

#include "sim/Geodesy.h"
#include "sim/SimVariables.h"

#include <algorithm>
#include <cmath>
#include <iterator>

namespace tavi::sim {

namespace {

constexpr char kN1[] = "TURB ENG N1";
constexpr char kN2[] = "TURB ENG N2";
constexpr char kCorrectedN1[] = "TURB ENG CORRECTED N1";
constexpr char kCorrectedN2[] = "TURB ENG CORRECTED N2";
constexpr char kItt[] = "TURB ENG ITT";
constexpr char kFuelFlow[] = "TURB ENG FUEL FLOW PPH";
constexpr char kOilPressure[] = "ENG OIL PRESSURE";
constexpr char kOilTemperature[] = "ENG OIL TEMPERATURE";
constexpr char kOilQuantity[] = "ENG OIL QUANTITY";
constexpr char kVibration[] = "TURB ENG VIBRATION";
constexpr char kCombustion[] = "GENERAL ENG COMBUSTION";
constexpr char kFailed[] = "ENG FAILED";
constexpr char kLeftQuantity[] = "FUEL TANK LEFT MAIN QUANTITY";
constexpr char kRightQuantity[] = "FUEL TANK RIGHT MAIN QUANTITY";
constexpr char kLeftLevel[] = "FUEL TANK LEFT MAIN LEVEL";
constexpr char kRightLevel[] = "FUEL TANK RIGHT MAIN LEVEL";
constexpr char kUnlimitedFuel[] = "UNLIMITED FUEL";
constexpr char kTankSelector[] = "FUEL TANK SELECTOR";
constexpr int kLeftTankToken = 304;
constexpr int kRightTankToken = 303;
constexpr int kPoundsPerGallonToken = 306;

constexpr double kStaticThrustNewtons = 82000.0;
constexpr double kThrustExponent = 2.2;
constexpr double kRamDrop = 0.3;
constexpr double kReverseFraction = 0.4;
constexpr double kSpoolUpBase = 1.2;
constexpr double kSpoolUpLowSpeed = 2.3;
constexpr double kSpoolDown = 2.5;
constexpr double kStarterTimeConstant = 4.0;
// With the starter out and no fire, N2 runs down with this time constant.
constexpr double kRunDown = 8.0;
constexpr double kStarterReleaseN2 = 50.0;
constexpr double kIdleIttCelsius = 450.0;
constexpr double kFullIttCelsius = 850.0;
constexpr double kIdleFuelFlow = 700.0;
constexpr double kFullFuelFlow = 6500.0;
// The simulator's oil temperature of a running turbine; gauges show 1.6 times it (88 degC), in
// the middle of the normal range.
constexpr double kRunningOilTemperature = 55.0;
constexpr double kOilWarmUp = 120.0;

// The simulator's lever law: lever index by lever position at sea level and at the highest
// inverse pressure ratio, and corrected N1 by lever index at Mach 0 and Mach 0.9.
struct LeverRow {
    double leverIndex;
    double atMach0;
    double atMach09;
};
constexpr LeverRow kLeverRows[] = {
    {0.0, 0.0, 0.0},       {10.0, 1.0, 1.0},      {20.0, 2.4, 2.4},    {30.0, 4.7, 4.7},
    {40.0, 8.0, 8.0},      {50.0, 11.0, 11.0},    {60.0, 14.0, 13.5},  {65.0, 23.5, 23.2},
    {70.0, 33.0, 33.0},    {75.0, 43.0, 43.0},    {80.0, 51.0, 51.0},  {82.5, 53.0, 53.0},
    {85.0, 58.0, 58.0},    {90.0, 73.0, 73.0},    {100.0, 95.0, 95.0}, {102.5, 100.0, 100.0},
    {110.0, 110.0, 110.0}, {115.0, 115.0, 115.0},
};
constexpr double kIdleIndexAtSeaLevel = 65.5;
constexpr double kIdleIndexAtAltitude = 85.5;
constexpr double kFullIndex = 115.0;
constexpr double kMaxInversePressureRatio = 22.57;
constexpr double kMaxTableMach = 0.9;
constexpr double kReverseLeverFactor = 1.6;

double correctedN1ForIndex(double index, double mach) {
    const double machFraction = std::clamp(mach, 0.0, kMaxTableMach) / kMaxTableMach;
    const std::size_t last = std::size(kLeverRows) - 1;
    std::size_t row = 0;
    while (row + 1 < last && index > kLeverRows[row + 1].leverIndex) {
        ++row;
    }
    auto n1At = [machFraction](const LeverRow& r) {
        return r.atMach0 + machFraction * (r.atMach09 - r.atMach0);
    };
    const LeverRow& low = kLeverRows[row];
    const LeverRow& high = kLeverRows[row + 1];
    const double fraction = (index - low.leverIndex) / (high.leverIndex - low.leverIndex);
    return n1At(low) + fraction * (n1At(high) - n1At(low));
}

double temperatureRatio(double celsius) {
    return (celsius + 273.15) / 288.15;
}

double firstOrder(double value, double target, double timeConstant, double seconds) {
    return target + (value - target) * std::exp(-seconds / timeConstant);
}

// The fraction of the way from idle to full N1.
double powerFraction(double n1, double idleN1) {
    return std::clamp((n1 - idleN1) / (100.0 - idleN1), 0.0, 1.0);
}

} // namespace

double n1ForLever(double lever, double pressureRatio, double totalTemperatureCelsius, double mach) {
    const double forward = std::min(lever < 0.0 ? -lever * kReverseLeverFactor : lever, 1.0);
    const double inverse =
        std::clamp(1.0 / std::max(pressureRatio, 1e-3), 1.0, kMaxInversePressureRatio);
    const double altitudeFraction = 0.65 * (inverse - 1.0) / (kMaxInversePressureRatio - 1.0);
    const double idleIndex =
        kIdleIndexAtSeaLevel + altitudeFraction * (kIdleIndexAtAltitude - kIdleIndexAtSeaLevel);
    const double index = std::min(idleIndex + forward * (kFullIndex - idleIndex), kFullIndex);
    return correctedN1ForIndex(index, mach) * std::sqrt(temperatureRatio(totalTemperatureCelsius));
}

SimEngines::SimEngines(Panel& panel) : panel(panel) {
    panel.setToken(kPoundsPerGallonToken, kDefaultPoundsPerGallon);
    for (int engine = 1; engine <= kCount; ++engine) {
        panel.setVariable(kOilQuantity, engine, 100.0);
    }
}

void SimEngines::setRunning() {
    for (int index = 0; index < kCount; ++index) {
        const int engine = index + 1;
        panel.setVariable(kMixture, engine, 1.0);
        panel.setVariable(kStarter, engine, 0.0);
        panel.setVariable(kFuelPumpSwitch, engine, 1.0);
        Engine& state = engines[static_cast<std::size_t>(index)];
        state.combustion = true;
        state.n1 = n1ForLever(0.0, 1.0, 15.0, 0.0);
        state.n2 = kIdleN2;
        state.itt = kIdleIttCelsius;
        state.oilTemperature = kRunningOilTemperature;
        publish(index, {});
    }
}

void SimEngines::setFuel(double gallonsPerTank) {
    setTankGallons(1, gallonsPerTank);
    setTankGallons(2, gallonsPerTank);
}

double SimEngines::tankGallons(int tank) const {
    return panel.variable(tank == 1 ? kLeftQuantity : kRightQuantity, 0);
}

void SimEngines::setTankGallons(int tank, double gallons) {
    const double quantity = std::max(gallons, 0.0);
    panel.setVariable(tank == 1 ? kLeftQuantity : kRightQuantity, 0, quantity);
    panel.setVariable(tank == 1 ? kLeftLevel : kRightLevel, 0,
                      100.0 * quantity / kTankCapacityGallons);
    panel.setToken(tank == 1 ? kLeftTankToken : kRightTankToken, quantity);
}

double SimEngines::fuelWeightKg() const {
    const double poundsPerGallon = panel.token(kPoundsPerGallonToken);
    return (tankGallons(1) + tankGallons(2)) * poundsPerGallon * kKgPerPound;
}

void SimEngines::advance(double seconds, const EngineAir& air) {
    for (int index = 0; index < kCount; ++index) {
        advanceEngine(index, seconds, air);
    }
    burnFuel(seconds);
    for (int index = 0; index < kCount; ++index) {
        publish(index, air);
    }
}

bool SimEngines::hasFuel(int index) const {
    if (panel.variable(kUnlimitedFuel, 0) != 0.0) {
        return true;
    }
    const double selector = panel.variable(kTankSelector, 1);
    const int tank = selector == kSelectorLeft ? 1 : selector == kSelectorRight ? 2 : index + 1;
    return tankGallons(tank) > 0.0;
}

void SimEngines::advanceEngine(int index, double seconds, const EngineAir& air) {
    const int number = index + 1;
    Engine& engine = engines[static_cast<std::size_t>(index)];
    const bool fuelOpen =
        !engine.failed && panel.variable(kMixture, number) >= 0.5 && hasFuel(index);
    const bool starter = !engine.failed && panel.variable(kStarter, number) != 0.0;
    if (!fuelOpen) {
        engine.combustion = false;
    } else if (!engine.combustion && engine.n2 >= kLightOffN2) {
        engine.combustion = true;
    }
    if (engine.combustion) {
        const double lever = panel.variable(kThrottle, number);
        spool(engine, seconds,
              n1ForLever(lever, air.pressureRatio, air.totalTemperatureCelsius, air.mach));
        if (starter && engine.n2 >= kStarterReleaseN2) {
            // The starter drops out once the engine runs on its own.
            panel.setVariable(kStarter, number, 0.0);
        }
    } else {
        const double targetN2 = starter ? kStarterN2 : 0.0;
        engine.n2 =
            firstOrder(engine.n2, targetN2, starter ? kStarterTimeConstant : kRunDown, seconds);
        engine.n1 = 0.35 * engine.n2;
        engine.itt = firstOrder(engine.itt, air.totalTemperatureCelsius, kRunDown, seconds);
    }
    const double oilTarget =
        engine.combustion ? kRunningOilTemperature : air.totalTemperatureCelsius;
    engine.oilTemperature = firstOrder(engine.oilTemperature, oilTarget, kOilWarmUp, seconds);
}

void SimEngines::spool(Engine& engine, double seconds, double targetN1) {
    const double timeConstant = targetN1 > engine.n1
                                    ? kSpoolUpBase + kSpoolUpLowSpeed * (1.0 - engine.n1 / 100.0)
                                    : kSpoolDown;
    engine.n1 = firstOrder(engine.n1, targetN1, timeConstant, seconds);
    const double idleN1 = n1ForLever(0.0, 1.0, 15.0, 0.0);
    const double fraction = powerFraction(engine.n1, idleN1);
    // Below idle (light-off) N2 accelerates with its own lag towards idle.
    const double targetN2 = kIdleN2 + fraction * (100.0 - kIdleN2) * 0.75;
    engine.n2 = engine.n2 < kIdleN2 ? firstOrder(engine.n2, targetN2, 3.0, seconds) : targetN2;
    const double ittTarget = kIdleIttCelsius + fraction * (kFullIttCelsius - kIdleIttCelsius);
    engine.itt = firstOrder(engine.itt, ittTarget, 1.5, seconds);
}

void SimEngines::burnFuel(double seconds) {
    const double poundsPerGallon = panel.token(kPoundsPerGallonToken);
    if (panel.variable(kUnlimitedFuel, 0) != 0.0 || poundsPerGallon <= 0.0) {
        return;
    }
    const double selector = panel.variable(kTankSelector, 1);
    std::array<double, kCount> burnt{};
    for (int index = 0; index < kCount; ++index) {
        const double gallons = engines[static_cast<std::size_t>(index)].fuelFlowPph * seconds /
                               3600.0 / poundsPerGallon;
        const int tank = selector == kSelectorLeft ? 1 : selector == kSelectorRight ? 2 : index + 1;
        burnt[static_cast<std::size_t>(tank - 1)] += gallons;
    }
    for (int tank = 1; tank <= kCount; ++tank) {
        if (burnt[static_cast<std::size_t>(tank - 1)] > 0.0) {
            setTankGallons(tank, tankGallons(tank) - burnt[static_cast<std::size_t>(tank - 1)]);
        }
    }
}

void SimEngines::publish(int index, const EngineAir& air) {
    const int number = index + 1;
    Engine& engine = engines[static_cast<std::size_t>(index)];
    const double lever = panel.variable(kThrottle, number);
    const double correction = 1.0 / std::sqrt(temperatureRatio(air.totalTemperatureCelsius));
    const double correctedN1 = engine.n1 * correction;
    const double idleN1 = n1ForLever(0.0, 1.0, 15.0, 0.0);
    const double fraction = powerFraction(engine.n1, idleN1);
    engine.fuelFlowPph =
        engine.combustion
            ? (kIdleFuelFlow + fraction * fraction * (kFullFuelFlow - kIdleFuelFlow)) *
                  std::pow(air.pressureRatio, 0.6)
            : 0.0;
    const double forward = forwardThrust(engine.n1, air);
    engine.thrust = engine.combustion ? (lever < 0.0 ? -kReverseFraction : 1.0) * forward : 0.0;

    panel.setVariable(kN1, number, engine.n1);
    panel.setVariable(kN2, number, engine.n2);
    panel.setVariable(kCorrectedN1, number, correctedN1);
    panel.setVariable(kCorrectedN2, number, engine.n2 * correction);
    panel.setVariable(kItt, number, engine.itt);
    panel.setVariable(kFuelFlow, number, engine.fuelFlowPph);
    panel.setVariable(kOilPressure, number, engine.n2 > 5.0 ? 10.0 + 0.6 * engine.n2 : 0.0);
    panel.setVariable(kOilTemperature, number, engine.oilTemperature);
    panel.setVariable(kVibration, number, engine.combustion ? 0.4 + fraction : 0.0);
    panel.setVariable(kCombustion, number, engine.combustion ? 1.0 : 0.0);
    panel.setVariable(kFailed, number, engine.failed ? 1.0 : 0.0);
}

double SimEngines::forwardThrust(double n1, const EngineAir& air) {
    const double correctedN1 = n1 / std::sqrt(temperatureRatio(air.totalTemperatureCelsius));
    return kStaticThrustNewtons * air.pressureRatio *
           std::pow(std::clamp(correctedN1 / 100.0, 0.0, 1.2), kThrustExponent) *
           (1.0 - kRamDrop * air.mach);
}

void SimEngines::setSteadyThrust(double newtons, const EngineAir& air) {
    double low = 0.0;
    double high = 1.0;
    auto n1At = [&air](double lever) {
        return n1ForLever(lever, air.pressureRatio, air.totalTemperatureCelsius, air.mach);
    };
    for (int i = 0; i < 40; ++i) {
        const double lever = 0.5 * (low + high);
        (kCount * forwardThrust(n1At(lever), air) < newtons ? low : high) = lever;
    }
    const double lever = 0.5 * (low + high);
    for (int index = 0; index < kCount; ++index) {
        Engine& engine = engines[static_cast<std::size_t>(index)];
        if (!engine.combustion) {
            continue;
        }
        panel.setVariable(kThrottle, index + 1, lever);
        engine.n1 = n1At(lever);
        spool(engine, 0.0, engine.n1);
        engine.itt = kIdleIttCelsius +
                     powerFraction(engine.n1, n1At(0.0)) * (kFullIttCelsius - kIdleIttCelsius);
        publish(index, air);
    }
}

void SimEngines::fail(int engine) {
    if (engine < 1 || engine > kCount) {
        return;
    }
    Engine& failing = engines[static_cast<std::size_t>(engine - 1)];
    failing.failed = true;
    failing.combustion = false;
    failing.thrust = 0.0;
    panel.setVariable(kFailed, engine, 1.0);
}

double SimEngines::thrust() const {
    double total = 0.0;
    for (const Engine& engine : engines) {
        total += engine.thrust;
    }
    return total;
}

} // namespace tavi::sim
