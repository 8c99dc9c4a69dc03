#include "platform/Random.h"

namespace tavi::platform {

namespace {

uint32_t& state() {
    static uint32_t value = 1;
    return value;
}

} // namespace

void seedRandom(uint32_t seed) {
    state() = seed;
}

int32_t randomDraw() {
    // A linear congruential generator whose upper bits give the 15-bit draw.
    state() = state() * 214013u + 2531011u;
    return static_cast<int32_t>((state() >> 16) & 0x7FFFu);
}

} // namespace tavi::platform
