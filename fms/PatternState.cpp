#include "fms/PatternState.h"

#include "core/StateBlob.h"
#include "navdata/HoldingPattern.h"
#include "navdata/ProcedureTurn.h"

#include <utility>

namespace tavi {

namespace {

using HoldBlob = StateBlob<216>;
constexpr std::size_t kDefaultSpeedAt = 0;
constexpr std::size_t kTurnRadiusAt = 8;
constexpr std::size_t kLegTimeMinAt = 16;
constexpr std::size_t kLegLengthAt = 24;
constexpr std::size_t kHoldSpeedAt = 32;
constexpr std::size_t kInboundCourseMagneticAt = 40;
constexpr std::size_t kInboundCourseAt = 48;
constexpr std::size_t kHoldRightTurnsAt = 56;
constexpr std::size_t kExitHoldAt = 57;
constexpr std::size_t kAtPresentPositionAt = 58;
constexpr std::size_t kLengthByTimeAt = 59;
constexpr std::size_t kQuadrantEnteredAt = 60;
constexpr std::size_t kSpareFlag0At = 61;
constexpr std::size_t kSpareFlag1At = 62;
constexpr std::size_t kSpareFlag2At = 63;
constexpr std::size_t kHoldInPatternAt = 64;
constexpr std::size_t kHoldEntryLegFlownAt = 65;
constexpr std::size_t kHoldActiveAt = 66;
constexpr std::size_t kHoldEnteredAt = 67;
constexpr std::size_t kEntryKindAt = 68;
constexpr std::size_t kCornerLatitudesAt = 72;
constexpr std::size_t kCornerLongitudesAt = 104;
constexpr std::size_t kEntryLatitudesAt = 136;
constexpr std::size_t kEntryLongitudesAt = 152;
constexpr std::size_t kFixTurnCentreAt = 168;
constexpr std::size_t kFarTurnCentreAt = 184;
constexpr std::size_t kHoldPhaseAt = 200;
constexpr std::size_t kEnteredTimeAt = 204;
constexpr std::size_t kHoldSpareAt = 208;

using TurnBlob = StateBlob<168>;
constexpr std::size_t kTurnBackDistanceAt = 0;
constexpr std::size_t kOutboundTimeAt = 8;
constexpr std::size_t kOutboundDistanceAt = 16;
constexpr std::size_t kMagneticCourseAt = 24;
constexpr std::size_t kTrueCourseAt = 32;
constexpr std::size_t kTurnLeftAt = 40;
constexpr std::size_t kPassedAt = 41;
constexpr std::size_t kTurnActiveAt = 42;
constexpr std::size_t kModifiedAt = 43;
constexpr std::size_t kTimeModeAt = 44;
constexpr std::size_t kTurnSpeedAt = 48;
constexpr std::size_t kExtentAt = 56;
constexpr std::size_t kMinuteDistanceAt = 64;
constexpr std::size_t kPointLatitudesAt = 72;
constexpr std::size_t kPointLongitudesAt = 104;
constexpr std::size_t kTurnBackLatitudeAt = 136;
constexpr std::size_t kTurnBackLongitudeAt = 144;
constexpr std::size_t kTurnTypeAt = 152;
constexpr std::size_t kProcedureTurnPhaseAt = 156;
constexpr std::size_t kTurnAngleAt = 160;
constexpr std::size_t kTurnSpareAt = 164;

// An array of doubles stored one after the other from an offset.
template <std::size_t Offset, std::size_t BlobSize, std::size_t Count>
void putDoubles(StateBlob<BlobSize>& blob, const std::array<double, Count>& values) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        (blob.template put<Offset + 8 * I>(values[I]), ...);
    }
    (std::make_index_sequence<Count>());
}

template <std::size_t Offset, std::size_t BlobSize, std::size_t Count>
void getDoubles(const StateBlob<BlobSize>& blob, std::array<double, Count>& values) {
    [&]<std::size_t... I>(std::index_sequence<I...>) {
        ((values[I] = blob.template get<Offset + 8 * I, double>()), ...);
    }
    (std::make_index_sequence<Count>());
}

