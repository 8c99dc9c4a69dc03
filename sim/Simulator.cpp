#include "sim/Simulator.h"

#include "sim/Geodesy.h"

#include <cmath>

namespace tavi::sim {

Simulator::Simulator(std::filesystem::path simRoot)
    : host((simRoot / "tavi-sim").string()),
      simConnect([this](const std::string& variable, double value) {
          aircraft.writeVariable(variable, value);
      }),
      receivers(panel, simRoot / "Orvane/Nd/nd.sqlite"), simRoot(std::move(simRoot)) {
    panel.onKeyEventApplied([this](const KeyEvent& event) { applyKeyEvent(event); });
    simConnect.onEventApplied(
        [this](const AppliedEvent& event) { aircraft.applySimEvent(event.name, event.data); });
    panel.setInterface(platform::kTrafficInterfaceName,
                       static_cast<platform::TrafficSourceProvider*>(&traffic));
}

void Simulator::fillImports(platform::ImportEntry* table) {
    for (platform::ImportEntry* entry = table; entry->id != 0; ++entry) {
        switch (entry->id) {
        case platform::kPanelServicesImport:
            entry->table = static_cast<platform::PanelServices*>(&panel);
            break;
        case platform::kHostServicesImport:
            entry->table = static_cast<platform::HostServices*>(&host);
            break;
        case platform::kSimConnectImport:
            entry->table = static_cast<platform::SimConnect*>(&simConnect);
            break;
        default:
            break;
        }
    }
}

void Simulator::setModulePath(const std::filesystem::path& modulePath) {
    host.setLoadedModule(modulePath.filename().string(), modulePath.string());
}

void Simulator::startFlight(const std::string& flightPath) {
    simConnect.loadFlight(flightPath);
    simConnect.setRunning(true);
    simConnect.setPaused(false);
    simConnect.setSound(true);
}

void Simulator::step() {
    stepBy(kTickSeconds);
}

void Simulator::stepSeconds(double duration) {
    const auto count = static_cast<int64_t>(std::llround(duration / kTickSeconds));
    for (int64_t i = 0; i < count; ++i) {
        step();
    }
}

void Simulator::stepBy(double duration) {
    simConnect.pump();
    seconds += duration;
    ++tickCount;
    clock.advance(duration);
    panel.setToken(kSecondsToken, seconds);
    panel.setToken(kTickToken, static_cast<double>(tickCount));
    host.advanceTickCount(static_cast<uint32_t>(std::lround(duration * 1000.0)));
    traffic.advance(duration);
    if (flying) {
        const AirState air = atmosphere.at(flight.state().altitudeFeet);
        const double mach = panel.variable("AIRSPEED MACH", 0);
        engines.advance(duration,
                        {air.staticPressurePsi / Atmosphere::kSeaLevelPsi,
                         Atmosphere::totalTemperature(air.temperatureCelsius, mach), mach});
        flight.advance(duration);
    }
    clock.publish(flight.state().latitude, flight.state().longitude);
    receivers.update(duration);
    host.fireTimers();
}

void Simulator::stepIrregular(int count, double minSeconds, double maxSeconds, uint32_t seed) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> length(minSeconds, maxSeconds);
    for (int i = 0; i < count; ++i) {
        stepBy(length(random));
    }
}

void Simulator::fireTimerOnly() {
    simConnect.pump();
    host.fireTimers();
}

} // namespace tavi::sim

namespace tavi::sim {

namespace {

constexpr double kDefaultFuelGallons = 1000.0;
// Without a date of its own the clock starts a week into the navigation database's cycle, or on
// a day of the shipped database's cycle without one, at 10:00 UTC.
constexpr std::chrono::days kDaysIntoCycle{7};
constexpr std::chrono::sys_days kFallbackDate{std::chrono::year(2024) / 2 / 1};
constexpr double kDefaultSecondsOfDay = 10.0 * 3600.0;
constexpr int kPowerToken = 364;
constexpr int kAvionicsToken = 740;

} // namespace

void Simulator::startClock(std::chrono::sys_days date, double secondsOfDay) {
    clock.start(date, secondsOfDay);
    clock.publish(flight.state().latitude, flight.state().longitude);
}

void Simulator::startClock() {
    airfields.load(simRoot);
    const std::optional<std::chrono::sys_days> cycle = airfields.cycleStart();
    startClock(cycle ? *cycle + kDaysIntoCycle : kFallbackDate, kDefaultSecondsOfDay);
}

bool Simulator::parkAtAirport() {
    airfields.load(simRoot);
    const std::optional<RunwayThreshold> airport = airfields.firstAirport();
    if (!airport) {
        return false;
    }
    placeOnGround(airport->latitude, airport->longitude, airport->trueHeading);
    panel.setToken(SimAircraft::kParkingBrakeToken, SimAircraft::kFullParkingBrake);
    return true;
}

void Simulator::startFlying() {
    airfields.load(simRoot);
    magneticVariation.load(simRoot);
    if (!clock.isRunning()) {
        startClock();
    }
    if (engines.fuelWeightKg() <= 0.0) {
        engines.setFuel(kDefaultFuelGallons);
    }
    flying = true;
}

bool Simulator::placeOnRunway(const std::string& airport, const std::string& runway) {
    airfields.load(simRoot);
    const std::optional<RunwayThreshold> threshold = airfields.runway(airport, runway);
    if (!threshold) {
        return false;
    }
    startFlying();
    flight.placeOnRunway(*threshold);
    return true;
}

void Simulator::placeInFlight(double latitude, double longitude, double altitudeFeet,
                              double headingDegrees, double indicatedKnots) {
    startFlying();
    readyToFly();
    flight.placeInFlight(latitude, longitude, altitudeFeet, headingDegrees, indicatedKnots);
}

void Simulator::placeOnGround(double latitude, double longitude, double headingDegrees) {
    startFlying();
    FlightState state;
    state.latitude = latitude;
    state.longitude = longitude;
    state.heading = headingDegrees * kDegreesToRadians;
    state.onGround = true;
    flight.place(state);
}

void Simulator::readyToFly() {
    engines.setRunning();
    for (const int engine : {1, 2}) {
        panel.setVariable("GENERAL ENG GENERATOR ACTIVE", engine, 1.0);
    }
    panel.setToken(kPowerToken, 1.0);
    panel.setToken(kAvionicsToken, 1.0);
}

void Simulator::pilotKeyEvent(uint32_t eventId, uint32_t value) {
    panel.simulatorKeyEvent(eventId, value);
    applyKeyEvent({eventId, value});
}

void Simulator::applyKeyEvent(const KeyEvent& event) {
    switch (event.eventId) {
    case SimAircraft::kGearUpEvent:
    case SimAircraft::kGearDownEvent:
        flight.setGearHandle(event.eventId == SimAircraft::kGearDownEvent);
        break;
    case SimAircraft::kGearToggleEvent:
        flight.setGearHandle(!flight.gearHandle());
        break;
    default:
        aircraft.applyKeyEvent(event);
        break;
    }
}

void Simulator::pilotEvent(const std::string& simEventName, int32_t value) {
    simConnect.pilotEvent(simEventName, static_cast<uint32_t>(value));
}

} // namespace tavi::sim
