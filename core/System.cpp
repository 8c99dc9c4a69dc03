#include "core/System.h"

namespace tavi {

void System::preUpdate(Aircraft&) {}
void System::loadSettings(Aircraft&) {}
bool System::handleKey(Aircraft&, uint32_t, bool, bool) {
    return false;
}
void System::handleSimEvent(uint32_t, uint32_t) {}
bool System::wantsSimEvents() {
    return false;
}
void System::addElectricLoad(Aircraft&, BusLoads&) {}
void System::updatePower(Aircraft&) {}
void System::saveState(const StateFile&) {}
void System::loadState(const StateFile&) {}

} // namespace tavi