HoldBlob pack(const HoldingPattern& hold) {
    HoldBlob blob;
    blob.put<kDefaultSpeedAt>(hold.defaultSpeed);
    blob.put<kTurnRadiusAt>(hold.turnRadius);
    blob.put<kLegTimeMinAt>(hold.legTimeMin);
    blob.put<kLegLengthAt>(hold.legLength);
    blob.put<kHoldSpeedAt>(hold.holdSpeed);
    blob.put<kInboundCourseMagneticAt>(hold.inboundCourseMagnetic);
    blob.put<kInboundCourseAt>(hold.inboundCourse);
    blob.put<kHoldRightTurnsAt>(hold.rightTurns);
    blob.put<kExitHoldAt>(hold.exitHold);
    blob.put<kAtPresentPositionAt>(hold.atPresentPosition);
    blob.put<kLengthByTimeAt>(hold.lengthByTime);
    blob.put<kQuadrantEnteredAt>(hold.quadrantEntered);
    blob.put<kSpareFlag0At>(hold.spareFlags[0]);
    blob.put<kSpareFlag1At>(hold.spareFlags[1]);
    blob.put<kSpareFlag2At>(hold.spareFlags[2]);
    blob.put<kHoldInPatternAt>(hold.holdInPattern);
    blob.put<kHoldEntryLegFlownAt>(hold.holdEntryLegFlown);
    blob.put<kHoldActiveAt>(hold.active);
    blob.put<kHoldEnteredAt>(hold.entered);
    blob.put<kEntryKindAt>(hold.entryKind);
    putDoubles<kCornerLatitudesAt>(blob, hold.cornerLatitudes);
    putDoubles<kCornerLongitudesAt>(blob, hold.cornerLongitudes);
    putDoubles<kEntryLatitudesAt>(blob, hold.entryLatitudes);
    putDoubles<kEntryLongitudesAt>(blob, hold.entryLongitudes);
    putDoubles<kFixTurnCentreAt>(blob, hold.fixTurnCentre);
    putDoubles<kFarTurnCentreAt>(blob, hold.farTurnCentre);
    blob.put<kHoldPhaseAt>(hold.holdPhase);
    blob.put<kEnteredTimeAt>(hold.enteredTime);
    blob.put<kHoldSpareAt>(hold.spare);
    return blob;
}

void unpack(const HoldBlob& blob, HoldingPattern& hold) {
    hold.defaultSpeed = blob.get<kDefaultSpeedAt, uint32_t>();
    hold.turnRadius = blob.get<kTurnRadiusAt, double>();
    hold.legTimeMin = blob.get<kLegTimeMinAt, double>();
    hold.legLength = blob.get<kLegLengthAt, double>();
    hold.holdSpeed = blob.get<kHoldSpeedAt, double>();
    hold.inboundCourseMagnetic = blob.get<kInboundCourseMagneticAt, double>();
    hold.inboundCourse = blob.get<kInboundCourseAt, double>();
    hold.rightTurns = blob.get<kHoldRightTurnsAt, uint8_t>();
    hold.exitHold = blob.get<kExitHoldAt, uint8_t>();
    hold.atPresentPosition = blob.get<kAtPresentPositionAt, uint8_t>();
    hold.lengthByTime = blob.get<kLengthByTimeAt, uint8_t>();
    hold.quadrantEntered = blob.get<kQuadrantEnteredAt, uint8_t>();
    hold.spareFlags[0] = blob.get<kSpareFlag0At, uint8_t>();
    hold.spareFlags[1] = blob.get<kSpareFlag1At, uint8_t>();
    hold.spareFlags[2] = blob.get<kSpareFlag2At, uint8_t>();
    hold.holdInPattern = blob.get<kHoldInPatternAt, uint8_t>();
    hold.holdEntryLegFlown = blob.get<kHoldEntryLegFlownAt, uint8_t>();
    hold.active = blob.get<kHoldActiveAt, uint8_t>();
    hold.entered = blob.get<kHoldEnteredAt, uint8_t>();
    hold.entryKind = blob.get<kEntryKindAt, HoldEntry>();
    getDoubles<kCornerLatitudesAt>(blob, hold.cornerLatitudes);
    getDoubles<kCornerLongitudesAt>(blob, hold.cornerLongitudes);
    getDoubles<kEntryLatitudesAt>(blob, hold.entryLatitudes);
    getDoubles<kEntryLongitudesAt>(blob, hold.entryLongitudes);
    getDoubles<kFixTurnCentreAt>(blob, hold.fixTurnCentre);
    getDoubles<kFarTurnCentreAt>(blob, hold.farTurnCentre);
    hold.holdPhase = blob.get<kHoldPhaseAt, uint32_t>();
    hold.enteredTime = blob.get<kEnteredTimeAt, uint32_t>();
    hold.spare = blob.get<kHoldSpareAt, uint32_t>();
}

