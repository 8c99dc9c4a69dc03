// The keyboard's modifier keys as the keyboard hook receives them.
#pragma once

#include <cstdint>

namespace tavi::test {

constexpr uint32_t kShiftKey = 16;
constexpr uint32_t kControlKey = 17;

} // namespace tavi::test
