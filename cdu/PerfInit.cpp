#include "cdu/PerfInit.h"

#include "core/Aircraft.h"
#include "core/Interpolator2D.h"
#include "core/StateBlob.h"
#include "core/ValueRanges.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace tavi {

namespace {

constexpr char kSection[] = "Fms.Perf";

// Ceiling as a flight level by gross weight (rows, thousands of lb) and the cruise temperature's
// deviation from ISA (columns, degrees Celsius).
constexpr int32_t kCeilingSize = 9;
constexpr std::array<float, kCeilingSize* kCeilingSize> kCeilingTable = {
    0,  0,   5,   10,  15,  20,  25,  30,  35,  //
    36, 470, 460, 450, 440, 430, 420, 410, 400, //
    38, 460, 450, 440, 430, 420, 410, 400, 390, //
    40, 450, 440, 430, 420, 410, 400, 390, 380, //
    42, 440, 430, 420, 410, 400, 390, 380, 370, //
    44, 430, 420, 410, 400, 390, 380, 370, 360, //
    46, 420, 410, 400, 390, 380, 370, 360, 350, //
    48, 410, 400, 390, 380, 370, 360, 350, 340, //
    50, 390, 380, 370, 360, 350, 340, 330, 310, //
};
constexpr float kOptimumFactor = 0.93f;
constexpr float kHighestFlightLevel = 370.0f;

constexpr double kMaxWeight = 999999.0;
constexpr int32_t kMaxPassengers = 999;
constexpr double kMaxPassengerWeight = 300.0;
constexpr int32_t kLowestIsaDeviation = -59;
constexpr int32_t kHighestIsaDeviation = 35;
constexpr int32_t kLowestCruiseSpeed = 75;
constexpr int32_t kHighestCruiseSpeed = 450;
constexpr double kHighestMach = 0.99;
constexpr double kLowestAngle = 1.0;
constexpr double kHighestAngle = 6.0;
constexpr int32_t kHighestAltitude = 60000;
constexpr int32_t kStrongestWind = 500;

// The blobs of the per-flight state and the record bytes each holds.
using Blob1 = StateBlob<120>; // bytes 72..191
using Blob2 = StateBlob<176>; // bytes 192..367
using Blob3 = StateBlob<80>;  // bytes 368..447
using Blob4 = StateBlob<64>;  // bytes 448..511
using Blob5 = StateBlob<48>;  // bytes 512..559

// A speed target at a blob offset: speed, spare, Mach, spare, the two flags.
template <std::size_t At, std::size_t Size>
void putTarget(StateBlob<Size>& blob, const SpeedTarget& target) {
    blob.template put<At, int32_t>(target.ias);
    blob.template put<At + 4, int32_t>(target.spareIas);
    blob.template put<At + 8, double>(target.mach);
    blob.template put<At + 16, double>(target.spareMach);
    blob.template put<At + 24, bool>(target.iasActive);
    blob.template put<At + 25, bool>(target.machActive);
}

template <std::size_t At, std::size_t Size>
void getTarget(const StateBlob<Size>& blob, SpeedTarget& target) {
    target.ias = blob.template get<At, int32_t>();
    target.spareIas = blob.template get<At + 4, int32_t>();
    target.mach = blob.template get<At + 8, double>();
    target.spareMach = blob.template get<At + 16, double>();
    target.iasActive = blob.template get<At + 24, bool>();
    target.machActive = blob.template get<At + 25, bool>();
}

// Each blob's fields, packed into the blob or unpacked from it by one visit, so the two
// directions cannot drift apart. Offsets are those of the record less the blob's start.
template <class Record, class Field, class Target>
void visitBlob1(Record& r, Field field, Target target) {
    field.template operator()<0>(r.subPage);
    field.template operator()<4>(r.pageCount);
    field.template operator()<8>(r.climbDone);
    field.template operator()<9>(r.descentStarted);
    field.template operator()<10>(r.cruiseReached);
    field.template operator()<11>(r.predictingAlternate);
    field.template operator()<12>(r.reserved);
    field.template operator()<13>(r.descentPathMode);
    field.template operator()<14>(r.vnavFlagB);
    field.template operator()<15>(r.vnavFlagC);
    field.template operator()<16>(r.pathAngleMessageShown);
    field.template operator()<17>(r.altConstraintMessageShown);
    field.template operator()<20>(r.fuelAtLastFix);
    field.template operator()<24>(r.stepDistance);
    field.template operator()<32>(r.descentSpeedConstraint);
    field.template operator()<36>(r.isManualClimb);
    field.template operator()<40>(r.manualClimbIas);
    field.template operator()<48>(r.manualClimbMach);
    target.template operator()<56>(r.climbTarget);
    target.template operator()<88>(r.climbLimitedTarget);
}

template <class Record, class Field, class Target>
void visitBlob2(Record& r, Field field, Target target) {
    field.template operator()<0>(r.cruizeMode);
    field.template operator()<4>(r.manualCruiseIas);
    field.template operator()<8>(r.manualCruiseMach);
    target.template operator()<16>(r.cruiseTarget);
    target.template operator()<48>(r.cruiseLimitedTarget);
    field.template operator()<80>(r.descentMode);
    field.template operator()<84>(r.manualDescentIas);
    field.template operator()<88>(r.manualDescentMach);
    field.template operator()<96>(r.manualDescentAngle);
    field.template operator()<104>(r.vmoMmoDescentAngle);
    target.template operator()<112>(r.descentTarget);
    target.template operator()<144>(r.descentLimitedTarget);
}

template <class Record, class Field, class Target>
void visitBlob3(Record& r, Field field, Target) {
    field.template operator()<0>(r.depAppSubPage);
    field.template operator()<4>(r.depAppPageCount);
    field.template operator()<8>(r.depIas);
    field.template operator()<12>(r.depAgl);
    field.template operator()<16>(r.appIas);
    field.template operator()<24>(r.depDist);
    field.template operator()<32>(r.appDist);
    field.template operator()<40>(r.isFirstAppWpt);
    field.template operator()<44>(r.fuelReserveType);
    field.template operator()<48>(r.fuelReserveWeight);
    field.template operator()<56>(r.fuelReserveTime);
    field.template operator()<64>(r.toFuel);
    field.template operator()<72>(r.landFuel);
}

template <class Record, class Field, class Target>
void visitBlob4(Record& r, Field field, Target) {
    field.template operator()<0>(r.transAlt);
    field.template operator()<4>(r.altLim);
    field.template operator()<8>(r.spdLim);
    field.template operator()<12>(r.initCrzAlt);
    field.template operator()<16>(r.cruiseAltitude);
    field.template operator()<20>(r.crzIsaDev);
    field.template operator()<24>(r.optimumCruiseAltitude);
    field.template operator()<28>(r.stepIncrement);
    field.template operator()<32>(r.optimumRequested);
    field.template operator()<33>(r.isOptimum);
    field.template operator()<36>(r.crzWindDir);
    field.template operator()<40>(r.crzWindStrength);
    field.template operator()<44>(r.crzWindAlt);
    field.template operator()<48>(r.cruiseWindDirection);
    field.template operator()<52>(r.cruiseWindSpeed);
    field.template operator()<56>(r.cruiseWindComponent);
    field.template operator()<60>(r.stepClimbActive);
    field.template operator()<61>(r.vnavAltitudeFlagB);
}

template <class Record, class Field, class Target>
void visitBlob5(Record& r, Field field, Target) {
    field.template operator()<0>(r.bow);
    field.template operator()<8>(r.paxWeight);
    field.template operator()<16>(r.cargoWeight);
    field.template operator()<24>(r.fuelWeight);
    field.template operator()<32>(r.stepRatio);
    field.template operator()<40>(r.passengerCount);
    field.template operator()<44>(r.initialised);
    field.template operator()<45>(r.destFuelMessageShown);
    field.template operator()<46>(r.reserveFuelMessageShown);
    field.template operator()<47>(r.stepPlanned);
}

template <class Blob>
auto packer(Blob& blob) {
    return [&blob]<std::size_t At, class Value>(const Value& value) {
        blob.template put<At, Value>(value);
    };
}

template <class Blob>
auto unpacker(const Blob& blob) {
    return [&blob]<std::size_t At, class Value>(Value& value) {
        value = blob.template get<At, Value>();
    };
}

template <class Blob>
auto targetPacker(Blob& blob) {
    return [&blob]<std::size_t At>(const SpeedTarget& target) {
        putTarget<At>(blob, target);
    };
}

template <class Blob>
auto targetUnpacker(const Blob& blob) {
    return [&blob]<std::size_t At>(SpeedTarget& target) {
        getTarget<At>(blob, target);
    };
}

std::string blobKey(const std::string& prefix, int number) {
    return prefix + ".data." + std::to_string(number);
}

// The five blobs in the order of the file, each with its type and the visit of its fields.
template <class Act>
void forEachBlob(Act act) {
    act.template operator()<Blob1>(1, [](auto& r, auto f, auto t) { visitBlob1(r, f, t); });
    act.template operator()<Blob2>(2, [](auto& r, auto f, auto t) { visitBlob2(r, f, t); });
    act.template operator()<Blob3>(3, [](auto& r, auto f, auto t) { visitBlob3(r, f, t); });
    act.template operator()<Blob4>(4, [](auto& r, auto f, auto t) { visitBlob4(r, f, t); });
    act.template operator()<Blob5>(5, [](auto& r, auto f, auto t) { visitBlob5(r, f, t); });
}

bool isSpeed(double knots) {
    return isWithin(knots, 0, kHighestCruiseSpeed);
}

bool isMach(double mach) {
    return isWithin(mach, 0, kHighestMach);
}

bool isFlightAltitude(double feet) {
    return isWithin(feet, 0, kHighestAltitude);
}

bool isWeight(double pounds) {
    return isWithin(pounds, PerfInit::kNotEntered, kMaxWeight);
}

bool isSubPage(int32_t subPage, int32_t count) {
    return isWithin(count, 1, 9) && isWithin(subPage, 1, count);
}

bool isTarget(const SpeedTarget& target) {
    return isSpeed(target.ias) && isSpeed(target.spareIas) && isMach(target.mach) &&
           isMach(target.spareMach);
}

bool holdsPlausibleTargets(const PerfInit& r) {
    return isTarget(r.climbTarget) && isTarget(r.climbLimitedTarget) && isTarget(r.cruiseTarget) &&
           isTarget(r.cruiseLimitedTarget) && isTarget(r.descentTarget) &&
           isTarget(r.descentLimitedTarget);
}

// The values the pages take and the predictions make. One outside them comes from a damaged
// flight file, and the predictions would run on it for good (a cruise altitude of two billion
// feet never ends its climb).
bool holdsPlausibleValues(const PerfInit& r) {
    return isSubPage(r.subPage, r.pageCount) && isSubPage(r.depAppSubPage, r.depAppPageCount) &&
           isWithin(r.fuelAtLastFix, -kMaxWeight, kMaxWeight) &&
           isWithin(r.stepDistance, -kMaxWeight, kMaxWeight) && isSpeed(r.descentSpeedConstraint) &&
           isSpeed(r.manualClimbIas) && isMach(r.manualClimbMach) && isWithin(r.cruizeMode, 0, 3) &&
           isSpeed(r.manualCruiseIas) && isMach(r.manualCruiseMach) &&
           isWithin(r.descentMode, 0, 2) && isSpeed(r.manualDescentIas) &&
           isMach(r.manualDescentMach) && isWithin(r.manualDescentAngle, 0, kHighestAngle) &&
           isWithin(r.vmoMmoDescentAngle, 0, kHighestAngle) && holdsPlausibleTargets(r) &&
           isSpeed(r.depIas) && isFlightAltitude(r.depAgl) && isSpeed(r.appIas) &&
           isWithin(r.depDist, 0, kMaxWeight) && isWithin(r.appDist, 0, kMaxWeight) &&
           isWithin(r.fuelReserveType, 0, 2) && isWeight(r.fuelReserveWeight) &&
           isWeight(r.fuelReserveTime) && isWeight(r.toFuel) && isWeight(r.landFuel) &&
           isFlightAltitude(r.transAlt) && isFlightAltitude(r.altLim) && isSpeed(r.spdLim) &&
           isFlightAltitude(r.initCrzAlt) && isFlightAltitude(r.cruiseAltitude) &&
           isWithin(r.crzIsaDev, kLowestIsaDeviation, kHighestIsaDeviation) &&
           isFlightAltitude(r.optimumCruiseAltitude) &&
           isWithin(r.stepIncrement, -kHighestAltitude, kHighestAltitude) &&
           isWithin(r.crzWindDir, 0, 360) && isWithin(r.crzWindStrength, 0, kStrongestWind) &&
           isFlightAltitude(r.crzWindAlt) && isWithin(r.cruiseWindDirection, -360, 720) &&
           isWithin(r.cruiseWindSpeed, 0, kStrongestWind) &&
           isWithin(r.cruiseWindComponent, -kStrongestWind, kStrongestWind) && isWeight(r.bow) &&
           isWeight(r.paxWeight) && isWeight(r.cargoWeight) &&
           isWithin(r.fuelWeight, -kMaxWeight, kMaxWeight) && isWithin(r.stepRatio, 0, 100) &&
           isWithin(r.passengerCount, -1, kMaxPassengers);
}

const char* refusedUnless(bool valid) {
    return valid ? nullptr : PerfInit::kInvalidEntry;
}

} // namespace

