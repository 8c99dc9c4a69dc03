// Arbitrary bytes as the perf file: a refused file changes no cell, an accepted one holds only
// finite, non-negative values, and saving it writes back exactly what was read.
#include "FuzzFile.h"
#include "fms/FmsPerf.h"

#include <cmath>

namespace {

bool sameCells(const tavi::FmsPerf& a, const tavi::FmsPerf& b) {
    for (std::size_t table = 0; table < tavi::FmsPerf::kTableCount; ++table) {
        for (int32_t row = 0; row < tavi::FmsPerf::kRows; ++row) {
            for (int32_t column = 0; column < tavi::FmsPerf::kColumns; ++column) {
                const auto t = static_cast<tavi::FmsPerf::Table>(table);
                if (a.cell(t, row, column) != b.cell(t, row, column)) {
                    return false;
                }
            }
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    tavi::FmsPerf perf;
    perf.setPath(tavi::fuzz::fuzzFile("PerfDB/vosk300x.perf", data, size));
    const tavi::FmsPerf untouched;
    if (!perf.load()) {
        if (!sameCells(perf, untouched)) {
            __builtin_trap();
        }
        return 0;
    }
    const float fuel = perf.cruiseFuelFlow(tavi::FmsPerf::kReferenceWeight, 250.0f, 20000.0f);
    if (!std::isfinite(fuel) || fuel < 0.0f || !perf.save()) {
        __builtin_trap();
    }
    tavi::FmsPerf again;
    again.setPath(perf.path());
    if (!again.load() || !sameCells(perf, again)) {
        __builtin_trap();
    }
    return 0;
}
