#pragma once

namespace tavi {

// The FMS's LNAV output, rewritten every frame by its lateral navigation; the flight director
// arms, captures and steers LNAV by it. Distances in nautical miles, angles in degrees.
struct LnavState {
    // A leg is being flown: LNAV guidance is available.
    bool valid = false;
    // An arc (a turn between legs) is being flown: turnRate and bankCommand hold its values.
    bool arcSteering = false;
    // From the path, positive right of it.
    double crossTrackError = 0.0;
    // Nominal bank of the arc, negative for right turns.
    double bankCommand = 0.0;
    // Flown along the active leg from its from-point.
    double legAlongTrack = 0.0;
    // True course of the active leg.
    double desiredTrackTrue = 0.0;
    // The cross-track error scaled to -1..1, negative right of the path.
    double deviation = 0.0;
    // True track of the path abeam the aircraft.
    double currentDesiredTrack = 0.0;
    // Degrees per second of the arc, positive for right turns.
    double turnRate = 0.0;
    // The path piece, chord or leg changed; the flight director clears it once it has read it.
    bool legAdvanced = false;
};

} // namespace tavi
