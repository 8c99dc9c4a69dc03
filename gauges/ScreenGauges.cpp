#include "gauges/ScreenGauges.h"

#include "gauges/Gauges.h"

namespace tavi {

platform::GaugeHeader pfdGauge{
    .name = "PFD", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader pfd2Gauge{
    .name = "PFD2", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader mfdGauge{
    .name = "MFD", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader mfd2Gauge{
    .name = "MFD2", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader eicasGauge{
    .name = "EICAS", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader rmu1Gauge{
    .name = "RMU1", .widthMm = 180, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader rmu2Gauge{
    .name = "RMU2", .widthMm = 180, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader isiGauge{
    .name = "ISI", .widthMm = 210, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader wxGauge{
    .name = "WX", .widthMm = 196, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader pfd1VcGauge{
    .name = "PFD1VC", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader pfd2VcGauge{
    .name = "PFD2VC", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader mfd1VcGauge{
    .name = "MFD1VC", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader mfd2VcGauge{
    .name = "MFD2VC", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader eicasVcGauge{
    .name = "EICASVC", .widthMm = 400, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader rmu1VcGauge{
    .name = "RMU1VC", .widthMm = 180, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader rmu2VcGauge{
    .name = "RMU2VC", .widthMm = 180, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader isiVcGauge{
    .name = "ISIVC", .widthMm = 210, .callback = nullptr, .root = {}, .controls = {}};

} // namespace tavi

namespace tavi {

void screenGaugeCallback(platform::GaugeHeader&, int32_t, void*) {}

} // namespace tavi
