#pragma once

#include <cstdint>

namespace tavi::test {

// The CDU's line keys as the FMS numbers them (L1-L4 0-3, R1-R4 4-7), the PC keys that press
// them through the CDU pop-up, and the pop-up's window.
struct CduKeys {
    static constexpr int32_t kCduPopupWindow = 10000;
    static constexpr uint32_t kF1Key = 112;
    static constexpr uint32_t kPageUpKey = 33;
    static constexpr uint32_t kPageDownKey = 34;
    static constexpr int32_t kL1 = 0;
    static constexpr int32_t kL2 = 1;
    static constexpr int32_t kL3 = 2;
    static constexpr int32_t kL4 = 3;
    static constexpr int32_t kR1 = 4;
    static constexpr int32_t kR2 = 5;
    static constexpr int32_t kR3 = 6;
    static constexpr int32_t kR4 = 7;

    // The PC key that types the character on the CDU: a letter, a digit, a space, "-", "." or
    // "/".
    static uint32_t virtualKeyOf(char c) {
        switch (c) {
        case '/':
            return 191;
        case '.':
            return 190;
        case '-':
            return 189;
        default:
            return static_cast<uint32_t>(c);
        }
    }
};

} // namespace tavi::test
