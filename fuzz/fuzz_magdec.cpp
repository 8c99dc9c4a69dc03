// Arbitrary bytes as the magnetic-variation file: a refused file leaves the grid as it was, an
// accepted one gives finite variations within half a turn everywhere.
#include "FuzzFile.h"
#include "navdata/MagDev.h"

#include <cmath>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavi::MagDev magDev;
    const bool loaded = magDev.load(tavi::fuzz::fuzzFile("magdec.bgl", data, size));
    if (loaded != magDev.problem().empty()) {
        __builtin_trap();
    }
    for (float latitude = -95.0f; latitude <= 95.0f; latitude += 7.5f) {
        for (float longitude = -400.0f; longitude <= 400.0f; longitude += 13.0f) {
            const float variation = magDev.variation(latitude, longitude);
            if (!std::isfinite(variation) || std::fabs(variation) > 180.0f ||
                (!loaded && variation != 0.0f)) {
                __builtin_trap();
            }
        }
    }
    return 0;
}
