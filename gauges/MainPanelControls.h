#pragma once

#include "platform/panel/Gauge.h"

#include <vector>

namespace tavi {

// The controls of the main panel around its screens (the bezels, the guidance panel copy, the
// display control panels, the clock and the master lights), and the elements that show them.
// MainPanel places them after its screen elements and its screen click rectangles.
std::vector<platform::GaugeElement> mainPanelControlElements();
std::vector<platform::MouseControl> mainPanelControls();

} // namespace tavi
