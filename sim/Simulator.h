#pragma once

#include "platform/panel/ImportTable.h"
#include "sim/Airfields.h"
#include "sim/Atmosphere.h"
#include "sim/FlightModel.h"
#include "sim/Host.h"
#include "sim/MagneticVariation.h"
#include "sim/Panel.h"
#include "sim/Receivers.h"
#include "sim/SimAircraft.h"
#include "sim/SimClock.h"
#include "sim/SimConnectServer.h"
#include "sim/SimEngines.h"
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
    // The pilot saves the flight into a flight file, or loads one.
    void saveFlight(const std::string& flightPath) { simConnect.saveFlight(flightPath); }
    void loadFlight(const std::string& flightPath) { simConnect.loadFlight(flightPath); }

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

    // The aircraft flies from here on: stopped on a runway of the navigation database (false,
    // nothing changed, without that runway), or in steady level flight, trimmed, at an
    // indicated airspeed. Until one of them the flight model and the engines stay still and the
    // test bed sets the flight's tokens and variables itself.
    bool placeOnRunway(const std::string& airport, const std::string& runway);
    void placeInFlight(double latitude, double longitude, double altitudeFeet,
                       double headingDegrees, double indicatedKnots);
    // Stopped on the ground at a position, heading true, at the elevation of the ground there.
    void placeOnGround(double latitude, double longitude, double headingDegrees);
    bool isFlying() const { return flying; }
    // Parked at the first airport of the navigation database, on the ground with its parking
    // brake set (false, nothing changed, without an airport there).
    bool parkAtAirport();
    // The clock runs from the date and time given, or from a fixed morning a week into the
    // navigation database's cycle; placing the aircraft starts it too.
    void startClock(std::chrono::sys_days date, double secondsOfDay);
    void startClock();
    // The simulator's side of an aircraft ready to fly: engines running at idle with fuel
    // open, the generators on, battery and avionics masters on.
    void readyToFly();
    // The pilot acts: a key event reaches the module's handlers and the simulator applies it;
    // an axis or other simulator event goes through SimConnect's notification groups.
    void pilotKeyEvent(uint32_t eventId, uint32_t value = 0);
    // Fails an engine (1 or 2) in flight or on the ground.
    void failEngine(int engine) { engines.fail(engine); }
    void pilotEvent(const std::string& simEventName, int32_t value);

    double simulatorSeconds() const { return seconds; }
    int64_t ticks() const { return tickCount; }
    const std::filesystem::path& root() const { return simRoot; }

    Panel panel;
    SimClock clock{panel};
    SimAircraft aircraft{panel};
    Host host;
    SimConnectServer simConnect;
    TrafficList traffic{panel};
    Atmosphere atmosphere;
    SimEngines engines{panel};
    Airfields airfields;
    MagneticVariation magneticVariation;
    FlightModel flight{panel, engines, atmosphere, airfields, magneticVariation};
    // Fed from the navigation database of the simulator folder; they read where the flight
    // model put the aircraft.
    Receivers receivers;

private:
    void startFlying();
    // A key event that reached the simulator: the gear handle moves the flight model's gear,
    // every other event the aircraft's switches and radios.
    void applyKeyEvent(const KeyEvent& event);

    bool flying = false;
    std::filesystem::path simRoot;
    double seconds = 0.0;
    int64_t tickCount = 0;
};

} // namespace tavi::sim
