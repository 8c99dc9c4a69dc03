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
    static constexpr int kParkingBrakeToken = 323;
    static constexpr int kSpoilersArmedToken = 324;
    static constexpr int kSpoilerPositionToken = 326;
    static constexpr int kFlapHandleToken = 329;
    static constexpr int kFlapAngleToken = 907;
    static constexpr char kFlapsHandleIndex[] = "FLAPS HANDLE INDEX";
    // The flap angle of each notch of the flap handle, in degrees.
    static constexpr double kFlapNotches[] = {0.0, 9.0, 18.0, 22.0, 45.0};

    explicit SimAircraft(Panel& panel) : panel(panel) {}

    void applyKeyEvent(const KeyEvent& event);
    void writeVariable(const std::string& variable, double value);

private:
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);
    // The flaps follow their handle at once.
    void setFlapNotch(int notch);
    int flapNotch() const;

    Panel& panel;
};

} // namespace tavi::sim
