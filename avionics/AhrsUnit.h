#pragma once

#include "avionics/SensorValidity.h"
#include "core/SimVar.h"

#include <cstdint>

namespace tavi {

class Aircraft;

// One attitude and heading unit: the simulator's attitude indicator and gyro heading of its own
// side, smoothed for the screens. Angles are in degrees with the simulator's signs.
class AhrsUnit {
public:
    // The index (1 or 2) is the simulator variable index of its attitude and heading.
    explicit AhrsUnit(int32_t index);

    void update(const Aircraft& aircraft);
    // The validity of both sides' attitude and heading; each side is invalid while its avionics
    // master switch is off.
    void updateValidity(uint32_t now, bool master1On, bool master2On);

    int32_t index;
    bool started = false;
    float rawPitch = 0.0f;
    float smoothedPitch = 0.0f;
    float pitch = 0.0f;
    float rawBank = 0.0f;
    float smoothedBank = 0.0f;
    float bank = 0.0f;
    // 0..360.
    float heading = 0.0f;
    // Feet per minute.
    float verticalSpeed = 0.0f;
    float verticalSpeedTenth = 0.0f;
    // Degrees per second.
    float headingRate = 0.0f;
    // Copies of panel tokens 81 (magnetic heading), 86 (true heading) and 82 (magnetic
    // variation) for the screens.
    float token81Value = 0.0f;
    float token86Value = 0.0f;
    float token82Value = 0.0f;
    SensorValidity attitudeSide1;
    SensorValidity headingSide1;
    SensorValidity attitudeSide2;
    SensorValidity headingSide2;
    // When the attitude, or the heading, of either side last became invalid.
    uint32_t attitudeInvalidSince = 0;
    uint32_t headingInvalidSince = 0;
    // The heading at the moment side 1's, or side 2's, heading became invalid.
    float frozenHeading1 = 0.0f;
    float frozenHeading2 = 0.0f;
    SimVar pitchVar;
    SimVar bankVar;
    SimVar headingVar;
    SimVar headingRateVar;
};

} // namespace tavi
