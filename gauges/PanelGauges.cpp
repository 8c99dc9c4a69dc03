#include "gauges/Gauges.h"

namespace tavi {

platform::GaugeHeader clock1Gauge{
    .name = "Clock1", .widthMm = 129, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader clock2Gauge{
    .name = "Clock2", .widthMm = 129, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader brg1Gauge{
    .name = "Brg1", .widthMm = 221, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader brg2Gauge{
    .name = "Brg2", .widthMm = 221, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader cautionGauge{
    .name = "Caution", .widthMm = 30, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader warningGauge{
    .name = "Warning", .widthMm = 30, .callback = nullptr, .root = {}, .controls = {}};
platform::GaugeHeader wiskeyGauge{
    .name = "Wiskey", .widthMm = 117, .callback = nullptr, .root = {}, .controls = {}};

} // namespace tavi
