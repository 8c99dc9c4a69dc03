#pragma once

#include "sim/Panel.h"

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

    static constexpr double kStandardSettingHpa = 1013.25;

    // The altimeter starts at the standard setting.
    explicit SimAircraft(Panel& panel) : panel(panel) { setAltimeter(kStandardSettingHpa); }

    void applyKeyEvent(const KeyEvent& event);
    void writeVariable(const std::string& variable, double value);
    // The main altimeter setting, as the Kohlsman event sets it.
    void setAltimeter(double hectopascals);

private:
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);

    Panel& panel;
};

} // namespace tavi::sim
