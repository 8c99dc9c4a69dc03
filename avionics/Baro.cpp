#include "avionics/Baro.h"

#include <cmath>

namespace tavi {

namespace {

constexpr double kLapseFactor = 6.8755856e-6;
constexpr double kPressureExponent = 5.2558797;
constexpr double kAltitudeExponent = 0.1902631066688988;
constexpr double kStratosphereFactor = 4.806346e-5;

} // namespace

double Baro::pressureAtAltitude(double feet) const {
    if (feet < tropopauseAltitude) {
        return seaLevelPressure * std::pow(1.0 - kLapseFactor * feet, kPressureExponent);
    }
    return tropopausePressure * std::exp(-kStratosphereFactor * (feet - tropopauseAltitude));
}

double Baro::altitudeAtPressure(double psi) const {
    if (psi >= tropopausePressure) {
        return (std::pow(psi / seaLevelPressure, kAltitudeExponent) - 1.0) / -kLapseFactor;
    }
    return std::log(psi / tropopausePressure) / -kStratosphereFactor + tropopauseAltitude;
}

double Baro::pressureDifference(double feet1, double feet2) const {
    return pressureAtAltitude(feet1) - pressureAtAltitude(feet2);
}

double Baro::altitudeWithPressureOffset(double feet, double psi) const {
    return altitudeAtPressure(pressureAtAltitude(feet) + psi);
}

void Baro::updateStaticPressure(double feet) {
    staticPressure = pressureAtAltitude(feet);
}

} // namespace tavi