void PerfInit::readSettings(const Aircraft& aircraft) {
    auto readInt = [&](const char* key, int32_t& field) {
        field = aircraft.readIniInt(kSection, key, field);
    };
    auto readFlag = [&](const char* key, bool& field) {
        field = aircraft.readIniBool(kSection, key, field);
    };
    auto readReal = [&](const char* key, double& field) {
        field = aircraft.readIniDouble(kSection, key, field);
    };
    // Whole pounds and minutes in the file, kept as reals.
    auto readWhole = [&](const char* key, double& field) {
        field = aircraft.readIniInt(kSection, key, static_cast<int32_t>(std::trunc(field)));
    };
    readFlag("isManualClimb", isManualClimb);
    readInt("manualClimbIas", manualClimbIas);
    readReal("manualClimbMach", manualClimbMach);
    readInt("cruizeMode", cruizeMode);
    readInt("manualCruiseIas", manualCruiseIas);
    readReal("manualCruiseMach", manualCruiseMach);
    readInt("descentMode", descentMode);
    readInt("manualDescentIas", manualDescentIas);
    readReal("manualDescentMach", manualDescentMach);
    readReal("manualDescentAngle", manualDescentAngle);
    readReal("vmoMmoDescentAngle", vmoMmoDescentAngle);
    readInt("depIas", depIas);
    readInt("depAgl", depAgl);
    readInt("appIas", appIas);
    readReal("depDist", depDist);
    readReal("appDist", appDist);
    readFlag("isFirstAppWpt", isFirstAppWpt);
    readInt("fuelReserveType", fuelReserveType);
    readWhole("fuelReserveWeight", fuelReserveWeight);
    readWhole("fuelReserveTime", fuelReserveTime);
    readWhole("toFuel", toFuel);
    readWhole("landFuel", landFuel);
    readInt("transAlt", transAlt);
    readInt("altLim", altLim);
    readInt("spdLim", spdLim);
    readInt("crzIsaDev", crzIsaDev);
    readInt("crzWindDir", crzWindDir);
    readInt("crzWindStrength", crzWindStrength);
    readInt("crzWindAlt", crzWindAlt);
    readWhole("bow", bow);
    readWhole("paxWeight", paxWeight);
}

