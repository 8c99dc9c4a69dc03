#pragma once

#include "platform/panel/Gauge.h"

#include <vector>

namespace tavi {

// The main panel's copies of the small instrument gauges: the PFD 1 display control panel
// (`Brg1`), clock 1's controls and hands (`Clock1`), the standby compass (`Wiskey`) and the
// master lights (`Caution`, `Warning`), in main-panel pixels. Where the gauge shows a day image
// and a lit twin, the main panel shows three looks: day, panel lights and flood lights.
std::vector<platform::GaugeElement> displayControlCopyElements();
std::vector<platform::MouseControl> displayControlCopyControls();
std::vector<platform::GaugeElement> clockCopyElements();
std::vector<platform::MouseControl> clockCopyControls();
std::vector<platform::GaugeElement> compassCopyElements();
std::vector<platform::GaugeElement> masterLightCopyElements();
std::vector<platform::MouseControl> masterLightCopyControls();

// The display control panel's face: its plate, buttons and knobs.
void paintDisplayControlFace(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                             int frame);

// The clock's elapsed-time button of side 1 or 2, on the clocks and on the display control
// panels alike.
platform::MouseHandler elapsedTimeButton(int side);
extern const platform::Tooltip kElapsedTimeTip;

} // namespace tavi
