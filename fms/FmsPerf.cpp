#include "fms/FmsPerf.h"

#include "platform/files/Files.h"

#include <cmath>
#include <cstring>
#include <string>
#include <system_error>
#include <vector>

namespace tavi {

namespace {

constexpr float kFeetPerNauticalMile = 6079.396484375f;
constexpr float kDegreesPerRadian = 57.29577951308232f;
constexpr float kMinimumPathAngle = 1.0f;

// Truncates and rounds to the nearest 1000 ft, a remainder of 500 or more upward.
float nearestThousand(float altitude) {
    const int32_t feet = static_cast<int32_t>(altitude);
    const int32_t below = feet - feet % 1000;
    return static_cast<float>(feet % 1000 >= 500 ? below + 1000 : below);
}

// Truncates and rounds to the nearest 10 kt, a remainder of 5 or more upward.
float nearestTenKnots(float speed) {
    const int32_t knots = static_cast<int32_t>(speed);
    const int32_t below = knots - knots % 10;
    return static_cast<float>(knots % 10 >= 5 ? below + 10 : below);
}

float stepFraction(float step) {
    return step / 1000.0f;
}

// A weight burnt below nothing by a damaged table scales to nothing, not to a root of a negative
// number that would turn every later amount into no number at all.
float weightRatio(float weight) {
    return weight > 0.0f ? weight / FmsPerf::kReferenceWeight : 0.0f;
}

bool isValueCell(std::size_t index) {
    return index >= static_cast<std::size_t>(FmsPerf::kColumns) && index % FmsPerf::kColumns != 0;
}

bool holdsValidCells(const std::vector<float>& values) {
    for (std::size_t index = 0; index < values.size(); ++index) {
        const float value = values[index];
        if (isValueCell(index % FmsPerf::kCellCount) && !(std::isfinite(value) && value >= 0.0f))
            return false;
    }
    return true;
}

} // namespace

FmsPerf::FmsPerf() {
    writeAxes();
    for (std::size_t index = 0; index < kTableCount; ++index)
        interpolators[index].setTable(tables[index].data(), kRows, kColumns);
}

void FmsPerf::writeAxes() {
    for (Cells& table : tables) {
        for (int32_t column = 1; column < kColumns; ++column)
            table[column] = static_cast<float>(100 + 10 * (column - 1));
        for (int32_t row = 1; row < kRows; ++row)
            table[static_cast<std::size_t>(row) * kColumns] = static_cast<float>(1000 * row);
    }
}

void FmsPerf::setPath(std::filesystem::path path) {
    filePath = std::move(path);
}

bool FmsPerf::load() {
    if (filePath.empty())
        return false;
    const platform::files::FileContent content =
        platform::files::readRegularFile(filePath, kFileBytes);
    if (content.status != platform::files::FileContent::Status::Read ||
        content.bytes.size() != kFileBytes)
        return false;
    std::vector<float> values(kTableCount * kCellCount);
    std::memcpy(values.data(), content.bytes.data(), kFileBytes);
    if (!holdsValidCells(values))
        return false;
    for (std::size_t index = 0; index < kTableCount; ++index)
        std::memcpy(tables[index].data(), values.data() + index * kCellCount, kTableBytes);
    writeAxes();
    learned = false;
    return true;
}

bool FmsPerf::save() const {
    if (filePath.empty())
        return false;
    std::error_code error;
    if (filePath.has_parent_path())
        std::filesystem::create_directories(filePath.parent_path(), error);
    std::string bytes;
    bytes.reserve(kFileBytes);
    for (const Cells& table : tables)
        bytes.append(reinterpret_cast<const char*>(table.data()), kTableBytes);
    return platform::files::replaceFile(filePath, bytes);
}

void FmsPerf::climbStep(float weight, float speed, float altitude, float step, float& fuel,
                        float& time) const {
    const float top = nearestThousand(altitude + step);
    const float scale = stepFraction(step) * std::sqrt(weightRatio(weight));
    fuel = interpolators[ClimbFuel].lookup(speed, top) * scale;
    time = interpolators[ClimbTime].lookup(speed, top) * scale;
}

float FmsPerf::cruiseFuelFlow(float weight, float speed, float altitude) const {
    return interpolators[CruiseFuel].lookup(speed, altitude) *
           std::sqrt(std::sqrt(weightRatio(weight)));
}

float FmsPerf::descentStep(float, float speed, float altitude, float step) const {
    return interpolators[DescentFuel].lookup(speed, nearestThousand(altitude)) * stepFraction(step);
}

void FmsPerf::blend(Table table, float speed, float altitude, float measured) {
    Interpolator2D& interpolator = interpolators[table];
    const float old = interpolator.lookup(speed, altitude);
    const float value = old == 0.0f ? measured : 0.5f * old + 0.5f * measured;
    interpolator.store(speed, altitude, value);
    learned = true;
}

void FmsPerf::learnBand(Table table, float speed, float altitude, float measured) {
    blend(table, speed, altitude, measured);
    if (altitude == 2000.0f)
        blend(table, speed, 1000.0f, measured);
}

void FmsPerf::learnClimb(float weight, float speed, float altitude, float fuel, float time) {
    if (altitude > kHighestAltitude)
        return;
    const float rounded = nearestTenKnots(speed);
    const float scale = std::sqrt(weightRatio(weight));
    learnBand(ClimbFuel, rounded, altitude, fuel / scale);
    learnBand(ClimbTime, rounded, altitude, time / scale);
}

void FmsPerf::learnCruise(float weight, float speed, float altitude, float fuel) {
    if (altitude > kHighestAltitude)
        return;
    // The same fourth root the lookup scales by, so a minute flown at a weight reads back at it.
    blend(CruiseFuel, nearestTenKnots(speed), altitude,
          fuel / std::sqrt(std::sqrt(weightRatio(weight))));
}

void FmsPerf::learnDescent(float, float speed, float altitude, float fuel) {
    if (altitude > kHighestAltitude)
        return;
    learnBand(DescentFuel, nearestTenKnots(speed), altitude, fuel);
}

float FmsPerf::cell(Table table, int32_t row, int32_t column) const {
    return tables[table][static_cast<std::size_t>(row) * kColumns + column];
}

void FmsPerf::setCell(Table table, int32_t row, int32_t column, float value) {
    if (row < 1 || row >= kRows || column < 1 || column >= kColumns)
        return;
    tables[table][static_cast<std::size_t>(row) * kColumns + column] = value;
}

float pathAngle(float altitude1, float altitude2, float distance) {
    if (distance == 0.0f)
        return 0.0f;
    return std::atan(std::fabs(altitude1 - altitude2) / (distance * kFeetPerNauticalMile)) *
           kDegreesPerRadian;
}

float altitudeAfterDistance(float altitude, float distance, float angle) {
    return altitude + std::tan(angle / kDegreesPerRadian) * distance * kFeetPerNauticalMile;
}

float distanceForAltitudeChange(float altitude1, float altitude2, float angle) {
    const float slope = std::tan(std::fmax(angle, kMinimumPathAngle) / kDegreesPerRadian);
    return std::fabs(altitude1 - altitude2) / slope / kFeetPerNauticalMile;
}

} // namespace tavi
