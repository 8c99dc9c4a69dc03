#include "sim/Simulator.h"

#include <cmath>

namespace tavi::sim {

Simulator::Simulator(std::filesystem::path simRoot)
    : host((simRoot / "tavi-sim").string()),
      simConnect([this](const std::string& variable, double value) {
          aircraft.writeVariable(variable, value);
      }),
      receivers(panel, simRoot / "Orvane/Nd/nd.sqlite"), simRoot(std::move(simRoot)) {
    panel.onKeyEventApplied([this](const KeyEvent& event) { aircraft.applyKeyEvent(event); });
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
    panel.setToken(kSecondsToken, seconds);
    panel.setToken(kTickToken, static_cast<double>(tickCount));
    host.advanceTickCount(static_cast<uint32_t>(std::lround(duration * 1000.0)));
    traffic.advance(duration);
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
