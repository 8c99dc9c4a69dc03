#pragma once

#include <string>

namespace tavi {

// What LNAV computes each frame for the flight director and the displays. A default record is
// the reset state.
struct LnavState {
    // A leg is being flown.
    bool valid = false;
    // The active leg is flown on its own path (not while a PI leg or a leg with an active
    // procedure turn is flown by the path steering).
    bool pathValid = false;
    // turnRate and bankCommand hold arc values this frame.
    bool arcSteering = false;
    bool discontinuity = false;
    // Nautical miles along the current path piece.
    double segmentAlongTrack = 0.0;
    // Nautical miles from the path, positive to the right.
    double crossTrackError = 0.0;
    // Degrees, for an arc; negative for right turns.
    double bankCommand = 0.0;
    // Nautical miles from the leg's from-point along the great circle to its fix.
    double legAlongTrack = 0.0;
    double distanceToGo = -1.0;
    // Seconds.
    double timeToGo = -1.0;
    double desiredTrackMagnetic = 0.0;
    double desiredTrackTrue = 0.0;
    // Degrees true from the present position to the fix.
    double bearingToFix = 0.0;
    // The cross-track error scaled to -1..1, negative right of the path.
    double deviation = 0.0;
    // Degrees true: the path's track abeam the aircraft.
    double currentDesiredTrack = 0.0;
    // Degrees per second, for an arc; positive for right turns.
    double turnRate = 0.0;
    // The path piece, chord or leg changed; the flight director clears it after reading.
    bool legAdvanced = false;
    // The active leg belongs to an approach procedure.
    bool approach = false;
    // Within 30 nm of the origin or of the route end.
    bool terminalArea = false;
    // The active fix; empty for legs the pilot ends.
    std::string ident;
};

} // namespace tavi
