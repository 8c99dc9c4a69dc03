#include "navdata/Runway.h"

#include "core/StateBlob.h"

namespace tavi {

namespace {

// The "rwData" blob.
using RunwayBlob = StateBlob<16>;
constexpr std::size_t kTrueHeadingAt = 0;
constexpr std::size_t kMagneticHeadingAt = 4;
constexpr std::size_t kLengthAt = 8;
constexpr std::size_t kWidthAt = 12;

RunwayBlob pack(const Runway& runway) {
    RunwayBlob blob;
    blob.put<kTrueHeadingAt>(runway.trueHeading);
    blob.put<kMagneticHeadingAt>(runway.magneticHeading);
    blob.put<kLengthAt>(runway.length);
    blob.put<kWidthAt>(runway.width);
    return blob;
}

void unpack(const RunwayBlob& blob, Runway& runway) {
    runway.trueHeading = blob.get<kTrueHeadingAt, float>();
    runway.magneticHeading = blob.get<kMagneticHeadingAt, float>();
    runway.length = blob.get<kLengthAt, int32_t>();
    runway.width = blob.get<kWidthAt, int32_t>();
}

} // namespace

bool Runway::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                  const std::string& prefix) const {
    const bool saved = Waypoint::save(reader, file, section, prefix);
    return pack(*this).save(reader, file, section, prefix + ".rwData") && saved;
}

void Runway::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                  const std::string& prefix) {
    Waypoint::load(reader, file, section, prefix);
    RunwayBlob blob = pack(*this);
    blob.load(reader, file, section, prefix + ".rwData");
    unpack(blob, *this);
}

} // namespace tavi
