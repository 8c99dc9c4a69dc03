#pragma once

#include "platform/panel/Gauge.h"

namespace tavi {

// The module's gauges, in the order the module lists them to the simulator.
extern platform::GaugeHeader mainPanelGauge;
extern platform::GaugeHeader overheadGauge;
extern platform::GaugeHeader pfdGauge;
extern platform::GaugeHeader pfd2Gauge;
extern platform::GaugeHeader mfdGauge;
extern platform::GaugeHeader mfd2Gauge;
extern platform::GaugeHeader eicasGauge;
extern platform::GaugeHeader rmu1Gauge;
extern platform::GaugeHeader rmu2Gauge;
extern platform::GaugeHeader isiGauge;
extern platform::GaugeHeader pedestalGauge;
extern platform::GaugeHeader throttleGauge;
extern platform::GaugeHeader thrustRatingGauge;
extern platform::GaugeHeader cduGauge;
extern platform::GaugeHeader clock1Gauge;
extern platform::GaugeHeader clock2Gauge;
extern platform::GaugeHeader wxGauge;
extern platform::GaugeHeader brg1Gauge;
extern platform::GaugeHeader brg2Gauge;
extern platform::GaugeHeader apGauge;
extern platform::GaugeHeader pfd1VcGauge;
extern platform::GaugeHeader pfd2VcGauge;
extern platform::GaugeHeader mfd1VcGauge;
extern platform::GaugeHeader mfd2VcGauge;
extern platform::GaugeHeader eicasVcGauge;
extern platform::GaugeHeader rmu1VcGauge;
extern platform::GaugeHeader rmu2VcGauge;
extern platform::GaugeHeader isiVcGauge;
extern platform::GaugeHeader cduVcGauge;
extern platform::GaugeHeader cautionGauge;
extern platform::GaugeHeader warningGauge;
extern platform::GaugeHeader wiskeyGauge;

} // namespace tavi
