#pragma once

#include "core/System.h"

namespace tavi {

// The engines' FADEC and thrust ratings.
class Fadec : public System {
public:
    void update(Aircraft&) override {}
};

} // namespace tavi
