#pragma once

#include "core/ModuleHeapObject.h"

#include <cstdint>

namespace tavi {

class Aircraft;
struct StateFile;

inline constexpr int kBusCount = 10;

// The current each consumer draws from each electrical bus, in amperes, indexed by bus number.
struct BusLoads {
    float amps[kBusCount] = {};

    float& operator[](int bus) { return amps[bus]; }
    float operator[](int bus) const { return amps[bus]; }
};

// Base of every aircraft system. The Aircraft drives its systems only through these operations;
// every one but update has a default that does nothing. Systems live on the module heap.
class System : public ModuleHeapObject {
public:
    virtual ~System() = default;

    virtual void update(Aircraft& aircraft) = 0;
    virtual void preUpdate(Aircraft& aircraft);
    virtual void loadSettings(Aircraft& aircraft);
    // True when the key is consumed.
    virtual bool handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shiftDown, bool ctrlDown);
    virtual void handleSimEvent(uint32_t eventId, uint32_t data);
    virtual bool wantsSimEvents();
    virtual void addElectricLoad(Aircraft& aircraft, BusLoads& loads);
    virtual void updatePower(Aircraft& aircraft);
    virtual void saveState(const StateFile& file);
    virtual void loadState(const StateFile& file);
};

} // namespace tavi
