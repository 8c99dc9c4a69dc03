#pragma once

namespace tavi {

// The record of the last flight: the UTC times of day of its takeoff and landing and the
// distances flown through the air and over the ground since the takeoff.
struct FlightSummary {
    static constexpr double kNoTime = -1.0;

    double takeoffTime = kNoTime;
    // Stays kNoTime while the aircraft is in the air.
    double landingTime = kNoTime;
    // Nautical miles.
    double groundDistance = 0.0;
    double airDistance = 0.0;

    bool isComplete() const { return takeoffTime >= 0.0 && landingTime >= 0.0; }
};

} // namespace tavi
