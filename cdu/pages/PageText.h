#pragma once

#include "cdu/CduScreen.h"

#include <cstdint>
#include <string_view>

namespace tavi::pagetext {

// The data pages' texts: labels are white and small, values large; a text that ends at a
// column has its last character there.
inline void label(CduScreen& screen, int32_t row, int32_t column, std::string_view text) {
    screen.putText(row, column, text, CduColour::White, false, false);
}

inline void labelEndingAt(CduScreen& screen, int32_t row, int32_t lastColumn,
                          std::string_view text) {
    screen.putTextRight(row, lastColumn + 1, text, CduColour::White, false, false);
}

inline void valueEndingAt(CduScreen& screen, int32_t row, int32_t lastColumn, std::string_view text,
                          CduColour colour) {
    screen.putTextRight(row, lastColumn + 1, text, colour, true, false);
}

} // namespace tavi::pagetext
