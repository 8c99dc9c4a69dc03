#pragma once

#include "core/System.h"

namespace tavi {

// The cabin pressurisation: the state the other systems read of it.
class Pressure : public System {
public:
    void update(Aircraft&) override {}

    // The cabin is above 9900 ft.
    bool cabinAltitudeWarning = false;
    // Set by the master WARNING button.
    bool cabinAltitudeAcknowledged = false;
};

} // namespace tavi
