#include "sim/Atmosphere.h"

#include <algorithm>
#include <cmath>

namespace tavi::sim {

namespace {

constexpr double kLapseFactor = 6.8755856e-6;
constexpr double kLowerExponent = 5.2558797;
constexpr double kUpperDecay = 4.806346e-5;
constexpr double kTropopausePsi = 3.282500618355;
// The altimeter's correction for a setting other than the standard one, in feet.
constexpr double kHpaPerPsi = 68.9475729;
constexpr double kSeaLevelSoundKnots = 661.4786;
constexpr double kSoundKnotsPerRootKelvin = 38.967854;
constexpr double kKelvin = 273.15;
constexpr double kGasConstant = 287.05287;
constexpr double kPascalPerPsi = 6894.75729;
constexpr double kPitotExponent = 3.5;

double isaTemperature(double pressureAltitudeFeet) {
    return 15.0 - 0.0019812 * std::min(pressureAltitudeFeet, Atmosphere::kTropopauseFeet);
}

double impactRatio(double mach) {
    return std::pow(1.0 + 0.2 * mach * mach, kPitotExponent) - 1.0;
}

double machOfImpactRatio(double ratio) {
    return std::sqrt(5.0 * (std::pow(ratio + 1.0, 1.0 / kPitotExponent) - 1.0));
}

double directionBetween(double from, double to, double fraction) {
    double difference = std::remainder(to - from, 360.0);
    const double direction = from + fraction * difference;
    return std::fmod(direction + 360.0, 360.0);
}

} // namespace

void Atmosphere::setWind(double fromDegrees, double speedKnots) {
    winds = {{0.0, fromDegrees, speedKnots}};
}

void Atmosphere::setWindLayers(std::vector<WindLayer> layers) {
    std::sort(layers.begin(), layers.end(), [](const WindLayer& a, const WindLayer& b) {
        return a.altitudeFeet < b.altitudeFeet;
    });
    winds = std::move(layers);
}

WindLayer Atmosphere::windAt(double feet) const {
    if (winds.empty()) {
        return {feet, 0.0, 0.0};
    }
    if (feet <= winds.front().altitudeFeet) {
        return winds.front();
    }
    for (std::size_t i = 1; i < winds.size(); ++i) {
        const WindLayer& low = winds[i - 1];
        const WindLayer& high = winds[i];
        if (feet <= high.altitudeFeet) {
            const double fraction =
                (feet - low.altitudeFeet) / (high.altitudeFeet - low.altitudeFeet);
            return {feet, directionBetween(low.fromDegrees, high.fromDegrees, fraction),
                    low.speedKnots + fraction * (high.speedKnots - low.speedKnots)};
        }
    }
    return winds.back();
}

AirState Atmosphere::at(double trueAltitudeFeet) const {
    AirState air;
    air.pressureAltitudeFeet =
        trueAltitudeFeet +
        kSettingScale * (1.0 - std::pow(seaLevelHpa / kStandardHpa, kSettingExponent));
    air.staticPressurePsi = pressureAtPressureAltitude(air.pressureAltitudeFeet);
    air.staticPressureHpa = air.staticPressurePsi * kHpaPerPsi;
    air.temperatureCelsius = isaTemperature(air.pressureAltitudeFeet) + deviation;
    const double kelvin = air.temperatureCelsius + kKelvin;
    air.densityKgM3 = air.staticPressurePsi * kPascalPerPsi / (kGasConstant * kelvin);
    air.soundSpeedKnots = kSoundKnotsPerRootKelvin * std::sqrt(kelvin);
    const WindLayer wind = windAt(trueAltitudeFeet);
    air.windFromDegrees = wind.fromDegrees;
    air.windSpeedKnots = wind.speedKnots;
    return air;
}

double Atmosphere::pressureAtPressureAltitude(double feet) {
    if (feet < kTropopauseFeet) {
        return kSeaLevelPsi * std::pow(1.0 - kLapseFactor * feet, kLowerExponent);
    }
    return kTropopausePsi * std::exp(-kUpperDecay * (feet - kTropopauseFeet));
}

double Atmosphere::pressureAltitudeAtPressure(double psi) {
    if (psi >= kTropopausePsi) {
        return (1.0 - std::pow(psi / kSeaLevelPsi, 1.0 / kLowerExponent)) / kLapseFactor;
    }
    return kTropopauseFeet - std::log(psi / kTropopausePsi) / kUpperDecay;
}

double Atmosphere::calibratedAirspeed(double mach, double staticPsi) {
    return kSeaLevelSoundKnots * machOfImpactRatio(impactRatio(mach) * staticPsi / kSeaLevelPsi);
}

double Atmosphere::machFromCalibrated(double knots, double staticPsi) {
    return machOfImpactRatio(impactRatio(knots / kSeaLevelSoundKnots) * kSeaLevelPsi / staticPsi);
}

double Atmosphere::totalTemperature(double staticCelsius, double mach) {
    return (staticCelsius + kKelvin) * (1.0 + 0.2 * mach * mach) - kKelvin;
}

} // namespace tavi::sim
