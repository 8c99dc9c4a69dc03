#pragma once

#include "core/System.h"

#include <cstdint>

namespace tavi {

// One engine with its cockpit controls: the state the other systems read of it.
class JetEngine : public System {
public:
    explicit JetEngine(int32_t engineNumber) : engineNumber(engineNumber) {}

    void update(Aircraft&) override {}

    // Sends the simulator's generator-toggle event of this engine.
    void toggleGenerator() const;
    // Sends the simulator's fuel-lever cut-off event of this engine.
    void cutFuel() const;
    // Sends the simulator's engine anti-ice event of this engine.
    void setAntiIce(bool on) const;

    int32_t engineNumber;
    // N1 and N2 as shown, percent of full speed.
    float n1Percent = 0.0f;
    float n2Percent = 0.0f;
    // The simulator's throttle lever as a fraction, 1 full forward, negative in reverse.
    float throttleLever = 0.0f;
    // The simulator's starter, combustion, generator-active and engine anti-ice states.
    bool starterEngaged = false;
    bool combustion = false;
    bool generatorActive = false;
    bool antiIceOn = false;
    // The start sequence runs.
    bool startActive = false;
};

} // namespace tavi
