#pragma once

namespace tavi {

// A wind: the direction it blows from (degrees true) and its speed (kt).
struct PerfWind {
    float direction = 0.0f;
    float speed = 0.0f;
};

// What the predictions take of the pilot's performance entries.
struct PerfConditions {
    // Feet; 0 when none was entered.
    float cruiseAltitude = 0.0f;
    // Degrees Celsius over the standard temperature.
    float isaDeviation = 0.0f;
    // The cruise wind and the altitude (ft) it was given for.
    PerfWind cruiseWind;
    float cruiseWindAltitude = 0.0f;

    // The cruise wind grows from nothing on the ground to its full speed at the cruise altitude.
    PerfWind climbWindAt(float altitude) const;
    // The cruise wind falls to 5 kt on the ground below the altitude it was given for, in whole
    // knots.
    PerfWind descentWindAt(float altitude) const;
    // Ground speed (kt) flown at an indicated airspeed, altitude and course in a wind.
    float groundSpeed(float speed, float altitude, float course, const PerfWind& wind) const;
};

// The indicated airspeeds (kt) the aircraft flies in each phase, with the pilot's limits
// applied; the flight plan and leg they follow are the schedule's own.
class PerfSpeedSchedule {
public:
    virtual ~PerfSpeedSchedule() = default;
    // The elevation and the distance flown from the origin bound the departure speed.
    virtual float climbSpeedAt(float altitude, float elevation, float distanceFlown) const = 0;
    virtual float cruiseSpeedAt(float altitude) const = 0;
    virtual float descentSpeedAt(float altitude, float distanceToGo) const = 0;
};

} // namespace tavi
