#include "sim/SimAircraft.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <iterator>

namespace tavi::sim {

namespace {

constexpr uint32_t kMasterBatteryOn = 0x102C1;
constexpr uint32_t kAvionicsMasterToggle = 0x102F5;
constexpr uint32_t kEngine1GeneratorToggle = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggle = 0x1033C;
constexpr uint32_t kFlapsSet = 0x100A2;
constexpr uint32_t kParkingBrakes = 0x100D8;
constexpr uint32_t kFlapsIncrement = 0x100DE;
constexpr uint32_t kFlapsDecrement = 0x100DF;
constexpr uint32_t kSpoilersSet = 0x100FA;
constexpr uint32_t kSpoilersArmOff = 0x1013D;
constexpr uint32_t kSpoilersOn = 0x10210;
constexpr uint32_t kSpoilersOff = 0x10211;
constexpr char kGeneratorActive[] = "GENERAL ENG GENERATOR ACTIVE";
constexpr double kFullTravel = 16383.0;
constexpr double kFullParkingBrake = 32767.0;
constexpr int kLastFlapNotch = static_cast<int>(std::size(SimAircraft::kFlapNotches)) - 1;

double axisValue(uint32_t data) {
    return std::clamp(static_cast<double>(static_cast<int32_t>(data)), 0.0, kFullTravel);
}

} // namespace

void SimAircraft::applyKeyEvent(const KeyEvent& event) {
    switch (event.eventId) {
    case kMasterBatteryOn:
        panel.setToken(kPowerToken, 1.0);
        break;
    case kAvionicsMasterToggle:
        toggleToken(kAvionicsToken);
        break;
    case kEngine1GeneratorToggle:
        toggleVariable(kGeneratorActive, 1);
        break;
    case kEngine2GeneratorToggle:
        toggleVariable(kGeneratorActive, 2);
        break;
    case kFlapsSet:
        setFlapNotch(
            static_cast<int>(std::lround(axisValue(event.value) / kFullTravel * kLastFlapNotch)));
        break;
    case kParkingBrakes:
        panel.setToken(kParkingBrakeToken,
                       panel.token(kParkingBrakeToken) != 0.0 ? 0.0 : kFullParkingBrake);
        break;
    case kFlapsIncrement:
        setFlapNotch(flapNotch() + 1);
        break;
    case kFlapsDecrement:
        setFlapNotch(flapNotch() - 1);
        break;
    case kSpoilersSet:
        panel.setToken(kSpoilerPositionToken, axisValue(event.value));
        break;
    case kSpoilersOn:
        panel.setToken(kSpoilerPositionToken, kFullTravel);
        break;
    case kSpoilersOff:
        panel.setToken(kSpoilerPositionToken, 0.0);
        break;
    case kSpoilersArmOff:
        panel.setToken(kSpoilersArmedToken, 0.0);
        break;
    default:
        break;
    }
}

void SimAircraft::writeVariable(const std::string& variable, double value) {
    panel.setVariable(variable, 0, value);
    if (variable == "FUEL TANK LEFT MAIN QUANTITY") {
        panel.setToken(kLeftMainTankToken, value);
    } else if (variable == "FUEL TANK RIGHT MAIN QUANTITY") {
        panel.setToken(kRightMainTankToken, value);
    }
}

void SimAircraft::setFlapNotch(int notch) {
    const int clamped = std::clamp(notch, 0, kLastFlapNotch);
    panel.setVariable(kFlapsHandleIndex, 0, clamped);
    panel.setToken(kFlapHandleToken, std::round(clamped * kFullTravel / kLastFlapNotch));
    panel.setToken(kFlapAngleToken, kFlapNotches[clamped]);
}

int SimAircraft::flapNotch() const {
    return static_cast<int>(panel.variable(kFlapsHandleIndex, 0));
}

void SimAircraft::toggleToken(int tokenId) {
    panel.setToken(tokenId, panel.token(tokenId) != 0.0 ? 0.0 : 1.0);
}

void SimAircraft::toggleVariable(const char* name, int index) {
    panel.setVariable(name, index, panel.variable(name, index) != 0.0 ? 0.0 : 1.0);
}

} // namespace tavi::sim
