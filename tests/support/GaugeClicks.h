#pragma once

#include "platform/panel/Gauge.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi::test {

// Sends a mouse event to the gauge at a point in design pixels, as the simulator does: to the
// first control and part that take it, with the point relative to the control. False when no part
// takes it or its handler answers false.
bool mouseEvent(const platform::GaugeHeader& gauge, double x, double y, uint32_t flags);
bool leftClick(const platform::GaugeHeader& gauge, double x, double y);
bool rightClick(const platform::GaugeHeader& gauge, double x, double y);

// The tooltip the pointer shows at the point, or empty.
std::string tooltipAt(const platform::GaugeHeader& gauge, double x, double y);

// The first element of the gauge's tree (depth first) whose artwork has the name, or null.
platform::GaugeElement* findElement(platform::GaugeHeader& gauge, std::string_view artworkName);

// Runs the element's callback as the simulator does before drawing it: the icon index, needle
// angle or moving image's x offset (0 when it has none).
double elementValue(platform::GaugeElement& element);

} // namespace tavi::test
