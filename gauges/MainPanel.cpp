#include "gauges/Gauges.h"

namespace tavi {

platform::GaugeHeader mainPanelGauge{
    .name = "MainPanel", .widthMm = 1152, .callback = nullptr, .root = {}, .controls = {}};

} // namespace tavi
