// The multifunction display in its busiest states, against the screen's share of the 18 Hz
// frame: cruising along the route of the test region with its hold, orbit and arcs, every nearby
// airport and navaid shown with their idents, each lower page in turn (the TCAS page with a
// dozen intruders around the aircraft), in the map and in the plan view. The frame benchmarks
// also run the screen's update and count the navigation-database queries it makes: none on a
// frame where the aircraft has not moved, two when it has moved far enough to fetch again.
#include "displays/Mfd.h"

#include "avionics/Ahrs.h"
#include "avionics/Tcas.h"
#include "avionics/Transponder.h"
#include "platform/gfx/Surface.h"
#include "sim/Geodesy.h"
#include "support/FlightScenario.h"
#include "support/MapRoute.h"

#include <benchmark/benchmark.h>
#include <cmath>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;
constexpr int kIntruders = 12;

// One module cruising along the route with traffic around it, built once for every benchmark.
class BusyCruise {
public:
    BusyCruise() {
        flight.startInFlight(47.35, 8.25, 10000.0, 45.0, 250.0);
        tavi::TransponderMode = tavi::kTransponderTaRa;
        tavi::test::enterMapRoute(*flight.aircraft().fms());
        const tavi::sim::FlightState& own = flight.simulator().flight.state();
        for (int i = 0; i < kIntruders; ++i) {
            const tavi::sim::GeoPoint where =
                tavi::sim::destination({own.latitude, own.longitude}, 30.0 * i, 2.0 + 0.8 * i);
            flight.simulator().traffic.addIntruder(
                100 + static_cast<uint32_t>(i),
                tavi::sim::TrafficStart::absolute(where,
                                                  flight.altitudeFeet() - 2000.0 + 350.0 * i),
                {30.0 * i, 200.0, i % 2 == 0 ? 1200.0 : -800.0});
        }
        flight.fly(4.0);
        mfd().onButton(1);
        mfd().onButton(3);
        mfd().onButton(3);
        mfd().onButton(3);
        mfd().onButton(0);
        mfd().rangeIndex = 2;
    }

    tavi::Mfd& mfd() { return *static_cast<tavi::Mfd*>(flight.aircraft().display(tavi::kMfdLeft)); }
    tavi::Aircraft& aircraft() { return flight.aircraft(); }

private:
    tavi::test::FlightScenario flight;
};

BusyCruise& cruise() {
    static BusyCruise shared;
    return shared;
}

void reportBudget(benchmark::State& state) {
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// The drawing alone of one lower page; argument 0..5 the page, second argument 1 for the plan
// view.
void mfdDraw(benchmark::State& state) {
    tavi::Mfd& mfd = cruise().mfd();
    mfd.lowerPage = static_cast<int32_t>(state.range(0));
    mfd.planMode = state.range(1) != 0;
    mfd.fpsPercent = 100;
    tavi::platform::gfx::Surface surface(400, 476);
    surface.setLogicalSize(tavi::Mfd::kWidth, tavi::Mfd::kHeight);
    for (auto _ : state) {
        mfd.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    reportBudget(state);
    mfd.planMode = false;
}
BENCHMARK(mfdDraw)
    ->ArgNames({"page", "plan"})
    ->ArgsProduct({{0, 1, 2, 3, 4, 5}, {0, 1}})
    ->Unit(benchmark::kMicrosecond);

// A whole frame of the screen, its update and its drawing; argument 1 moves the present position
// by a quarter of a degree every frame, so that each frame fetches the nearby data again.
void mfdFrame(benchmark::State& state) {
    tavi::Mfd& mfd = cruise().mfd();
    tavi::Fms& fms = *cruise().aircraft().fms();
    const bool moving = state.range(0) != 0;
    mfd.lowerPage = tavi::Mfd::kTcasPage;
    const double latitude = fms.position.latitude;
    tavi::platform::gfx::Surface surface(400, 476);
    surface.setLogicalSize(tavi::Mfd::kWidth, tavi::Mfd::kHeight);
    mfd.update(cruise().aircraft());
    const int32_t before = mfd.nearbyFetchCount();
    double shift = 0.0;
    for (auto _ : state) {
        if (moving) {
            shift = shift > 0.0 ? 0.0 : 0.25;
            fms.position.latitude = latitude + shift;
        }
        mfd.update(cruise().aircraft());
        mfd.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    fms.position.latitude = latitude;
    // Each fetch asks the database twice: the airports, then the navaids.
    state.counters["queries_per_frame"] =
        2.0 * (mfd.nearbyFetchCount() - before) / static_cast<double>(state.iterations());
    reportBudget(state);
}
BENCHMARK(mfdFrame)->ArgName("moving")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The map of a turning aircraft: the compass rose and everything on the map turn a little every
// frame.
void mfdTurning(benchmark::State& state) {
    tavi::Mfd& mfd = cruise().mfd();
    tavi::AhrsUnit& unit = cruise().aircraft().ahrs()->unit1;
    const float heading = unit.heading;
    const float trueHeading = unit.token86Value;
    mfd.lowerPage = tavi::Mfd::kEnginePage;
    tavi::platform::gfx::Surface surface(400, 476);
    surface.setLogicalSize(tavi::Mfd::kWidth, tavi::Mfd::kHeight);
    float turn = 0.0f;
    for (auto _ : state) {
        turn = std::fmod(turn + 0.7f, 360.0f);
        unit.heading = std::fmod(heading + turn, 360.0f);
        unit.token86Value = std::fmod(trueHeading + turn, 360.0f);
        mfd.draw(surface, 400, 476, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    unit.heading = heading;
    unit.token86Value = trueHeading;
    reportBudget(state);
}
BENCHMARK(mfdTurning)->Unit(benchmark::kMicrosecond);

} // namespace
