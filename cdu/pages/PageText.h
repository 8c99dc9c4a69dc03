#pragma once

#include "cdu/CduScreen.h"
#include "fms/FlightPlanLeg.h"

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

// Screen cells a UTF-8 text takes.
inline int32_t textWidth(std::string_view text) {
    return static_cast<int32_t>(CduScreen::decodeUtf8(text).size());
}

// The reversed letter after a leg's fix: an arc, or the orbit, hold or procedure turn it carries
// (a turn only until LNAV starts flying it); empty for a plain leg.
inline const char* legPatternMark(const FlightPlanLeg& leg) {
    if (leg.isArcLeg()) {
        return "A";
    }
    if (leg.orbit.active) {
        return "O";
    }
    if (leg.holding.active != 0) {
        return "H";
    }
    return leg.pcdrTurn.active != 0 && leg.pcdrTurn.procedureTurnPhase == 0 ? "P" : "";
}

} // namespace tavi::pagetext
