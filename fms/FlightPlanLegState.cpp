// The leg's keys in the per-flight state.
#include "core/Fs9Reader.h"
#include "core/StateBlob.h"
#include "fms/FlightPlanLeg.h"
#include "fms/PatternState.h"

namespace tavi {

namespace {

// Bytes 0-7 hold no field: written as 0 and never read.
using LegBlob = StateBlob<84>;
constexpr std::size_t kDistanceAt = 8;
constexpr std::size_t kEtaAt = 16;
constexpr std::size_t kCourseAt = 24;
constexpr std::size_t kSpeedAt = 32;
constexpr std::size_t kLegTimeAt = 40;
constexpr std::size_t kReservedAt = 48;
constexpr std::size_t kFuelUsedAt = 56;
constexpr std::size_t kDiscontinuityAt = 60;
constexpr std::size_t kReservedFlagAt = 61;
constexpr std::size_t kCruiseLegAt = 62;
constexpr std::size_t kSegmentIndexAt = 64;
constexpr std::size_t kStartKindAt = 68;
constexpr std::size_t kWindDirectionAt = 72;
constexpr std::size_t kWindSpeedAt = 76;
constexpr std::size_t kManualTerminationAt = 80;

LegBlob pack(const FlightPlanLeg& leg) {
    LegBlob blob;
    blob.put<kDistanceAt>(leg.distance);
    blob.put<kEtaAt>(leg.eta);
    blob.put<kCourseAt>(leg.course);
    blob.put<kSpeedAt>(leg.speed);
    blob.put<kLegTimeAt>(leg.legTime);
    blob.put<kReservedAt>(leg.reserved);
    blob.put<kFuelUsedAt>(leg.fuelUsed);
    blob.put<kDiscontinuityAt>(leg.discontinuity);
    blob.put<kReservedFlagAt>(leg.reservedFlag);
    blob.put<kCruiseLegAt>(leg.cruiseLeg);
    blob.put<kSegmentIndexAt>(leg.segmentIndex);
    blob.put<kStartKindAt>(leg.startKind);
    blob.put<kWindDirectionAt>(leg.windDirection);
    blob.put<kWindSpeedAt>(leg.windSpeed);
    blob.put<kManualTerminationAt>(leg.manualTermination);
    return blob;
}

void unpack(const LegBlob& blob, FlightPlanLeg& leg) {
    leg.distance = blob.get<kDistanceAt, double>();
    leg.eta = blob.get<kEtaAt, double>();
    leg.course = blob.get<kCourseAt, double>();
    leg.speed = blob.get<kSpeedAt, double>();
    leg.legTime = blob.get<kLegTimeAt, double>();
    leg.reserved = blob.get<kReservedAt, double>();
    leg.fuelUsed = blob.get<kFuelUsedAt, float>();
    leg.discontinuity = blob.get<kDiscontinuityAt, bool>();
    leg.reservedFlag = blob.get<kReservedFlagAt, bool>();
    leg.cruiseLeg = blob.get<kCruiseLegAt, bool>();
    leg.segmentIndex = blob.get<kSegmentIndexAt, uint32_t>();
    leg.startKind = blob.get<kStartKindAt, int32_t>();
    leg.windDirection = blob.get<kWindDirectionAt, int32_t>();
    leg.windSpeed = blob.get<kWindSpeedAt, int32_t>();
    leg.manualTermination = blob.get<kManualTerminationAt, bool>();
}

} // namespace

bool FlightPlanLeg::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& prefix) const {
    bool saved = pack(*this).save(reader, file, section, prefix + ".data");
    saved = vnav.save(reader, file, section, prefix + ".vnav") && saved;
    saved = saveStringField(file, section, (prefix + ".via").c_str(), via) && saved;
    saved = wpt.save(reader, file, section, prefix + ".wpt") && saved;
    saved = src.save(reader, file, section, prefix + ".src") && saved;
    saved = saveHoldingPattern(holding, reader, file, section, prefix + ".holding") && saved;
    saved = orbit.save(reader, file, section, prefix + ".orbit") && saved;
    saved = saveProcedureTurn(pcdrTurn, reader, file, section, prefix + ".pcdrTurn") && saved;
    saved = trmLeg.save(reader, file, section, prefix + ".trmLeg") && saved;
    return tfd.save(reader, file, section, prefix + ".tfd") && saved;
}

void FlightPlanLeg::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                         const std::string& prefix) {
    LegBlob blob = pack(*this);
    blob.load(reader, file, section, prefix + ".data");
    unpack(blob, *this);
    vnav.load(reader, file, section, prefix + ".vnav");
    via = loadStringField(file, section, (prefix + ".via").c_str());
    wpt.load(reader, file, section, prefix + ".wpt");
    src.load(reader, file, section, prefix + ".src");
    loadHoldingPattern(holding, reader, file, section, prefix + ".holding");
    orbit.load(reader, file, section, prefix + ".orbit");
    loadProcedureTurn(pcdrTurn, reader, file, section, prefix + ".pcdrTurn");
    trmLeg.load(reader, file, section, prefix + ".trmLeg");
    tfd.load(reader, file, section, prefix + ".tfd");
}

} // namespace tavi
