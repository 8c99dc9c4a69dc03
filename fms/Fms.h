#pragma once

#include "cdu/CduMessageQueue.h"
#include "cdu/CduScreen.h"
#include "cdu/FlightSummary.h"
#include "cdu/FmsParser.h"
#include "cdu/FuelMgtPage.h"
#include "cdu/PerfInit.h"
#include "cdu/ScratchPad.h"
#include "cdu/pages/AirDataPage.h"
#include "cdu/pages/ArrivalPages.h"
#include "cdu/pages/DeparturePages.h"
#include "cdu/pages/FlightPlanPages.h"
#include "cdu/pages/FlightSummaryPage.h"
#include "cdu/pages/NavIdentPages.h"
#include "cdu/pages/OrbitPages.h"
#include "cdu/pages/PatternPages.h"
#include "cdu/pages/PosInitPage.h"
#include "cdu/pages/ProcedureReviewPages.h"
#include "cdu/pages/ProgressPage.h"
#include "cdu/pages/RadialPages.h"
#include "cdu/pages/RadioTuningPages.h"
#include "cdu/pages/RunwayDataPages.h"
#include "cdu/pages/SensorPages.h"
#include "cdu/pages/WaypointPages.h"
#include "cdu/records/ActiveFplPage.h"
#include "cdu/records/ArrivalPage.h"
#include "cdu/records/DbWptPage.h"
#include "cdu/records/DeparturePage.h"
#include "cdu/records/FplListPage.h"
#include "cdu/records/PilotWptPage.h"
#include "cdu/records/RadTunePage.h"
#include "cdu/records/RunwayDataPage.h"
#include "cdu/records/StoredFplPage.h"
#include "cdu/records/WptSelectPage.h"
#include "core/StateBlob.h"
#include "core/System.h"
#include "fms/BaroSetCheck.h"
#include "fms/FlightPlanContext.h"
#include "fms/FmsPerf.h"
#include "fms/FuelPredictions.h"
#include "fms/Lnav.h"
#include "fms/LnavState.h"
#include "fms/PerfLearning.h"
#include "fms/ProcedureExpansionOutcome.h"
#include "fms/StoredPlanLibrary.h"
#include "fms/Vnav.h"
#include "navdata/MagDev.h"
#include "navdata/NavDatabase.h"
#include "navdata/Navaid.h"
#include "navdata/PilotPointStore.h"

#include <array>
#include <cstdint>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tavi {

class Adc;
class Ahrs;
class Electric;
class FuelSystem;
class Gps;
class JetEngine;
class PerfPages;

// Knots of the third reference speed bug; 0 while it is not in use.
int32_t referenceSpeed3(const Adc& adc);

// The flight management system: it connects the navigation database on its first frame, follows
// the CDU's power, keeps the present position and the heading reference, and holds the pilot
// waypoints, the stored plans and the VHF navaids.
//
// A powered frame runs, in this order: the recalculation and predictions of the plans after a
// flight load, the present position, the radio-tuning flags, the navaid re-sort, the flight-plan
// page turn, the fuel accounting, the flight summary, LNAV, the performance bookkeeping, VNAV and
// the drawing of the CDU page.
class Fms : public System, private NavDatabase::Loaders, private LnavHost, private VnavHost {
public:
    // The LNAV output that the flight director steers by.
    virtual LnavState* lnavState();
    // The length in nautical miles of the active flight plan's active leg; empty while the plan
    // has no leg at its active leg index.
    virtual std::optional<double> activeLegDistance() const;
    // The leg LNAV flies, or nullptr past the plan's last leg.
    virtual FlightPlanLeg* activeLeg();
    // The TO/GA button: in the air with the flight director's vertical mode TO/GA, a go-around
    // on an approach makes the missed-approach legs the active route.
    virtual void activateMissedApproach();

    // The position-init record: the FMS present position and the position the pilot loaded.
    struct PositionInit {
        double latitude = 0.0;
        double longitude = 0.0;
        double loadedLatitude = 0.0;
        double loadedLongitude = 0.0;
        // From the GPS position to the loaded one, degrees true and nm.
        double offsetBearing = 0.0;
        double offsetDistance = 0.0;
        bool initialised = false;
        bool firstFix = false;
        // -1 nothing loaded, 0 last position, 1 reference waypoint, 2 GPS position.
        int32_t loadedFrom = -1;
    };

    // The heading reference: the pilot's selection and the mode in force (true = magnetic).
    struct HeadingReference {
        bool isSelectedMag = true;
        bool activeMag = true;
    };

    struct FlightConfig {
        bool isFpAutoPage = true;
        bool isSpecialMission = false;
        bool isSmartPerfLearning = true;
    };

