#include "fms/OrbitPattern.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

using OrbitBlob = StateBlob<24>;
constexpr std::size_t kOrbitSpeedAt = 0;
constexpr std::size_t kRadiusAt = 8;
constexpr std::size_t kOrbitRightTurnsAt = 16;
constexpr std::size_t kEnteredAt = 17;
constexpr std::size_t kActiveAt = 18;
constexpr std::size_t kOrbitReservedAt = 20;

OrbitBlob pack(const OrbitPattern& orbit) {
    OrbitBlob blob;
    blob.put<kOrbitSpeedAt>(orbit.speed);
    blob.put<kRadiusAt>(orbit.radius);
    blob.put<kOrbitRightTurnsAt>(orbit.rightTurns);
    blob.put<kEnteredAt>(orbit.entered);
    blob.put<kActiveAt>(orbit.active);
    blob.put<kOrbitReservedAt>(orbit.reserved);
    return blob;
}

void unpack(const OrbitBlob& blob, OrbitPattern& orbit) {
    orbit.speed = blob.get<kOrbitSpeedAt, int32_t>();
    orbit.radius = blob.get<kRadiusAt, double>();
    orbit.rightTurns = blob.get<kOrbitRightTurnsAt, bool>();
    orbit.entered = blob.get<kEnteredAt, bool>();
    orbit.active = blob.get<kActiveAt, bool>();
    orbit.reserved = blob.get<kOrbitReservedAt, uint32_t>();
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
