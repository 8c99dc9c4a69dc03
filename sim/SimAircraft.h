#pragma once

#include "sim/Panel.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tavi::sim {

// The simulator's own state of the user aircraft's systems, as the key events and the data
// writes of a client change it: the tokens and variables that follow them.
class SimAircraft {
public:
    static constexpr int kPowerToken = 364;
    static constexpr int kAvionicsToken = 740;
    static constexpr int kLeftMainTankToken = 304;
    static constexpr int kRightMainTankToken = 303;
    // A bit per engine the throttle keys act on.
    static constexpr int kEngineSelectionToken = 126;
    static constexpr int kAltimeterHpaToken = 75;
    static constexpr int kAltimeterInHgToken = 76;
    static constexpr int kGyroToken = 85;
    static constexpr int kParkingBrakeToken = 323;
    static constexpr double kFullParkingBrake = 32767.0;
    static constexpr int kSpoilersArmedToken = 324;
    static constexpr int kSpoilerPositionToken = 326;
    static constexpr int kFlapHandleToken = 329;
    static constexpr int kFlapAngleToken = 907;
    static constexpr char kFlapsHandleIndex[] = "FLAPS HANDLE INDEX";
    // The flap angle of each notch of the flap handle, in degrees.
    static constexpr double kFlapNotches[] = {0.0, 9.0, 18.0, 22.0, 45.0};

    static constexpr double kStandardSettingHpa = 1013.25;
    // The gear handle's events, which the simulator applies to its flight model.
    static constexpr uint32_t kGearToggleEvent = 0x10022;
    static constexpr uint32_t kGearUpEvent = 0x1021F;
    static constexpr uint32_t kGearDownEvent = 0x10220;

    // The aircraft as a flight loads it: hydraulic reservoirs full, the altimeter at the standard
    // setting, the radios on their first channels.
    explicit SimAircraft(Panel& panel);

    void applyKeyEvent(const KeyEvent& event);
    // A simulator event applied by name (the pilot's axes, or one a client transmitted).
    void applySimEvent(const std::string& name, uint32_t data);
    // The event a scenario names (MASTER_BATTERY_ON, FLAPS_INCR, ...); empty for an unknown name.
    static std::optional<uint32_t> keyEventId(std::string_view name);
    void writeVariable(const std::string& variable, double value);
    // The main altimeter setting, as the Kohlsman event sets it.
    void setAltimeter(double hectopascals);

private:
    // The radios' frequencies, course, ident audio and COM selection; false for another event.
    bool applyRadioEvent(const KeyEvent& event);
    // The engines' starter, fuel lever, throttle, anti-ice and the engine selection; false for
    // another event.
    bool applyEngineEvent(const KeyEvent& event);
    // The engine number of a per-engine event whose engines' events lie `stride` apart.
    static int engineOf(uint32_t eventId, uint32_t engine1Event, uint32_t stride);
    void selectEngine(int engine);
    // The autopilot's targets and functions; false for another event.
    bool applyAutopilotEvent(const KeyEvent& event);
    void applyLightEvent(uint32_t eventId);
    // The flaps, spoilers and parking brake; false for another event.
    bool applyFlightControlEvent(const KeyEvent& event);
    void toggleToken(int tokenId);
    void toggleVariable(const char* name, int index);
    // The flaps follow their handle at once.
    void setFlapNotch(int notch);
    int flapNotch() const;

    Panel& panel;
};

} // namespace tavi::sim