bool PerfInit::save(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& prefix) const {
    bool saved = true;
    forEachBlob([&]<class Blob>(int number, auto visit) {
        Blob blob;
        visit(*this, packer(blob), targetPacker(blob));
        saved = blob.save(reader, file, section, blobKey(prefix, number)) && saved;
    });
    return saved;
}

bool PerfInit::load(const Fs9Reader& reader, const StateFile& file, const char* section,
                    const std::string& prefix) {
    // Each blob starts from the record's own values, so a missing key changes nothing.
    PerfInit loaded = *this;
    forEachBlob([&]<class Blob>(int number, auto visit) {
        Blob blob;
        visit(loaded, packer(blob), targetPacker(blob));
        blob.load(reader, file, section, blobKey(prefix, number));
        visit(loaded, unpacker(blob), targetUnpacker(blob));
    });
    if (!holdsPlausibleValues(loaded)) {
        return false;
    }
    *this = std::move(loaded);
    return true;
}

bool PerfInit::isComplete() const {
    return bow >= 0.0 && passengerCount >= 0 && cargoWeight >= 0.0 && fuelWeight >= 0.0;
}

double PerfInit::grossWeight() const {
    return passengerCount * paxWeight + bow + cargoWeight + fuelWeight;
}

int32_t PerfInit::descentSpeed(float vmo) const {
    switch (descentMode) {
    case 2:
        return manualDescentIas;
    case 1:
        return static_cast<int32_t>(std::trunc(vmo));
    default:
        return defaultDescentIas;
    }
}

