#include "airframe/Battery.h"

#include "avionics/Adc.h"
#include "core/Aircraft.h"
#include "platform/profile/Profile.h"

#include <algorithm>
#include <cmath>

namespace tavi::electric {

namespace {

constexpr float kEmptyVolts = 22.4f;
// The voltage above kEmptyVolts grows as this base raised to the state of charge: 28.0 V full,
// 23.4 V empty.
constexpr float kVoltageBase = 5.6f;
constexpr double kSecondsPerHour = 3600.0;
// Degrees per second towards the target temperature.
constexpr float kTemperatureRate = 1.0f / 6.0f;
constexpr float kMinTemperature = -20.0f;
constexpr float kMaxTemperature = 150.0f;

} // namespace

Battery::Battery(float capacity) : charge(capacity), capacity(capacity) {
    setSwitch(true);
    voltage = kEmptyVolts + kVoltageBase;
}

void Battery::loadSettings(Aircraft& aircraft) {
    infinite = platform::profile::parseInt(
                   aircraft.readIniString("Electric", "infiniteBattery", "0")) != 0;
}

bool Battery::isOverTemperature() const {
    return static_cast<int>(temperature) >= kOverTemperature;
}

void Battery::update(Aircraft& aircraft) {
    if (!initialised) {
        initialised = true;
        latchSwitch();
        return;
    }
    const float seconds = frameSeconds(aircraft);
    if (batterySwitch && !infinite) {
        discharge(seconds);
    }
    followTemperature(aircraft, seconds);
    latchSwitch();
}

void Battery::discharge(float seconds) {
    charge =
        std::clamp(charge - double{seconds} * current / kSecondsPerHour, 0.0, double{capacity});
    voltage =
        kEmptyVolts + std::exp(std::log(kVoltageBase) * static_cast<float>(charge / capacity));
}

void Battery::followTemperature(const Aircraft& aircraft, float seconds) {
    const Adc* adc = aircraft.adc();
    const float heat = current < 0.0f ? std::fabs(0.01f * current) : 0.0f;
    const float target = (adc ? adc->totalAirTemperature : 0.0f) + 10.0f + 40.0f * heat;
    const bool wasOver = isOverTemperature();
    temperature =
        std::clamp(temperature + std::copysign(seconds * kTemperatureRate, target - temperature),
                   kMinTemperature, kMaxTemperature);
    overTempChanged = isOverTemperature() != wasOver;
}

void Battery::latchSwitch() {
    batterySwitchChanged = batterySwitch != previousBatterySwitch;
    previousBatterySwitch = batterySwitch;
}

} // namespace tavi::electric
