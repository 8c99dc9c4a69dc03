#pragma once

#include "platform/panel/Gauge.h"

#include <vector>

namespace tavi {

// The guidance panel: the flight-director mode buttons with their lights, the autopilot and yaw
// damper engage buttons, the flight-director buttons and the course, heading, speed and
// altitude-preselect knobs, in `AP` pixels. The `AP` gauge shows them on its own panel, the main
// panel a copy moved by kGuidancePanelOffset.
std::vector<platform::GaugeElement> guidancePanelLights();
std::vector<platform::MouseControl> guidancePanelControls();

// The panel's face: its plate, the knobs and the button without a light.
void paintGuidancePanelFace(platform::gfx::Canvas& canvas, const platform::Artwork& artwork,
                            int frame);

inline constexpr int kGuidancePanelOffsetX = 696;
inline constexpr int kGuidancePanelOffsetY = 337;

} // namespace tavi
