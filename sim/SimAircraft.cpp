#include "sim/SimAircraft.h"

#include "sim/SimVariables.h"

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
constexpr uint32_t kEngine1FuelPumpToggle = 0x10324;
constexpr uint32_t kEngine2FuelPumpToggle = 0x10325;
constexpr uint32_t kFuelSelectorAll = 0x101A4;
constexpr uint32_t kFuelSelectorLeft = 0x101A5;
constexpr uint32_t kFuelSelectorRight = 0x101A6;
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
constexpr char kEngineAntiIce[] = "ENG ANTI ICE";
constexpr double kThrottleFullUnits = 16384.0;

// The event's data as the simulator reads it: a signed 32-bit value.
double signedData(const KeyEvent& event) {
    return static_cast<double>(static_cast<int32_t>(event.value));
}
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
constexpr uint32_t kPitotHeatOn = 0x10218;
constexpr uint32_t kPitotHeatOff = 0x10219;
constexpr uint32_t kStructuralDeiceToggle = 0x10321;
constexpr int kPitotHeatToken = 13;
constexpr int kStructuralDeiceToken = 905;

constexpr int kCom1TransmitToken = 874;
constexpr int kCom2TransmitToken = 875;
constexpr int kComReceiveBothToken = 876;
constexpr int kToken881 = 881;

// The COM events carry the frequency as BCD16 without the leading 1 and the last kHz digit;
// with 25 kHz channels that digit follows from the one before (x.x2 is x.x25, x.x7 is x.x75).
double comFrequencyOfEvent(uint32_t value) {
    uint32_t bcd = 0x01000000 | ((value & 0xFFFF) << 8);
    const uint32_t tensOfKhz = value & 0xF;
    if (tensOfKhz == 2 || tensOfKhz == 7) {
        bcd |= 0x50;
    }
    return bcd;
}

double navFrequencyOfEvent(uint32_t value) {
    return 0x01000000 | ((value & 0xFFFF) << 8);
}

// Radio events of sides 1 and 2 that set one aircraft variable.
struct RadioVariableEvent {
    uint32_t side1;
    uint32_t side2;
    const char* variable;
    double (*valueOf)(uint32_t value);
};

double plainValue(uint32_t value) {
    return value;
}

double flagValue(uint32_t value) {
    return value != 0 ? 1.0 : 0.0;
}

const RadioVariableEvent kRadioVariableEvents[] = {
    {0x100AB, 0x1038A, "COM ACTIVE FREQUENCY", comFrequencyOfEvent},
    {0x100AC, 0x100AD, "NAV ACTIVE FREQUENCY", navFrequencyOfEvent},
    {0x103AF, 0x103FC, "ADF ACTIVE FREQUENCY", plainValue},
    {0x100B4, 0x100B5, "NAV OBS", plainValue},
    {0x1013B, 0x10400, "ADF SOUND", flagValue},
    {0x10137, 0x10138, "NAV SOUND", flagValue},
    {0x10139, 0x1013A, "DME SOUND", flagValue},
};

constexpr uint32_t kTransponderSet = 0x100B3;
constexpr uint32_t kComReceiveBothSet = 0x103A2;
constexpr uint32_t kCom1TransmitSelect = 0x1039F;
constexpr uint32_t kCom2TransmitSelect = 0x103A0;
constexpr uint32_t kClearToken881 = 0x103AE;
constexpr char kFuelTankSelector[] = "FUEL TANK SELECTOR";
// The selector of the aircraft's fuel system 1, in the simulator's positions.
constexpr int kFuelSystemIndex = 1;
constexpr double kSelectorAll = 1.0;

