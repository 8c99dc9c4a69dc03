#pragma once

#include <cstdint>

// The module's pseudo-random generator: draws in 0..32767, reseeded at start-up.
namespace tavi::platform {

inline constexpr int32_t kRandomMax = 32767;

void seedRandom(uint32_t seed);
int32_t randomDraw();

} // namespace tavi::platform
