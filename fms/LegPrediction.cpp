#include "fms/LegPrediction.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using PredictionBlob = StateBlob<16>;
constexpr std::size_t kTimeAt = 0;
constexpr std::size_t kFuelAt = 4;
constexpr std::size_t kFuelRemainingAt = 8;
constexpr std::size_t kPredictionDistanceAt = 12;

PredictionBlob pack(const LegPrediction& prediction) {
    PredictionBlob blob;
    blob.put<kTimeAt>(prediction.time);
    blob.put<kFuelAt>(prediction.fuel);
    blob.put<kFuelRemainingAt>(prediction.fuelRemaining);
    blob.put<kPredictionDistanceAt>(prediction.distance);
    return blob;
}

void unpack(const PredictionBlob& blob, LegPrediction& prediction) {
    prediction.time = blob.get<kTimeAt, float>();
    prediction.fuel = blob.get<kFuelAt, float>();
    prediction.fuelRemaining = blob.get<kFuelRemainingAt, float>();
    prediction.distance = blob.get<kPredictionDistanceAt, float>();
}

float sum(float a, float b) {
    return static_cast<float>(static_cast<double>(a) + static_cast<double>(b));
}

} // namespace

void LegPrediction::add(const LegPrediction& other) {
    time = sum(time, other.time);
    fuel = sum(fuel, other.fuel);
    fuelRemaining = sum(fuelRemaining, other.fuelRemaining);
    distance = sum(distance, other.distance);
}

LegPrediction& LegPrediction::operator+=(const LegPrediction& other) {
    add(other);
    return *this;
}

bool LegPrediction::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) const {
    return pack(*this).save(reader, file, section, key);
}

void LegPrediction::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& key) {
    PredictionBlob blob = pack(*this);
    blob.load(reader, file, section, key);
    unpack(blob, *this);
}

} // namespace tavi
