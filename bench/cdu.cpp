// One CDU frame: the page engine writes a full page into the character cells and the CDU
// screen paints all 216 of them, against the screen's share of the 18 Hz frame.
#include "displays/CduDisplay.h"
#include "fms/GlobalFlightPlans.h"
#include "platform/gfx/Surface.h"
#include "support/AvionicsBench.h"
#include "support/PredictionRoute.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

// Every row of the page filled: labels small, data large, in all the colours, with prompts.
void writeFullPage(tavi::CduScreen& screen) {
    using tavi::CduColour;
    screen.drawTitle("ACTIVE FLT PLAN");
    screen.drawPageNumber(1, 3);
    const CduColour colours[] = {CduColour::Green,  CduColour::Cyan,  CduColour::Magenta,
                                 CduColour::Yellow, CduColour::Amber, CduColour::Red};
    for (int32_t row = 1; row < 7; ++row) {
        const bool label = row % 2 == 1;
        screen.putText(row, 0,
                       label ? " 045\xC2\xB0  12.4NM   250/FL100" : "KAAA01  N4530.0W12245.5",
                       label ? CduColour::White : colours[row % 6], !label, row == 4);
    }
    screen.drawLeftPrompt("DEPARTURE", false, 7);
    screen.drawRightPrompt("ARRIVAL", false, 7);
}

void cduFrame(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    tavi::Fms& fms = bench.fms;
    fms.pages[tavi::Fms::kNavIdentPage].draw = [&fms] {
        writeFullPage(fms.screen);
    };
    fms.setScratchpad("KAAA/KBBB");
    auto& display = *static_cast<tavi::CduDisplay*>(bench.aircraft().display(tavi::kCduDisplay));
    tavi::platform::gfx::Surface surface(370, 240);
    surface.setLogicalSize(tavi::CduDisplay::kWidth, tavi::CduDisplay::kHeight);
    for (auto _ : state) {
        fms.drawPage();
        display.draw(surface, 370, 240, false);
        benchmark::DoNotOptimize(surface.pixel(20, 20));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(cduFrame)->Unit(benchmark::kMicrosecond);

// CRUISE's second sub-page walks the range down to the reserve in 10 nm steps on every frame it
// is shown: here some 20 000 lb of fuel over a reserve of 2000 lb.
void cruiseRangePage(benchmark::State& state) {
    tavi::test::AvionicsBench bench;
    tavi::Fms& fms = bench.fms;
    tavi::test::fillPerformanceTables(fms.performance());
    tavi::test::buildPredictionRoute(tavi::activeFlightPlan, 4, 60.0);
    tavi::PerfInit& perf = fms.perfInit;
    perf.initialised = true;
    perf.initCrzAlt = 35000;
    perf.passengerCount = 4;
    perf.cargoWeight = 500.0;
    perf.fuelWeight = 20000.0;
    perf.prediction[tavi::PerfPrediction::ReserveFuel] = 2000.0f;
    constexpr int32_t kCruisePage = 29;
    fms.setPage(kCruisePage, 2);
    for (auto _ : state) {
        fms.drawPage();
        benchmark::DoNotOptimize(fms.screen.cell(2, 1));
    }
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    tavi::resetGlobalFlightPlans();
}
BENCHMARK(cruiseRangePage)->Unit(benchmark::kMicrosecond);

} // namespace
