#pragma once

#include <cstdint>

namespace tavi {

class Aircraft;

namespace electric {

// Volts above which a connected source feeds the network.
inline constexpr float kOnlineVolts = 23.5f;
// Amperes above which a source counts as overloaded.
inline constexpr float kOverloadAmps = 400.0f;
// The start value of the source timers that have not run yet.
inline constexpr uint32_t kTimeNotYet = 2147483648u;

// A source of the electrical network: a voltage, the current the network last assigned to it
// and whether it is connected.
class PowerSource {
public:
    virtual ~PowerSource() = default;

    // The frame update; sources use the currents the previous frame assigned to them.
    virtual void update(Aircraft& aircraft) = 0;
    virtual void loadSettings(Aircraft& aircraft);

    // Sets the connection (the source's switch, or the network's use of a battery) and notes
    // the change; the new value.
    bool setSwitch(bool on);
    // Assigns the current and notes a crossing of the overload limit in either direction.
    void setLoad(float amperes);
    void clearCurrent() { current = 0.0f; }
    bool isOnline() const { return connected && voltage > kOnlineVolts; }

    float voltage = 0.0f;
    // Negative for a battery that is being charged.
    float current = 0.0f;
    float lastCurrent = 0.0f;
    bool connected = false;
    bool changed = false;

protected:
    // The frame's length in seconds, the delta taken as unsigned.
    static float frameSeconds(const Aircraft& aircraft);
};

} // namespace electric
} // namespace tavi
