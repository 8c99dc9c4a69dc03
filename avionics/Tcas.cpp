#include "avionics/Tcas.h"

#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Gps.h"
#include "avionics/RadAlt.h"
#include "avionics/Radio.h"
#include "avionics/Transponder.h"
#include "core/Aircraft.h"
#include "core/Imports.h"
#include "navdata/FlatEarth.h"
#include "navdata/GcNav.h"
#include "platform/panel/TrafficSource.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <optional>
#include <string>
#include <string_view>

namespace tavi {

namespace {

constexpr int kOwnTrueHeadingToken = 86;
constexpr float kTcasLoadAmps = 2.0f;
// A scan runs once the tick count has moved on by more than this since the last one.
constexpr uint32_t kScanPeriodMs = 999;
constexpr uint32_t kSelfTestLastMs = 4999;
constexpr double kTaOnlyBelowRadioAltitudeFt = 1000.0;
// Before this module time a position of exactly 0/0 is taken as not known yet.
constexpr uint32_t kPositionSettleMs = 10000;

enum TrafficVariable : int {
    kLatitudeVar,
    kLongitudeVar,
    kAltitudeVar,
    kIndicatedAltitudeVar,
    kTrueHeadingVar,
    kGroundVelocityVar,
    kVerticalVelocityVar,
    kHeightAboveGroundVar,
    kIsUserVar,
    kEngineCombustionVar,
};

constexpr const char* kVariableNames[Tcas::kVariableCount] = {
    "PLANE LATITUDE",
    "PLANE LONGITUDE",
    "PLANE ALTITUDE",
    "INDICATED ALTITUDE",
    "PLANE HEADING DEGREES TRUE",
    "GROUND VELOCITY",
    "VELOCITY WORLD Y",
    "PLANE ALT ABOVE GROUND",
    "IS USER SIM",
    "ENG COMBUSTION",
};

enum TrafficUnit : int { kFeetUnit, kBoolUnit, kDegreesUnit, kKnotsUnit, kFeetPerMinuteUnit };

constexpr const char* kUnitNames[Tcas::kUnitCount] = {"FEET", "BOOL", "DEGREES", "KNOTS",
                                                      "FEET PER MINUTE"};

// The engine whose combustion tells whether the simulator's own traffic is running.
constexpr uint32_t kFirstEngine = 1;
constexpr double kOnGroundHeightFt = 50.0;
// Online traffic gives no height above the ground: it is on the ground when it sits near the
// own field elevation while the own aircraft is low.
constexpr double kOnlineGroundCheckRadioAltitudeFt = 1750.0;
constexpr double kOnlineGroundMarginFt = 360.0;
// Online traffic this close to the own position and altitude is the own aircraft as the
// network shows it.
constexpr double kOwnEchoRangeNm = 0.01;
constexpr double kOwnEchoHeightFt = 10.0;
// Slower closing than this, along the line of sight or vertically, is no closing at all.
constexpr double kLeastClosingKt = 1.0;
constexpr double kLeastVerticalClosingFpm = 1.0;
// Predictions look no further ahead than this: no threshold reaches beyond it.
constexpr double kPredictionHorizonS = 60.0;

// The network clients show the pilot's own aircraft under these names.
constexpr std::string_view kNetworkClientNames[] = {"SquawkBox", "FWINN", "FSInn", "IvAp"};

bool equalIgnoringCase(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) ==
               std::tolower(static_cast<unsigned char>(y));
    });
}

// A whole number of feet or hundreds as an int32; the values of a broken source saturate.
int32_t toInt32(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    return static_cast<int32_t>(std::clamp(value, -2147483648.0, 2147483647.0));
}

} // namespace

// What one scan knows of the own aircraft.
struct Tcas::Scan {
    Scan(double latitude, double longitude, uint32_t now)
        : latitude(latitude), longitude(longitude), origin(latitude, longitude), now(now) {}

    double latitude;
    double longitude;
    FlatEarth origin;
    uint32_t now;
    bool online = false;
    // The own pressure altitude minus the own true altitude, feet.
    double pressureAltitudeOffset = 0.0;
    double groundElevation = 0.0;
};

