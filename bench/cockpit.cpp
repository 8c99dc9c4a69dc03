// One drawn frame of the whole cockpit through the stand-in's panel: every panel window with its
// gauges and screens, against the 18 Hz frame budget.
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "displays/PanelElement.h"
#include "platform/gfx/Surface.h"
#include "sim/PanelHost.h"
#include "support/ModuleHarness.h"

#include <benchmark/benchmark.h>
#include <memory>
#include <vector>

namespace {

constexpr double kFrameBudgetSeconds = 1.0 / 18.0;

void reportBudget(benchmark::State& state) {
    // Elapsed time over (frames x budget): the share of the 55.6 ms budget one frame takes.
    state.counters["budget_fraction"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kFrameBudgetSeconds,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

enum class View { MainPanel, EveryWindow, VirtualCockpit };

// Engines running; the main panel as a flight starts, every window of the layout shown (the main
// panel with every pop-up), or the virtual cockpit alone.
void drawCockpit(benchmark::State& state, View view) {
    tavi::test::ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    for (int i = 0; i < 3; ++i) {
        module.simulator.step();
    }
    tavi::sim::PanelHost host(
        module.simulator.panel, Linkage,
        tavi::sim::PanelLayout::read(TAVI_SOURCE_DIR "/data/panel-layout.txt"));
    for (const tavi::sim::PanelWindow& window : host.layout().windows) {
        if (window.ident != tavi::sim::PanelLayout::kVirtualCockpit && view != View::MainPanel) {
            module.simulator.panel.setPanelWindowOpen(window.ident, view == View::EveryWindow);
        }
    }
    host.frame();
    for (auto _ : state) {
        host.frame();
    }
    reportBudget(state);
}

void mainPanelFrame(benchmark::State& state) {
    drawCockpit(state, View::MainPanel);
}
BENCHMARK(mainPanelFrame)->Unit(benchmark::kMillisecond);

void everyWindowFrame(benchmark::State& state) {
    drawCockpit(state, View::EveryWindow);
}
BENCHMARK(everyWindowFrame)->Unit(benchmark::kMillisecond);

void virtualCockpitFrame(benchmark::State& state) {
    drawCockpit(state, View::VirtualCockpit);
}
BENCHMARK(virtualCockpitFrame)->Unit(benchmark::kMillisecond);

// The module's own share: each of the eleven screens drawn once with content at its logical size,
// as the one gauge on view draws it, without the stand-in's compositing.
void elevenScreensFrame(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    module.writeIni("[Startup]\nstartupMode=2\n");
    module.startModule();
    for (int i = 0; i < 3; ++i) {
        module.simulator.step();
    }
    struct Slot {
        tavi::PanelElement* screen;
        std::unique_ptr<tavi::platform::gfx::Surface> surface;
    };
    std::vector<Slot> slots;
    for (int id = tavi::kPfdLeft; id <= tavi::kClockRight; ++id) {
        const tavi::LogicalSize size = tavi::PanelElement::logicalSize(id);
        auto surface = std::make_unique<tavi::platform::gfx::Surface>(
            static_cast<int>(size.width), static_cast<int>(size.height));
        surface->setLogicalSize(size.width, size.height);
        if (tavi::PanelElement* screen = module.aircraft().display(id)) {
            slots.push_back({screen, std::move(surface)});
        }
    }
    for (auto _ : state) {
        for (Slot& slot : slots) {
            slot.screen->draw(*slot.surface, slot.surface->pixelWidth(),
                              slot.surface->pixelHeight(), false);
        }
    }
    state.counters["screens"] = static_cast<double>(slots.size());
    reportBudget(state);
}
BENCHMARK(elevenScreensFrame)->Unit(benchmark::kMillisecond);

} // namespace
