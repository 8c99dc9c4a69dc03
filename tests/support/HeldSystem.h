#pragma once

#include "core/Aircraft.h"

#include <utility>

namespace tavi::test {

// A neighbour whose own frames do not run: the test sets the state that other systems read of
// it, and nothing overwrites it.
template <typename Base>
class Held : public Base {
public:
    using Base::Base;

    void update(Aircraft&) override {}
    void updatePower(Aircraft&) override {}
};

// Puts a held system into the slot in place of the one the factory made; the Aircraft deletes
// it as its own.
template <typename Base, typename... Args>
Base& holdSystem(Aircraft& aircraft, int slot, Args&&... args) {
    auto* held = new Held<Base>(std::forward<Args>(args)...);
    delete aircraft.systems[static_cast<std::size_t>(slot)];
    aircraft.systems[static_cast<std::size_t>(slot)] = held;
    return *held;
}

} // namespace tavi::test
