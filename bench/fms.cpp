// One whole FMS frame in flight with a 40-leg active plan: position, LNAV, learning and the
// database's present position; and a full performance prediction of a 100-leg route.
#define TAVI_TEST_FIXTURES TAVI_SOURCE_DIR "/tests/fixtures"
#include "fms/Fms.h"

#include "cdu/PerfInit.h"
#include "fms/GlobalFlightPlans.h"
#include "fms/RoutePredictions.h"
#include "fms/SpeedSchedules.h"
#include "support/FlightScenario.h"
#include "support/PredictionRoute.h"

#include <benchmark/benchmark.h>

namespace {

constexpr std::size_t kPlanLegs = 40;

// The test region's waypoints in turn, from near the aircraft northwards and back.
void buildPlan(tavi::Fms& fms) {
    const char* const idents[] = {"P", "Q", "R", "S", "T", "TWIN", "K5", "K4", "K3", "K2", "K1"};
    const tavi::FlightPlanContext& context = fms.planContext();
    std::size_t next = 0;
    while (tavi::activeFlightPlan.legCount() < kPlanLegs) {
        std::vector<tavi::Waypoint> found;
        fms.navDatabase().searchWpts(idents[next++ % std::size(idents)], found);
        if (!found.empty()) {
            tavi::activeFlightPlan.insertWaypoint(found.front(), tavi::activeFlightPlan.legCount(),
                                                  false, context);
        }
    }
}

void fmsFrame(benchmark::State& state) {
    tavi::test::FlightScenario flight;
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    tavi::Fms& fms = *flight.aircraft().fms();
    buildPlan(fms);
    flight.fly(1.0);
    for (auto _ : state) {
        fms.update(flight.aircraft());
    }
    state.counters["powered"] = fms.powered ? 1.0 : 0.0;
    state.counters["legs"] = static_cast<double>(tavi::activeFlightPlan.legCount());
    tavi::activeFlightPlan.clear(fms.planContext());
}
BENCHMARK(fmsFrame)->Unit(benchmark::kMicrosecond);

void routePrediction(benchmark::State& state) {
    tavi::FmsPerf perf;
    tavi::test::fillPerformanceTables(perf);
    tavi::PerfInit perfInit;
    perfInit.passengerCount = 20;
    perfInit.cargoWeight = 1000.0;
    perfInit.fuelWeight = 12000.0;
    tavi::SpeedEnvelope envelope;
    tavi::FlightPlan plan;
    tavi::test::buildPredictionRoute(plan, 100, 12.0);
    tavi::SpeedSchedules schedules(perfInit, envelope);
    const tavi::PlanSpeedSchedule schedule(schedules, perfInit, envelope, plan);
    const tavi::RoutePredictions predictions(perf, schedule);
    tavi::RoutePredictions::Inputs inputs;
    inputs.perfInit = &perfInit;
    for (auto _ : state) {
        benchmark::DoNotOptimize(predictions.predictFlightPlan(plan, 35000.0f, inputs));
    }
    state.counters["legs"] = static_cast<double>(plan.legCount());
}
BENCHMARK(routePrediction)->Unit(benchmark::kMillisecond);

} // namespace
