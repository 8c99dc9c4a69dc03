#pragma once

#include "core/System.h"

namespace tavi {

// The aircraft's lights.
class Lights : public System {
public:
    void update(Aircraft&) override {}
};

} // namespace tavi
