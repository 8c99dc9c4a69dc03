#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// Altitude constraint kinds.
inline constexpr uint32_t kAltitudeAt = 1;
inline constexpr uint32_t kAltitudeAtOrAbove = 2;
inline constexpr uint32_t kAltitudeAtOrBelow = 3;
inline constexpr uint32_t kAltitudeWindow = 4;

// Flight phases a constraint belongs to.
inline constexpr uint32_t kPhaseNone = 0;
inline constexpr uint32_t kPhaseClimb = 1;
inline constexpr uint32_t kPhaseDescent = 2;

// The speed and altitude constraints of a leg and the vertical data kept with them. A record of
// zeros means no constraint.
struct LegConstraints {
    // Writes the record as one blob under the key; false when the write failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    // A missing key leaves the record as it was.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    // Knots; 0 or less is no speed constraint.
    int32_t speed = 0;
    float mach = 0.0f;
    // Descent path angle in degrees.
    float pathAngle = 0.0f;
    // Feet: the constraint, the working altitude the recalculation and VNAV keep on other legs,
    // or the crossing altitude recorded when the leg was sequenced.
    int32_t altitude = 0;
    // Upper bound of a window.
    int32_t altitude2 = 0;
    // Altitude the performance predictions expect at the fix.
    int32_t predictedAltitude = 0;
    // Feet per minute from the previous leg's altitude over the leg time.
    int32_t verticalSpeed = 0;
    uint32_t kind = 0;
    bool hasAltitude = false;
    bool hasSpeed = false;
    bool pathAngleEntered = false;
    uint32_t reserved = 0;
    uint32_t phase = kPhaseNone;
};

} // namespace tavi
