#pragma once

#include <string>

namespace tavi {

class Fs9Reader;
struct StateFile;

// The time, fuel and distance the performance predictions expect for one leg.
struct LegPrediction {
    // Adds the other record value by value; the sums are formed in double precision.
    void add(const LegPrediction& other);
    LegPrediction& operator+=(const LegPrediction& other);

    // Writes the record as one blob under the key; false when the write failed.
    bool save(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key) const;
    // A missing key leaves the record as it was.
    void load(const Fs9Reader& reader, const StateFile& file, const char* section,
              const std::string& key);

    // Seconds.
    float time = 0.0f;
    // Pounds burned on the leg.
    float fuel = 0.0f;
    // Pounds on board at the end of the leg.
    float fuelRemaining = 0.0f;
    // Nautical miles.
    float distance = 0.0f;
};

} // namespace tavi
