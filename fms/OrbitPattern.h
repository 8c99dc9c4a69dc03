#pragma once

#include <cstdint>
#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// An orbit around the fix of the leg that carries it (or, for the plan's own copy, around the
// last sequenced fix).
struct OrbitPattern {
    // Writes the record as one blob under the key; false when the write failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    // A missing key leaves the record as it was.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    // Knots: the speed target while the orbit is flown.
    int32_t speed = 0;
    // Nautical miles.
    double radius = 0.0;
    // Clockwise: the desired track is the bearing from the centre plus 90 degrees.
    bool rightTurns = false;
    // LNAV flies the orbit while set.
    bool entered = false;
    bool active = false;
    uint32_t reserved = 0;
};

} // namespace tavi
