#pragma once

#include "core/System.h"
#include "fms/LnavState.h"

#include <optional>

namespace tavi {

// The flight management system: the state the other systems read of it.
class Fms : public System {
public:
    void update(Aircraft&) override {}

    // The LNAV output that the flight director steers by; null while the FMS keeps none.
    virtual LnavState* lnavState() { return nullptr; }
    // The length in nautical miles of the active flight plan's active leg; empty while the plan
    // has no leg at its active leg index.
    virtual std::optional<double> activeLegDistance() const { return std::nullopt; }
    // The TO/GA button: in a go-around the missed-approach legs become the active route.
    virtual void activateMissedApproach() {}

    // The aircraft is in the air.
    bool airborne = false;
};

} // namespace tavi
