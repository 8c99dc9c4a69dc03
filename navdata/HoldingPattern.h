#pragma once

#include <array>
#include <cstdint>

namespace tavi {

// How a hold is entered.
enum class HoldEntry : uint32_t {
    Direct = 0,
    Teardrop = 1,
    Parallel = 2,
};

// A holding pattern at a leg's fix: what the pilot or the procedure asked for, the racetrack
// points that compute() lays out on the earth, and the state LNAV keeps while flying it.
// Positions are degrees, courses degrees, distances nm.
struct HoldingPattern {
    // Racetrack corners: inbound-leg start, fix, outbound-leg start, outbound-leg end.
    static constexpr int kInboundStart = 0;
    static constexpr int kFix = 1;
    static constexpr int kOutboundStart = 2;
    static constexpr int kOutboundEnd = 3;

    // Lays out the racetrack around the fix and picks the entry for an aircraft that reaches
    // the fix on the arrival course (degrees true).
    void compute(double fixLatitude, double fixLongitude, double arrivalCourse);

    uint32_t defaultSpeed = 220;
    double turnRadius = 0.0;
    double legTimeMin = 1.0;
    double legLength = 0.0;
    // Knots used for the geometry; 0 stands for defaultSpeed.
    double holdSpeed = 0.0;
    double inboundCourseMagnetic = 0.0;
    // Degrees true, the course flown towards the fix.
    double inboundCourse = 0.0;
    uint8_t rightTurns = 1;
    uint8_t exitHold = 0;
    // Set when the pilot defines the hold at the present position.
    uint8_t atPresentPosition = 0;
    uint8_t lengthByTime = 1;
    uint8_t quadrantEntered = 0;
    std::array<uint8_t, 3> spareFlags{};
    uint8_t holdInPattern = 0;
    uint8_t holdEntryLegFlown = 0;
    // The leg carries a hold.
    uint8_t active = 0;
    uint8_t entered = 0;
    HoldEntry entryKind = HoldEntry::Direct;
    std::array<double, 4> cornerLatitudes{};
    std::array<double, 4> cornerLongitudes{};
    std::array<double, 2> entryLatitudes{};
    std::array<double, 2> entryLongitudes{};
    // Latitude and longitude of the centre of the turn that starts at the fix, and of the turn
    // that ends at the inbound-leg start.
    std::array<double, 2> fixTurnCentre{};
    std::array<double, 2> farTurnCentre{};
    uint32_t holdPhase = 0;
    // Simulation time (ms) when the leg was made active by DIRECT TO or the hold activated.
    uint32_t enteredTime = 0;
    uint32_t spare = 0;
};

} // namespace tavi
