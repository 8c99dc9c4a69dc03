#include "navdata/TerminalLeg.h"

#include "core/Fs9Reader.h"
#include "core/StateBlob.h"

#include <algorithm>
#include <array>

namespace tavi {

namespace {

constexpr std::array<std::string_view, 24> kTrackCodes = {
    "AF", "CA", "CD", "CF", "CI", "CR", "DF", "FA", "FC", "FD", "FM", "HA",
    "HF", "HM", "IF", "PI", "RF", "TF", "VA", "VD", "VI", "VM", "VR", "DS",
};

// The "data" blob: every field before the altitude text at its stored offset; bytes 14-15 and
// 44-47 are padding, written as 0 and never read.
using TerminalLegBlob = StateBlob<88>;
constexpr std::size_t kProcAt = 0;
constexpr std::size_t kTurnDirectionAt = 4;
constexpr std::size_t kLegTypeAt = 8;
constexpr std::size_t kTurnDirectionDoneAt = 12;
constexpr std::size_t kFlyOverAt = 13;
constexpr std::size_t kReservedAt = 16;
constexpr std::size_t kFixIdAt = 20;
constexpr std::size_t kFixLatitudeAt = 24;
constexpr std::size_t kFixLongitudeAt = 32;
constexpr std::size_t kNavaidIdAt = 40;
constexpr std::size_t kNavaidLatitudeAt = 48;
constexpr std::size_t kNavaidLongitudeAt = 56;
constexpr std::size_t kNavaidBearingAt = 64;
constexpr std::size_t kNavaidDistanceAt = 68;
constexpr std::size_t kCourseAt = 72;
constexpr std::size_t kDistanceAt = 76;
constexpr std::size_t kVerticalAngleAt = 80;
constexpr std::size_t kReserved2At = 84;

TerminalLegBlob pack(const TerminalLeg& leg) {
    TerminalLegBlob blob;
    blob.put<kProcAt>(leg.proc);
    blob.put<kTurnDirectionAt>(leg.turnDirection);
    blob.put<kLegTypeAt>(leg.legType);
    blob.put<kTurnDirectionDoneAt>(leg.turnDirectionDone);
    blob.put<kFlyOverAt>(leg.flyOver);
    blob.put<kReservedAt>(leg.reserved);
    blob.put<kFixIdAt>(leg.fixId);
    blob.put<kFixLatitudeAt>(leg.fixLatitude);
    blob.put<kFixLongitudeAt>(leg.fixLongitude);
    blob.put<kNavaidIdAt>(leg.navaidId);
    blob.put<kNavaidLatitudeAt>(leg.navaidLatitude);
    blob.put<kNavaidLongitudeAt>(leg.navaidLongitude);
    blob.put<kNavaidBearingAt>(leg.navaidBearing);
    blob.put<kNavaidDistanceAt>(leg.navaidDistance);
    blob.put<kCourseAt>(leg.course);
    blob.put<kDistanceAt>(leg.distance);
    blob.put<kVerticalAngleAt>(leg.verticalAngle);
    blob.put<kReserved2At>(leg.reserved2);
    return blob;
}

void unpack(const TerminalLegBlob& blob, TerminalLeg& leg) {
    leg.proc = blob.get<kProcAt, int32_t>();
    leg.turnDirection = blob.get<kTurnDirectionAt, int32_t>();
    leg.legType = blob.get<kLegTypeAt, TerminalLegType>();
    leg.turnDirectionDone = blob.get<kTurnDirectionDoneAt, bool>();
    leg.flyOver = blob.get<kFlyOverAt, bool>();
    leg.reserved = blob.get<kReservedAt, int32_t>();
    leg.fixId = blob.get<kFixIdAt, int32_t>();
    leg.fixLatitude = blob.get<kFixLatitudeAt, double>();
    leg.fixLongitude = blob.get<kFixLongitudeAt, double>();
    leg.navaidId = blob.get<kNavaidIdAt, int32_t>();
    leg.navaidLatitude = blob.get<kNavaidLatitudeAt, double>();
    leg.navaidLongitude = blob.get<kNavaidLongitudeAt, double>();
    leg.navaidBearing = blob.get<kNavaidBearingAt, float>();
    leg.navaidDistance = blob.get<kNavaidDistanceAt, float>();
    leg.course = blob.get<kCourseAt, float>();
    leg.distance = blob.get<kDistanceAt, float>();
    leg.verticalAngle = blob.get<kVerticalAngleAt, float>();
    leg.reserved2 = blob.get<kReserved2At, int32_t>();
}

} // namespace

TerminalLegType TerminalLeg::typeFromTrackCode(std::string_view code) {
    for (std::size_t index = 0; index < kTrackCodes.size(); ++index) {
        if (kTrackCodes[index] == code) {
            return static_cast<TerminalLegType>(index);
        }
    }
    return TerminalLegType::TF;
}

bool TerminalLeg::isTrackCode(std::string_view code) {
    return std::find(kTrackCodes.begin(), kTrackCodes.end(), code) != kTrackCodes.end();
}

bool TerminalLeg::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& prefix) const {
    const bool saved = pack(*this).save(reader, file, section, prefix + ".data");
    return saveStringField(file, section, (prefix + ".alt").c_str(), altitude) && saved;
}

void TerminalLeg::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                       const std::string& prefix) {
    TerminalLegBlob blob = pack(*this);
    blob.load(reader, file, section, prefix + ".data");
    unpack(blob, *this);
    altitude = loadStringField(file, section, (prefix + ".alt").c_str());
}

} // namespace tavi