double PerfInit::descentMach(float mmo) const {
    switch (descentMode) {
    case 2:
        return manualDescentMach;
    case 1:
        return mmo;
    default:
        return defaultDescentMach;
    }
}

double PerfInit::descentAngle() const {
    switch (descentMode) {
    case 2:
        return manualDescentAngle;
    case 1:
        return vmoMmoDescentAngle;
    default:
        return defaultDescentAngle;
    }
}

double PerfInit::cruiseMach(float mmo) const {
    switch (cruizeMode) {
    case 0:
        return 0.75;
    case 1:
        return 0.0;
    case 2:
        return mmo;
    default:
        return manualCruiseMach;
    }
}

int32_t PerfInit::maxAltitude() const {
    return maxAltitudeForWeight(static_cast<float>(grossWeight()));
}

int32_t PerfInit::optimumAltitude() const {
    return optimumAltitudeForWeight(static_cast<float>(grossWeight()));
}

int32_t PerfInit::maxAltitudeForWeight(float weight) const {
    return ceilingLookup(weight, false);
}

int32_t PerfInit::optimumAltitudeForWeight(float weight) const {
    return ceilingLookup(weight, true);
}

int32_t PerfInit::ceilingLookup(float weight, bool optimum) const {
    if (!initialised) {
        return 0;
    }
    std::array<float, kCeilingTable.size()> table = kCeilingTable;
    const Interpolator2D ceiling(table.data(), kCeilingSize, kCeilingSize);
    // A weight that is not a number reads as the lightest. Scaled in double precision, so a
    // whole thousand of pounds lands on its table row and not a hair past it.
    const float thousands =
        std::isnan(weight) ? 0.0f : static_cast<float>(static_cast<double>(weight) * 0.001);
    float level = ceiling.lookup(std::clamp(static_cast<float>(crzIsaDev), 0.0f, 35.0f),
                                 std::clamp(thousands, 36.0f, 50.0f));
    if (optimum) {
        level *= kOptimumFactor;
    }
    return static_cast<int32_t>(std::clamp(level, 0.0f, kHighestFlightLevel)) * 100;
}

