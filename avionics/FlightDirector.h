#pragma once

#include "core/System.h"

namespace tavi {

// The flight director: what the other systems use of it.
class FlightDirector : public System {
public:
    void update(Aircraft&) override {}

    // The TO/GA button.
    void pressToGa() {}
};

} // namespace tavi
