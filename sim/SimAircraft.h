#pragma once

#include "sim/Panel.h"

#include <cstdint>
#include <string>

namespace tavi::sim {

// The simulator's own state of the user aircraft's systems, as the key events and the data
// writes of a client change it: the tokens and variables that follow them.
class SimAircraft {
public:
    static constexpr int kPowerToken = 364;
    static constexpr int kAvionicsToken = 740;
    static constexpr int kLeftMainTankToken = 304;
    static constexpr int kRightMainTankToken = 303;
    static constexpr int kAltimeterHpaToken = 75;
    static constexpr int kAltimeterInHgToken = 76;
    static constexpr int kGyroToken = 85;

    // The simulator's time of day as calculator code reads it: 0 dawn, 1 day, 2 dusk, 3 night.
    static constexpr const char* kTimeOfDayCode = "(E:TIME OF DAY,Enum)";
    static constexpr int32_t kDay = 1;
    static constexpr int32_t kNight = 3;
    static constexpr double kStandardSettingHpa = 1013.25;

    // The aircraft as a flight loads it: by day, hydraulic reservoirs full, the altimeter at the
    // standard setting.
    explicit SimAircraft(Panel& panel);

    void applyKeyEvent(const KeyEvent& event);
    void writeVariable(const std::string& variable, double value);
    void setTimeOfDay(int32_t timeOfDay);
    // The main altimeter setting, as the Kohlsman event sets it.
    void setAltimeter(double hectopascals);

private:
    // The radios' frequencies, course, ident audio and COM selection; false for another event.
    bool applyRadioEvent(const KeyEvent& event);
    // The autopilot's targets and functions; false for another event.
    bool applyAutopilotEvent(const KeyEvent& event);
    void applyLightEvent(uint32_t eventId);
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);

    Panel& panel;
};

} // namespace tavi::sim
