#pragma once

#include "avionics/EicasDau.h"
#include "core/SimVar.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

class Electric;
class JetEngine;

// The fuel system: the two main tanks with their weights, fuel used and temperature, three
// pumps on each side behind the pump selectors, the crossfeed through the simulator's tank
// selector, and whether fuel reaches each engine and the APU. Side 1 is the left tank and
// engine 1, side 2 the right tank and engine 2 (which also feeds the APU). Weights are pounds,
// temperatures degrees Celsius.
class FuelSystem : public System {
public:
    // The crossfeed knob and the simulator's tank selector.
    enum Crossfeed : int32_t {
        kCrossfeedOff = 1,
        kLeftToRight = 2,
        kRightToLeft = 3,
    };
    enum PumpSelector : int32_t { kPumpA = 0, kPumpB = 1, kPumpC = 2 };
    static constexpr int kPumpsPerSide = 3;

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // Toggle the simulator's fuel pump switch of engine 1 (2) when it is not yet at `on`.
    void setFuelPump1(bool on);
    void setFuelPump2(bool on);
    // The knob turns Right to Left, Off, Left to Right, and stops at either end.
    void crossfeedKnobUp();
    void crossfeedKnobDown();
    // Drives the simulator's tank selector; without essential bus 2 the crossfeed cannot open,
    // so the selector is sent to Off and nothing is recorded.
    void applyTankSelector(int32_t position);

    // Low-fuel limits of the screens: lb amber, lb red, kg amber, kg red. The EICAS and the RMU
    // draw the first set, the MFD the second.
    std::array<std::array<float, 4>, 2> displayLimits{{
        {880.0f, 450.0f, 400.0f, 210.0f},
        {880.0f, 450.0f, 400.0f, 210.0f},
    }};
    // Set at the end of the first frame with a non-zero simulation time; the tank quantities
    // below have been read from the simulator by then.
    bool started = false;
    int32_t startupMode = 0;
    float leftFuel = 0.0f;
    float rightFuel = 0.0f;
    float previousLeftFuel = 0.0f;
    float previousRightFuel = 0.0f;
    // Pounds per gallon (panel token 306).
    float fuelWeightPerGallon = 0.0f;
    // Fuel used since each MFD last reset its own counter; both count the burn of both tanks.
    float fuelUsed1 = 0.0f;
    float fuelUsed2 = 0.0f;
    float fuelTemperature = 0.0f;
    // The fuel that left the tanks in the last frame; 0 when they were refilled or jumped.
    float fuelBurnedThisFrame = 0.0f;
    // The simulator's fuel pump switches of engine 1 and 2.
    bool pump1Switch = false;
    bool pump2Switch = false;
    bool unlimitedFuel = false;
    // Fuel reaches engine 1, engine 2 (and the APU).
    bool fuelAvailable1 = true;
    bool fuelAvailable2 = true;
    // The simulator's fuel tank selector, as Crossfeed.
    int32_t tankSelector = kCrossfeedOff;
    int32_t crossfeedKnob = kCrossfeedOff;
    int32_t pumpSelector1 = kPumpA;
    int32_t pumpSelector2 = kPumpA;
    // Pumps A, B, C of each side.
    std::array<bool, kPumpsPerSide> pumpRunning1{};
    std::array<bool, kPumpsPerSide> pumpRunning2{};
    // The side's selected pump is wanted but does not run; the others take over in turn.
    bool selectedPumpDead1 = false;
    bool selectedPumpDead2 = false;
    uint32_t pumpDeadSince1 = 0;
    uint32_t pumpDeadSince2 = 0;
    // Tank contents at or below which the side's feed fails.
    float minimumFeedLeft = 0.0f;
    float minimumFeedRight = 0.0f;
    bool lowPressure1Changed = false;
    bool lowPressure1 = false;
    bool lowPressure2Changed = false;
    bool lowPressure2 = false;
    bool apuLowPressureChanged = false;
    bool apuLowPressure = false;
    // The fuel temperature crossed -40 degrees in the last frame.
    bool lowTemperatureChanged = false;
    bool imbalanceChanged = false;
    bool imbalance = false;
    bool apuShutoffClosedChanged = false;
    bool apuShutoffClosed = false;
    // The tank selector was driven in this frame.
    bool selectorCommanded = false;
    // The tank selector does not follow the crossfeed knob.
    bool crossfeedFailChanged = false;
    bool crossfeedFail = true;
    bool lowLevel1Changed = false;
    bool lowLevel1 = false;
    bool lowLevel2Changed = false;
    bool lowLevel2 = false;
    SimVar unlimitedFuelVar{"UNLIMITED FUEL", "BOOL", 0};
    SimVar tankSelectorVar{"FUEL TANK SELECTOR", "ENUM", 1};
    SimVar leftLevelVar{"FUEL TANK LEFT MAIN LEVEL", "PERCENT", 0};
    SimVar pump1SwitchVar{"GENERAL ENG FUEL PUMP SWITCH", "BOOL", 1};
    SimVar pump2SwitchVar{"GENERAL ENG FUEL PUMP SWITCH", "BOOL", 2};
    SimVar leftQuantityVar{"FUEL TANK LEFT MAIN QUANTITY", "gallon", 0};
    SimVar rightQuantityVar{"FUEL TANK RIGHT MAIN QUANTITY", "gallon", 0};
    // Main-tank quantities in gallons.
    double leftGallons = 0.0;
    double rightGallons = 0.0;

private:
    void readTanks(const Aircraft& aircraft);
    void updateImbalance();
    void updatePumpsAndCrossfeed(const Aircraft& aircraft);
    void driveCrossfeed();
    void runPumps(uint32_t now);
    void updatePressures(const Aircraft& aircraft);
    void updateTemperature(const Aircraft& aircraft);
    void countFuelUsed();
    void feedEngines(const Aircraft& aircraft);
    void updateEicasMessages(const Aircraft& aircraft);
    void applyStartupState();
    bool essentialBus2Powered() const;
    // The tank selector as the pumps and feeds see it.
    int32_t feedSelector() const;

    // The left tank's contents as a fraction of full.
    float leftLevel = 0.0f;
    const Electric* electric = nullptr;
    EicasDau* eicasDau = nullptr;
    EicasPowerWatch eicasPower;
};

} // namespace tavi
