#include "avionics/Transponder.h"

#include <algorithm>

namespace tavi {

int32_t TransponderMode = kTransponderStandby;
int32_t TransponderCode = 0x1200;
int32_t TransponderPresetCode = 0x1200;

namespace {

int32_t currentMode() {
    return std::clamp(TransponderMode, int32_t{kTransponderStandby}, int32_t{kTransponderTaRa});
}

} // namespace

void nextTransponderMode() {
    const int32_t next = (currentMode() + 1) % (kTransponderTaRa + 1);
    TransponderMode = next == kTransponderStandby ? kTransponderAtcOn : next;
}

void previousTransponderMode() {
    const int32_t previous = currentMode() - 1;
    TransponderMode = previous <= kTransponderStandby ? kTransponderTaRa : previous;
}

} // namespace tavi
