#include "airframe/Gpu.h"

#include "airframe/JetEngine.h"
#include "airframe/Mechanisation.h"
#include "avionics/Ahrs.h"
#include "avionics/Gps.h"
#include "core/Aircraft.h"
#include "platform/Random.h"

namespace tavi::electric {

namespace {

constexpr float kParkedSpeedKnots = 3.0f;
constexpr uint32_t kReadyDelayMs = 60000;
constexpr uint32_t kHoldMs = 20000;

bool hasCombustion(const JetEngine* engine) {
    return engine && engine->combustion;
}

} // namespace

void Gpu::update(Aircraft& aircraft) {
    wasAvailable = available;
    const uint32_t now = aircraft.simTimeMs;
    const Mechanisation* mechanisation = aircraft.mechanisation();
    const Ahrs* ahrs = aircraft.ahrs();
    const Gps* gps = aircraft.gps();
    const bool brakeSet = mechanisation && mechanisation->parkingBrake > 0.0f;
    const bool onGround = ahrs && ahrs->onGround;
    const bool taxiing = gps && gps->groundSpeed >= kParkedSpeedKnots;
    const bool combustion = hasCombustion(aircraft.engine1()) || hasCombustion(aircraft.engine2());
    const bool conditions = brakeSet && onGround && !taxiing && !combustion;

    if (conditions && !readyConditions) {
        readySince = now;
    } else if (!conditions && readyConditions && onGround && (combustion || !brakeSet)) {
        notReadySince = now;
    }
    readyConditions = conditions;

    // The hold after the conditions end keeps ground power that was available; it never makes
    // ground power available that was not.
    available = conditions ? now - readySince >= kReadyDelayMs
                           : wasAvailable && now - notReadySince <= kHoldMs;
    if (onGround && taxiing) {
        available = false;
    }

    if (available && !wasAvailable) {
        voltage = 27.5f + 0.1f * static_cast<float>(platform::randomDraw() % 10);
    } else if (!available && wasAvailable) {
        voltage = 0.0f;
    }
}

} // namespace tavi::electric