constexpr char kHydraulicQuantity[] = "ENG HYDRAULIC QUANTITY";
constexpr double kFullPercent = 100.0;
constexpr uint32_t kKohlsmanSet = 0x101F8;
constexpr uint32_t kGyroEvent = 0x101FE;
// Inches of mercury per hectopascal.
constexpr double kInHgPerHpa = 0.029530199244618416;
constexpr uint32_t kFlapsSet = 0x100A2;
constexpr uint32_t kParkingBrakes = 0x100D8;
constexpr uint32_t kFlapsIncrement = 0x100DE;
constexpr uint32_t kFlapsDecrement = 0x100DF;
constexpr uint32_t kSpoilersSet = 0x100FA;
constexpr uint32_t kSpoilersArmOff = 0x1013D;
// The control surfaces set by value: the elevator and aileron tokens read the negated value,
// the elevator trim token the value itself.
constexpr uint32_t kElevatorSet = 0x1009E;
constexpr uint32_t kAileronSet = 0x1009F;
constexpr uint32_t kElevatorTrimSet = 0x100AA;
constexpr int kAileronToken = 313;
constexpr int kElevatorToken = 317;
constexpr int kElevatorTrimToken = 318;
constexpr uint32_t kSpoilersOn = 0x10210;
constexpr uint32_t kSpoilersOff = 0x10211;
constexpr int kLastFlapNotch = static_cast<int>(std::size(SimAircraft::kFlapNotches)) - 1;

double axisValue(uint32_t data) {
    return std::clamp(static_cast<double>(static_cast<int32_t>(data)), 0.0, kFullTravel);
}

// A control surface's position keeps its sign: nose-up elevator, right aileron and nose-down
// trim are negative values of their events.
double surfaceValue(uint32_t data) {
    return std::clamp(static_cast<double>(static_cast<int32_t>(data)), -kFullTravel, kFullTravel);
}

constexpr int kRudderToken = 316;
constexpr char kElevatorAxis[] = "AXIS_ELEVATOR_SET";
constexpr char kAileronsAxis[] = "AXIS_AILERONS_SET";
constexpr char kRudderAxis[] = "AXIS_RUDDER_SET";

// The autopilot's targets: each event sets the token that shows it. With metric altitudes
// (token 335 at 2) the simulator shows the altitude and the vertical speed in metres.
constexpr double kMetresPerFoot = 0.3048;

struct AutopilotTargetEvent {
    uint32_t eventId;
    int token;
    double scale;
    bool metric;
};

const AutopilotTargetEvent kAutopilotTargetEvents[] = {
    {0x101FA, 855, 1.0, false},  // heading bug, degrees
    {0x1024C, 109, 1.0, true},   // preselected altitude, feet
    {0x101F4, 120, 1.0, true},   // vertical speed, feet per minute
    {0x101F5, 116, 1.0, false},  // IAS, knots
    {0x101F6, 118, 0.01, false}, // Mach, in hundredths
};

// The autopilot functions and the events that switch them off.
struct AutopilotOffEvent {
    uint32_t eventId;
    int token;
    int secondToken;
};

const AutopilotOffEvent kAutopilotOffEvents[] = {
    {0x10231, 117, 0}, {0x10241, 115, 0},   {0x10119, 104, 0}, {0x10114, 110, 0}, {0x1011B, 105, 0},
    {0x10117, 106, 0}, {0x10115, 111, 112}, {0x1011A, 113, 0}, {0x10347, 848, 0},
};

constexpr uint32_t kAutopilotMasterOff = 0x100FF;
constexpr uint32_t kAutopilotMasterSet = 0x10100;
constexpr uint32_t kAltitudeHoldOn = 0x10110;
constexpr uint32_t kAltitudeHoldOff = 0x10118;

// The radios' active frequencies as a flight loads them (BCD32): COM 118.100 and the guard
// frequency 121.500, NAV 110.50 and 113.90, channels no station of the databases uses.
struct LoadedFrequency {
    const char* variable;
    int32_t index;
    double bcd;
};
constexpr LoadedFrequency kLoadedFrequencies[] = {
    {"COM ACTIVE FREQUENCY", 1, 0x01181000},
    {"COM ACTIVE FREQUENCY", 2, 0x01215000},
    {"NAV ACTIVE FREQUENCY", 1, 0x01105000},
    {"NAV ACTIVE FREQUENCY", 2, 0x01139000},
};

} // namespace

