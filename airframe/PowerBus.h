#pragma once

#include <cstdint>

namespace tavi::electric {

// One electrical bus, named by its number.
struct PowerBus {
    // Notes whether the power changed since the last latch.
    void latchPowered() {
        poweredChanged = powered != wasPowered;
        wasPowered = powered;
    }

    int32_t number = 0;
    // Amperes collected this frame.
    float load = 0.0f;
    bool powered = false;
    bool wasPowered = false;
    bool poweredChanged = false;
};

} // namespace tavi::electric
