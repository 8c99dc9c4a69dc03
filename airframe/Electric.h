#pragma once

#include "airframe/Apu.h"
#include "airframe/Battery.h"
#include "airframe/Generator.h"
#include "airframe/Gpu.h"
#include "airframe/PowerBus.h"
#include "avionics/EicasDau.h"
#include "core/System.h"

#include <array>
#include <cstdint>

namespace tavi {

class JetEngine;

// The aircraft's electrical system: the power sources, the ten buses with their ties and shed
// buses, the loads every system and screen draws, the electrical EICAS messages, the
// simulator's switches and the overhead panel's named variables. Every other system learns
// from it alone whether it has power.
class Electric : public System {
public:
    using PowerSource = electric::PowerSource;
    using Battery = electric::Battery;
    using Gpu = electric::Gpu;
    using Generator = electric::Generator;
    using Apu = electric::Apu;
    using PowerBus = electric::PowerBus;

    enum Bus : int {
        kCentralBus = 0,
        kDcBus1 = 1,
        kDcBus2 = 2,
        kEssentialBus1 = 3,
        kEssentialBus2 = 4,
        kShedBus1 = 5,
        kShedBus2 = 6,
        kBatteryBus1 = 7,
        kBatteryBus2 = 8,
        kAcBus = 9,
    };
    // Positions of the Bus Ties and Shed Buses knobs.
    enum Knob : int32_t { kKnobOff = 0, kKnobAuto = 1, kKnobOverride = 2 };

    // Which sources feed the network this frame.
    struct OnlineSources {
        bool generator1 = false;
        bool generator2 = false;
        bool generator3 = false;
        bool generator4 = false;
        bool apuGenerator = false;
        bool gpu = false;
        // The APU is starting at 95 % or less.
        bool apuStarting = false;

        int generatorCount() const;
    };

    Electric();

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // Decides the battery connections, the buses, ties and shed buses, collects and shares the
    // loads and notes whether the network has power (one step of the frame).
    void distribute(Aircraft& aircraft);
    OnlineSources onlineSources() const;
    bool isPowered(int bus) const { return buses[static_cast<std::size_t>(bus)].powered; }

    // Overhead panel controls; each plays its click.
    void setBatterySwitch(Aircraft& aircraft, Battery& battery, bool on);
    void stepKnob(Aircraft& aircraft, int32_t& knob, int32_t step);
    void stepApuKnob(Aircraft& aircraft, int32_t step);

    bool started = false;
    int32_t startupMode = 0;
    bool networkPowered = false;
    bool acPowerSwitch = true;
    bool avionicsMaster1 = true;
    bool avionicsMaster2 = true;
    // The "Essential Power" switch: true is Auto, false is On.
    bool essentialPowerAuto = true;
    // The guard over the "Essential Power" button, closed at start and never saved.
    bool essentialPowerGuardOpen = false;
    // The cockpit's lamps and annunciators have power.
    bool annunciatorPower = false;
    int32_t shedBusKnob = kKnobAuto;
    int32_t busTiesKnob = kKnobAuto;
    int32_t onlineGenerators = 0;
    // Tie 1 joins DC bus 1 and the central bus, tie 2 DC bus 2 and the central bus.
    bool busTie1Closed = false;
    bool busTie2Closed = false;
    bool shedBus1Enabled = false;
    bool shedBus2Enabled = false;
    bool pfd1Unpowered = false;
    bool pfd1UnpoweredChanged = false;
    bool pfd2Unpowered = false;
    bool pfd2UnpoweredChanged = false;
    bool shedBus1Off = false;
    bool shedBus1OffChanged = false;
    bool shedBus2Off = false;
    bool shedBus2OffChanged = false;
    // The 115 VAC bus is unpowered while a generator is online.
    bool acBusOff = false;
    bool acBusOffChanged = false;
    uint32_t powerOnTime = 0;
    uint32_t powerOffTime = electric::kTimeNotYet;
    Battery battery1{70.0f};
    Battery battery2{70.0f};
    Battery backupBattery{10.0f};
    Gpu gpu;
    Apu apu{battery1, battery2, gpu};
    Generator generator1{1, 1};
    Generator generator2{2, 2};
    Generator generator3{1, 3};
    Generator generator4{2, 4};
    std::array<PowerBus, kBusCount> buses;
    JetEngine* engine1 = nullptr;
    JetEngine* engine2 = nullptr;
    EicasDau* eicasDau = nullptr;

private:
    enum Variable : std::size_t {
        kBatt1,
        kBatt1Click,
        kBatt2,
        kBatt2Click,
        kBusTies,
        kBusTiesDec,
        kBusTiesInc,
        kShedBus,
        kShedBusDec,
        kShedBusInc,
        kApu,
        kApuDec,
        kApuInc,
        kVariableCount,
    };

    void updateSources(Aircraft& aircraft);
    void keepSimulatorInStep(const Aircraft& aircraft) const;
    void applyStartupState(Aircraft& aircraft);
    void connectBatteries(const OnlineSources& online);
    void routeMainBuses(const OnlineSources& online, bool onGround);
    void closeTies(const OnlineSources& online, bool onGround);
    void feedAcBus(const OnlineSources& online);
    void feedEssentialBuses(const OnlineSources& online, bool onGround);
    void feedShedBuses(const OnlineSources& online);
    void collectAndShareLoads(Aircraft& aircraft, const OnlineSources& online);
    void collectLoads(Aircraft& aircraft, BusLoads& loads);
    void shareSide(const OnlineSources& online, Battery& battery, bool tieClosed, Generator& first,
                   Generator& second, float load);
    void shareNetwork(const OnlineSources& online, float load1, float load2);
    void notePowerChange(Aircraft& aircraft, const OnlineSources& online);
    void fadeHum(Aircraft& aircraft) const;
    void notePfdPower(const Aircraft& aircraft);
    void updateEicasMessages(Aircraft& aircraft);
    void serveNamedVariables(Aircraft& aircraft);
    bool takeRequest(Variable variable) const;
    void publish(Variable variable, double value) const;

    std::array<int32_t, kVariableCount> variableIds{};
    bool variablesRegistered = false;
    EicasPowerWatch eicasPower;
};

} // namespace tavi
