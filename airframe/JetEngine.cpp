#include "airframe/JetEngine.h"

#include "core/Imports.h"

namespace tavi {

namespace {

constexpr uint32_t kEngine1GeneratorToggleEvent = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggleEvent = 0x1033C;

} // namespace

void JetEngine::toggleGenerator() const {
    panelServices().sendKeyEvent(
        engineNumber == 1 ? kEngine1GeneratorToggleEvent : kEngine2GeneratorToggleEvent, 0);
}

} // namespace tavi
