#include "airframe/Generator.h"

#include "airframe/JetEngine.h"
#include "core/Aircraft.h"
#include "platform/Random.h"

namespace tavi::electric {

void Generator::update(Aircraft& aircraft) {
    const JetEngine* engine = engineNumber == 2 ? aircraft.engine2() : aircraft.engine1();
    const float previousVoltage = voltage;
    if (!engine || !engine->combustion) {
        voltage = 0.0f;
    } else if (voltage == 0.0f) {
        voltage = 27.8f + 0.1f * static_cast<float>(platform::randomDraw() % 5);
    }
    const bool wasOffBus = offBus;
    offBus = !connected && previousVoltage != 0.0f;
    offBusChanged = offBus != wasOffBus;
}

} // namespace tavi::electric
