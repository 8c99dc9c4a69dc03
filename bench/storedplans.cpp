// A stored flight plan of thousands of points read, saved and read back, as the FLIGHT PLAN
// LIST and the stored-plan page do: the time of the round and the memory it took at its peak.
#define TAVI_TEST_FIXTURES TAVI_SOURCE_DIR "/tests/fixtures"
#include "core/Aircraft.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "support/ModuleHarness.h"
#include "support/NavFixtureFiles.h"

#include <benchmark/benchmark.h>
#include <filesystem>
#include <sys/resource.h>

namespace {

constexpr char kPlanName[] = "ZZAA-ZZAD";

double peakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

// The test region's fixes in turn, each leg a different fix from the one before.
void buildLongPlan(tavi::Fms& fms, tavi::FlightPlan& plan, std::size_t points) {
    const tavi::FlightPlanContext& context = fms.planContext();
    plan.clear(context);
    plan.setName(kPlanName);
    std::vector<tavi::Waypoint> found;
    fms.navDatabase().searchAirports("ZZAA", found);
    plan.setOrigin(found.front(), context);
    found.clear();
    fms.navDatabase().searchAirports("ZZAD", found);
    plan.setDestination(found.front(), context);
    std::vector<tavi::Waypoint> fixes;
    for (const char* ident : {"P", "Q", "R", "S", "T"}) {
        found.clear();
        fms.navDatabase().searchWpts(ident, found);
        fixes.push_back(found.front());
    }
    for (std::size_t i = 0; i < points; ++i) {
        tavi::FlightPlanLeg leg;
        leg.wpt = fixes[i % fixes.size()];
        plan.legs.push_back(leg);
    }
}

void readSaveReadBack(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    tavi::test::writeRegionDatabase(module.folder.path());
    std::filesystem::create_directories(module.folder.path() / "Orvane" / "CustomDB");
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    module.simulator.step();
    tavi::Fms& fms = *module.aircraft().fms();
    tavi::StoredPlanLibrary& library = fms.storedPlans();
    tavi::FlightPlan plan;
    buildLongPlan(fms, plan, static_cast<std::size_t>(state.range(0)));
    library.savePlanFile(plan);
    const std::filesystem::path file = *library.fileFor(kPlanName);
    bool complete = true;
    for (auto _ : state) {
        complete = library.loadPlanFile(plan, kPlanName, file, fms.planContext()) && complete;
        complete = library.savePlanFile(plan) && complete;
        complete = library.loadPlanFile(plan, kPlanName, file, fms.planContext()) && complete;
    }
    state.counters["points"] = static_cast<double>(plan.legCount());
    state.counters["complete"] = complete ? 1.0 : 0.0;
    state.counters["peakMB"] = peakMegabytes();
    tavi::resetGlobalFlightPlans();
}
BENCHMARK(readSaveReadBack)->Arg(500)->Arg(4000)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
