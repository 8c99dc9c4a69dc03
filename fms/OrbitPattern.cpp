#include "fms/OrbitPattern.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using OrbitBlob = StateBlob<24>;
constexpr std::size_t kSpeedAt = 0;
constexpr std::size_t kRadiusAt = 8;
constexpr std::size_t kRightTurnsAt = 16;
constexpr std::size_t kEnteredAt = 17;
constexpr std::size_t kActiveAt = 18;
constexpr std::size_t kReservedAt = 20;

OrbitBlob pack(const OrbitPattern& orbit) {
    OrbitBlob blob;
    blob.put<kSpeedAt>(orbit.speed);
    blob.put<kRadiusAt>(orbit.radius);
    blob.put<kRightTurnsAt>(orbit.rightTurns);
    blob.put<kEnteredAt>(orbit.entered);
    blob.put<kActiveAt>(orbit.active);
    blob.put<kReservedAt>(orbit.reserved);
    return blob;
}

void unpack(const OrbitBlob& blob, OrbitPattern& orbit) {
    orbit.speed = blob.get<kSpeedAt, int32_t>();
    orbit.radius = blob.get<kRadiusAt, double>();
    orbit.rightTurns = blob.get<kRightTurnsAt, bool>();
    orbit.entered = blob.get<kEnteredAt, bool>();
    orbit.active = blob.get<kActiveAt, bool>();
    orbit.reserved = blob.get<kReservedAt, uint32_t>();
}

} // namespace

bool OrbitPattern::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                        const std::string& key) const {
    return pack(*this).save(reader, file, section, key);
}

void OrbitPattern::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                        const std::string& key) {
    OrbitBlob blob = pack(*this);
    blob.load(reader, file, section, key);
    unpack(blob, *this);
}

} // namespace tavi
