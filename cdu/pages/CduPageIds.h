#pragma once

#include <cstdint>

namespace tavi {

// The CDU pages the flight-plan, procedure and pattern pages turn to, by page id.
namespace cdu_page {
inline constexpr int32_t kPositionInit = 2;
inline constexpr int32_t kWaypointsSelect = 5;
inline constexpr int32_t kPilotWaypoint = 6;
inline constexpr int32_t kFlightPlanList = 15;
inline constexpr int32_t kStoredPlan = 16;
inline constexpr int32_t kActiveFlightPlan = 17;
inline constexpr int32_t kFltPlanSelect = 18;
inline constexpr int32_t kPerformanceInit = 20;
inline constexpr int32_t kPatterns = 32;
inline constexpr int32_t kRadial = 33;
inline constexpr int32_t kIntercept = 34;
inline constexpr int32_t kOrbit = 35;
inline constexpr int32_t kHoldingPattern = 36;
inline constexpr int32_t kProcedureTurn = 37;
inline constexpr int32_t kDepartureRunways = 38;
inline constexpr int32_t kSids = 39;
inline constexpr int32_t kDepartureTrans = 40;
inline constexpr int32_t kProcedure = 41;
inline constexpr int32_t kSidReview = 42;
inline constexpr int32_t kArrival = 43;
inline constexpr int32_t kArrivalRunway = 44;
inline constexpr int32_t kStar = 45;
inline constexpr int32_t kStarTrans = 46;
inline constexpr int32_t kApproach = 47;
inline constexpr int32_t kApproachTrans = 48;
inline constexpr int32_t kArrivalReview = 49;
inline constexpr int32_t kTakeoff = 50;
inline constexpr int32_t kLanding = 51;
inline constexpr int32_t kAirData = 53;
} // namespace cdu_page

} // namespace tavi
