#pragma once

#include "core/ModuleHeapAllocator.h"
#include "core/System.h"
#include "core/sound/AircraftSounds.h"

#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <utility>
#include <vector>

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
    // The altitude as the simulator gives it, before its rounding.
    double exactAltitude = 0.0;
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

// The thresholds of one sensitivity level: taus in seconds, DMOD in nautical miles, altitude
// thresholds in feet. ALIM is the separation that a resolution advisory must achieve; the RA
// altitude threshold is wider than ALIM, so that a threat projected to pass just beyond ALIM
// still gets an advisory that keeps it there.
struct TcasSensitivityLevel {
    int64_t level;
    double taTau;
    double raTau;
    double taDmod;
    double raDmod;
    double taZthr;
    double alim;
    double raZthr;
};

// Level 1 is standby and level 2 TA only (no RA thresholds).
inline constexpr std::array<TcasSensitivityLevel, 9> kTcasSensitivityLevels = {{
    {0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {1, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0},
    {2, 20.0, 0.0, 0.30, 0.0, 850.0, 0.0, 0.0},
    {3, 25.0, 15.0, 0.33, 0.20, 850.0, 300.0, 600.0},
    {4, 30.0, 20.0, 0.48, 0.35, 850.0, 300.0, 600.0},
    {5, 40.0, 25.0, 0.75, 0.55, 850.0, 350.0, 600.0},
    {6, 45.0, 30.0, 1.0, 0.8, 850.0, 400.0, 600.0},
    {7, 48.0, 35.0, 1.3, 1.1, 850.0, 600.0, 700.0},
    {8, 48.0, 35.0, 1.3, 1.1, 1200.0, 700.0, 800.0},
}};

// Which way a resolution advisory sends the own aircraft.
enum RaSense : uint32_t {
    kRaUp = 0,
    kRaDown = 1,
    kRaLevel = 2,
};

// The resolution advisories, by kind.
enum TcasRaKind : int32_t {
    kRaClimb = 0,
    kRaMaintainClimb = 1,
    kRaIncreaseClimb = 2,
    kRaDontDescend = 3,
    kRaDontDescend500 = 4,
    kRaDontDescend1000 = 5,
    kRaDontDescend2000 = 6,
    kRaDescend = 7,
    kRaMaintainDescent = 8,
    kRaIncreaseDescent = 9,
    kRaDontClimb = 10,
    kRaDontClimb500 = 11,
    kRaDontClimb1000 = 12,
    kRaDontClimb2000 = 13,
    kRaLevelOff = 14,
};

inline constexpr int kTcasRaKindCount = 15;

// One resolution advisory: a corrective one asks for a vertical speed, a preventive one forbids
// a range of them. Vertical speeds in feet per minute.
struct TcasAdvisoryKind {
    uint32_t kind;
    RaSense sense;
    bool corrective;
    // The vertical speed the advisory requires, as the prediction flies it.
    double targetVerticalSpeed;
    // The other edge of the advised vertical-speed band, for the screens.
    double bandLimit;
    // The smallest predicted separation (ft, signed) with the advisory flown, and whether it
    // takes the own aircraft through a threat's altitude: written by each prediction.
    double minimumSeparation = 0.0;
    bool crossing = false;
};

inline constexpr std::array<TcasAdvisoryKind, kTcasRaKindCount> kTcasAdvisoryKinds = {{
    {kRaClimb, kRaUp, true, 1500.0, 2000.0},
    {kRaMaintainClimb, kRaUp, true, 1500.0, 4400.0},
    {kRaIncreaseClimb, kRaUp, true, 2500.0, 3000.0},
    {kRaDontDescend, kRaUp, false, 0.0, 10000.0},
    {kRaDontDescend500, kRaUp, false, -500.0, 10000.0},
    {kRaDontDescend1000, kRaUp, false, -1000.0, 10000.0},
    {kRaDontDescend2000, kRaUp, false, -2000.0, 10000.0},
    {kRaDescend, kRaDown, true, -1500.0, -2000.0},
    {kRaMaintainDescent, kRaDown, true, -1500.0, -4400.0},
    {kRaIncreaseDescent, kRaDown, true, -2500.0, -3000.0},
    {kRaDontClimb, kRaDown, false, 0.0, -10000.0},
    {kRaDontClimb500, kRaDown, false, 500.0, -10000.0},
    {kRaDontClimb1000, kRaDown, false, 1000.0, -10000.0},
    {kRaDontClimb2000, kRaDown, false, 2000.0, -10000.0},
    {kRaLevelOff, kRaLevel, false, -250.0, 250.0},
}};

// The call-outs of the aircraft's sound table.
namespace sounds {
inline constexpr SoundId kTcasAdjustVerticalSpeed = 0;
inline constexpr SoundId kTcasClimb = 1;
inline constexpr SoundId kTcasCrossingClimb = 2;
inline constexpr SoundId kTcasIncreaseClimb = 3;
inline constexpr SoundId kTcasClimbNow = 4;
inline constexpr SoundId kTcasDescend = 5;
inline constexpr SoundId kTcasCrossingDescend = 6;
inline constexpr SoundId kTcasIncreaseDescent = 7;
inline constexpr SoundId kTcasDescendNow = 8;
inline constexpr SoundId kTcasMaintainVerticalSpeed = 9;
inline constexpr SoundId kTcasMaintainVerticalSpeedCrossing = 10;
inline constexpr SoundId kTcasMonitorVerticalSpeed = 11;
inline constexpr SoundId kTcasTraffic = 12;
inline constexpr SoundId kTcasClearOfConflict = 13;
} // namespace sounds

// The traffic alert and collision avoidance system. About once a second of real time it reads
// the simulator's traffic within 120 nm, keeps the objects that are targets, and computes for
// each its range, bearing, closure times and predicted vertical separation. With the
// thresholds of its sensitivity level, which the transponder mode and the own altitudes select,
// it raises traffic advisories and resolution advisories, chooses the vertical speed the crew
// must fly, strengthens, weakens or reverses it as the encounter goes on, and gives the aural
// call-outs. It hangs on the 115 VAC bus.
class Tcas : public System {
public:
    static constexpr uint32_t kMaxTraffic = 60;
    static constexpr int kVariableCount = 10;
    static constexpr int kUnitCount = 5;

    // Object id -> slot of the traffic table, in ascending id.
    using TargetSet = std::map<uint32_t, uint32_t, std::less<uint32_t>,
                               ModuleHeapAllocator<std::pair<const uint32_t, uint32_t>>>;
    using KindList = std::vector<int32_t>;

    void update(Aircraft& aircraft) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;
    void updatePower(Aircraft& aircraft) override;

    // The radio management unit's test key: the test runs for 5 s while radio side 1 has power;
    // a press without that power ends a running test.
    void startSelfTest(const Aircraft& aircraft);
    void updateSensitivityLevel();
    void scanTraffic(uint32_t now);

    // Advisories, after each scan.
    void evaluateAdvisories(uint32_t now);
    static bool isTrafficAdvisory(int32_t level, double tau, double range, double verticalTau,
                                  double predictedSeparation, bool alreadyInSet);
    static bool isResolutionAdvisory(int32_t level, double tau, double range, double verticalTau,
                                     double predictedSeparation, bool alreadyInSet);
    // The altitude after t seconds of a vertical speed moving linearly from s towards g.
    static double predictAltitude(double altitude, double speedNow, double speedAimedAt,
                                  double seconds);
    int32_t selectRaKind(const TargetSet& threats, const KindList& candidates,
                         double responseDelay);
    RaSense chooseRaSense(const TargetSet& threats);
    int32_t chooseInitialRa(const TargetSet& threats, RaSense sense, uint32_t now);
    int32_t updateRa(const TargetSet& threats, uint32_t now);
    int32_t selectWeakerRa(const TargetSet& threats, const KindList& candidates);
    int32_t keepBestSeparation(const KindList& tried, bool stampChange, uint32_t now);
    // The smallest separation (ft, signed) with the own aircraft flying the vertical speed after
    // its response, and whether it goes through a threat's altitude.
    std::pair<double, bool> predictSeparation(const TargetSet& threats, double target,
                                              double responseDelay) const;
    void announceFirstRa(int32_t kind);
    void announceRaChange(int32_t kind, int32_t previousKind);

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
    // 1..8: the row of kTcasSensitivityLevels in force.
    int32_t sensitivityLevel = 1;
    bool standby = true;
    bool taOnly = false;
    TargetSet taSet;
    TargetSet raSet;
    uint32_t raStart = 0;
    uint32_t raLastChange = 0;
    // The current resolution advisory; it keeps its value after the advisory ends.
    int32_t raKind = kRaClimb;
    // The advisories with the results of the last prediction of each.
    std::array<TcasAdvisoryKind, kTcasRaKindCount> advisoryKinds = kTcasAdvisoryKinds;
    // Feet, feet per minute, degrees true and knots.
    double ownAltitude = 0.0;
    double ownVerticalSpeed = 0.0;
    double ownRadioAltitude = 0.0;
    double ownTrueHeading = 0.0;
    double ownGroundSpeed = 0.0;

private:
    struct Scan;
    struct RaReview;

    // The table holds the self-test's targets, not a scan's objects.
    bool testTargetsShown = false;

    // Hundreds of feet, half away from zero, in single precision.
    static int32_t roundToHundreds(double feet);
    static double roundTo25Feet(double feet);
    // Seconds until a distance closes at a speed (per hour or per minute, like the distance
    // times 3600 or 60); negative when it opens or closes slower than the least closing. A
    // distance below the own aircraft closes at a negative speed.
    static double timeToMeet(double distance, double closing, double leastClosing,
                             bool below = false);
    // The time ahead that predictions use for a closest approach in tau seconds.
    static double predictionTime(double tau);

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

    void placeTestTargets();
    bool isResolutionThreat(const TcasTraffic& record) const;
    bool descentAllowed() const;
    void classify(TcasTraffic& record, uint32_t slot, uint32_t now, TargetSet& newTa,
                  TargetSet& newRa) const;
    double alim() const;
    void beginRa(const TargetSet& threats, uint32_t now);
    void continueRa(const TargetSet& threats, uint32_t now);
    int32_t reviewClimb(RaReview& review, int32_t current);
    int32_t reviewDescent(RaReview& review, int32_t current);
    int32_t reviewPreventive(RaReview& review, int32_t current);
    int32_t reviewLevelOff(RaReview& review, int32_t current);
    int32_t weakenOrKeep(RaReview& review, int32_t current, const KindList& weaker);
    bool tryKind(RaReview& review, int32_t kind);
    int32_t reverseTo(RaReview& review, int32_t kind);
    int32_t fallBack(RaReview& review);
    double separationOf(int32_t kind) const;
    void callout(SoundId id);
    std::optional<SoundId> correctiveCallout(int32_t kind) const;
};

} // namespace tavi