    // The CDU keys: 0-3 the left line keys L1-L4, 4-7 the right line keys R1-R4, then the
    // page and editing keys.
    static constexpr int32_t kPerfKey = 8;
    static constexpr int32_t kNavKey = 9;
    static constexpr int32_t kPrevKey = 10;
    static constexpr int32_t kNextKey = 11;
    static constexpr int32_t kFplKey = 13;
    static constexpr int32_t kProgKey = 14;
    static constexpr int32_t kDirKey = 15;
    static constexpr int32_t kDelKey = 16;
    static constexpr int32_t kClrKey = 17;

    // The CDU pages the engine itself turns to.
    static constexpr int32_t kNavIdentPage = 0;
    static constexpr int32_t kNavIndexPage = 1;
    static constexpr int32_t kStoredPlanPage = 16;
    static constexpr int32_t kActiveFlightPlanPage = 17;
    static constexpr int32_t kPerfIndexPage = 19;
    static constexpr int32_t kProgressPage = 52;
    static constexpr int32_t kFlightSummaryPage = 54;
    static constexpr int32_t kWindTempPage = 55;
    static constexpr int32_t kPageCount = 56;

    Fms();
    ~Fms() override;
    Fms(const Fms&) = delete;
    Fms& operator=(const Fms&) = delete;

    void update(Aircraft& aircraft) override;
    void loadSettings(Aircraft& aircraft) override;
    bool handleKey(Aircraft& aircraft, uint32_t virtualKey, bool shift, bool ctrl) override;
    void addElectricLoad(Aircraft& aircraft, BusLoads& loads) override;

    // The present position from the GPS, the ground offset and the heading reference.
    void updatePolarMode();
    // Posts a message for the pilot (priority 1 or 0); a repeat of the message shown is ignored.
    void showMessage(const std::string& text, int32_t priority) override;
    bool hasMessage() const { return !messages.empty(); }
    // A CDU letter, digit or sign key; dropped while unpowered or while a message shows.
    void typeCharacter(char character);
    // A CDU key: the page keys, DIR and the scratch pad's editing rules first, then the key
    // handler of the page shown. Ignored without power.
    void pressKey(int32_t cduKey);
    // The vertical guidance: phase, target altitude, mode, descent path and speed command.
    void updateVnav();
    const Vnav& vnav() const { return vertical; }
    // Predicts the active route into the performance record; it confirms the initialisation
    // when the route and the entries can be predicted, and withdraws it when not.
    void updateFuelPredictions();
    // Shows a page: runs its entry action and keeps the sub-page where the page keeps it. Any
    // value is taken; a page that does not exist shows only the scratch-pad line.
    void setPage(int32_t page, int32_t subPage);
    // The whole screen of the current page, the scratch-pad or message line included.
    void drawPage();
    // Turns a flight-plan page to the requested sub-page a second after a waypoint went onto
    // the last line of a sub-page.
    void updateFplAutoPage();
    // The whole FMS in the per-flight state, section "FMC": guidance, pilot points, page records
    // and plans. A key that is missing leaves its part as it is; a damaged record loads its
    // defaults and the keys after it still load.
    void saveState(const StateFile& file) override;
    void loadState(const StateFile& file) override;
    // The CDU's keyboard button: the PC keyboard reaches the CDU while its pop-up is open.
    void toggleKeyboardInput() { keyboardInput = !keyboardInput; }
    std::string takeScratchpad() { return scratchPad.take(); }
    void setScratchpad(std::string text) { scratchPad.set(std::move(text)); }
    bool isScratchpadDelete() const { return scratchPad.isDelete(); }
    // Row 8: the front message, or the scratch pad when no message waits.
    void drawScratchpadLine();
    // The departure chosen on the departure pages, built into SID REVIEW's preview plan or,
    // with activate, into the active plan; then the page of the result shows.
    void buildDeparture(bool activate);
    void activateDeparture() { buildDeparture(true); }
    // The arrival selection of the arrival pages, built into ARRIVAL REVIEW's preview plan or,
    // with activate, into the active plan, where it becomes the active choice.
    void buildArrival(bool activate);
    void activateArrival() { buildArrival(true); }
    // A new flight: the three plans and their point names start again, every temporary pilot
    // point goes and the performance must be initialised again.
    void purgeTemporaryWaypoints();

    // The VHF navaids by distance from the present position, which is kept as the sort position.
    void sortVhfNavaidsByDistance();

    // A plan of the FMS's own (active, missed approach, alternate) names the pilot waypoint.
    bool isWaypointInUse(const std::string& ident) const;
    // A pilot waypoint that left a plan goes from the store once no plan names it any more.
    void releasePilotPoint(const Waypoint& point);
    // What the flight-plan operations read of the FMS.
    const FlightPlanContext& planContext() const { return context; }

