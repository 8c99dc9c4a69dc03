#pragma once

#include "airframe/PowerSource.h"

namespace tavi::electric {

// A battery: its charge gives its voltage, charging warms it. Its `connected` flag says whether
// the network uses it as a source this frame; its cockpit switch is `batterySwitch`.
class Battery : public PowerSource {
public:
    // Degrees Celsius from which a battery is over-temperature.
    static constexpr int kOverTemperature = 70;

    explicit Battery(float capacity);

    void update(Aircraft& aircraft) override;
    // [Electric] infiniteBattery: the charge never changes.
    void loadSettings(Aircraft& aircraft) override;

    bool isOverTemperature() const;

    // Ampere-hours, in double: a frame takes millionths of an ampere-hour, which a float near
    // full charge would round to a whole step or lose.
    double charge;
    float capacity;
    float temperature = 20.0f;
    bool batterySwitch = true;
    bool initialised = false;
    bool infinite = false;
    // The temperature crossed the over-temperature limit in the last update.
    bool overTempChanged = false;
    bool batterySwitchChanged = false;
    bool previousBatterySwitch = false;

private:
    void discharge(float seconds);
    void followTemperature(const Aircraft& aircraft, float seconds);
    void latchSwitch();
};

} // namespace tavi::electric
