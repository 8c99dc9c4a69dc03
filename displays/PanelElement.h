#pragma once

#include "core/ModuleHeapObject.h"

namespace tavi {

class Aircraft;
struct BusLoads;
struct StateFile;

// Slot numbers of the screens.
enum DisplayId : int {
    kPfdLeft = 1,
    kPfdRight = 2,
    kMfdLeft = 3,
    kMfdRight = 4,
    kEicasDisplay = 5,
    kRmuLeft = 6,
    kRmuRight = 7,
    kStandbyInstrument = 8,
    kCduDisplay = 9,
    kClockLeft = 10,
    kClockRight = 11,
};

// Base of every screen. Screens live on the module heap.
class PanelElement : public ModuleHeapObject {
public:
    virtual void update(Aircraft& aircraft) = 0;
    virtual void loadSettings(Aircraft& aircraft);
    virtual void draw(Aircraft& aircraft);
    virtual void addElectricLoad(Aircraft& aircraft, BusLoads& loads);
    virtual void updatePower(Aircraft& aircraft);
    virtual void saveState(const StateFile& file);
    virtual void loadState(const StateFile& file);
    virtual void clearBackground();
    virtual void drawDimOverlay();
    virtual ~PanelElement() = default;

    // Set by updatePower when the screen has no power.
    bool unpowered = true;
};

} // namespace tavi
