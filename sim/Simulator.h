#pragma once

#include "platform/panel/ImportTable.h"
#include "sim/Host.h"
#include "sim/Panel.h"
#include "sim/Receivers.h"
#include "sim/SimAircraft.h"
#include "sim/SimConnectServer.h"
#include "sim/TrafficList.h"

#include <cstdint>
#include <filesystem>
#include <random>

namespace tavi::sim {

// The stand-in simulator: panel services, host services and SimConnect for one module, and the
// simulator's clock. Time moves only when the caller steps it, so runs are deterministic.
class Simulator {
public:
    static constexpr int kTickToken = 1;
    static constexpr int kSecondsToken = 604;
    static constexpr double kTickSeconds = 1.0 / 18.0;

    // The simulator folder holds the simulator's executable, the module's panel folder and the
    // data the module reads.
    explicit Simulator(std::filesystem::path simRoot);

    // Writes the service tables into a module's import table.
    void fillImports(platform::ImportEntry* table);
    // Tells the host where the module's file lies (the module finds its folder through it).
    void setModulePath(const std::filesystem::path& modulePath);

    // A flight starts: the Sim, Pause and Sound states and the flight file, as a simulator
    // sends them.
    void startFlight(const std::string& flightPath = "Flights/Default.FLT");

    // One tick of 1/18 s: SimConnect messages are delivered, the clock and the tick token move
    // on, the system clock advances, the traffic flies on, the radios receive and the timer
    // fires.
    void step();
    void stepSeconds(double seconds);
    // One tick whose length is `seconds`, for irregular frame lengths.
    void stepBy(double seconds);
    // Ticks of random lengths between minSeconds and maxSeconds, from a fixed seed.
    void stepIrregular(int ticks, double minSeconds, double maxSeconds, uint32_t seed);
    // The timer fires without a new tick.
    void fireTimerOnly();

    double simulatorSeconds() const { return seconds; }
    int64_t ticks() const { return tickCount; }
    const std::filesystem::path& root() const { return simRoot; }

    Panel panel;
    SimAircraft aircraft{panel};
    Host host;
    SimConnectServer simConnect;
    TrafficList traffic{panel};
    // Fed from the navigation database of the simulator folder.
    Receivers receivers;

private:
    std::filesystem::path simRoot;
    double seconds = 0.0;
    int64_t tickCount = 0;
};

} // namespace tavi::sim
