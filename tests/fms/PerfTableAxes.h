// The performance tables' axes: the row of an altitude (ft) and the column of a speed (kt).
#pragma once

#include <cstdint>

namespace tavi::test {

inline int32_t rowOf(int altitude) {
    return altitude / 1000;
}

inline int32_t columnOf(int speed) {
    return (speed - 100) / 10 + 1;
}

} // namespace tavi::test
