#include "avionics/Baro.h"

#include "avionics/Clamp.h"
#include "core/Aircraft.h"
#include "core/Imports.h"

#include <cmath>

namespace tavi {

namespace {

constexpr uint32_t kKohlsmanSetEvent = 0x101F8;
constexpr float kMinSettingInHg = 16.0f;
constexpr float kMaxSettingInHg = 32.0f;
constexpr float kSettingStepInHg = 0.01f;
// The setters convert with the single-precision factor, the frame with the exact one.
constexpr float kSetterInHgPerHpa = 0.02953f;
constexpr double kInHgPerHpa = 0.029530199244618416;
constexpr double kStandardHpa = 1013.25;

constexpr double kLapseFactor = 6.8755856e-6;
constexpr double kLowerExponent = 5.2558797;
constexpr double kInverseLowerExponent = 0.1902631066688988;
constexpr double kUpperDecay = 4.806346e-5;

float limitedSetting(float inHg) {
    return clampFloat(kMinSettingInHg, kMaxSettingInHg, inHg);
}

// One knob step from the setting: the simulator gives the sent setting back only within a
// fraction of a step, so the step starts from the nearest whole step and every click moves the
// shown setting by exactly one.
float stepFromSetting(float inHg, int32_t steps) {
    return static_cast<float>(std::lround(inHg / kSettingStepInHg) + steps) * kSettingStepInHg;
}

// The altitude an altimeter set to the setting shows at the pressure altitude.
float indicatedAltitude(float pressureAltitude, float settingHpa) {
    return static_cast<float>(pressureAltitude -
                              145442.2 * (1.0 - std::pow(settingHpa / kStandardHpa, 0.2045)));
}

} // namespace

Baro::Baro()
    : mainSettingHpa(kStandardSettingInHg / kSetterInHgPerHpa),
      standbySettingHpa(kStandardSettingInHg / kSetterInHgPerHpa),
      pressurePsiVar("BAROMETER PRESSURE", "PSI", 0),
      pressureMbarVar("BAROMETER PRESSURE", "MBAR", 0),
      pressureAltitudeVar("PRESSURE ALTITUDE", "feet", 0) {}

void Baro::update(Aircraft& aircraft) {
    // The main setting follows the simulator's altimeter in every frame.
    simSettingHpa = mainSettingHpa = static_cast<float>(aircraft.tokens.value(75));
    simSettingInHg = mainSettingInHg = static_cast<float>(aircraft.tokens.value(76));
    simPressureAltitude = static_cast<float>(pressureAltitudeVar.read());
    barometricPressurePsi = pressurePsiVar.read();
    barometricPressureMbar = pressureMbarVar.read();
    barometricAltitude = static_cast<float>(altitudeAtPressure(barometricPressurePsi));
    mainSettingHpa = static_cast<float>(mainSettingInHg / kInHgPerHpa);
    mainSettingAltitude = indicatedAltitude(simPressureAltitude, mainSettingHpa);
    standbySettingHpa = static_cast<float>(standbySettingInHg / kInHgPerHpa);
    standbySettingAltitude = indicatedAltitude(simPressureAltitude, standbySettingHpa);
}

double Baro::pressureAtAltitude(double feet) {
    if (feet < tropopauseAltitude) {
        return seaLevelPressure * std::pow(1.0 - kLapseFactor * feet, kLowerExponent);
    }
    return tropopausePressure * std::exp(-kUpperDecay * (feet - tropopauseAltitude));
}

double Baro::altitudeAtPressure(double psi) {
    if (psi >= tropopausePressure) {
        return (std::pow(psi / seaLevelPressure, kInverseLowerExponent) - 1.0) / -kLapseFactor;
    }
    return std::log(psi / tropopausePressure) / -kUpperDecay + tropopauseAltitude;
}

double Baro::pressureDifference(double feet1, double feet2) {
    return pressureAtAltitude(feet1) - pressureAtAltitude(feet2);
}

double Baro::altitudeWithPressureOffset(double feet, double psi) {
    return altitudeAtPressure(pressureAtAltitude(feet) + psi);
}

void Baro::updateStaticPressure(double feet) {
    staticPressure = pressureAtAltitude(feet);
}

void Baro::setBaroSetting(float inHg) {
    if (std::isfinite(inHg)) {
        sendMainSetting(inHg);
    }
}

void Baro::incBaroSetting() {
    sendMainSetting(stepFromSetting(mainSettingInHg, 1));
}

void Baro::decBaroSetting() {
    sendMainSetting(stepFromSetting(mainSettingInHg, -1));
}

void Baro::sendMainSetting(float inHg) {
    mainSettingInHg = limitedSetting(inHg);
    mainSettingHpa = mainSettingInHg / kSetterInHgPerHpa;
    sendKohlsmanSetting(mainSettingHpa);
}

void Baro::setStandbyBaroSetting(float inHg) {
    if (!std::isfinite(inHg)) {
        return;
    }
    standbySettingInHg = limitedSetting(inHg);
    standbySettingHpa = standbySettingInHg / kSetterInHgPerHpa;
}

void Baro::incStandbyBaroSetting() {
    setStandbyBaroSetting(standbySettingInHg + kSettingStepInHg);
}

void Baro::decStandbyBaroSetting() {
    setStandbyBaroSetting(standbySettingInHg - kSettingStepInHg);
}

void sendKohlsmanSetting(float hectopascals) {
    // The nearest sixteenth: cut off, the setting the simulator gives back falls short of the
    // one sent.
    const auto sixteenths = static_cast<int32_t>(std::lround(hectopascals * 16.0f));
    panelServices().sendKeyEvent(kKohlsmanSetEvent, static_cast<uint32_t>(sixteenths));
}

} // namespace tavi
