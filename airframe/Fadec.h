#pragma once

#include "core/System.h"

#include <array>

namespace tavi {

// The engines' FADEC and thrust ratings.
class Fadec : public System {
public:
    void update(Aircraft&) override {}

    // Degrees of lever travel of thrust levers 1 and 2: 0 full aft, 22..28 idle, 72..78 take-off.
    std::array<float, 2> leverAngle{28.0f, 28.0f};
};

} // namespace tavi