void Tcas::update(Aircraft& aircraft) {
    fetchSystems(aircraft);
    readOwnAircraft(aircraft);
    if (!trafficInfo && !connectTrafficSource()) {
        return;
    }
    const uint32_t now = aircraft.simTimeMs;
    if (selfTest && now - selfTestStart > kSelfTestLastMs) {
        selfTest = false;
    }
    updateSensitivityLevel();
    if (standby) {
        trafficCount = 0;
        previousTrafficCount = 0;
        clearAdvisories();
    } else if (started && hostServices().tickCountMs() - lastScanTick > kScanPeriodMs) {
        if (sensitivityLevel < 2 || unpowered) {
            clearAdvisories();
        } else {
            scanTraffic(now);
            evaluateAdvisories(now);
        }
    }
    if (!started && now != 0) {
        started = true;
    }
}

void Tcas::fetchSystems(const Aircraft& aircraft) {
    gps = aircraft.gps();
    radio = aircraft.radio();
    adc = aircraft.adc();
    radAlt = aircraft.radAlt();
    aws = aircraft.aws();
    ahrs = aircraft.ahrs();
}

void Tcas::readOwnAircraft(const Aircraft& aircraft) {
    ownAltitude = adc ? adc->trueAltitude : 0.0;
    ownVerticalSpeed = ahrs ? ahrs->unit1.verticalSpeed : 0.0;
    ownRadioAltitude = radAlt ? radAlt->radioAltitude : 0.0;
    ownTrueHeading = aircraft.tokens.value(kOwnTrueHeadingToken);
    ownGroundSpeed = gps ? gps->groundSpeed : 0.0;
}

// The panel services give the provider; the provider, asked by the same name, the source.
bool Tcas::connectTrafficSource() {
    auto* provider = static_cast<platform::TrafficSourceProvider*>(
        panelServices().interfaceByName(platform::kTrafficInterfaceName));
    if (!provider) {
        return false;
    }
    trafficInfo = provider->trafficSource(platform::kTrafficInterfaceName);
    if (!trafficInfo) {
        return false;
    }
    for (int i = 0; i < kVariableCount; ++i) {
        variableIds[static_cast<std::size_t>(i)] = trafficInfo->variableId(kVariableNames[i]);
    }
    for (int i = 0; i < kUnitCount; ++i) {
        unitIds[static_cast<std::size_t>(i)] = trafficInfo->unitId(kUnitNames[i]);
    }
    return true;
}

void Tcas::clearAdvisories() {
    taSet.clear();
    raSet.clear();
}

void Tcas::addElectricLoad(Aircraft&, BusLoads& loads) {
    loads[Electric::kAcBus] += kTcasLoadAmps;
}

void Tcas::updatePower(Aircraft& aircraft) {
    const Electric* electric = aircraft.electric();
    unpowered = !(electric && electric->isPowered(Electric::kAcBus));
}

void Tcas::startSelfTest(const Aircraft& aircraft) {
    const Radio* radios = aircraft.radio();
    selfTest = radios && !radios->unit1.unpowered[RadioUnit::kNavUnpowered];
    selfTestStart = aircraft.simTimeMs;
}

void Tcas::updateSensitivityLevel() {
    const int32_t candidate = candidateLevel();
    // During a resolution advisory the level that the own altitude selects never decreases; the
    // self-test, a change of the transponder mode and TA only near the ground act at once.
    const bool heldByAdvisory =
        !raSet.empty() && !selfTest && TransponderMode == kTransponderTaRa &&
        ownRadioAltitude >= kTaOnlyBelowRadioAltitudeFt && candidate < sensitivityLevel;
    if (!heldByAdvisory) {
        sensitivityLevel = candidate;
    }
    standby = sensitivityLevel == 1;
    taOnly = TransponderMode == kTransponderTaOnly || sensitivityLevel == 2;
}

int32_t Tcas::candidateLevel() const {
    if (selfTest) {
        return 3;
    }
    if (TransponderMode == kTransponderTaOnly) {
        return 2;
    }
    if (TransponderMode != kTransponderTaRa) {
        return 1;
    }
    if (ownRadioAltitude < kTaOnlyBelowRadioAltitudeFt) {
        return 2;
    }
    if (!raSet.empty()) {
        return sensitivityLevel;
    }
    const auto altitude = static_cast<float>(ownAltitude);
    if (altitude < 2350.0f) {
        return 3;
    }
    if (altitude < 5000.0f) {
        return 4;
    }
    if (altitude < 10000.0f) {
        return 5;
    }
    if (altitude < 20000.0f) {
        return 6;
    }
    if (altitude < 42000.0f) {
        return 7;
    }
    return 8;
}

