// The module's start and stop routines and the record that names them to the simulator.
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "fms/GlobalFlightPlans.h"
#include "gauges/Gauges.h"
#include "platform/heap/ModuleHeap.h"

namespace tavi {

namespace {

constexpr std::size_t kModuleHeapBytes = 8 * 1024 * 1024;

} // namespace

void ModuleInit() {
    if (theAircraft) {
        return;
    }
    platform::moduleHeapCreate(kModuleHeapBytes);
    theAircraft = new (std::nothrow) Aircraft();
}

void ModuleDeinit() {
    delete theAircraft;
    theAircraft = nullptr;
    resetGlobalFlightPlans();
    platform::moduleHeapDestroy();
}

} // namespace tavi

extern "C" {
__attribute__((visibility("default"))) tavi::platform::ModuleLinkage Linkage = {
    tavi::platform::kModuleLinkageId,
    tavi::ModuleInit,
    tavi::ModuleDeinit,
    0,
    0,
    tavi::platform::kModuleVersion,
    {&tavi::mainPanelGauge,    &tavi::overheadGauge, &tavi::pfdGauge,
     &tavi::pfd2Gauge,         &tavi::mfdGauge,      &tavi::mfd2Gauge,
     &tavi::eicasGauge,        &tavi::rmu1Gauge,     &tavi::rmu2Gauge,
     &tavi::isiGauge,          &tavi::pedestalGauge, &tavi::throttleGauge,
     &tavi::thrustRatingGauge, &tavi::cduGauge,      &tavi::clock1Gauge,
     &tavi::clock2Gauge,       &tavi::wxGauge,       &tavi::brg1Gauge,
     &tavi::brg2Gauge,         &tavi::apGauge,       &tavi::pfd1VcGauge,
     &tavi::pfd2VcGauge,       &tavi::mfd1VcGauge,   &tavi::mfd2VcGauge,
     &tavi::eicasVcGauge,      &tavi::rmu1VcGauge,   &tavi::rmu2VcGauge,
     &tavi::isiVcGauge,        &tavi::cduVcGauge,    &tavi::cautionGauge,
     &tavi::warningGauge,      &tavi::wiskeyGauge,   nullptr},
};
}
