#pragma once

#include "platform/panel/Gauge.h"

#include <cstdint>

namespace tavi {

// The gauge callback of every gauge that shows a screen (the pop-ups, the virtual-cockpit copies,
// the CDU pair and the clocks): on the gauge's own service it draws its screen element through
// the screen of its slot, blank by the gauge's rule.
void screenGaugeCallback(platform::GaugeHeader& gauge, int32_t service, void* extra);

} // namespace tavi
