// The overhead panel: the element callbacks of its whole tree as the host runs them every frame,
// and the painting of its face, which the host does once for each of its two images.
#include "gauges/Gauges.h"
#include "platform/gfx/Canvas.h"
#include "platform/gfx/Surface.h"
#include "support/ModuleHarness.h"

#include <benchmark/benchmark.h>

namespace {

double runCallbacks(tavi::platform::GaugeElement& element) {
    double sum = element.value ? element.value(element) : 0.0;
    for (tavi::platform::GaugeElement& child : element.children) {
        sum += runCallbacks(child);
    }
    return sum;
}

void overheadCallbacks(benchmark::State& state) {
    tavi::test::ModuleHarness module;
    module.startModule();
    module.simulator.step();
    for (auto _ : state) {
        benchmark::DoNotOptimize(runCallbacks(tavi::overheadGauge.root));
    }
}
BENCHMARK(overheadCallbacks);

void overheadFacePainting(benchmark::State& state) {
    const tavi::platform::GaugeElement& face = tavi::overheadGauge.root.children.front();
    const tavi::platform::Artwork& artwork = *face.artwork;
    tavi::platform::gfx::Surface surface(artwork.width, artwork.height);
    for (auto _ : state) {
        tavi::platform::gfx::Canvas canvas(surface);
        artwork.paint(canvas, artwork, 1);
    }
}
BENCHMARK(overheadFacePainting)->Unit(benchmark::kMillisecond);

} // namespace
