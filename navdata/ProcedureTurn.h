#pragma once

#include <array>
#include <cstdint>

namespace tavi {

// A procedure turn before a leg's fix: outbound from the fix along the course, an angled leg,
// and the course reversal back towards the fix. compute() lays out its points. Positions are
// degrees, courses degrees true, distances nm.
struct ProcedureTurn {
    // The points: fix, outbound turn point, end of the angled leg, and the point one minute
    // beyond the outbound turn point.
    static constexpr int kFix = 0;
    static constexpr int kOutboundTurn = 1;
    static constexpr int kAngledLegEnd = 2;
    static constexpr int kMinuteBeyond = 3;

    void compute(double fixLatitude, double fixLongitude);

    double turnBackDistance = 0.0;
    // Minutes outbound, as the page and the procedure give them.
    double outboundTime = 0.0;
    double outboundDistance = 0.0;
    double magneticCourse = 0.0;
    // The outbound course from the fix.
    double trueCourse = 0.0;
    // Set: the angled leg turns right of the course and the reversal is a left turn.
    uint8_t turnLeft = 0;
    uint8_t passed = 0;
    uint8_t active = 0;
    // The PROCEDURE TURN page's flags: show its ACTIVATE prompt; show time rather than distance.
    uint8_t modified = 0;
    uint8_t timeMode = 1;
    double speed = 180.0;
    // How far the manoeuvre reaches from the fix along the course.
    double extent = 0.0;
    double minuteDistance = 0.0;
    std::array<double, 4> pointLatitudes{};
    std::array<double, 4> pointLongitudes{};
    double turnBackLatitude = 0.0;
    double turnBackLongitude = 0.0;
    uint32_t turnType = 0;
    uint32_t procedureTurnPhase = 0;
    int32_t turnAngle = 45;
    uint32_t spare = 0;
};

} // namespace tavi