    NavDatabase& navDatabase() { return *database; }
    // The navigation database, made on the first powered frame; nullptr before.
    NavDatabase* navDatabaseIfMade() { return database.get(); }
    PilotPointStore& pilotPoints() { return pilotPointStore; }
    StoredPlanLibrary& storedPlans() { return storedPlanLibrary; }
    FmsPerf& performance() { return perf; }
    // The aircraft of the last frame; nullptr before the first.
    Aircraft* owner() const { return aircraft; }

    // The FMS memory holds this long without power: the selected stored plan, and after a power
    // loss the flight (plans, weights, position initialisation).
    static constexpr uint32_t kStoredPlanKeptMs = 30000;
    // The aircraft is in the air above either speed (kt, strictly).
    static constexpr double kAirborneIndicatedAirspeed = 50.0;
    static constexpr double kAirborneGroundSpeed = 80.0;
    // The predictions of a confirmed initialisation are run again this often.
    static constexpr uint32_t kPredictionIntervalMs = 60000;
    static constexpr uint32_t kPageTurnDelayMs = 1000;
    static constexpr uint32_t kDatabaseRetryMs = 5000;

    bool clockStarted = false;
    uint32_t lastConnectionMs = 0;
    int32_t currentPage = 0;
    bool powered = false;
    bool pauseAtTod = false;
    uint32_t powerOffTime = 0;
    // The power was lost and the memory still holds the flight.
    bool flightHeldUnpowered = false;
    double nmBeforeTod = 20.0;
    // Where the VHF navaids were last sorted; far off the globe until the first sort.
    static constexpr double kNeverSorted = 1000.0;
    double navaidSortLat = kNeverSorted;
    double navaidSortLon = kNeverSorted;
    BaroSetCheck baroCheck;
    // The aircraft is in the air; only the flight summary's update decides it.
    bool airborne = false;
    // Simulation time (ms) of the last landing; the smallest value until the first.
    int32_t landingTime = std::numeric_limits<int32_t>::min();
    bool fuelUseKg = false;
    bool baroInInches = true;
    bool plansCleared = false;
    bool keyboardInput = false;
    std::string customFolder;
    // Simulation time at which a message was last posted into an empty queue.
    uint32_t messageShownTime = 0;
    CduScreen screen;
    ScratchPad scratchPad;
    CduMessageQueue messages;
    std::vector<Navaid> vhfNavaids;
    // One row of the page table: the renderer that writes rows 0 to 7, the key handler, the
    // entry action and where the page keeps its sub-page; a page that is not built draws
    // nothing and takes no keys, and a page without a sub-page field does not keep one.
    struct CduPageEntry {
        std::function<void()> draw;
        std::function<void(int32_t)> onKey;
        std::function<void()> enter;
        int32_t* subPage = nullptr;
    };
    // The pages by id; each page family fills its rows.
    std::array<CduPageEntry, kPageCount> pages;
    int32_t navIndexSubPage = 1;
    ActiveFplPage activeFplPage;
    StoredFplPage storedFplPage;
    DbWptPage dbWptPage;
    RadTunePage radTunePage;
    RunwayDataPage takeoffPage;
    RunwayDataPage landingPage;
    DeparturePage departurePage;
    ArrivalPage arrivalPage;
    PilotWptPage pilotWptPage;
    WptSelectPage wptSelectPage;
    FplListPage fplListPage;
    PositionInit position;
    HeadingReference heading;
    FlightConfig flightConfig;
    FlightSummary flightSummary;
    FuelMgtPage fuelMgt;
    PerfInit perfInit;
    // Writes altitudes above the transition altitude of perfInit as flight levels.
    FmsParser parser{perfInit.transAlt};
    NavIdentPages navIdentPages{*this};
    PosInitPage posInitPage{*this};
    WaypointPages waypointPages{*this};
    SensorPages sensorPages{*this};
    RadioTuningPages radioTuningPages{*this};
    ProgressPage progressPage{*this};
    RunwayDataPages runwayDataPages{*this};
    AirDataPage airDataPage{*this};
    FlightSummaryPage flightSummaryPage{*this};
    FlightPlanPages flightPlanPages{*this};
    DeparturePages departurePages{*this};
    ArrivalPages arrivalPages{*this};
    ProcedureReviewPages procedureReviewPages{*this};
    PatternPages patternPages{*this};
    OrbitPages orbitPages{*this};
    RadialPages radialPages{*this};
    // Behind a pointer, so a change to one of these pages does not rebuild every user of the FMS.
    std::unique_ptr<PerfPages> perfPages;

private:
    void fillPageTable();
    void registerFlightPlanPages();
    // The data members of the per-flight state, each field at its fixed place.
    using DataBlob = StateBlob<76>;
    DataBlob packData() const;
    void unpackData(const DataBlob& blob);
    // False when the saved data were damaged and the flight's data started again.
    bool loadData(const Fs9Reader& reader, const StateFile& file);
    bool isPlausibleData(const DataBlob& blob) const;
    void resetFlightData();
    void saveStatePilotPoints(const Fs9Reader& reader, const StateFile& file) const;
    void loadStatePilotPoints(const Fs9Reader& reader, const StateFile& file);
    void pressDirKey();
    void passKeyToPage(int32_t cduKey);
    void enterNavIndexPage();
    void enterActiveFlightPlanPage();

