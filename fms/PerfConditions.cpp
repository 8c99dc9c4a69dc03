#include "fms/PerfConditions.h"

#include "avionics/Adc.h"
#include "avionics/AirData.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

constexpr float kGroundDescentWind = 5.0f;

} // namespace

PerfWind PerfConditions::climbWindAt(float altitude) const {
    PerfWind wind = cruiseWind;
    if (cruiseAltitude > 0.0f && altitude < cruiseAltitude)
        wind.speed = cruiseWind.speed * std::max(altitude, 0.0f) / cruiseAltitude;
    return wind;
}

PerfWind PerfConditions::descentWindAt(float altitude) const {
    PerfWind wind = cruiseWind;
    if (cruiseWindAltitude > 0.0f && altitude < cruiseWindAltitude) {
        const float ratio = std::max(altitude, 0.0f) / cruiseWindAltitude;
        wind.speed = std::trunc(cruiseWind.speed * ratio + kGroundDescentWind * (1.0f - ratio));
    }
    return wind;
}

float PerfConditions::groundSpeed(float speed, float altitude, float course,
                                  const PerfWind& wind) const {
    const float temperature = isaTemperatureClamped(altitude) + isaDeviation;
    return static_cast<float>(
        Adc::groundSpeedFromCas(speed, altitude, temperature, course, wind.direction, wind.speed));
}

} // namespace tavi
