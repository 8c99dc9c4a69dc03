#pragma once

#include "core/Interpolator2D.h"
#include "fms/LegPrediction.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <filesystem>

namespace tavi {

class PerfSpeedSchedule;
struct PerfConditions;
struct PerfWind;

// The aircraft performance model of the FMS: four learned tables over indicated airspeed
// (columns, 100..320 kt) and altitude (rows, 1000..37000 ft), their lookups scaled to a gross
// weight and a vertical step, the in-flight learning that blends measurements into them and the
// segment predictions built on them. A value cell of exactly 0 has not been learned yet.
//
// The tables travel between runs in the perf file: the four tables one after the other, each
// 38 x 24 little-endian 32-bit floats in row order, axes included, 14,592 bytes, no header.
class FmsPerf {
public:
    enum Table : std::size_t { ClimbFuel, ClimbTime, CruiseFuel, DescentFuel };

    static constexpr int32_t kRows = 38;
    static constexpr int32_t kColumns = 24;
    static constexpr std::size_t kTableCount = 4;
    static constexpr std::size_t kCellCount = kRows * kColumns;
    static constexpr std::size_t kTableBytes = kCellCount * sizeof(float);
    static constexpr std::size_t kFileBytes = kTableCount * kTableBytes;
    static constexpr float kReferenceWeight = 44092.5f;
    static constexpr float kHighestAltitude = 37000.0f;

    FmsPerf();
    FmsPerf(const FmsPerf&) = delete;
    FmsPerf& operator=(const FmsPerf&) = delete;
    virtual ~FmsPerf() = default;

    void setPath(std::filesystem::path path);
    const std::filesystem::path& path() const { return filePath; }
    // Replaces the tables by the file's. A missing, short, long or damaged file (a value cell
    // that is negative or not a number) changes nothing and answers false; the axes are always
    // the program's own, whatever the file carries there.
    bool load();
    // Writes the tables beside the file and renames the copy over it, so a failed write never
    // leaves a damaged file; false when nothing was written.
    bool save() const;
    // A learning call changed a cell since the tables were made or loaded.
    bool hasLearned() const { return learned; }

    // A climb of step feet from altitude: fuel (lb) and time (s), read at the top of the step
    // rounded to the nearest 1000 ft.
    void climbStep(float weight, float speed, float altitude, float step, float& fuel,
                   float& time) const;
    // Fuel burned in one minute of level flight (lb).
    float cruiseFuelFlow(float weight, float speed, float altitude) const;
    // Fuel burned descending step feet from altitude, read at altitude rounded to 1000 ft.
    float descentStep(float weight, float speed, float altitude, float step) const;

    // Blend one measured band or minute into the tables; altitude is the top of the band.
    void learnClimb(float weight, float speed, float altitude, float fuel, float time);
    void learnCruise(float weight, float speed, float altitude, float fuel);
    void learnDescent(float weight, float speed, float altitude, float fuel);

    // Segment predictions; the weight is lowered by the fuel as it burns.
    void predictClimb(LegPrediction& result, float startAltitude, float targetAltitude,
                      float weight, float course, float distanceFlown, float elevation,
                      const PerfConditions& conditions, const PerfSpeedSchedule& schedule) const;
    void predictClimbWithin(LegPrediction& result, float startAltitude, float& altitudeReached,
                            float weight, float course, float distanceLimit, float distanceFlown,
                            float elevation, const PerfConditions& conditions,
                            const PerfSpeedSchedule& schedule) const;
    void predictDescent(LegPrediction& result, float startAltitude, float targetAltitude,
                        float pathAngle, float weight, float course, float distanceToGo,
                        bool fixedVerticalSpeed, const PerfConditions& conditions,
                        const PerfSpeedSchedule& schedule) const;
    void predictDescentWithin(LegPrediction& result, float startAltitude, float& altitudeReached,
                              float pathAngle, float weight, float course, float distanceLimit,
                              float distanceToGo, bool fixedVerticalSpeed,
                              const PerfConditions& conditions,
                              const PerfSpeedSchedule& schedule) const;
    // Level flight over distance nm at the scheduled cruise speed, or at a given speed, in the
    // leg's wind.
    void legPrediction(LegPrediction& result, float altitude, float weight, float course,
                       float distance, const PerfWind& wind, const PerfConditions& conditions,
                       const PerfSpeedSchedule& schedule) const;
    void legPredictionAtSpeed(LegPrediction& result, float altitude, float weight, float course,
                              float distance, const PerfWind& wind,
                              const PerfConditions& conditions, float speed) const;
    // Climb to the cruise altitude, cruise and descend on the descent angle over distance nm.
    void predictTrip(LegPrediction& result, float startAltitude, float endAltitude,
                     float cruiseAltitude, float distance, float grossWeight, float descentAngle,
                     const PerfConditions& conditions, const PerfSpeedSchedule& schedule) const;

    float cell(Table table, int32_t row, int32_t column) const;
    void setCell(Table table, int32_t row, int32_t column, float value);

private:
    using Cells = std::array<float, kCellCount>;

    void writeAxes();
    void blend(Table table, float speed, float altitude, float measured);
    void learnBand(Table table, float speed, float altitude, float measured);

    std::array<Cells, kTableCount> tables{};
    std::array<Interpolator2D, kTableCount> interpolators;
    std::filesystem::path filePath;
    bool learned = false;
};

// Path geometry at 6079.396484375 ft to the nautical mile.
// Degrees, never negative; 0 over a distance of 0.
float pathAngle(float altitude1, float altitude2, float distance);
// A negative angle descends.
float altitudeAfterDistance(float altitude, float distance, float angle);
// Nautical miles; angles below 1 degree count as 1 degree.
float distanceForAltitudeChange(float altitude1, float altitude2, float angle);

} // namespace tavi
