// Arbitrary bytes as a pilot waypoint file: a file is either refused or gives a point on the
// earth with a known type, and writing that point back reads back the same.
#include "FuzzFile.h"
#include "navdata/MagDev.h"
#include "navdata/PilotPointStore.h"

#include <cmath>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const tavi::MagDev magDev;
    tavi::PilotPointStore store(magDev, [](std::string_view) {});
    const auto file = tavi::fuzz::fuzzFile("CustomDB/FUZZ.ri2v.wpt", data, size);
    if (!store.loadFile("FUZZ", file)) {
        return 0;
    }
    const tavi::PilotPoint* point = store.find("FUZZ");
    if (!point || !(std::fabs(point->latitude) <= 90.0) ||
        !(std::fabs(point->longitude) <= 180.0) || !point->isDefined()) {
        __builtin_trap();
    }
    tavi::PilotPoint copy = *point;
    copy.ident = "COPY";
    std::filesystem::remove(file.parent_path() / "COPY.ri2v.wpt");
    store.loadFolder(file.parent_path());
    store.add(copy);
    tavi::PilotPointStore reread(magDev, [](std::string_view) {});
    if (!reread.loadFile("COPY", file.parent_path() / "COPY.ri2v.wpt")) {
        __builtin_trap();
    }
    const tavi::PilotPoint* back = reread.find("COPY");
    if (std::fabs(back->latitude - copy.latitude) > 1e-6 || back->ppType != copy.ppType) {
        __builtin_trap();
    }
    return 0;
}