const char* PerfInit::enterWeight(Weight weight, double pounds) {
    if (!(pounds >= 0.0 && pounds <= kMaxWeight)) {
        return kInvalidEntry;
    }
    switch (weight) {
    case Weight::Bow:
        bow = pounds;
        break;
    case Weight::Cargo:
        cargoWeight = pounds;
        break;
    case Weight::Fuel:
        fuelWeight = pounds;
        break;
    case Weight::Reserve:
        fuelReserveWeight = pounds;
        fuelReserveType = 1;
        break;
    }
    return nullptr;
}

const char* PerfInit::enterPassengers(int32_t count, double weightEach) {
    if (count < 0 || count > kMaxPassengers || !(weightEach >= 0.0) ||
        weightEach > kMaxPassengerWeight) {
        return kInvalidEntry;
    }
    passengerCount = count;
    if (weightEach != 0.0) {
        paxWeight = weightEach;
    }
    return nullptr;
}

const char* PerfInit::enterIsaDeviation(int32_t degrees) {
    const char* refusal =
        refusedUnless(degrees >= kLowestIsaDeviation && degrees <= kHighestIsaDeviation);
    if (!refusal) {
        crzIsaDev = degrees;
    }
    return refusal;
}

const char* PerfInit::enterManualCruiseSpeed(int32_t ias, double mach) {
    const bool speedValid = ias == 0 || (ias >= kLowestCruiseSpeed && ias <= kHighestCruiseSpeed);
    const bool machValid = mach >= 0.0 && mach <= kHighestMach;
    const char* refusal = refusedUnless(speedValid && machValid && (ias != 0 || mach != 0.0));
    if (!refusal) {
        manualCruiseIas = ias;
        manualCruiseMach = mach;
        cruizeMode = 3;
    }
    return refusal;
}

const char* PerfInit::enterDescentAngle(double degrees) {
    const char* refusal = refusedUnless(degrees >= kLowestAngle && degrees <= kHighestAngle);
    if (!refusal) {
        manualDescentAngle = degrees;
        descentMode = 2;
    }
    return refusal;
}

const char* PerfInit::enterInitialCruiseAltitude(int32_t altitude, float preselect) {
    if (altitude <= 0 || altitude > kHighestAltitude) {
        return kInvalidEntry;
    }
    if (preselect > static_cast<float>(altitude)) {
        return kResetAltSel;
    }
    initCrzAlt = altitude;
    cruiseAltitude = altitude;
    optimumRequested = false;
    isOptimum = false;
    return nullptr;
}

} // namespace tavi
