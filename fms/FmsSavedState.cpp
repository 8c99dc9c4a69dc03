#include "core/Format.h"
#include "core/Fs9Reader.h"
#include "core/StateBlob.h"
#include "core/ValueRanges.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"

#include <algorithm>
#include <cctype>
#include <limits>
#include <string>

namespace tavi {

namespace {

constexpr const char* kFmcSection = "FMC";

using LnavBlob = StateBlob<108>;
using VnavBlob = StateBlob<160>;
using PosInitBlob = StateBlob<56>;
using FuelMgtBlob = StateBlob<32>;
using FlightSummaryBlob = StateBlob<32>;

enum class BlobKey { Missing, Whole, Damaged };

// A blob key counts only when it holds every byte of its record as two hex digits: a record read
// in part would mix the saved flight with the one flying.
template <std::size_t Size>
BlobKey readBlob(const Fs9Reader& reader, const StateFile& file, const char* key,
                 StateBlob<Size>& blob) {
    const auto text = lookupStateValue(file, kFmcSection, key);
    if (!text) {
        return BlobKey::Missing;
    }
    const bool whole = text->size() == 2 * Size &&
                       std::all_of(text->begin(), text->end(),
                                   [](unsigned char c) { return std::isxdigit(c) != 0; });
    if (!whole) {
        return BlobKey::Damaged;
    }
    blob.load(reader, file, kFmcSection, key);
    return BlobKey::Whole;
}

// A damaged key, or one holding a value the record never takes, gives the record its defaults;
// a missing one leaves it as it is. False when the defaults were taken.
template <std::size_t Size, class Record, class Unpack, class Plausible>
bool loadRecord(const Fs9Reader& reader, const StateFile& file, const char* key, Record& record,
                Unpack unpack, Plausible plausible) {
    StateBlob<Size> blob;
    switch (readBlob(reader, file, key, blob)) {
    case BlobKey::Whole: {
        Record loaded = record;
        unpack(blob, loaded);
        if (plausible(loaded)) {
            record = std::move(loaded);
            return true;
        }
        record = Record{};
        return false;
    }
    case BlobKey::Damaged:
        record = Record{};
        return false;
    case BlobKey::Missing:
        break;
    }
    return true;
}

// The bounds of the values a saved flight holds. A value outside them (not a number above all)
// comes from a damaged file, and the systems would run on it for good: a route distance beyond
// the earth's circumference, an altitude beyond any cruise level.
constexpr double kLongestDistance = 21600.0;
constexpr double kHighestAltitude = 60000.0;
constexpr double kLowestAltitude = -2000.0;
constexpr double kFastestSpeed = 1000.0;
constexpr double kHighestMach = 2.0;
constexpr double kSteepestAngle = 90.0;
constexpr double kFastestClimb = 100000.0;
constexpr double kLongestTime = 1.0e7;
constexpr double kMostFuel = 1.0e7;
constexpr double kSecondsPerDay = 86400.0;

bool isDistance(double value) {
    return isWithin(value, -kLongestDistance, kLongestDistance);
}

bool isTrack(double value) {
    return isWithin(value, -360.0, 720.0);
}

bool isAngle(double value) {
    return isWithin(value, -kSteepestAngle, kSteepestAngle);
}

bool isAltitude(double value) {
    return isWithin(value, kLowestAltitude, kHighestAltitude);
}

bool isPlausible(const LnavState& state) {
    return isDistance(state.segmentAlongTrack) && isDistance(state.crossTrackError) &&
           isAngle(state.bankCommand) && isDistance(state.legAlongTrack) &&
           isDistance(state.distanceToGo) &&
           isWithin(state.timeToGo, -kLongestTime, kLongestTime) &&
           isTrack(state.desiredTrackMagnetic) && isTrack(state.desiredTrackTrue) &&
           isTrack(state.bearingToFix) && isDistance(state.deviation) &&
           isTrack(state.currentDesiredTrack) && isWithin(state.turnRate, -360.0, 360.0);
}

bool isPlausible(const VnavState& state) {
    return isAltitude(state.targetAltitude) && isAltitude(state.previousTargetAltitude) &&
           isDistance(state.climbConstraintDistance) &&
           isWithin(state.climbConstraintShortfall, -kHighestAltitude, kHighestAltitude) &&
           isWithin(state.verticalDeviation, -kHighestAltitude, kHighestAltitude) &&
           isWithin(state.speedCommandIas, 0.0, kFastestSpeed) &&
           isWithin(state.speedCommandMach, 0.0, kHighestMach) &&
           isDistance(state.distanceToConstraint) && isAngle(state.requiredPathAngle) &&
           isAngle(state.commandPathAngle) && isAngle(state.flightPathAngle) &&
           isDistance(state.distanceToTod) &&
           isWithin(state.requiredVerticalSpeed, -kFastestClimb, kFastestClimb) &&
           isDistance(state.descentConstraintDistance) &&
           isWithin(state.descentConstraintExcess, -kHighestAltitude, kHighestAltitude);
}

bool isPlausible(const Fms::PositionInit& position) {
    return isOnEarth(position.latitude, position.longitude) &&
           isOnEarth(position.loadedLatitude, position.loadedLongitude) &&
           isTrack(position.offsetBearing) && isDistance(position.offsetDistance) &&
           isWithin(position.loadedFrom, -1, 2);
}

bool isPlausible(const FuelMgtPage& page) {
    const auto isFuel = [](float value) {
        return isWithin(value, 0.0, kMostFuel);
    };
    return isWithin(page.pageCount, 1, 9) && isWithin(page.subPage, 1, page.pageCount) &&
           std::all_of(page.fuelFlow.begin(), page.fuelFlow.end(), isFuel) &&
           std::all_of(page.fuelUsed.begin(), page.fuelUsed.end(), isFuel);
}

bool isPlausible(const FlightSummary& summary) {
    const auto isTime = [](double time) {
        return time == FlightSummary::kNoTime || isWithin(time, 0.0, kSecondsPerDay);
    };
    return isTime(summary.takeoffTime) && isTime(summary.landingTime) &&
           isWithin(summary.groundDistance, 0.0, kMostFuel) &&
           isWithin(summary.airDistance, 0.0, kMostFuel);
}

void loadText(const StateFile& file, const char* key, std::string& text) {
    if (lookupStateValue(file, kFmcSection, key)) {
        text = loadStringField(file, kFmcSection, key);
    }
}

LnavBlob packLnav(const LnavState& state) {
    LnavBlob blob;
    blob.put<0>(state.valid);
    blob.put<1>(state.pathValid);
    blob.put<2>(state.arcSteering);
    blob.put<3>(state.discontinuity);
    blob.put<8>(state.segmentAlongTrack);
    blob.put<16>(state.crossTrackError);
    blob.put<24>(state.bankCommand);
    blob.put<32>(state.legAlongTrack);
    blob.put<40>(state.distanceToGo);
    blob.put<48>(state.timeToGo);
    blob.put<56>(state.desiredTrackMagnetic);
    blob.put<64>(state.desiredTrackTrue);
    blob.put<72>(state.bearingToFix);
    blob.put<80>(state.deviation);
    blob.put<88>(state.currentDesiredTrack);
    blob.put<96>(state.turnRate);
    blob.put<104>(state.legAdvanced);
    blob.put<105>(state.approach);
    blob.put<106>(state.terminalArea);
    return blob;
}

void unpackLnav(const LnavBlob& blob, LnavState& state) {
    state.valid = blob.get<0, bool>();
    state.pathValid = blob.get<1, bool>();
    state.arcSteering = blob.get<2, bool>();
    state.discontinuity = blob.get<3, bool>();
    state.segmentAlongTrack = blob.get<8, double>();
    state.crossTrackError = blob.get<16, double>();
    state.bankCommand = blob.get<24, double>();
    state.legAlongTrack = blob.get<32, double>();
    state.distanceToGo = blob.get<40, double>();
    state.timeToGo = blob.get<48, double>();
    state.desiredTrackMagnetic = blob.get<56, double>();
    state.desiredTrackTrue = blob.get<64, double>();
    state.bearingToFix = blob.get<72, double>();
    state.deviation = blob.get<80, double>();
    state.currentDesiredTrack = blob.get<88, double>();
    state.turnRate = blob.get<96, double>();
    state.legAdvanced = blob.get<104, bool>();
    state.approach = blob.get<105, bool>();
    state.terminalArea = blob.get<106, bool>();
}

VnavBlob packVnav(const VnavState& state) {
    VnavBlob blob;
    blob.put<0>(state.targetAltitude);
    blob.put<4>(state.previousTargetAltitude);
    blob.put<8>(state.climbConstraintLeg);
    blob.put<16>(state.climbConstraintDistance);
    blob.put<24>(state.constraintAhead);
    blob.put<25>(state.valid);
    blob.put<28>(static_cast<int32_t>(state.mode));
    blob.put<32>(static_cast<int32_t>(state.previousMode));
    blob.put<36>(state.climbConstraintShortfall);
    blob.put<40>(state.verticalDeviation);
    blob.put<48>(state.speedCommandIas);
    blob.put<56>(state.speedCommandMach);
    blob.put<72>(state.speedByIas);
    blob.put<73>(state.speedByMach);
    blob.put<80>(state.todAhead);
    blob.put<88>(state.distanceToConstraint);
    blob.put<96>(state.requiredPathAngle);
    blob.put<104>(state.commandPathAngle);
    blob.put<112>(state.flightPathAngle);
    blob.put<120>(state.distanceToTod);
    blob.put<128>(state.requiredVerticalSpeed);
    blob.put<136>(state.descentConstraintFound);
    blob.put<144>(state.descentConstraintDistance);
    blob.put<152>(state.descentConstraintLeg);
    blob.put<156>(state.descentConstraintExcess);
    return blob;
}

// A mode number the system does not know reads as no mode.
VnavMode vnavMode(int32_t value) {
    switch (static_cast<VnavMode>(value)) {
    case VnavMode::Climb:
    case VnavMode::Descend:
    case VnavMode::Level:
    case VnavMode::EnrouteDescend:
    case VnavMode::PathDescend:
        return static_cast<VnavMode>(value);
    case VnavMode::None:
        break;
    }
    return VnavMode::None;
}

void unpackVnav(const VnavBlob& blob, VnavState& state) {
    state.targetAltitude = blob.get<0, int32_t>();
    state.previousTargetAltitude = blob.get<4, int32_t>();
    state.climbConstraintLeg = blob.get<8, uint32_t>();
    state.climbConstraintDistance = blob.get<16, double>();
    state.constraintAhead = blob.get<24, bool>();
    state.valid = blob.get<25, bool>();
    state.mode = vnavMode(blob.get<28, int32_t>());
    state.previousMode = vnavMode(blob.get<32, int32_t>());
    state.climbConstraintShortfall = blob.get<36, int32_t>();
    state.verticalDeviation = blob.get<40, int32_t>();
    state.speedCommandIas = blob.get<48, int32_t>();
    state.speedCommandMach = blob.get<56, double>();
    state.speedByIas = blob.get<72, bool>();
    state.speedByMach = blob.get<73, bool>();
    state.todAhead = blob.get<80, bool>();
    state.distanceToConstraint = blob.get<88, double>();
    state.requiredPathAngle = blob.get<96, double>();
    state.commandPathAngle = blob.get<104, double>();
    state.flightPathAngle = blob.get<112, double>();
    state.distanceToTod = blob.get<120, double>();
    state.requiredVerticalSpeed = blob.get<128, double>();
    state.descentConstraintFound = blob.get<136, bool>();
    state.descentConstraintDistance = blob.get<144, double>();
    state.descentConstraintLeg = blob.get<152, uint32_t>();
    state.descentConstraintExcess = blob.get<156, int32_t>();
}

PosInitBlob packPosInit(const Fms::PositionInit& position) {
    PosInitBlob blob;
    blob.put<0>(position.latitude);
    blob.put<8>(position.longitude);
    blob.put<16>(position.loadedLatitude);
    blob.put<24>(position.loadedLongitude);
    blob.put<32>(position.offsetBearing);
    blob.put<40>(position.offsetDistance);
    blob.put<48>(position.initialised);
    blob.put<49>(position.firstFix);
    blob.put<52>(position.loadedFrom);
    return blob;
}

void unpackPosInit(const PosInitBlob& blob, Fms::PositionInit& position) {
    position.latitude = blob.get<0, double>();
    position.longitude = blob.get<8, double>();
    position.loadedLatitude = blob.get<16, double>();
    position.loadedLongitude = blob.get<24, double>();
    position.offsetBearing = blob.get<32, double>();
    position.offsetDistance = blob.get<40, double>();
    position.initialised = blob.get<48, bool>();
    position.firstFix = blob.get<49, bool>();
    position.loadedFrom = blob.get<52, int32_t>();
}

FuelMgtBlob packFuelMgt(const FuelMgtPage& page) {
    FuelMgtBlob blob;
    blob.put<0>(page.subPage);
    blob.put<4>(page.pageCount);
    blob.put<8>(page.fuelFlow[0]);
    blob.put<12>(page.fuelFlow[1]);
    blob.put<16>(page.fuelFlow[2]);
    blob.put<20>(page.fuelUsed[0]);
    blob.put<24>(page.fuelUsed[1]);
    blob.put<28>(page.fuelUsed[2]);
    return blob;
}

void unpackFuelMgt(const FuelMgtBlob& blob, FuelMgtPage& page) {
    page.subPage = blob.get<0, int32_t>();
    page.pageCount = blob.get<4, int32_t>();
    page.fuelFlow = {blob.get<8, float>(), blob.get<12, float>(), blob.get<16, float>()};
    page.fuelUsed = {blob.get<20, float>(), blob.get<24, float>(), blob.get<28, float>()};
}

FlightSummaryBlob packFlightSummary(const FlightSummary& summary) {
    FlightSummaryBlob blob;
    blob.put<0>(summary.takeoffTime);
    blob.put<8>(summary.landingTime);
    blob.put<16>(summary.groundDistance);
    blob.put<24>(summary.airDistance);
    return blob;
}

void unpackFlightSummary(const FlightSummaryBlob& blob, FlightSummary& summary) {
    summary.takeoffTime = blob.get<0, double>();
    summary.landingTime = blob.get<8, double>();
    summary.groundDistance = blob.get<16, double>();
    summary.airDistance = blob.get<24, double>();
}

StateField pilotPointCountField(int32_t& count) {
    StateField field;
    field.key = "pilotPoints.count";
    field.data = &count;
    field.type = StateFieldType::Int32;
    field.size = sizeof count;
    return field;
}

std::string pilotPointKey(std::size_t index) {
    return format("pilotPoint.%d", static_cast<int>(index));
}

} // namespace

Fms::DataBlob Fms::packData() const {
    Fms::DataBlob blob;
    blob.put<0>(currentPage);
    blob.put<4>(powered);
    blob.put<5>(baroCheck.latched());
    blob.put<6>(vertical.todPauseDone);
    blob.put<7>(pauseAtTod);
    blob.put<8>(powerOffTime);
    blob.put<12>(messageShownTime);
    blob.put<16>(landingTime);
    blob.put<20>(scratchPad.editMode());
    blob.put<24>(scratchPad.editCursor());
    blob.put<28>(navIndexSubPage);
    blob.put<36>(navaidSortLat);
    blob.put<44>(navaidSortLon);
    blob.put<52>(nmBeforeTod);
    blob.put<60>(vertical.deviationScale);
    blob.put<68>(airborne);
    blob.put<69>(fuelUseKg);
    blob.put<70>(vertical.deviationShown);
    blob.put<71>(baroInInches);
    blob.put<72>(plansCleared);
    return blob;
}

void Fms::unpackData(const Fms::DataBlob& blob) {
    currentPage = blob.get<0, int32_t>();
    powered = blob.get<4, bool>();
    baroCheck.restore(blob.get<5, bool>());
    vertical.todPauseDone = blob.get<6, bool>();
    pauseAtTod = blob.get<7, bool>();
    powerOffTime = blob.get<8, uint32_t>();
    messageShownTime = blob.get<12, uint32_t>();
    landingTime = blob.get<16, int32_t>();
    scratchPad.restoreEditMode(blob.get<20, bool>(), blob.get<24, int32_t>());
    navIndexSubPage = blob.get<28, int32_t>();
    navaidSortLat = blob.get<36, double>();
    navaidSortLon = blob.get<44, double>();
    nmBeforeTod = blob.get<52, double>();
    vertical.deviationScale = blob.get<60, double>();
    airborne = blob.get<68, bool>();
    fuelUseKg = blob.get<69, bool>();
    vertical.deviationShown = blob.get<70, bool>();
    baroInInches = blob.get<71, bool>();
    plansCleared = blob.get<72, bool>();
}

void Fms::saveState(const StateFile& file) {
    const Fs9Reader reader;
    packLnav(lnav.state).save(reader, file, kFmcSection, "Lnav.Data");
    saveStringField(file, kFmcSection, "Lnav.Ident", lnav.state.ident);
    packVnav(vertical.state).save(reader, file, kFmcSection, "Vnav.Data");
    saveStringField(file, kFmcSection, "Vnav.tdName", vertical.state.todName);
    packData().save(reader, file, kFmcSection, "data");
    saveStatePilotPoints(reader, file);
    packPosInit(position).save(reader, file, kFmcSection, "posInit");
    posInitPage.reference().save(reader, file, kFmcSection, "posInit.refWpt");
    dbWptPage.save(reader, file, kFmcSection, "dbWpt");
    radTunePage.save(reader, file, kFmcSection, "radTune");
    storedFplPage.save(reader, file, kFmcSection, "storedFpl");
    activeFplPage.save(reader, file, kFmcSection, "activeFpl");
    perfInit.save(reader, file, kFmcSection, "perfInit");
    packFuelMgt(fuelMgt).save(reader, file, kFmcSection, "fuelMgt");
    radialPages.radialPattern.save(reader, file, kFmcSection, "radialPattern");
    departurePage.save(reader, file, kFmcSection, "departure");
    arrivalPage.save(reader, file, kFmcSection, "arrival");
    takeoffPage.save(reader, file, kFmcSection, "takeoff");
    landingPage.save(reader, file, kFmcSection, "landing");
    packFlightSummary(flightSummary).save(reader, file, kFmcSection, "fltSum");
}

void Fms::loadState(const StateFile& file) {
    const Fs9Reader reader;
    const auto checked = [this](const char* key, bool loaded) {
        if (!loaded) {
            log(format("Flight state: FMC %s damaged, defaults loaded", key));
        }
    };
    checked("Lnav.Data",
            loadRecord<108>(
                reader, file, "Lnav.Data", lnav.state,
                [](const LnavBlob& blob, LnavState& state) { unpackLnav(blob, state); },
                [](const LnavState& state) { return isPlausible(state); }));
    loadText(file, "Lnav.Ident", lnav.state.ident);
    checked("Vnav.Data",
            loadRecord<160>(
                reader, file, "Vnav.Data", vertical.state,
                [](const VnavBlob& blob, VnavState& state) { unpackVnav(blob, state); },
                [](const VnavState& state) { return isPlausible(state); }));
    loadText(file, "Vnav.tdName", vertical.state.todName);
    checked("data", loadData(reader, file));
    loadStatePilotPoints(reader, file);
    checked("posInit", loadRecord<56>(reader, file, "posInit", position, unpackPosInit,
                                      [](const PositionInit& init) { return isPlausible(init); }));
    Waypoint reference = posInitPage.reference();
    reference.load(reader, file, kFmcSection, "posInit.refWpt");
    posInitPage.setPosInitRef(reference);
    dbWptPage.load(reader, file, kFmcSection, "dbWpt");
    radTunePage.load(reader, file, kFmcSection, "radTune");
    // The plans are read only from a flight that holds them: a plan without its keys would
    // load empty.
    const auto planChecked = [this](const char* key, bool whole) {
        if (!whole) {
            log(format("Flight state: FMC %s plan incomplete, not loaded", key));
        }
    };
    if (lookupStateValue(file, kFmcSection, "storedFpl.data")) {
        planChecked("storedFpl", storedFplPage.load(reader, file, kFmcSection, "storedFpl"));
    }
    if (lookupStateValue(file, kFmcSection, "activeFpl.data")) {
        planChecked("activeFpl", activeFplPage.load(reader, file, kFmcSection, "activeFpl"));
    }
    if (!perfInit.load(reader, file, kFmcSection, "perfInit")) {
        checked("perfInit", false);
        perfInit = PerfInit{};
        if (aircraft) {
            perfInit.readSettings(*aircraft);
        }
    }
    checked("fuelMgt", loadRecord<32>(reader, file, "fuelMgt", fuelMgt, unpackFuelMgt,
                                      [](const FuelMgtPage& page) { return isPlausible(page); }));
    radialPages.radialPattern.load(reader, file, kFmcSection, "radialPattern");
    departurePage.load(reader, file, kFmcSection, "departure");
    arrivalPage.load(reader, file, kFmcSection, "arrival");
    takeoffPage.load(reader, file, kFmcSection, "takeoff");
    landingPage.load(reader, file, kFmcSection, "landing");
    checked("fltSum",
            loadRecord<32>(reader, file, "fltSum", flightSummary, unpackFlightSummary,
                           [](const FlightSummary& summary) { return isPlausible(summary); }));
    for (FlightPlan* plan : {&selectedStoredPlan, &activeFlightPlan, &missedApproachFlightPlan,
                             &alternateFlightPlan}) {
        if (!plan->legs.empty()) {
            plan->recalculate(context);
        }
    }
}

bool Fms::loadData(const Fs9Reader& reader, const StateFile& file) {
    Fms::DataBlob blob = packData();
    switch (readBlob(reader, file, "data", blob)) {
    case BlobKey::Whole:
        if (isPlausibleData(blob)) {
            unpackData(blob);
            return true;
        }
        resetFlightData();
        return false;
    case BlobKey::Damaged:
        resetFlightData();
        return false;
    case BlobKey::Missing:
        break;
    }
    return true;
}

// The page shown must be one the CDU draws, or the screen stays dark.
bool Fms::isPlausibleData(const DataBlob& blob) const {
    const int32_t page = blob.get<0, int32_t>();
    const auto isSorted = [](double latitude, double longitude) {
        return (latitude == kNeverSorted && longitude == kNeverSorted) ||
               isOnEarth(latitude, longitude);
    };
    return isWithin(page, 0, kPageCount - 1) && pages[static_cast<std::size_t>(page)].draw &&
           isWithin(blob.get<28, int32_t>(), 1, 2) &&
           isSorted(blob.get<36, double>(), blob.get<44, double>()) &&
           isWithin(blob.get<52, double>(), 0.0, 500.0) &&
           isWithin(blob.get<60, double>(), -kHighestAltitude, kHighestAltitude);
}

// The settings among the data stay as tavi.ini gave them, the power as the bus gives it and the
// air/ground state as the flight summary decides it; the rest starts again.
void Fms::resetFlightData() {
    currentPage = kNavIdentPage;
    baroCheck = BaroSetCheck{};
    scratchPad.endEditMode();
    vertical.todPauseDone = false;
    powerOffTime = 0;
    messageShownTime = 0;
    navIndexSubPage = 1;
    navaidSortLat = kNeverSorted;
    navaidSortLon = kNeverSorted;
    vertical.deviationScale = 0.0;
    vertical.deviationShown = false;
    plansCleared = false;
}

void Fms::saveStatePilotPoints(const Fs9Reader& reader, const StateFile& file) const {
    const PilotPointStore::Points& points = pilotPointStore.points();
    int32_t count = static_cast<int32_t>(points.size());
    reader.saveField(kFmcSection, pilotPointCountField(count), file);
    std::size_t index = 0;
    for (const auto& entry : points) {
        entry.second.save(reader, file, kFmcSection, pilotPointKey(index++));
    }
}

// A point already held keeps its definition, and no pilot-waypoint file is written: the points
// of a saved flight live in that flight.
void Fms::loadStatePilotPoints(const Fs9Reader& reader, const StateFile& file) {
    int32_t count = 0;
    reader.loadField(kFmcSection, pilotPointCountField(count), file);
    // Each point takes more than one key, so a damaged count does not send the load through
    // keys that were never written; a point missing or damaged costs only itself.
    const auto keys = static_cast<int64_t>(stateKeyCount(file, kFmcSection));
    int32_t skipped = 0;
    for (int32_t i = 0; i < count && i < keys; ++i) {
        const std::string key = pilotPointKey(static_cast<std::size_t>(i));
        if (!lookupStateValue(file, kFmcSection, key + ".data")) {
            ++skipped;
            continue;
        }
        PilotPoint point;
        point.load(reader, file, kFmcSection, key);
        const auto type = static_cast<int32_t>(point.ppType);
        if (!isOnEarth(point.latitude, point.longitude) ||
            !isWithin(type, static_cast<int32_t>(PilotPointType::LatLon),
                      static_cast<int32_t>(PilotPointType::PlaceDistance))) {
            ++skipped;
        } else if (!point.ident.empty()) {
            pilotPointStore.restore(point);
        }
    }
    if (skipped > 0) {
        log(format("Flight state: FMC %d pilot points missing or damaged, not loaded",
                   static_cast<int>(skipped)));
    }
}

} // namespace tavi
