// One whole frame of the module with every system slot filled, against the 18 Hz frame budget.
#include "support/ModuleHarness.h"

#include <benchmark/benchmark.h>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

// A system with a little work of its own in each operation.
class BusySystem : public tavi::System {
public:
    void update(tavi::Aircraft& aircraft) override {
        for (int i = 0; i < 64; ++i) {
            state = state * 0.999 + aircraft.tokens.value(i % 100);
        }
    }
    void updatePower(tavi::Aircraft& aircraft) override { powered = aircraft.simTimeMs % 2 == 0; }

    double state = 0.0;
    bool powered = false;
};

void wholeFrame(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    module.startModule();
    for (int slot = 0; slot < tavi::Aircraft::kSystemSlots; ++slot) {
        module.aircraft().systems[static_cast<std::size_t>(slot)] = new BusySystem();
    }
    for (auto _ : state) {
        module.simulator.step();
    }
    // Elapsed time over (frames x budget): the share of the 55.6 ms budget one frame takes.
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(wholeFrame);

void tokenRefresh(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    tavi::FsTokensReader tokens;
    for (auto _ : state) {
        tokens.refresh();
        benchmark::DoNotOptimize(tokens.records.data());
    }
}
BENCHMARK(tokenRefresh);

} // namespace
