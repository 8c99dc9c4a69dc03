#pragma once

#include "airframe/PowerSource.h"

namespace tavi::electric {

// The ground power unit. It becomes available 60 s after the aircraft is parked with its
// engines off and stays available for 20 s once that ends; its `connected` flag is the GPU
// button.
class Gpu : public PowerSource {
public:
    void update(Aircraft& aircraft) override;

    bool available = false;
    bool wasAvailable = false;
    // The conditions for ground power held at the previous update.
    bool readyConditions = false;
    uint32_t readySince = kTimeNotYet;
    uint32_t notReadySince = kTimeNotYet;
};

} // namespace tavi::electric