void Tcas::scanTraffic(uint32_t now) {
    std::array<uint32_t, kMaxTraffic> ids{};
    // A source that answers more than it was asked for is not followed past the table.
    const uint32_t count =
        std::min(trafficInfo->objectsWithin(scanRange, kMaxTraffic, ids.data()), kMaxTraffic);
    // The self-test's targets are no scan's: no object inherits their state.
    const uint32_t realCount = testTargetsShown ? 0 : trafficCount;
    testTargetsShown = false;
    std::copy_n(traffic.begin(), realCount, previousTraffic.begin());
    previousTrafficCount = realCount;

    Scan scan(gps ? gps->latitude : 0.0, gps ? gps->longitude : 0.0, now);
    scan.online = trafficInfo->isOnlineTraffic();
    if (adc) {
        scan.pressureAltitudeOffset = adc->pressureAltitude - ownAltitude;
        scan.groundElevation = adc->groundElevation;
    }
    if (scan.latitude == 0.0 && scan.longitude == 0.0 && now < kPositionSettleMs) {
        return;
    }

    for (uint32_t i = 0; i < count; ++i) {
        readTraffic(traffic[i], ids[i], scan);
    }
    trafficCount = count;
    for (uint32_t i = count; i < kMaxTraffic; ++i) {
        traffic[i].id = 0;
    }
    lastScanTick = hostServices().tickCountMs();
    lastScanTime = now;
}

int32_t Tcas::roundToHundreds(double feet) {
    const auto value = static_cast<float>(feet);
    const float hundreds = std::floor(std::fabs(value) * 0.01f + 0.5f);
    return toInt32(std::copysign(hundreds, value));
}

double Tcas::roundTo25Feet(double feet) {
    const double steps = std::floor(std::fabs(feet) * 0.04 + 0.5);
    return static_cast<double>(toInt32(std::copysign(steps * 25.0, feet)));
}

void Tcas::readTraffic(TcasTraffic& record, uint32_t id, const Scan& scan) {
    const TcasTraffic* previous = findPrevious(id);
    // The advisory state belongs to the object, wherever the simulator lists it this time.
    record.threatLevel = previous ? previous->threatLevel : kTcasOtherTraffic;
    record.conditionSince = previous ? previous->conditionSince : 0;

    record.id = id;
    record.ignored = readVariable(id, kIsUserVar, kBoolUnit) == 1.0;
    record.latitude = readVariable(id, kLatitudeVar, kDegreesUnit);
    record.longitude = readVariable(id, kLongitudeVar, kDegreesUnit);
    record.altitude = readVariable(id, kAltitudeVar, kFeetUnit);
    record.exactAltitude = record.altitude;
    record.trueHeading = readVariable(id, kTrueHeadingVar, kDegreesUnit);
    if (scan.online) {
        readOnlineTraffic(record, previous, scan);
    } else {
        readOfflineTraffic(record);
    }
    record.ignored = record.ignored || record.onGround || record.isNew;

    record.altitudeHundreds = roundToHundreds(record.reportedAltitude);
    record.relativeAltitudeHundreds = roundToHundreds(record.altitude - ownAltitude);
    record.reportedAltitude = roundTo25Feet(record.reportedAltitude);
    record.altitude = roundTo25Feet(record.altitude);
    computeGeometry(record, scan);
}

void Tcas::readOfflineTraffic(TcasTraffic& record) {
    if (readVariable(record.id, kEngineCombustionVar, kBoolUnit, kFirstEngine) == 0.0) {
        record.ignored = true;
    }
    record.reportedAltitude = readVariable(record.id, kIndicatedAltitudeVar, kFeetUnit);
    record.verticalSpeed = readVariable(record.id, kVerticalVelocityVar, kFeetPerMinuteUnit);
    record.groundSpeed = readVariable(record.id, kGroundVelocityVar, kKnotsUnit);
    record.onGround = readVariable(record.id, kHeightAboveGroundVar, kFeetUnit) < kOnGroundHeightFt;
    record.isNew = false;
}

