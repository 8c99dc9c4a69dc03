// A saved flight with many pilot points: the module's save and load of its per-flight state,
// through the stand-in's flight-saved and flight-loaded notifications, by the number of points.
#include "core/StateField.h"
#include "fms/Fms.h"
#include "support/ModuleHarness.h"

#include <benchmark/benchmark.h>
#include <cstdio>
#include <string>

namespace {

class SavedFlight {
public:
    explicit SavedFlight(int points) {
        module.writeIni("[Startup]\nstartupMode=2\n");
        module.startModule();
        tavi::Fms& fms = *module.aircraft().fms();
        for (int i = 0; i < points; ++i) {
            tavi::PilotPoint point;
            char ident[16];
            std::snprintf(ident, sizeof ident, "*P%05d", i);
            point.ident = ident;
            point.latitude = 47.0 + i * 1.0e-4;
            point.longitude = 8.0;
            point.ppType = tavi::PilotPointType::PlaceBearingDistance;
            point.definition = "ZZAB/090/10";
            fms.pilotPoints().add(point);
        }
        path = (module.folder.path() / "saved.flt").string();
    }

    void save() {
        module.simulator.saveFlight(path);
        module.simulator.step();
    }
    void load() {
        module.simulator.loadFlight(path);
        module.simulator.step();
    }
    // The FMS's section read key by key from the disk, each key reading the whole file again:
    // how a flight was loaded before the file was read once for all.
    void loadKeyByKey() {
        tavi::StateFile file;
        file.path = path;
        module.aircraft().fms()->loadState(file);
    }
    std::size_t pointsHeld() { return module.aircraft().fms()->pilotPoints().points().size(); }

private:
    tavi::test::ModuleHarness module;
    std::string path;
};

void saveFlight(benchmark::State& state) {
    SavedFlight flight(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        flight.save();
    }
}
BENCHMARK(saveFlight)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void loadFlight(benchmark::State& state) {
    SavedFlight flight(static_cast<int>(state.range(0)));
    flight.save();
    for (auto _ : state) {
        flight.load();
    }
    if (flight.pointsHeld() != static_cast<std::size_t>(state.range(0))) {
        state.SkipWithError("the points did not come back");
    }
}
BENCHMARK(loadFlight)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void loadFlightKeyByKey(benchmark::State& state) {
    SavedFlight flight(static_cast<int>(state.range(0)));
    flight.save();
    for (auto _ : state) {
        flight.loadKeyByKey();
    }
}
BENCHMARK(loadFlightKeyByKey)->Arg(500)->Iterations(1)->Unit(benchmark::kMillisecond);

} // namespace
