// The plan's keys in the per-flight state.
#include "core/Fs9Reader.h"
#include "core/StateBlob.h"
#include "core/ValueRanges.h"
#include "fms/FlightPlan.h"
#include "fms/PatternState.h"
#include "platform/profile/Profile.h"

#include <algorithm>

namespace tavi {

namespace {

// Bytes 0-7 hold no field: written as 0 and never read.
using PlanBlob = StateBlob<72>;
constexpr std::size_t kGspdAt = 8;
constexpr std::size_t kActiveLegAt = 12;
constexpr std::size_t kRouteEndLegAt = 16;
constexpr std::size_t kDescentEndLegAt = 20;
constexpr std::size_t kTotalDistanceAt = 24;
constexpr std::size_t kDistanceFlownAt = 32;
constexpr std::size_t kTimeToGoAt = 40;
constexpr std::size_t kTakeoffEndFuelAt = 48;
constexpr std::size_t kPredictedEndFuelAt = 52;
constexpr std::size_t kPlanFuelUsedAt = 56;
constexpr std::size_t kPlanReservedAt = 60;
constexpr std::size_t kRecalculatedAt = 64;
constexpr std::size_t kRouteEndFoundAt = 65;
constexpr std::size_t kDescentEndFoundAt = 66;
constexpr std::size_t kLockedAt = 67;
constexpr std::size_t kNextFixOffsetAt = 68;

PlanBlob pack(const FlightPlan& plan) {
    PlanBlob blob;
    blob.put<kGspdAt>(plan.gspd);
    blob.put<kActiveLegAt>(plan.activeLeg);
    blob.put<kRouteEndLegAt>(plan.routeEndLeg);
    blob.put<kDescentEndLegAt>(plan.descentEndLeg);
    blob.put<kTotalDistanceAt>(plan.totalDistance);
    blob.put<kDistanceFlownAt>(plan.distanceFlown);
    blob.put<kTimeToGoAt>(plan.timeToGo);
    blob.put<kTakeoffEndFuelAt>(plan.takeoffEndFuel);
    blob.put<kPredictedEndFuelAt>(plan.predictedEndFuel);
    blob.put<kPlanFuelUsedAt>(plan.fuelUsed);
    blob.put<kPlanReservedAt>(plan.reserved);
    blob.put<kRecalculatedAt>(plan.recalculated);
    blob.put<kRouteEndFoundAt>(plan.routeEndFound);
    blob.put<kDescentEndFoundAt>(plan.descentEndFound);
    blob.put<kLockedAt>(plan.locked);
    blob.put<kNextFixOffsetAt>(plan.nextFixOffset);
    return blob;
}

void unpack(const PlanBlob& blob, FlightPlan& plan) {
    plan.gspd = blob.get<kGspdAt, uint32_t>();
    plan.activeLeg = blob.get<kActiveLegAt, uint32_t>();
    plan.routeEndLeg = blob.get<kRouteEndLegAt, uint32_t>();
    plan.descentEndLeg = blob.get<kDescentEndLegAt, uint32_t>();
    plan.totalDistance = blob.get<kTotalDistanceAt, double>();
    plan.distanceFlown = blob.get<kDistanceFlownAt, double>();
    plan.timeToGo = blob.get<kTimeToGoAt, double>();
    plan.takeoffEndFuel = blob.get<kTakeoffEndFuelAt, float>();
    plan.predictedEndFuel = blob.get<kPredictedEndFuelAt, float>();
    plan.fuelUsed = blob.get<kPlanFuelUsedAt, float>();
    plan.reserved = blob.get<kPlanReservedAt, uint32_t>();
    plan.recalculated = blob.get<kRecalculatedAt, bool>();
    plan.routeEndFound = blob.get<kRouteEndFoundAt, bool>();
    plan.descentEndFound = blob.get<kDescentEndFoundAt, bool>();
    plan.locked = blob.get<kLockedAt, bool>();
    plan.nextFixOffset = blob.get<kNextFixOffsetAt, int32_t>();
}

StateField intField(const std::string& key, int32_t& value) {
    StateField field;
    field.key = key.c_str();
    field.data = &value;
    field.type = StateFieldType::Int32;
    field.size = sizeof value;
    return field;
}

std::string legPrefix(const std::string& prefix, std::size_t index) {
    return prefix + ".legs." + std::to_string(index);
}

// The plan's own keys are there, and each leg the count names holds its first and last key: a
// leg is written whole before the next, so a file cut short lacks the last key of its last leg.
bool isStoredWhole(const StateFile& file, const char* section, const std::string& prefix) {
    const auto countText = lookupStateValue(file, section, prefix + ".legs.count");
    if (!lookupStateValue(file, section, prefix + ".data") || !countText) {
        return false;
    }
    const int32_t count = platform::profile::parseInt(*countText);
    if (count < 0) {
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        const std::string legKey = legPrefix(prefix, static_cast<std::size_t>(i));
        if (!lookupStateValue(file, section, legKey + ".data") ||
            !lookupStateValue(file, section, legKey + ".tfd")) {
            return false;
        }
    }
    return true;
}

// The indexes of a stored plan name legs it holds, whatever the file says.
void keepIndexesWithinLegs(FlightPlan& plan) {
    const auto count = static_cast<uint32_t>(plan.legs.size());
    const uint32_t last = count > 0 ? count - 1 : 0;
    plan.activeLeg = std::min(plan.activeLeg, count);
    plan.routeEndLeg = std::min(plan.routeEndLeg, last);
    plan.descentEndLeg = std::min(plan.descentEndLeg, last);
}

} // namespace

bool FlightPlan::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix) const {
    bool saved = pack(*this).save(reader, file, section, prefix + ".data");
    saved = org.save(reader, file, section, prefix + ".org") && saved;
    saved = dest.save(reader, file, section, prefix + ".dest") && saved;
    saved = orgRwy.save(reader, file, section, prefix + ".orgRwy") && saved;
    saved = destRwy.save(reader, file, section, prefix + ".destRwy") && saved;
    saved = destIls.save(reader, file, section, prefix + ".destIls") && saved;
    saved = saveStringField(file, section, (prefix + ".name").c_str(), planName) && saved;
    saved = orbit.save(reader, file, section, prefix + ".orbit") && saved;
    saved = saveProcedureTurn(pcdrTurn, reader, file, section, prefix + ".pcdrTurn") && saved;
    int32_t count = static_cast<int32_t>(legs.size());
    saved = reader.saveField(section, intField(prefix + ".legs.count", count), file) && saved;
    for (std::size_t i = 0; i < legs.size(); ++i) {
        saved = legs[i].save(reader, file, section, legPrefix(prefix, i)) && saved;
    }
    return saved;
}

