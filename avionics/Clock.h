#pragma once

#include "core/System.h"

#include <cstdint>
#include <string>

namespace tavi {

class Electric;

// The two cockpit digital clocks: clock 1 on the essential bus 1, clock 2 on DC bus 2. Each
// frame it composes the texts the clock screens show: UTC, the simulator's local time, the
// date, and for each clock the flight time counted while airborne and the chronometer.
class Clock : public System {
public:
    // Upper-window selections of the clocks.
    enum DisplayMode : int32_t { kDateMode = 0, kLocalTimeMode = 1, kUtcMode = 2 };
    enum ChronoState : int32_t { kChronoReset = 0, kChronoRunning = 1, kChronoStopped = 2 };

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // The elapsed-time buttons: in flight they switch the lower window; on the ground a press
    // while a non-zero elapsed time is shown resets it instead.
    void modeButton1();
    void modeButton2();
    // The chronometer buttons: start, stop, reset.
    void chronoButton1();
    void chronoButton2();

    bool started = false;
    bool clock1Powered = false;
    bool clock2Powered = false;
    int32_t displayMode1 = kUtcMode;
    int32_t displayMode2 = kUtcMode;
    // The lower window shows the chronometer instead of the elapsed time.
    bool showChrono1 = false;
    bool showChrono2 = false;
    // Milliseconds.
    uint32_t elapsed1 = 0;
    uint32_t elapsed2 = 0;
    uint32_t chrono1 = 0;
    uint32_t chrono2 = 0;
    int32_t chronoState1 = kChronoReset;
    int32_t chronoState2 = kChronoReset;
    std::string utcText;
    std::string localTimeText;
    std::string dateText;
    std::string elapsedText1;
    std::string elapsedText2;
    std::string chronoText1;
    std::string chronoText2;
    Electric* electric = nullptr;
    // The flight management system's airborne flag as the last frame saw it.
    bool airborne = false;

private:
    struct ZuluDate {
        int32_t year = 0;
        int32_t month = 0;
        int32_t day = 0;
    };

    void composeTimeAndDate(const Aircraft& aircraft);
    void readZuluDate();
    void countElapsedTime(const Aircraft& aircraft);
    void runChronometers(const Aircraft& aircraft);
    static void chronoButton(int32_t& state, uint32_t& chrono, bool& showChrono);
    void modeButton(bool& showChrono, uint32_t& elapsed) const;

    ZuluDate zuluDate;
};

} // namespace tavi
