#include "sim/SimAircraft.h"

namespace tavi::sim {

namespace {

constexpr uint32_t kMasterBatteryOn = 0x102C1;
constexpr uint32_t kAvionicsMasterToggle = 0x102F5;
constexpr uint32_t kEngine1GeneratorToggle = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggle = 0x1033C;
constexpr char kGeneratorActive[] = "GENERAL ENG GENERATOR ACTIVE";
constexpr uint32_t kNavLightsToggle = 0x1034B;
constexpr uint32_t kStrobesOn = 0x10204;
constexpr uint32_t kStrobesOff = 0x10205;
constexpr uint32_t kBeaconToggle = 0x102BF;
constexpr uint32_t kLandingLightsOn = 0x1020B;
constexpr uint32_t kLandingLightsOff = 0x1020C;
constexpr uint32_t kTaxiLightsToggle = 0x102C0;
constexpr uint32_t kLogoLightsToggle = 0x10348;
constexpr uint32_t kPanelLightsOn = 0x10208;
constexpr uint32_t kPanelLightsOff = 0x10209;
constexpr int kPanelLightToken = 10;
constexpr int kStrobeToken = 11;
constexpr int kLandingLightToken = 14;
constexpr int kBeaconToken = 368;
constexpr int kTaxiLightToken = 369;
constexpr int kNavLightToken = 619;
constexpr int kLogoLightToken = 620;

} // namespace

SimAircraft::SimAircraft(Panel& panel) : panel(panel) {
    setTimeOfDay(kDay);
}

void SimAircraft::setTimeOfDay(int32_t timeOfDay) {
    CalculatorResult result;
    result.number = timeOfDay;
    result.integer = timeOfDay;
    panel.setCalculatorResult(kTimeOfDayCode, result);
}

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
    default:
        applyLightEvent(event.eventId);
        break;
    }
}

void SimAircraft::applyLightEvent(uint32_t eventId) {
    switch (eventId) {
    case kNavLightsToggle:
        toggleToken(kNavLightToken);
        break;
    case kStrobesOn:
    case kStrobesOff:
        panel.setToken(kStrobeToken, eventId == kStrobesOn ? 1.0 : 0.0);
        break;
    case kBeaconToggle:
        toggleToken(kBeaconToken);
        break;
    case kLandingLightsOn:
    case kLandingLightsOff:
        panel.setToken(kLandingLightToken, eventId == kLandingLightsOn ? 1.0 : 0.0);
        break;
    case kTaxiLightsToggle:
        toggleToken(kTaxiLightToken);
        break;
    case kLogoLightsToggle:
        toggleToken(kLogoLightToken);
        break;
    case kPanelLightsOn:
    case kPanelLightsOff:
        panel.setToken(kPanelLightToken, eventId == kPanelLightsOn ? 1.0 : 0.0);
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

void SimAircraft::toggleToken(int tokenId) {
    panel.setToken(tokenId, panel.token(tokenId) != 0.0 ? 0.0 : 1.0);
}

void SimAircraft::toggleVariable(const char* name, int index) {
    panel.setVariable(name, index, panel.variable(name, index) != 0.0 ? 0.0 : 1.0);
}

} // namespace tavi::sim