TurnBlob pack(const ProcedureTurn& turn) {
    TurnBlob blob;
    blob.put<kTurnBackDistanceAt>(turn.turnBackDistance);
    blob.put<kOutboundTimeAt>(turn.outboundTime);
    blob.put<kOutboundDistanceAt>(turn.outboundDistance);
    blob.put<kMagneticCourseAt>(turn.magneticCourse);
    blob.put<kTrueCourseAt>(turn.trueCourse);
    blob.put<kTurnLeftAt>(turn.turnLeft);
    blob.put<kPassedAt>(turn.passed);
    blob.put<kTurnActiveAt>(turn.active);
    blob.put<kModifiedAt>(turn.modified);
    blob.put<kTimeModeAt>(turn.timeMode);
    blob.put<kTurnSpeedAt>(turn.speed);
    blob.put<kExtentAt>(turn.extent);
    blob.put<kMinuteDistanceAt>(turn.minuteDistance);
    putDoubles<kPointLatitudesAt>(blob, turn.pointLatitudes);
    putDoubles<kPointLongitudesAt>(blob, turn.pointLongitudes);
    blob.put<kTurnBackLatitudeAt>(turn.turnBackLatitude);
    blob.put<kTurnBackLongitudeAt>(turn.turnBackLongitude);
    blob.put<kTurnTypeAt>(turn.turnType);
    blob.put<kProcedureTurnPhaseAt>(turn.procedureTurnPhase);
    blob.put<kTurnAngleAt>(turn.turnAngle);
    blob.put<kTurnSpareAt>(turn.spare);
    return blob;
}

void unpack(const TurnBlob& blob, ProcedureTurn& turn) {
    turn.turnBackDistance = blob.get<kTurnBackDistanceAt, double>();
    turn.outboundTime = blob.get<kOutboundTimeAt, double>();
    turn.outboundDistance = blob.get<kOutboundDistanceAt, double>();
    turn.magneticCourse = blob.get<kMagneticCourseAt, double>();
    turn.trueCourse = blob.get<kTrueCourseAt, double>();
    turn.turnLeft = blob.get<kTurnLeftAt, uint8_t>();
    turn.passed = blob.get<kPassedAt, uint8_t>();
    turn.active = blob.get<kTurnActiveAt, uint8_t>();
    turn.modified = blob.get<kModifiedAt, uint8_t>();
    turn.timeMode = blob.get<kTimeModeAt, uint8_t>();
    turn.speed = blob.get<kTurnSpeedAt, double>();
    turn.extent = blob.get<kExtentAt, double>();
    turn.minuteDistance = blob.get<kMinuteDistanceAt, double>();
    getDoubles<kPointLatitudesAt>(blob, turn.pointLatitudes);
    getDoubles<kPointLongitudesAt>(blob, turn.pointLongitudes);
    turn.turnBackLatitude = blob.get<kTurnBackLatitudeAt, double>();
    turn.turnBackLongitude = blob.get<kTurnBackLongitudeAt, double>();
    turn.turnType = blob.get<kTurnTypeAt, uint32_t>();
    turn.procedureTurnPhase = blob.get<kProcedureTurnPhaseAt, uint32_t>();
    turn.turnAngle = blob.get<kTurnAngleAt, int32_t>();
    turn.spare = blob.get<kTurnSpareAt, uint32_t>();
}

} // namespace

bool saveHoldingPattern(const HoldingPattern& hold, const Fs9Reader& reader, const StateFile& file,
                        const char* section, const std::string& key) {
    return pack(hold).save(reader, file, section, key);
}

void loadHoldingPattern(HoldingPattern& hold, const Fs9Reader& reader, const StateFile& file,
                        const char* section, const std::string& key) {
    HoldBlob blob = pack(hold);
    blob.load(reader, file, section, key);
    unpack(blob, hold);
}

bool saveProcedureTurn(const ProcedureTurn& turn, const Fs9Reader& reader, const StateFile& file,
                       const char* section, const std::string& key) {
    return pack(turn).save(reader, file, section, key);
}

void loadProcedureTurn(ProcedureTurn& turn, const Fs9Reader& reader, const StateFile& file,
                       const char* section, const std::string& key) {
    TurnBlob blob = pack(turn);
    blob.load(reader, file, section, key);
    unpack(blob, turn);
}

} // namespace tavi
