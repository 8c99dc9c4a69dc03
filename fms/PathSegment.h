#pragma once

#include <array>
#include <cstdint>

namespace tavi {

// Turn directions of a path piece.
inline constexpr uint32_t kSegmentStraight = 0;
inline constexpr uint32_t kSegmentLeftArc = 1;
inline constexpr uint32_t kSegmentRightArc = 2;

// One straight piece or circular arc of a leg's path, as LNAV flies it and the displays draw it.
// Positions are degrees, bearings degrees true, the radius nm.
struct PathSegment {
    static constexpr int kIntermediatePoints = 5;

    // Completes an arc from its start point, end point, centre, radius and turn direction: the
    // start bearing and sweep from the centre, the start and end points moved onto the radius,
    // and the intermediate points at sixths of the sweep. With followTurnDirection the arc turns
    // the way of its direction, the long way round if need be; otherwise the shorter way.
    void buildArc(bool followTurnDirection);
    // Nautical miles along the piece: the great circle, or the arc.
    double length() const;
    // Nautical miles from the start of the piece to abeam the position; negative before it.
    double alongTrack(double latitude, double longitude) const;

    double startLatitude = 0.0;
    double startLongitude = 0.0;
    double endLatitude = 0.0;
    double endLongitude = 0.0;
    double centreLatitude = 0.0;
    double centreLongitude = 0.0;
    // Latitude and longitude of each intermediate point of an arc.
    std::array<std::array<double, 2>, kIntermediatePoints> points{};
    uint32_t turnDirection = kSegmentStraight;
    double startBearing = 0.0;
    // Degrees, negative to the left.
    double sweep = 0.0;
    double radius = 0.0;
    // The chord of the arc LNAV is steering along.
    uint32_t chordIndex = 0;
};

} // namespace tavi
