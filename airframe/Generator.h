#pragma once

#include "airframe/PowerSource.h"

namespace tavi::electric {

// An engine-driven generator: it has voltage while its engine has combustion. Generators 1
// and 3 hang on engine 1, generators 2 and 4 on engine 2; `connected` is its GEN switch.
class Generator : public PowerSource {
public:
    Generator(int32_t engineNumber, int32_t generatorNumber)
        : engineNumber(engineNumber), generatorNumber(generatorNumber) {}

    void update(Aircraft& aircraft) override;

    int32_t engineNumber;
    int32_t generatorNumber;
    // Switched off while it has voltage.
    bool offBus = false;
    bool offBusChanged = false;
};

} // namespace tavi::electric