    // The FMS as the flight-plan operations see it.
    class PlanContext final : public FlightPlanContext {
    public:
        explicit PlanContext(Fms& fms) : fms(fms) {}
        double presentLatitude() const override { return fms.position.latitude; }
        double presentLongitude() const override { return fms.position.longitude; }
        float altitude() const override;
        float magneticVariation(double latitude, double longitude) const override;
        uint32_t simTimeMs() const override { return fms.now; }
        bool airborne() const override { return fms.airborne; }
        double descentAngle() const override { return fms.perfInit.descentAngle(); }
        bool performanceConfirmed() const override { return fms.perfInit.initialised; }
        double turnGeometry(double courseChange, double groundSpeed, double& lead,
                            double altitude) const override;
        double legSpeedCommand(const FlightPlan& plan, std::size_t index) const override;

    private:
        Fms& fms;
    };

    // The active flight plan as the database's identifier searches read it.
    class ActivePlanView final : public NavDatabase::ActivePlan {
    public:
        const Waypoint* namedFixFromActiveLeg(const std::string& ident) const override;
        std::string destinationAirport() const override;
    };

    void loadPilotPoints(const std::string& folder) override;
    void loadPerformance(const std::string& perfFilePath) override;
    void loadStoredPlans(const std::string& folder) override;

    void connectDatabase(Aircraft& aircraft);
    void retryDatabase(Aircraft& aircraft);
    void extractVhfNavaids(Aircraft& aircraft);
    void loadPerfSettings(Aircraft& aircraft);
    void refreshSystems(Aircraft& aircraft);
    void followPower(bool nowPowered);
    // The database measures its searches from the FMS present position.
    void sharePresentPosition();
    void onCduPowerLoss();
    void onCduPowerUp();
    // After a power loss outlasting the memory: the flight's plans and entries are gone.
    void forgetFlight();
    void runPoweredFrame();
    // The fuel burned in the frame comes off the fuel entries and is shared out to the fuel-used
    // totals of the engines and the APU.
    void accountFuelBurn();
    // Decides whether the aircraft is in the air and records the flight's takeoff, landing and
    // distances.
    void updateFlightSummary();
    bool isInAir() const;
    void recordTakeoff();
    void recordLanding();
    double utcTimeOfDay() const;
    // The fuel quantity of both tanks.
    float fuelOnBoard() const;
    void updateLnav();
    // Measures the flight's climb bands and cruise minutes into the performance tables.
    void updatePerformance();
    PerfLearningInputs learningInputs() const;
    LnavInputs lnavInputs() const;
    bool lnavEngaged() const override;
    void cancelLateralMode() override;
    void legSequenced(const Waypoint& passed) override;
    void updateLegEtas() override;
    void checkBaroSet() override;
    // The navaid list follows the aircraft once it has moved half a degree.
    void resortNavaidsIfMoved();
    VnavInputs vnavInputs() const;
    void withdrawMessage(const std::string& text) override;
    bool isWithinAltitudeCapture(float altitude) override;
    void pauseSimulator() override;
    void showDescentPage() override;
    void runFuelPredictions() override;
    void removeTemporaryPilotPoints();
    void showExpansionOutcome(const ProcedureExpansionOutcome& outcome, int32_t& reviewPageCount);
    // Seconds to fly a leg after the active one.
    double legFlyingTime(const FlightPlanLeg& leg) const;
    void log(std::string_view line) const;
    void runUnpoweredFrame();
    void updateHeadingReference(double latitude);
    void postPolarRegionMessages(double previousLatitude, double latitude);

    MagDev magDev;
    std::unique_ptr<NavDatabase> database;
    PilotPointStore pilotPointStore;
    StoredPlanLibrary storedPlanLibrary;
    FmsPerf perf;
    PerfLearning learning;
    FuelPredictions fuelPredictions{perf, perfInit};
    uint32_t now = 0;
    const Electric* electric = nullptr;
    const Gps* gps = nullptr;
    const Ahrs* ahrs = nullptr;
    const Adc* adc = nullptr;
    const FuelSystem* fuelSystem = nullptr;
    const JetEngine* engine1 = nullptr;
    const JetEngine* engine2 = nullptr;
    Aircraft* aircraft = nullptr;
    PlanContext context{*this};
    ActivePlanView activePlanView;
    std::optional<std::pair<double, double>> sharedPosition;
    Lnav lnav;
    Vnav vertical;
};

} // namespace tavi
