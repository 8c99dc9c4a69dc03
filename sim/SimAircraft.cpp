#include "sim/SimAircraft.h"

namespace tavi::sim {

namespace {

constexpr uint32_t kMasterBatteryOn = 0x102C1;
constexpr uint32_t kAvionicsMasterToggle = 0x102F5;
constexpr uint32_t kEngine1GeneratorToggle = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggle = 0x1033C;
constexpr uint32_t kEngine1FuelPumpToggle = 0x10324;
constexpr uint32_t kEngine2FuelPumpToggle = 0x10325;
constexpr uint32_t kFuelSelectorAll = 0x101A4;
constexpr uint32_t kFuelSelectorLeft = 0x101A5;
constexpr uint32_t kFuelSelectorRight = 0x101A6;
constexpr char kGeneratorActive[] = "GENERAL ENG GENERATOR ACTIVE";
constexpr char kFuelPumpSwitch[] = "GENERAL ENG FUEL PUMP SWITCH";
constexpr char kFuelTankSelector[] = "FUEL TANK SELECTOR";
// The selector of the aircraft's fuel system 1, in the simulator's positions.
constexpr int kFuelSystemIndex = 1;
constexpr double kSelectorAll = 1.0;
constexpr double kSelectorLeft = 2.0;
constexpr double kSelectorRight = 3.0;

constexpr char kHydraulicQuantity[] = "ENG HYDRAULIC QUANTITY";
constexpr double kFullPercent = 100.0;

} // namespace

SimAircraft::SimAircraft(Panel& panel) : panel(panel) {
    for (const int engine : {1, 2}) {
        panel.setVariable(kHydraulicQuantity, engine, kFullPercent);
    }
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
    case kEngine1FuelPumpToggle:
        toggleVariable(kFuelPumpSwitch, 1);
        break;
    case kEngine2FuelPumpToggle:
        toggleVariable(kFuelPumpSwitch, 2);
        break;
    case kFuelSelectorAll:
        panel.setVariable(kFuelTankSelector, kFuelSystemIndex, kSelectorAll);
        break;
    case kFuelSelectorLeft:
        panel.setVariable(kFuelTankSelector, kFuelSystemIndex, kSelectorLeft);
        break;
    case kFuelSelectorRight:
        panel.setVariable(kFuelTankSelector, kFuelSystemIndex, kSelectorRight);
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
