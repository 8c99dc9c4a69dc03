#pragma once

#include <cstdint>

namespace tavi::navpages {

// The pages reached from NAV INDEX, NAV IDENT and POSITION INIT, and those they lead to.
constexpr int32_t kNavIdent = 0;
constexpr int32_t kNavIndex = 1;
constexpr int32_t kPositionInit = 2;
constexpr int32_t kPilotWptList = 3;
constexpr int32_t kDataBaseWpt = 4;
constexpr int32_t kWaypointsSelect = 5;
constexpr int32_t kPilotWaypoint = 6;
constexpr int32_t kMaintenance = 7;
constexpr int32_t kPosSensors = 8;
constexpr int32_t kGpsStatus = 9;
constexpr int32_t kVorDme = 10;
constexpr int32_t kRadioTuning = 11;
constexpr int32_t kNavTuneList = 12;
constexpr int32_t kFmsSetup = 13;
constexpr int32_t kFlightConfig = 14;
constexpr int32_t kFlightPlanList = 15;
constexpr int32_t kStoredPlan = 16;
constexpr int32_t kActiveFlightPlan = 17;
constexpr int32_t kFltPlanSelect = 18;
constexpr int32_t kPatterns = 32;
constexpr int32_t kDepartureRunways = 38;
constexpr int32_t kArrival = 43;
constexpr int32_t kProgress = 52;
constexpr int32_t kFlightSummary = 54;

// Line keys: L1-L4 are 0-3, R1-R4 are 4-7.
constexpr int32_t kL1 = 0;
constexpr int32_t kL2 = 1;
constexpr int32_t kL3 = 2;
constexpr int32_t kL4 = 3;
constexpr int32_t kR1 = 4;
constexpr int32_t kR2 = 5;
constexpr int32_t kR3 = 6;
constexpr int32_t kR4 = 7;
constexpr int32_t kPrev = 10;
constexpr int32_t kNext = 11;

// The empty-field marks of the pages: an ident and a latitude/longitude.
inline constexpr const char* kDashedIdent = "\u2013\u2013\u2013\u2013\u2013";
inline constexpr const char* kDashedPosition =
    "\u2013\u2013\u2013\u00B0\u2013\u2013.\u2013 \u2013\u2013\u2013\u2013\u00B0\u2013\u2013.\u2013";

// PREV and NEXT turn a sub-page over 1..count, wrapping at both ends; other keys leave it.
// Answers whether the key was PREV or NEXT.
inline bool turnSubPage(int32_t key, int32_t& subPage, int32_t count) {
    if (key == kPrev) {
        subPage = subPage <= 1 ? count : subPage - 1;
        return true;
    }
    if (key == kNext) {
        subPage = subPage >= count ? 1 : subPage + 1;
        return true;
    }
    return false;
}

} // namespace tavi::navpages
