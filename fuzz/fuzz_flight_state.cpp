// Arbitrary bytes as a saved flight, loaded as the module loads one: the file read once and every
// system's and screen's section taken from it. Nothing reads or writes out of bounds, what the
// FMS and the PFDs take holds only values a flight holds.
#include "FuzzFile.h"
#include "core/Aircraft.h"
#include "displays/Pfd.h"
#include "fms/Fms.h"
#include "platform/heap/ModuleHeap.h"

#include <cmath>
#include <cstddef>
#include <cstdlib>

namespace {

constexpr std::size_t kModuleHeapBytes = 8 * 1024 * 1024;

tavi::Aircraft* made = nullptr;

// The systems and screens go before the heap they live on, ahead of the leak check at exit.
void destroyAircraft() {
    for (tavi::System*& system : made->systems) {
        delete system;
        system = nullptr;
    }
    for (tavi::PanelElement*& screen : made->displays) {
        delete screen;
        screen = nullptr;
    }
    delete made;
    tavi::platform::moduleHeapDestroy();
}

tavi::Aircraft& aircraftWithEverySystem() {
    if (!made) {
        // The module's systems live on its heap, made as the module's start makes it.
        tavi::platform::moduleHeapCreate(kModuleHeapBytes);
        made = new tavi::Aircraft;
        made->logPath = (tavi::fuzz::fuzzFolder() / "tavi.log").string();
        for (int id = 0; id < tavi::Aircraft::kSystemSlots; ++id) {
            made->systems[static_cast<std::size_t>(id)] = tavi::Aircraft::createSystem(id);
        }
        made->createEnginesAndHydraulics();
        for (int id = 0; id < tavi::Aircraft::kDisplaySlots; ++id) {
            made->displays[static_cast<std::size_t>(id)] = tavi::Aircraft::createDisplay(id);
        }
        std::atexit(destroyAircraft);
    }
    return *made;
}

bool isFinite(const tavi::LnavState& state) {
    return std::isfinite(state.crossTrackError) && std::isfinite(state.distanceToGo) &&
           std::isfinite(state.timeToGo) && std::isfinite(state.desiredTrackTrue);
}

bool holdsFlightValues(const tavi::Fms& fms) {
    return fms.currentPage >= 0 && fms.currentPage < tavi::Fms::kPageCount &&
           fms.perfInit.cruiseAltitude >= 0 && fms.perfInit.cruiseAltitude <= 60000 &&
           std::isfinite(fms.fuelMgt.totalFuelUsed()) &&
           std::isfinite(fms.flightSummary.airDistance);
}

bool holdsBearingSources(const tavi::PanelElement* screen) {
    const auto* pfd = dynamic_cast<const tavi::Pfd*>(screen);
    return !pfd || (pfd->bearing1Source >= 0 && pfd->bearing1Source <= 3 &&
                    pfd->bearing2Source >= 0 && pfd->bearing2Source <= 3);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavi::Aircraft& aircraft = aircraftWithEverySystem();
    const std::string path = tavi::fuzz::fuzzFile("saved.flt", data, size).string();
    aircraft.loadFlightState(path);
    tavi::Fms* fms = aircraft.fms();
    if (!fms || !holdsFlightValues(*fms) || !isFinite(*fms->lnavState())) {
        __builtin_trap();
    }
    for (const tavi::PanelElement* screen : aircraft.displays) {
        if (!holdsBearingSources(screen)) {
            __builtin_trap();
        }
    }
    return 0;
}
