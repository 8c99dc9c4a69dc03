#include "avionics/AirData.h"

#include "avionics/Baro.h"

#include <algorithm>
#include <cmath>

namespace tavi {

namespace {

// The speed of sound at sea level, in knots.
constexpr double kSeaLevelSoundSpeed = 661.4786;
constexpr double kPitotExponent = 3.5;

// Impact pressure over static pressure at a Mach number.
double impactPressureRatio(double mach) {
    return std::pow(1.0 + 0.2 * mach * mach, kPitotExponent) - 1.0;
}

// The Mach number whose impact pressure over static pressure is the ratio.
double machFromImpactRatio(double ratio) {
    return std::sqrt(5.0 * (std::pow(ratio + 1.0, 1.0 / kPitotExponent) - 1.0));
}

} // namespace

double pressureRatioAtAltitude(double feet) {
    return Baro::pressureAtAltitude(feet) / Baro::seaLevelPressure;
}

double casFromMachAtPressureRatio(double mach, double pressureRatio) {
    const double seaLevelMach = machFromImpactRatio(impactPressureRatio(mach) * pressureRatio);
    return kSeaLevelSoundSpeed * seaLevelMach;
}

double machFromCasAtPressureRatio(double cas, double pressureRatio) {
    const double seaLevelRatio = impactPressureRatio(cas / kSeaLevelSoundSpeed);
    return machFromImpactRatio(seaLevelRatio / pressureRatio);
}

double casFromMachAtAltitude(double mach, double feet) {
    return casFromMachAtPressureRatio(mach, pressureRatioAtAltitude(std::max(feet, 0.0)));
}

double trueAirspeedFromMach(double mach, double staticAirTemperature) {
    return 38.967854 * std::sqrt(staticAirTemperature + 273.15) * mach;
}

double trueAirspeedFromCas(double cas, double feet) {
    const double altitude = std::max(feet, 0.0);
    return trueAirspeedFromMach(machFromCasAtPressureRatio(cas, pressureRatioAtAltitude(altitude)),
                                isaTemperature(static_cast<float>(altitude)));
}

float isaTemperature(float feet) {
    if (feet <= static_cast<float>(Baro::tropopauseAltitude)) {
        return 15.0f - 0.0019812f * feet;
    }
    return -56.5f;
}

float isaTemperatureClamped(float feet) {
    return isaTemperature(std::max(feet, 0.0f));
}

} // namespace tavi