SimAircraft::SimAircraft(Panel& panel) : panel(panel) {
    for (const LoadedFrequency& radio : kLoadedFrequencies) {
        panel.setVariable(radio.variable, radio.index, radio.bcd);
    }
    for (const int engine : {1, 2}) {
        panel.setVariable(kHydraulicQuantity, engine, kFullPercent);
    }
    setAltimeter(kStandardSettingHpa);
}

void SimAircraft::applySimEvent(const std::string& name, uint32_t data) {
    // The pilot's axes move the surfaces as the set events of the same sign do.
    if (name == kElevatorAxis) {
        panel.setToken(kElevatorToken, -surfaceValue(data));
    } else if (name == kAileronsAxis) {
        panel.setToken(kAileronToken, -surfaceValue(data));
    } else if (name == kRudderAxis) {
        panel.setToken(kRudderToken, surfaceValue(data));
    }
}

void SimAircraft::applyKeyEvent(const KeyEvent& event) {
    if (applyRadioEvent(event) || applyEngineEvent(event) || applyAutopilotEvent(event)) {
        return;
    }
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
    case kKohlsmanSet:
        setAltimeter(event.value / 16.0);
        break;
    case kGyroEvent:
        panel.setToken(kGyroToken, 0.0);
        break;
    case kPitotHeatOn:
    case kPitotHeatOff:
        panel.setToken(kPitotHeatToken, event.eventId == kPitotHeatOn ? 1.0 : 0.0);
        break;
    case kStructuralDeiceToggle:
        toggleToken(kStructuralDeiceToken);
        break;
    default:
        if (!applyFlightControlEvent(event)) {
            applyLightEvent(event.eventId);
        }
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

bool SimAircraft::applyFlightControlEvent(const KeyEvent& event) {
    switch (event.eventId) {
    case kFlapsSet:
        setFlapNotch(
            static_cast<int>(std::lround(axisValue(event.value) / kFullTravel * kLastFlapNotch)));
        return true;
    case kParkingBrakes:
        panel.setToken(kParkingBrakeToken,
                       panel.token(kParkingBrakeToken) != 0.0 ? 0.0 : kFullParkingBrake);
        return true;
    case kFlapsIncrement:
        setFlapNotch(flapNotch() + 1);
        return true;
    case kFlapsDecrement:
        setFlapNotch(flapNotch() - 1);
        return true;
    case kSpoilersSet:
        panel.setToken(kSpoilerPositionToken, axisValue(event.value));
        return true;
    case kSpoilersOn:
        panel.setToken(kSpoilerPositionToken, kFullTravel);
        return true;
    case kSpoilersOff:
        panel.setToken(kSpoilerPositionToken, 0.0);
        return true;
    case kSpoilersArmOff:
        panel.setToken(kSpoilersArmedToken, 0.0);
        return true;
    case kElevatorSet:
        panel.setToken(kElevatorToken, -surfaceValue(event.value));
        return true;
    case kAileronSet:
        panel.setToken(kAileronToken, -surfaceValue(event.value));
        return true;
    case kElevatorTrimSet:
        panel.setToken(kElevatorTrimToken, surfaceValue(event.value));
        return true;
    default:
        return false;
    }
}

bool SimAircraft::applyRadioEvent(const KeyEvent& event) {
    for (const RadioVariableEvent& radio : kRadioVariableEvents) {
        if (event.eventId == radio.side1 || event.eventId == radio.side2) {
            panel.setVariable(radio.variable, event.eventId == radio.side1 ? 1 : 2,
                              radio.valueOf(event.value));
            return true;
        }
    }
    switch (event.eventId) {
    case kTransponderSet:
        panel.setVariable("TRANSPONDER CODE", 1, event.value);
        return true;
    case kComReceiveBothSet:
        panel.setToken(kComReceiveBothToken, flagValue(event.value));
        return true;
    // One COM radio transmits at a time: selecting one deselects the other.
    case kCom1TransmitSelect:
        panel.setToken(kCom1TransmitToken, 1.0);
        panel.setToken(kCom2TransmitToken, 0.0);
        return true;
    case kCom2TransmitSelect:
        panel.setToken(kCom2TransmitToken, 1.0);
        panel.setToken(kCom1TransmitToken, 0.0);
        return true;
    case kClearToken881:
        panel.setToken(kToken881, 0.0);
        return true;
    default:
        return false;
    }
}

bool SimAircraft::applyEngineEvent(const KeyEvent& event) {
    switch (event.eventId) {
    case kEngine1StarterToggle:
    case kEngine2StarterToggle:
        toggleVariable(kStarter, engineOf(event.eventId, kEngine1StarterToggle, 1));
        return true;
    case kEngine1FuelCutoff:
    case kEngine2FuelCutoff:
        panel.setVariable(kMixture, engineOf(event.eventId, kEngine1FuelCutoff, 5), 0.0);
        return true;
    case kEngine1FuelOpen:
    case kEngine2FuelOpen:
        panel.setVariable(kMixture, engineOf(event.eventId, kEngine1FuelOpen, 5), 1.0);
        return true;
    case kEngine1ThrottleSet:
    case kEngine2ThrottleSet:
        panel.setVariable(kThrottle, engineOf(event.eventId, kEngine1ThrottleSet, 1),
                          signedData(event) / kThrottleFullUnits);
        return true;
    case kEngine1AntiIceSet:
    case kEngine2AntiIceSet:
        panel.setVariable(kEngineAntiIce, engineOf(event.eventId, kEngine1AntiIceSet, 1),
                          signedData(event));
        return true;
    case kEngineSelect:
        panel.setToken(kEngineSelectionToken, 0.0);
        return true;
    case kEngineSelect1:
        selectEngine(1);
        return true;
    case kEngineSelect2:
        selectEngine(2);
        return true;
    default:
        return false;
    }
}

bool SimAircraft::applyAutopilotEvent(const KeyEvent& event) {
    // The values are signed: a descent rate travels as two's complement.
    const double value = static_cast<int32_t>(event.value);
    for (const AutopilotTargetEvent& target : kAutopilotTargetEvents) {
        if (event.eventId == target.eventId) {
            const bool inMetres =
                target.metric && panel.token(kAltitudeUnitsToken) == kMetricAltitudes;
            panel.setToken(target.token, value * target.scale * (inMetres ? kMetresPerFoot : 1.0));
            return true;
        }
    }
    for (const AutopilotOffEvent& off : kAutopilotOffEvents) {
        if (event.eventId == off.eventId) {
            panel.setToken(off.token, 0.0);
            if (off.secondToken != 0) {
                panel.setToken(off.secondToken, 0.0);
            }
            return true;
        }
    }
    switch (event.eventId) {
    case kAutopilotMasterOff:
        panel.setToken(kAutopilotMasterToken, 0.0);
        return true;
    case kAutopilotMasterSet:
        panel.setToken(kAutopilotMasterToken, value);
        return true;
    case kAltitudeHoldOn:
    case kAltitudeHoldOff:
        panel.setToken(kAltitudeHoldToken, event.eventId == kAltitudeHoldOn ? 1.0 : 0.0);
        return true;
    default:
        return false;
    }
}

int SimAircraft::engineOf(uint32_t eventId, uint32_t engine1Event, uint32_t stride) {
    return static_cast<int>((eventId - engine1Event) / stride) + 1;
}

void SimAircraft::selectEngine(int engine) {
    const int selected = static_cast<int>(panel.token(kEngineSelectionToken));
    panel.setToken(kEngineSelectionToken, selected | (1 << (engine - 1)));
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

namespace {

struct NamedKeyEvent {
    std::string_view name;
    uint32_t eventId;
};

// The names a scenario gives the key events this simulator applies.
constexpr NamedKeyEvent kNamedKeyEvents[] = {
    {"MASTER_BATTERY_ON", kMasterBatteryOn},
    {"AVIONICS_MASTER_TOGGLE", kAvionicsMasterToggle},
    {"ENGINE1_GENERATOR_TOGGLE", kEngine1GeneratorToggle},
    {"ENGINE2_GENERATOR_TOGGLE", kEngine2GeneratorToggle},
    {"ENGINE1_FUEL_PUMP_TOGGLE", kEngine1FuelPumpToggle},
    {"ENGINE2_FUEL_PUMP_TOGGLE", kEngine2FuelPumpToggle},
    {"FUEL_SELECTOR_ALL", kFuelSelectorAll},
    {"FUEL_SELECTOR_LEFT", kFuelSelectorLeft},
    {"FUEL_SELECTOR_RIGHT", kFuelSelectorRight},
    {"ENGINE1_STARTER_TOGGLE", kEngine1StarterToggle},
    {"ENGINE2_STARTER_TOGGLE", kEngine2StarterToggle},
    {"ENGINE1_FUEL_CUTOFF", kEngine1FuelCutoff},
    {"ENGINE2_FUEL_CUTOFF", kEngine2FuelCutoff},
    {"ENGINE1_FUEL_OPEN", kEngine1FuelOpen},
    {"ENGINE2_FUEL_OPEN", kEngine2FuelOpen},
    {"THROTTLE1_SET", kEngine1ThrottleSet},
    {"THROTTLE2_SET", kEngine2ThrottleSet},
    {"PARKING_BRAKES", kParkingBrakes},
    {"GEAR_UP", SimAircraft::kGearUpEvent},
    {"GEAR_DOWN", SimAircraft::kGearDownEvent},
    {"GEAR_TOGGLE", SimAircraft::kGearToggleEvent},
    {"FLAPS_SET", kFlapsSet},
    {"FLAPS_INCR", kFlapsIncrement},
    {"FLAPS_DECR", kFlapsDecrement},
    {"SPOILERS_SET", kSpoilersSet},
    {"SPOILERS_ON", kSpoilersOn},
    {"SPOILERS_OFF", kSpoilersOff},
    {"SPOILERS_ARM_OFF", kSpoilersArmOff},
    {"ELEVATOR_SET", kElevatorSet},
    {"AILERON_SET", kAileronSet},
    {"ELEVATOR_TRIM_SET", kElevatorTrimSet},
    {"KOHLSMAN_SET", kKohlsmanSet},
    {"AP_MASTER_SET", kAutopilotMasterSet},
    {"AP_MASTER_OFF", kAutopilotMasterOff},
    {"AP_ALT_HOLD_ON", kAltitudeHoldOn},
    {"AP_ALT_HOLD_OFF", kAltitudeHoldOff},
    {"NAV_LIGHTS_TOGGLE", kNavLightsToggle},
    {"STROBES_ON", kStrobesOn},
    {"STROBES_OFF", kStrobesOff},
    {"BEACON_TOGGLE", kBeaconToggle},
    {"LANDING_LIGHTS_ON", kLandingLightsOn},
    {"LANDING_LIGHTS_OFF", kLandingLightsOff},
    {"TAXI_LIGHTS_TOGGLE", kTaxiLightsToggle},
    {"PITOT_HEAT_ON", kPitotHeatOn},
    {"PITOT_HEAT_OFF", kPitotHeatOff},
    {"HEADING_BUG_SET", 0x101FA},
    {"AP_ALT_VAR_SET", 0x1024C},
    {"AP_VS_VAR_SET", 0x101F4},
    {"AP_SPD_VAR_SET", 0x101F5},
    {"AP_MACH_VAR_SET", 0x101F6},
    // The simulator's autopilot panel events, which the module's flight director takes as its
    // mode buttons.
    {"AP_HDG", 0x100BD},
    {"AP_NAV", 0x100C1},
    {"AP_APR", 0x100BC},
    {"AP_ALT", 0x100BE},
    {"TOGA", 0x10145},
    {"FLIGHT_DIRECTOR_TOGGLE", 0x102F0},
};

} // namespace

std::optional<uint32_t> SimAircraft::keyEventId(std::string_view name) {
    for (const NamedKeyEvent& event : kNamedKeyEvents) {
        if (event.name == name) {
            return event.eventId;
        }
    }
    return std::nullopt;
}

} // namespace tavi::sim
