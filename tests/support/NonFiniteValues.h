// Values that are no ordinary number, for the cases that feed them in.
#pragma once

#include <limits>

namespace tavi::test {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInfinity = std::numeric_limits<double>::infinity();

} // namespace tavi::test