// Online traffic has no speeds of its own: they come from its movement since the last scan,
// so it is ignored on the scan that first sees it.
void Tcas::readOnlineTraffic(TcasTraffic& record, const TcasTraffic* previous, const Scan& scan) {
    record.reportedAltitude = record.altitude + scan.pressureAltitudeOffset;
    if (isNetworkClient(record.id)) {
        record.ignored = true;
    }
    record.onGround = ownRadioAltitude <= kOnlineGroundCheckRadioAltitudeFt &&
                      record.altitude <= scan.groundElevation + kOnlineGroundMarginFt;

    const double ownDistance =
        GcNav::distanceBetween(scan.latitude, scan.longitude, record.latitude, record.longitude);
    if (ownDistance < kOwnEchoRangeNm &&
        std::fabs(record.altitude - ownAltitude) < kOwnEchoHeightFt) {
        record.ignored = true;
        return;
    }
    if (!previous) {
        record.isNew = true;
        record.verticalSpeed = 0.0;
        record.groundSpeed = 0.0;
        record.ignored = true;
        return;
    }
    const double seconds = static_cast<double>(scan.now - lastScanTime) / 1000.0;
    if (seconds == 0.0) {
        record.verticalSpeed = previous->verticalSpeed;
        record.groundSpeed = previous->groundSpeed;
    } else {
        // The exact altitudes over the time between the scans: the 25-ft steps of the table's
        // altitudes, taken as one second apart, read a steady 500-fpm climb as 1500, 0 and 0.
        record.verticalSpeed = (record.exactAltitude - previous->exactAltitude) * 60.0 / seconds;
        record.groundSpeed = GcNav::distanceBetween(previous->latitude, previous->longitude,
                                                    record.latitude, record.longitude) *
                             3600.0 / seconds;
    }
    record.isNew = false;
}

// The object is one of the network clients' own, standing for the pilot's aircraft.
bool Tcas::isNetworkClient(uint32_t id) const {
    const std::optional<std::string> name = trafficInfo->objectName(id);
    if (!name) {
        return false;
    }
    if (!name->empty() && name->front() == '*') {
        return true;
    }
    return std::any_of(std::begin(kNetworkClientNames), std::end(kNetworkClientNames),
                       [&](std::string_view client) { return equalIgnoringCase(*name, client); });
}

// Range over the closing speed along the line of sight, and the same vertically. An object at
// the own position, or at the own altitude, meets it now. Traffic that does not close has no
// time to meet (negative), where the ratio would run to infinity.
void Tcas::computeGeometry(TcasTraffic& record, const Scan& scan) const {
    scan.origin.offsetTo(record.latitude, record.longitude, record.east, record.north, record.range,
                         record.bearing);
    const double closingSpeed =
        ownGroundSpeed * std::cos((record.bearing - ownTrueHeading) * kDegToRad) +
        record.groundSpeed * std::cos((record.bearing - record.trueHeading + 180.0) * kDegToRad);
    record.tau = timeToMeet(record.range * 3600.0, closingSpeed, kLeastClosingKt);

    const double altitudeDifference = record.altitude - ownAltitude;
    const double verticalClosure = ownVerticalSpeed - record.verticalSpeed;
    record.verticalTau = timeToMeet(altitudeDifference * 60.0, verticalClosure,
                                    kLeastVerticalClosingFpm, std::signbit(altitudeDifference));
    record.predictedSeparation =
        altitudeDifference - verticalClosure * predictionTime(record.tau) / 60.0;
}

double Tcas::timeToMeet(double distance, double closing, double leastClosing, bool below) {
    if (distance == 0.0) {
        return 0.0;
    }
    const double towards = below ? -closing : closing;
    if (std::fabs(closing) < leastClosing) {
        return -1.0;
    }
    return std::fabs(distance) / towards;
}

// A closest approach already passed leaves the present separation; one far ahead is looked at
// only as far as any threshold reaches.
double Tcas::predictionTime(double tau) {
    return std::clamp(tau, 0.0, kPredictionHorizonS);
}

double Tcas::readVariable(uint32_t id, int variable, int unit, uint32_t index) const {
    double value = 0.0;
    trafficInfo->readVariable(id, variableIds[static_cast<std::size_t>(variable)],
                              unitIds[static_cast<std::size_t>(unit)], &value, index);
    return value;
}

const TcasTraffic* Tcas::findPrevious(uint32_t id) const {
    const auto end = previousTraffic.begin() + previousTrafficCount;
    const auto found = std::find_if(previousTraffic.begin(), end,
                                    [id](const TcasTraffic& record) { return record.id == id; });
    return found == end ? nullptr : &*found;
}

} // namespace tavi
