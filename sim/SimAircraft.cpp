#include "sim/SimAircraft.h"

namespace tavi::sim {

namespace {

constexpr uint32_t kMasterBatteryOn = 0x102C1;
constexpr uint32_t kAvionicsMasterToggle = 0x102F5;
constexpr uint32_t kEngine1GeneratorToggle = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggle = 0x1033C;
constexpr uint32_t kKohlsmanSet = 0x101F8;
constexpr uint32_t kGyroEvent = 0x101FE;
constexpr char kGeneratorActive[] = "GENERAL ENG GENERATOR ACTIVE";
// Inches of mercury per hectopascal.
constexpr double kInHgPerHpa = 0.029530199244618416;

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
    case kKohlsmanSet:
        setAltimeter(event.value / 16.0);
        break;
    case kGyroEvent:
        panel.setToken(kGyroToken, 0.0);
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

void SimAircraft::setAltimeter(double hectopascals) {
    panel.setToken(kAltimeterHpaToken, hectopascals);
    panel.setToken(kAltimeterInHgToken, hectopascals * kInHgPerHpa);
}

void SimAircraft::toggleToken(int tokenId) {
    panel.setToken(tokenId, panel.token(tokenId) != 0.0 ? 0.0 : 1.0);
}

void SimAircraft::toggleVariable(const char* name, int index) {
    panel.setVariable(name, index, panel.variable(name, index) != 0.0 ? 0.0 : 1.0);
}

} // namespace tavi::sim
