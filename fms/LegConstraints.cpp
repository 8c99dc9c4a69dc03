#include "fms/LegConstraints.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

// The stored record: bytes 35 and 36..39 hold the word after the flags.
using LegConstraintsBlob = StateBlob<44>;
constexpr std::size_t kConstraintSpeedAt = 0;
constexpr std::size_t kMachAt = 4;
constexpr std::size_t kPathAngleAt = 8;
constexpr std::size_t kConstraintAltitudeAt = 12;
constexpr std::size_t kAltitude2At = 16;
constexpr std::size_t kPredictedAltitudeAt = 20;
constexpr std::size_t kVerticalSpeedAt = 24;
constexpr std::size_t kKindAt = 28;
constexpr std::size_t kHasAltitudeAt = 32;
constexpr std::size_t kHasSpeedAt = 33;
constexpr std::size_t kPathAngleEnteredAt = 34;
constexpr std::size_t kConstraintReservedAt = 36;
constexpr std::size_t kPhaseAt = 40;

LegConstraintsBlob pack(const LegConstraints& vnav) {
    LegConstraintsBlob blob;
    blob.put<kConstraintSpeedAt>(vnav.speed);
    blob.put<kMachAt>(vnav.mach);
    blob.put<kPathAngleAt>(vnav.pathAngle);
    blob.put<kConstraintAltitudeAt>(vnav.altitude);
    blob.put<kAltitude2At>(vnav.altitude2);
    blob.put<kPredictedAltitudeAt>(vnav.predictedAltitude);
    blob.put<kVerticalSpeedAt>(vnav.verticalSpeed);
    blob.put<kKindAt>(vnav.kind);
    blob.put<kHasAltitudeAt>(vnav.hasAltitude);
    blob.put<kHasSpeedAt>(vnav.hasSpeed);
    blob.put<kPathAngleEnteredAt>(vnav.pathAngleEntered);
    blob.put<kConstraintReservedAt>(vnav.reserved);
    blob.put<kPhaseAt>(vnav.phase);
    return blob;
}

void unpack(const LegConstraintsBlob& blob, LegConstraints& vnav) {
    vnav.speed = blob.get<kConstraintSpeedAt, int32_t>();
    vnav.mach = blob.get<kMachAt, float>();
    vnav.pathAngle = blob.get<kPathAngleAt, float>();
    vnav.altitude = blob.get<kConstraintAltitudeAt, int32_t>();
    vnav.altitude2 = blob.get<kAltitude2At, int32_t>();
    vnav.predictedAltitude = blob.get<kPredictedAltitudeAt, int32_t>();
    vnav.verticalSpeed = blob.get<kVerticalSpeedAt, int32_t>();
    vnav.kind = blob.get<kKindAt, uint32_t>();
    vnav.hasAltitude = blob.get<kHasAltitudeAt, bool>();
    vnav.hasSpeed = blob.get<kHasSpeedAt, bool>();
    vnav.pathAngleEntered = blob.get<kPathAngleEnteredAt, bool>();
    vnav.reserved = blob.get<kConstraintReservedAt, uint32_t>();
    vnav.phase = blob.get<kPhaseAt, uint32_t>();
}

} // namespace

bool LegConstraints::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                          const std::string& key) const {
    return pack(*this).save(reader, file, section, key);
}

void LegConstraints::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                          const std::string& key) {
    LegConstraintsBlob blob = pack(*this);
    blob.load(reader, file, section, key);
    unpack(blob, *this);
}

} // namespace tavi
