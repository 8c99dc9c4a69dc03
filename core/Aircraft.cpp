#include "core/Aircraft.h"

#include "core/sound/SoundManager.h"
#include "displays/PanelElement.h"

namespace tavi {

Aircraft* theAircraft = nullptr;

Aircraft::Aircraft() : slewVar("IS SLEW ACTIVE", "BOOL", 0) {
    buildPaths();
    truncateLog();
}

Aircraft::~Aircraft() = default;

PanelElement* Aircraft::display(int slot) const {
    if (slot < 0 || slot >= kDisplaySlots) {
        return nullptr;
    }
    return displays[static_cast<std::size_t>(slot)];
}

System* Aircraft::system(int slot) const {
    if (slot < 0 || slot >= kSystemSlots) {
        return nullptr;
    }
    return systems[static_cast<std::size_t>(slot)];
}

} // namespace tavi
