#pragma once

#include "core/Angles.h"
#include "fms/LnavState.h"
#include "navdata/GcNav.h"

#include <algorithm>
#include <cmath>

namespace tavi::test {

// An aircraft that flies where LNAV steers it: it turns at most at a rate its bank allows
// towards the path's track, corrected for the cross-track error, and moves along its track at a
// constant ground speed. Enough to fly a flight plan's path, not an airframe.
class PathFollowingAircraft {
public:
    PathFollowingAircraft(double latitude, double longitude, double track, double groundSpeed)
        : latitude(latitude), longitude(longitude), track(track), groundSpeed(groundSpeed) {}

    void step(const LnavState& lnav, double seconds) {
        const double correction = std::clamp(lnav.crossTrackError * 60.0, -30.0, 30.0);
        const double wanted = normalize180(lnav.currentDesiredTrack - correction - track);
        const double feedForward = lnav.arcSteering ? lnav.turnRate : 0.0;
        const double rate = std::clamp(wanted * 0.5 + feedForward, -kMaxTurnRate, kMaxTurnRate);
        track = normalize360(track + rate * seconds);
        GcNav(latitude, longitude)
            .destination(track, groundSpeed * seconds / 3600.0, latitude, longitude);
    }

    double latitude;
    double longitude;
    // Degrees true.
    double track;
    // Knots.
    double groundSpeed;

private:
    // Degrees per second: a little above the rate of the turns the path is built with.
    static constexpr double kMaxTurnRate = 4.0;
};

} // namespace tavi::test
