#pragma once

#include "cdu/CduScreen.h"
#include "core/Imports.h"
#include "fms/FlightPlanLeg.h"
#include "navdata/PilotPoint.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace tavi {

// Texts and values the CDU pages share.
inline constexpr const char* kInvalidEntry = "INVALID ENTRY";
inline constexpr const char* kFiveDashes = "\u2013\u2013\u2013\u2013\u2013";
inline constexpr const char* kTenDashes =
    "\u2013\u2013\u2013\u2013\u2013\u2013\u2013\u2013\u2013\u2013";
inline constexpr const char* kNoAirport = "\u2013\u2013\u2013\u2013";
inline constexpr const char* kDegree = "\u00B0";
inline constexpr double kMinutesPerHour = 60.0;
// The column after the last: a text that ends at the screen's edge.
inline constexpr int32_t kLastColumnEnd = CduScreen::kColumns;
// A pilot point the pages compute (a radial's or an orbit's), not one the pilot typed.
inline constexpr auto kComputedPoint = static_cast<PilotPointType>(5);

// "TRANS.PROC", or the procedure alone without a transition.
inline std::string joinedProcedure(const std::string& transition, const std::string& procedure) {
    return !transition.empty() && !procedure.empty() ? transition + "." + procedure : procedure;
}

// A whole number the simulator's calculator code gives (the date and the like).
inline int32_t simulatorNumber(const char* code) {
    double value = 0.0;
    panelServices().executeCalculatorCode(code, &value, nullptr, nullptr);
    return static_cast<int32_t>(value);
}

} // namespace tavi

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
