#include "airframe/JetEngine.h"

#include "core/Imports.h"

namespace tavi {

namespace {

constexpr uint32_t kEngine1GeneratorToggleEvent = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggleEvent = 0x1033C;
// Engine n's fuel-lever cut-off event is the first plus 5 (n - 1).
constexpr uint32_t kEngine1FuelCutoffEvent = 0x101C3;
constexpr uint32_t kFuelCutoffEventStride = 5;
// Engine n's anti-ice event is the first plus n - 1.
constexpr uint32_t kEngine1AntiIceEvent = 0x103B8;

} // namespace

void JetEngine::toggleGenerator() const {
    panelServices().sendKeyEvent(
        engineNumber == 1 ? kEngine1GeneratorToggleEvent : kEngine2GeneratorToggleEvent, 0);
}

void JetEngine::cutFuel() const {
    panelServices().sendKeyEvent(
        kEngine1FuelCutoffEvent + kFuelCutoffEventStride * static_cast<uint32_t>(engineNumber - 1),
        0);
}

void JetEngine::setAntiIce(bool on) const {
    panelServices().sendKeyEvent(kEngine1AntiIceEvent + static_cast<uint32_t>(engineNumber - 1),
                                 on ? 1 : 0);
}

} // namespace tavi
