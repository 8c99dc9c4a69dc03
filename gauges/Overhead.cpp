#include "gauges/Gauges.h"

namespace tavi {

platform::GaugeHeader overheadGauge{
    .name = "Overhead", .widthMm = 1600, .callback = nullptr, .root = {}, .controls = {}};

} // namespace tavi