bool FlightPlan::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                      const std::string& prefix) {
    // A plan is taken whole or not at all: a flight file cut short, or a leg count the legs do
    // not bear out, would otherwise fly a route that was never entered.
    if (!isStoredWhole(file, section, prefix)) {
        return false;
    }
    FlightPlan loaded = *this;
    loaded.loadKeys(reader, file, section, prefix);
    if (!std::all_of(loaded.legs.begin(), loaded.legs.end(), [](const FlightPlanLeg& leg) {
            return isOnEarth(leg.wpt.latitude, leg.wpt.longitude);
        })) {
        return false;
    }
    *this = std::move(loaded);
    return true;
}

void FlightPlan::loadKeys(const Fs9Reader& reader, const StateFile& file, const char* section,
                          const std::string& prefix) {
    PlanBlob blob = pack(*this);
    blob.load(reader, file, section, prefix + ".data");
    unpack(blob, *this);
    org.load(reader, file, section, prefix + ".org");
    dest.load(reader, file, section, prefix + ".dest");
    orgRwy.load(reader, file, section, prefix + ".orgRwy");
    destRwy.load(reader, file, section, prefix + ".destRwy");
    destIls.load(reader, file, section, prefix + ".destIls");
    planName = loadStringField(file, section, (prefix + ".name").c_str());
    orbit.load(reader, file, section, prefix + ".orbit");
    loadProcedureTurn(pcdrTurn, reader, file, section, prefix + ".pcdrTurn");
    int32_t count = 0;
    reader.loadField(section, intField(prefix + ".legs.count", count), file);
    legs.clear();
    for (int32_t i = 0; i < count; ++i) {
        FlightPlanLeg leg;
        leg.load(reader, file, section, legPrefix(prefix, static_cast<std::size_t>(i)));
        legs.push_back(std::move(leg));
    }
    keepIndexesWithinLegs(*this);
}

} // namespace tavi
