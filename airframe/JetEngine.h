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

    int32_t engineNumber;
    // The simulator's combustion and generator-active states.
    bool combustion = false;
    bool generatorActive = false;
};

} // namespace tavi
