#pragma once

#include "gauges/Gauges.h"
#include "support/GaugeClicks.h"

#include <cstdint>

namespace tavi::test {

// The CDU's page keys (PERF, NAV, PREV, NEXT, FPL, PROG, DIR) have no PC key: the pilot clicks
// them on the CDU's key pad, as this does. False for a code without a page key, or a click that
// no key took.
inline bool clickCduPageKey(int32_t cduKey) {
    constexpr int kKeyTop = 336;
    constexpr int kHalfWidth = 20;
    constexpr int kHalfHeight = 14;
    constexpr struct {
        int32_t code;
        int left;
    } kPageKeys[] = {{8, 12}, {9, 68}, {10, 124}, {11, 180}, {13, 238}, {14, 296}, {15, 354}};
    for (const auto& key : kPageKeys) {
        if (key.code == cduKey) {
            return leftClick(cduGauge, key.left + kHalfWidth, kKeyTop + kHalfHeight);
        }
    }
    return false;
}

} // namespace tavi::test
