#include "sim/SimAircraft.h"

namespace tavi::sim {

namespace {

constexpr uint32_t kMasterBatteryOn = 0x102C1;
constexpr uint32_t kAvionicsMasterToggle = 0x102F5;
constexpr uint32_t kEngine1GeneratorToggle = 0x1033B;
constexpr uint32_t kEngine2GeneratorToggle = 0x1033C;
constexpr char kGeneratorActive[] = "GENERAL ENG GENERATOR ACTIVE";
constexpr uint32_t kEngine1StarterToggle = 0x102FC;
constexpr uint32_t kEngine2StarterToggle = 0x102FD;
constexpr uint32_t kEngine1FuelCutoff = 0x101C3;
constexpr uint32_t kEngine2FuelCutoff = 0x101C8;
constexpr uint32_t kEngine1FuelOpen = 0x101BF;
constexpr uint32_t kEngine2FuelOpen = 0x101C4;
constexpr uint32_t kEngine1ThrottleSet = 0x1011C;
constexpr uint32_t kEngine2ThrottleSet = 0x1011D;
constexpr uint32_t kEngine1AntiIceSet = 0x103B8;
constexpr uint32_t kEngine2AntiIceSet = 0x103B9;
// The engine selection: the first event clears it, the other two add engine 1 and engine 2.
constexpr uint32_t kEngineSelect = 0x10012;
constexpr uint32_t kEngineSelect1 = 0x10002;
constexpr uint32_t kEngineSelect2 = 0x10003;
constexpr char kStarter[] = "GENERAL ENG STARTER";
constexpr char kMixture[] = "GENERAL ENG MIXTURE LEVER POSITION";
constexpr char kThrottle[] = "GENERAL ENG THROTTLE LEVER POSITION";
constexpr char kEngineAntiIce[] = "ENG ANTI ICE";
constexpr double kThrottleFullUnits = 16384.0;

// The event's data as the simulator reads it: a signed 32-bit value.
double signedData(const KeyEvent& event) {
    return static_cast<double>(static_cast<int32_t>(event.value));
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
    case kEngine1StarterToggle:
    case kEngine2StarterToggle:
        toggleVariable(kStarter, engineOf(event.eventId, kEngine1StarterToggle, 1));
        break;
    case kEngine1FuelCutoff:
    case kEngine2FuelCutoff:
        panel.setVariable(kMixture, engineOf(event.eventId, kEngine1FuelCutoff, 5), 0.0);
        break;
    case kEngine1FuelOpen:
    case kEngine2FuelOpen:
        panel.setVariable(kMixture, engineOf(event.eventId, kEngine1FuelOpen, 5), 1.0);
        break;
    case kEngine1ThrottleSet:
    case kEngine2ThrottleSet:
        panel.setVariable(kThrottle, engineOf(event.eventId, kEngine1ThrottleSet, 1),
                          signedData(event) / kThrottleFullUnits);
        break;
    case kEngine1AntiIceSet:
    case kEngine2AntiIceSet:
        panel.setVariable(kEngineAntiIce, engineOf(event.eventId, kEngine1AntiIceSet, 1),
                          signedData(event));
        break;
    case kEngineSelect:
        panel.setToken(kEngineSelectionToken, 0.0);
        break;
    case kEngineSelect1:
        selectEngine(1);
        break;
    case kEngineSelect2:
        selectEngine(2);
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

int SimAircraft::engineOf(uint32_t eventId, uint32_t engine1Event, uint32_t stride) {
    return static_cast<int>((eventId - engine1Event) / stride) + 1;
}

void SimAircraft::selectEngine(int engine) {
    const int selected = static_cast<int>(panel.token(kEngineSelectionToken));
    panel.setToken(kEngineSelectionToken, selected | (1 << (engine - 1)));
}

void SimAircraft::toggleToken(int tokenId) {
    panel.setToken(tokenId, panel.token(tokenId) != 0.0 ? 0.0 : 1.0);
}

void SimAircraft::toggleVariable(const char* name, int index) {
    panel.setVariable(name, index, panel.variable(name, index) != 0.0 ? 0.0 : 1.0);
}

} // namespace tavi::sim
