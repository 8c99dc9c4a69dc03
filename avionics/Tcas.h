#pragma once

#include "core/ModuleHeapAllocator.h"
#include "core/System.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <utility>

namespace tavi {

class Adc;
class Ahrs;
class Aws;
class Gps;
class RadAlt;
class Radio;

namespace platform {
class TrafficSource;
}

// How much of a threat a traffic object is.
enum TcasThreatLevel : int32_t {
    kTcasOtherTraffic = 0,
    kTcasProximate = 1,
    kTcasTrafficAdvisory = 2,
    kTcasResolutionAdvisory = 3,
};

// One traffic object of one scan. Altitudes are in feet, vertical speeds in feet per minute,
// distances in nautical miles, angles in degrees true, times in seconds.
struct TcasTraffic {
    // The simulator's object id; 0 in a slot beyond the table's count.
    uint32_t id = 0;
    double latitude = 0.0;
    double longitude = 0.0;
    // Rounded to the nearest 25 ft.
    double altitude = 0.0;
    // The altitude the object reports, rounded to the nearest 25 ft: its indicated altitude, or
    // for online traffic its altitude brought to the own altimeter reference.
    double reportedAltitude = 0.0;
    double trueHeading = 0.0;
    double verticalSpeed = 0.0;
    // Knots.
    double groundSpeed = 0.0;
    bool onGround = false;
    // Online traffic seen for the first time in this scan.
    bool isNew = false;
    // Not a TCAS target: no advisory considers it and the traffic display skips it.
    bool ignored = false;
    // The reported altitude in hundreds of feet.
    int32_t altitudeHundreds = 0;
    // The height above the own aircraft in hundreds of feet; negative below.
    int32_t relativeAltitudeHundreds = 0;
    // Position relative to the own aircraft, east and north positive.
    double east = 0.0;
    double north = 0.0;
    double range = 0.0;
    double bearing = 0.0;
    // To the closest point of approach; negative while the range opens.
    double tau = 0.0;
    // To co-altitude; negative while the altitudes diverge.
    double verticalTau = 0.0;
    // Vertical separation at tau with both vertical speeds held; positive with the object above.
    double predictedSeparation = 0.0;
    int32_t threatLevel = kTcasOtherTraffic;
    // Simulation time (ms) at which the object's advisory test first held; 0 while none holds.
    uint32_t conditionSince = 0;
};

// The traffic alert and collision avoidance system. About once a second of real time it reads
// the simulator's traffic within 120 nm, keeps the objects that are targets, and computes for
// each its range, bearing, closure times and predicted vertical separation. The transponder
// mode and the own altitudes select its sensitivity level. It hangs on the 115 VAC bus.
class Tcas : public System {
public:
    static constexpr uint32_t kMaxTraffic = 60;
    static constexpr int kVariableCount = 10;
    static constexpr int kUnitCount = 5;

    // Object id -> slot of the traffic table, in ascending id.
    using TargetSet = std::map<uint32_t, uint32_t, std::less<uint32_t>,
                               ModuleHeapAllocator<std::pair<const uint32_t, uint32_t>>>;

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // The radio management unit's test key: the test runs for 5 s while radio side 1 has power;
    // a press without that power ends a running test.
    void startSelfTest(const Aircraft& aircraft);
    void updateSensitivityLevel();
    void scanTraffic(uint32_t now);

    // Metres: 120 nm.
    float scanRange = 222360.0f;
    bool started = false;
    // The 115 VAC bus has no power.
    bool unpowered = false;
    // Set when a resolution advisory begins, cleared when its kind changes.
    bool raAnnounced = false;
    bool selfTest = false;
    platform::TrafficSource* trafficInfo = nullptr;
    uint32_t selfTestStart = 0;
    std::array<uint32_t, kVariableCount> variableIds{};
    std::array<uint32_t, kUnitCount> unitIds{};
    Gps* gps = nullptr;
    Radio* radio = nullptr;
    Adc* adc = nullptr;
    RadAlt* radAlt = nullptr;
    Aws* aws = nullptr;
    Ahrs* ahrs = nullptr;
    // The system's tick count, and the simulation time, at the end of the last scan.
    uint32_t lastScanTick = 0;
    uint32_t lastScanTime = 0;
    uint32_t trafficCount = 0;
    uint32_t previousTrafficCount = 0;
    std::array<TcasTraffic, kMaxTraffic> traffic{};
    std::array<TcasTraffic, kMaxTraffic> previousTraffic{};
    // 1..8: selects the advisory thresholds; 1 is standby, 2 traffic advisories only.
    int32_t sensitivityLevel = 1;
    bool standby = true;
    bool taOnly = false;
    TargetSet taSet;
    TargetSet raSet;
    uint32_t raStart = 0;
    uint32_t raLastChange = 0;
    // The current resolution advisory; it keeps its value after the advisory ends.
    int32_t raKind = 0;
    // Feet, feet per minute, degrees true and knots.
    double ownAltitude = 0.0;
    double ownVerticalSpeed = 0.0;
    double ownRadioAltitude = 0.0;
    double ownTrueHeading = 0.0;
    double ownGroundSpeed = 0.0;

private:
    struct Scan;

    void fetchSystems(const Aircraft& aircraft);
    void readOwnAircraft(const Aircraft& aircraft);
    bool connectTrafficSource();
    void clearAdvisories();
    int32_t candidateLevel() const;
    void readTraffic(TcasTraffic& record, uint32_t id, const Scan& scan);
    void readOfflineTraffic(TcasTraffic& record);
    void readOnlineTraffic(TcasTraffic& record, const TcasTraffic* previous, const Scan& scan);
    bool isNetworkClient(uint32_t id) const;
    void computeGeometry(TcasTraffic& record, const Scan& scan) const;
    double readVariable(uint32_t id, int variable, int unit, uint32_t index = 0) const;
    const TcasTraffic* findPrevious(uint32_t id) const;
};

} // namespace tavi
