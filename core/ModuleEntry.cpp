// The module's start and stop routines and the record that names them to the simulator.
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "fms/GlobalFlightPlans.h"
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
    {},
};
}
