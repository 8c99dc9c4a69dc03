#pragma once

#include "gauges/MainPanelControls.h"
#include "platform/panel/Gauge.h"

namespace tavi::test {

// The main panel's own controls and their elements as a gauge of their own, in main-panel
// pixels, without the screens the main panel places before them.
inline platform::GaugeHeader mainPanelControlsOnly() {
    platform::GaugeHeader gauge;
    gauge.name = "MainPanelControls";
    gauge.root.children = mainPanelControlElements();
    gauge.controls = mainPanelControls();
    return gauge;
}

} // namespace tavi::test
