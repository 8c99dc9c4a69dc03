#include "fms/Fms.h"

#include "airframe/Electric.h"
#include "airframe/Fadec.h"
#include "airframe/FuelSystem.h"
#include "airframe/JetEngine.h"
#include "avionics/Adc.h"
#include "avionics/Ahrs.h"
#include "avionics/Baro.h"
#include "avionics/FlightDirector.h"
#include "avionics/Gps.h"
#include "cdu/pages/PerfPages.h"
#include "core/Aircraft.h"
#include "fms/GlobalFlightPlans.h"
#include "navdata/GcNav.h"
#include "navdata/SimulatorFolder.h"
#include "platform/files/Files.h"

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace tavi {
namespace {

constexpr int kCduBus = 1;
constexpr float kCduLoad = 5.0f;

// Heading reference bands, degrees of latitude: true heading from the outer edge on, magnetic
// again inside the inner edge.
constexpr double kNorthTrueFrom = 72.5;
constexpr double kNorthMagBelow = 72.0;
constexpr double kSouthTrueFrom = -59.5;
constexpr double kSouthMagAbove = -59.0;
constexpr double kPolarRegionEntry = 85.0;
constexpr double kPolarRegionExit = 84.0;

// Degrees of latitude or longitude the aircraft moves before the navaid list is sorted again.
constexpr double kNavaidResortDegrees = 0.5;

// Virtual-key codes of the PC keyboard.
// The position-init record's loaded-from code for a reference point.
constexpr int32_t kLoadedFromReference = 1;

constexpr uint32_t kVkBackspace = 8;
constexpr uint32_t kVkSpace = 32;
constexpr uint32_t kVkPageUp = 33;
constexpr uint32_t kVkPageDown = 34;
constexpr uint32_t kVkDelete = 46;
constexpr uint32_t kVkDigit0 = 48;
constexpr uint32_t kVkDigit9 = 57;
constexpr uint32_t kVkLetterA = 65;
constexpr uint32_t kVkLetterZ = 90;
constexpr uint32_t kVkPad0 = 96;
constexpr uint32_t kVkPad9 = 105;
constexpr uint32_t kVkPadMinus = 109;
constexpr uint32_t kVkPadDecimal = 110;
constexpr uint32_t kVkPadDivide = 111;
constexpr uint32_t kVkF1 = 112;
constexpr uint32_t kVkF8 = 119;
constexpr uint32_t kVkEquals = 187;
constexpr uint32_t kVkMinus = 189;
constexpr uint32_t kVkPeriod = 190;
constexpr uint32_t kVkSlash = 191;

// The character a key types, 0 for a key that types none.
char typedCharacter(uint32_t key) {
    if (key >= kVkDigit0 && key <= kVkDigit9) {
        return static_cast<char>(key);
    }
    if (key >= kVkLetterA && key <= kVkLetterZ) {
        return static_cast<char>(key);
    }
    if (key >= kVkPad0 && key <= kVkPad9) {
        return static_cast<char>(key - kVkDigit0);
    }
    switch (key) {
    case kVkSpace:
        return ' ';
    case kVkPadMinus:
    case kVkEquals:
    case kVkMinus:
        return '-';
    case kVkPadDecimal:
    case kVkPeriod:
        return '.';
    case kVkPadDivide:
    case kVkSlash:
        return '/';
    default:
        return 0;
    }
}

// The CDU key a PC key presses, -1 for none.
int32_t pressedCduKey(uint32_t key) {
    if (key >= kVkF1 && key <= kVkF8) {
        return static_cast<int32_t>(key - kVkF1);
    }
    switch (key) {
    case kVkBackspace:
        return Fms::kClrKey;
    case kVkPageUp:
        return Fms::kPrevKey;
    case kVkPageDown:
        return Fms::kNextKey;
    case kVkDelete:
        return Fms::kDelKey;
    default:
        return -1;
    }
}

bool hasEndpoint(const FlightPlan& plan) {
    return plan.org.kind != WaypointKind::Plain || plan.dest.kind != WaypointKind::Plain;
}

} // namespace

Fms::Fms()
    : pilotPointStore(magDev, [this](std::string_view line) { log(line); }),
      storedPlanLibrary(
          [this](Waypoint& waypoint, std::span<const std::string> airports) {
              return database && database->resolveStoredWaypoint(waypoint, airports);
          },
          [this](std::string_view line) { log(line); }) {
    fillPageTable();
}

Fms::~Fms() {
    // What the tables learned is kept even when the initialisation was withdrawn (at the route's
    // end, at a power loss): otherwise every completed flight would lose its learning.
    if ((perfInit.initialised || perf.hasLearned()) && !perf.path().empty() && !perf.save()) {
        log("Perf file not saved: " + perf.path().string());
    }
}

void Fms::log(std::string_view line) const {
    if (aircraft) {
        aircraft->log(line);
    }
}

void Fms::loadSettings(Aircraft& owner) {
    fuelUseKg = owner.fuelUseKg();
    baroInInches = !owner.readIniBool("Preferences", "pressUseHpa", false);
    pauseAtTod = owner.readIniBool("Preferences", "pauseAtTod", false);
    nmBeforeTod = owner.readIniDouble("Preferences", "nmBeforeTod", 20.0);
}

void Fms::loadPerfSettings(Aircraft& owner) {
    flightConfig.isFpAutoPage =
        owner.readIniBool("Fms.FltConf", "isFpAutoPage", flightConfig.isFpAutoPage);
    flightConfig.isSpecialMission =
        owner.readIniBool("Fms.FltConf", "isSpecialMission", flightConfig.isSpecialMission);
    flightConfig.isSmartPerfLearning =
        owner.readIniBool("Fms.FltConf", "isSmartPerfLearning", flightConfig.isSmartPerfLearning);
    heading.isSelectedMag = owner.readIniBool("Fms.Maint", "isSelectedMag", heading.isSelectedMag);
    perfInit.readSettings(owner);
}

void Fms::update(Aircraft& owner) {
    aircraft = &owner;
    now = owner.simTimeMs;
    if (!database || !database->hasConnection()) {
        connectDatabase(owner);
    } else if (!database->isReady()) {
        retryDatabase(owner);
    }
    refreshSystems(owner);
    if (database && database->hasConnection()) {
        followPower(electric && electric->isPowered(kCduBus) && electric->avionicsMaster1);
        if (powered) {
            runPoweredFrame();
        } else {
            runUnpoweredFrame();
        }
    }
    if (!clockStarted && now != 0) {
        clockStarted = true;
    }
}

void Fms::connectDatabase(Aircraft& owner) {
    const std::string folder = simulatorFolder();
    magDev = MagDev(folder);
    if (!magDev.problem().empty()) {
        owner.log("Magnetic variation file not used, " + magDev.problem());
    }
    database = std::make_unique<NavDatabase>(magDev, [this](std::string_view line) { log(line); });
    database->setPilotPoints(&pilotPointStore);
    lastConnectionMs = now;
    database->setActivePlan(&activePlanView);
    sharedPosition.reset();
    database->connect(*this);
    customFolder = database->customFolder();
    extractVhfNavaids(owner);
    owner.log("Loading config");
    loadPerfSettings(owner);
    owner.log("Loaded config");
}

void Fms::extractVhfNavaids(Aircraft& owner) {
    owner.log("Extracting VHF navaids");
    vhfNavaids.clear();
    database->extractVhfNavaids(vhfNavaids);
    owner.log("Extracted VHF navaids");
}

// A database that could not be opened (locked by another program, say) is tried again every
// few seconds, so the FMS is not left without one for the whole flight.
void Fms::retryDatabase(Aircraft& owner) {
    if (now - lastConnectionMs < kDatabaseRetryMs) {
        return;
    }
    lastConnectionMs = now;
    if (database->retryConnection(*this)) {
        extractVhfNavaids(owner);
    }
}

void Fms::loadPilotPoints(const std::string& folder) {
    // A save cut short by a kill leaves its temporary file among the plans and pilot waypoints.
    platform::files::removeLeftoverTemporaries(folder);
    pilotPointStore.loadFolder(folder);
}

void Fms::loadPerformance(const std::string& path) {
    perf.setPath(path);
    platform::files::removeLeftoverTemporaries(perf.path().parent_path());
    std::error_code error;
    // A short or damaged file is never taken in part: the predictions would mix its cells with
    // empty ones, so the tables start empty.
    if (perf.load() || !std::filesystem::exists(path, error)) {
        return;
    }
    // The refused file still holds what other flights learned: it is kept aside for the crew to
    // mend, and the tables learned from now on are saved beside it, never over it.
    if (const auto aside = platform::files::moveAside(path, ".refused")) {
        log("Perf file refused, kept as " + aside->filename().string() + ", default tables used");
    } else {
        perf.setPath({});
        log("Perf file refused and not moved aside, default tables used and not saved");
    }
}

void Fms::loadStoredPlans(const std::string& folder) {
    storedPlanLibrary.loadStoredPlans(folder, context);
}

void Fms::refreshSystems(Aircraft& owner) {
    electric = owner.electric();
    gps = owner.gps();
    ahrs = owner.ahrs();
    adc = owner.adc();
    fuelSystem = owner.fuelSystem();
    engine1 = owner.engine1();
    engine2 = owner.engine2();
}

void Fms::followPower(bool nowPowered) {
    if (powered && !nowPowered) {
        powerOffTime = now;
        onCduPowerLoss();
    } else if (!powered && nowPowered) {
        onCduPowerUp();
    }
    powered = nowPowered;
}

// A power blip must not cost the crew the route and the entries: the flight is kept through the
// memory's hold-up time and cleared only when the power stays off longer.
void Fms::onCduPowerLoss() {
    messages.clear();
    lnav.state = LnavState{};
    flightHeldUnpowered = true;
}

void Fms::forgetFlight() {
    flightHeldUnpowered = false;
    purgeTemporaryWaypoints();
    perfInit.fuelWeight = PerfInit::kNotEntered;
    perfInit.cargoWeight = PerfInit::kNotEntered;
    perfInit.passengerCount = -1;
    position.initialised = false;
}

void Fms::purgeTemporaryWaypoints() {
    activeFplPage.clearPlans(context);
    removeTemporaryPilotPoints();
    perfInit.initialised = false;
    plansCleared = true;
}

void Fms::removeTemporaryPilotPoints() {
    std::vector<std::string> temporary;
    for (const auto& [ident, point] : pilotPointStore.points()) {
        if (point.isTemporary()) {
            temporary.push_back(ident);
        }
    }
    for (const std::string& ident : temporary) {
        pilotPointStore.remove(ident);
    }
}

void Fms::onCduPowerUp() {
    setPage(kNavIdentPage, 1);
    if (flightHeldUnpowered) {
        flightHeldUnpowered = false;
        return;
    }
    flightSummary = FlightSummary{};
    fuelMgt = FuelMgtPage{};
    if (gps) {
        position.latitude = gps->latitude;
        position.longitude = gps->longitude;
    }
    position.initialised = false;
}

void Fms::runPoweredFrame() {
    if (aircraft->flightLoaded && !clockStarted) {
        selectedStoredPlan.recalculate(context);
        activeFlightPlan.recalculate(context);
        missedApproachFlightPlan.recalculate(context);
        alternateFlightPlan.recalculate(context);
        updateFuelPredictions();
        updateLegEtas();
    }
    updatePolarMode();
    sharePresentPosition();
    resortNavaidsIfMoved();
    updateFplAutoPage();
    accountFuelBurn();
    updateFlightSummary();
    updateLnav();
    updatePerformance();
    updateVnav();
    // The plan may have lost a sub-page to a sequenced leg; whichever page is shown, ACTIVE FLT
    // PLAN's sub-page and the plan its lines stand for follow it.
    activeFplPage.keepSubPageInRange();
    drawPage();
}

void Fms::sharePresentPosition() {
    const std::pair<double, double> now{position.latitude, position.longitude};
    if (sharedPosition != now) {
        database->setPresentPosition(now.first, now.second);
        sharedPosition = now;
    }
}

void Fms::resortNavaidsIfMoved() {
    if (std::fabs(position.latitude - navaidSortLat) > kNavaidResortDegrees ||
        std::fabs(position.longitude - navaidSortLon) > kNavaidResortDegrees) {
        sortVhfNavaidsByDistance();
    }
}

void Fms::sortVhfNavaidsByDistance() {
    const GcNav here(position.latitude, position.longitude);
    for (Navaid& navaid : vhfNavaids) {
        navaid.distance = here.distanceTo(navaid.latitude, navaid.longitude);
    }
    std::stable_sort(vhfNavaids.begin(), vhfNavaids.end(),
                     [](const Navaid& a, const Navaid& b) { return a.distance < b.distance; });
    navaidSortLat = position.latitude;
    navaidSortLon = position.longitude;
}

void Fms::accountFuelBurn() {
    const double burned = fuelSystem ? fuelSystem->fuelBurnedThisFrame : 0.0;
    const bool onGround = ahrs && ahrs->onGround;
    perfInit.toFuel = onGround ? std::max(perfInit.toFuel - burned, 0.0) : 0.0;
    if (perfInit.fuelWeight > 0.0) {
        perfInit.fuelWeight = std::max(perfInit.fuelWeight - burned, 0.0);
    }
    if (activeFlightPlan.activeLeg < activeFlightPlan.legCount()) {
        activeFlightPlan.legs[activeFlightPlan.activeLeg].fuelUsed += static_cast<float>(burned);
    }
    fuelMgt.fuelFlow = {engine1 ? engine1->fuelFlow : 0.0f, engine2 ? engine2->fuelFlow : 0.0f,
                        electric ? electric->apu.fuelFlow : 0.0f};
    const float totalFlow = fuelMgt.fuelFlow[0] + fuelMgt.fuelFlow[1] + fuelMgt.fuelFlow[2];
    if (totalFlow == 0.0f) {
        return;
    }
    for (std::size_t i = 0; i < fuelMgt.fuelUsed.size(); ++i) {
        fuelMgt.fuelUsed[i] += static_cast<float>(burned) * (fuelMgt.fuelFlow[i] / totalFlow);
    }
}

void Fms::updateFlightSummary() {
    const bool inAir = isInAir();
    if (inAir && !airborne) {
        recordTakeoff();
    } else if (!inAir && airborne) {
        recordLanding();
    }
    airborne = inAir;
    const auto dt = static_cast<uint32_t>(aircraft->frameDeltaMs);
    if (airborne && !aircraft->simState.isPaused() && dt != 0) {
        const double hours = dt * 0.001 / 3600.0;
        flightSummary.airDistance += (adc ? adc->trueAirspeed : 0.0f) * hours;
        flightSummary.groundDistance += (gps ? gps->groundSpeed : 0.0f) * hours;
    }
    if (perfInit.fuelAtLastFix == 0.0f || (ahrs && ahrs->onGround)) {
        perfInit.fuelAtLastFix = fuelOnBoard();
    }
}

bool Fms::isInAir() const {
    return (adc && adc->indicatedAirspeed > kAirborneIndicatedAirspeed) ||
           (gps && gps->groundSpeed > kAirborneGroundSpeed);
}

void Fms::recordTakeoff() {
    flightSummary.takeoffTime = utcTimeOfDay();
    flightSummary.landingTime = FlightSummary::kNoTime;
    flightSummary.groundDistance = 0.0;
    flightSummary.airDistance = 0.0;
}

void Fms::recordLanding() {
    flightSummary.landingTime = utcTimeOfDay();
    plansCleared = !activeFlightPlan.hasOriginAndDestination();
    landingTime = static_cast<int32_t>(now);
    setPage(kFlightSummaryPage, 1);
}

float Fms::fuelOnBoard() const {
    return fuelSystem ? fuelSystem->leftFuel + fuelSystem->rightFuel : 0.0f;
}

double Fms::utcTimeOfDay() const {
    return adc ? adc->zuluSeconds : 0.0;
}

void Fms::updateLnav() {
    lnav.update(activeFlightPlan, lnavInputs(), context, *this);
}

void Fms::updatePerformance() {
    // A confirmed initialisation is predicted again every minute, so that the top of descent and
    // the legs' times and fuel follow the flight, and at once after every change of the route;
    // one waiting for a complete route is tried again the same way.
    if ((perfInit.initialised || perfInit.awaitingRoute) &&
        (now - perfInit.predictionTime >= kPredictionIntervalMs || activeFlightPlan.recalculated)) {
        updateFuelPredictions();
    }
    const PerfLearning::FrameResult learned = learning.update(learningInputs(), perf);
    // The schedules follow the altitude and the active leg's speed constraint: without this a
    // constraint behind the aircraft would go on commanding its speed.
    if (learned.speedTargetsDue && adc) {
        fuelPredictions.schedules.updateSpeedTargets(activeFlightPlan, adc->indicatedAltitude);
    }
}

void Fms::updateFuelPredictions() {
    FuelPredictions::Inputs inputs;
    inputs.simTimeMs = now;
    inputs.airborne = airborne;
    SpeedEnvelope& envelope = fuelPredictions.envelope;
    if (adc) {
        inputs.altitude = adc->indicatedAltitude;
        envelope.vmo = adc->maxOperatingSpeed > 0.0f ? adc->maxOperatingSpeed : Adc::vmo;
        envelope.mmo = adc->maxOperatingMach > 0.0f ? adc->maxOperatingMach : Adc::mmo;
        envelope.lowSpeedLimit = std::max(adc->minimumSpeed, 0.0f);
        envelope.referenceSpeed3 = referenceSpeed3(*adc);
    }
    if (const FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr) {
        inputs.preselect = director->altitudePreselect();
    }
    inputs.activeLegFlown = static_cast<float>(lnav.state.legAlongTrack);
    inputs.fuelInTanks = fuelOnBoard();
    inputs.alternate = &alternateFlightPlan;
    fuelPredictions.update(
        activeFlightPlan, inputs,
        [this](const std::string& text, int32_t priority) { showMessage(text, priority); });
    // The predictions place the legs in their phases and at their altitudes: the turns and holds
    // are laid out again for the speeds VNAV will command there.
    if (perfInit.initialised) {
        activeFlightPlan.followFlownSpeeds(context);
    }
}

PerfLearningInputs Fms::learningInputs() const {
    PerfLearningInputs inputs;
    inputs.simTimeMs = now;
    if (adc) {
        inputs.indicatedAirspeed = adc->indicatedAirspeed;
        inputs.indicatedAltitude = adc->indicatedAltitude;
        inputs.simulatorWeightKg = adc->weight;
    }
    if (ahrs) {
        inputs.onGround = ahrs->onGround;
        inputs.verticalSpeed = ahrs->unit1.verticalSpeed;
    }
    if (const FlightDirector* director = aircraft->flightDirector()) {
        inputs.verticalMode = static_cast<int32_t>(director->verticalMode());
    }
    if (const Fadec* fadec = aircraft->fadec()) {
        inputs.thrustLever1 = fadec->leverAngle[0];
        inputs.thrustLever2 = fadec->leverAngle[1];
    }
    inputs.fuelBurned = fuelSystem ? fuelSystem->fuelBurnedThisFrame : 0.0f;
    inputs.bothEnginesRunning = engine1 && engine2 && engine1->combustion && engine2->combustion;
    inputs.grossWeight = static_cast<float>(perfInit.grossWeight());
    inputs.confirmed = perfInit.initialised;
    inputs.beforeRouteEnd = activeFlightPlan.isBeforeRouteEnd();
    inputs.smartLearning = flightConfig.isSmartPerfLearning;
    return inputs;
}

LnavInputs Fms::lnavInputs() const {
    LnavInputs inputs;
    inputs.latitude = position.latitude;
    inputs.longitude = position.longitude;
    if (gps) {
        inputs.trueTrack = gps->trueTrack;
        inputs.groundSpeed = gps->groundSpeed;
    }
    if (ahrs) {
        inputs.heading = ahrs->unit1.heading;
    }
    inputs.magneticVariation = context.magneticVariation(position.latitude, position.longitude);
    inputs.altitude = context.altitude();
    inputs.airborne = airborne;
    inputs.descentStarted = perfInit.descentStarted;
    inputs.navigationReady = database && database->hasConnection() && powered;
    return inputs;
}

LnavState* Fms::lnavState() {
    return &lnav.state;
}

std::optional<double> Fms::activeLegDistance() const {
    if (activeFlightPlan.activeLeg >= activeFlightPlan.legCount()) {
        return std::nullopt;
    }
    return activeFlightPlan.legs[activeFlightPlan.activeLeg].distance;
}

FlightPlanLeg* Fms::activeLeg() {
    if (activeFlightPlan.activeLeg >= activeFlightPlan.legCount()) {
        return nullptr;
    }
    return &activeFlightPlan.legs[activeFlightPlan.activeLeg];
}

void Fms::activateMissedApproach() {
    const FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr;
    if (!director) {
        return;
    }
    TogaInputs inputs;
    inputs.onGround = ahrs && ahrs->onGround;
    inputs.verticalModeToGa = director->verticalMode() == FdVerticalMode::Toga;
    inputs.positionInitialised = position.initialised;
    inputs.preselectedAltitude = director->altitudePreselect();
    if (gps) {
        inputs.groundSpeed = gps->groundSpeed;
        inputs.gpsLatitude = gps->latitude;
        inputs.gpsLongitude = gps->longitude;
    }
    const TogaOutcome outcome =
        lnav.activateMissedApproach(activeFlightPlan, missedApproachFlightPlan, inputs, context);
    switch (outcome.action) {
    case TogaAction::TakeoffPositionUpdate:
        position.latitude = position.loadedLatitude = outcome.latitude;
        position.longitude = position.loadedLongitude = outcome.longitude;
        position.initialised = true;
        position.loadedFrom = kLoadedFromReference;
        position.offsetBearing = outcome.offsetBearing;
        position.offsetDistance = outcome.offsetDistance;
        break;
    case TogaAction::GoAround:
        perfInit.cruiseAltitude = perfInit.initCrzAlt = outcome.missedApproachAltitude;
        perfInit.climbDone = perfInit.descentStarted = perfInit.cruiseReached = false;
        updateFuelPredictions();
        break;
    case TogaAction::None:
        break;
    }
}

bool Fms::lnavEngaged() const {
    const FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr;
    return director && director->lateralMode() == FdLateralMode::Lnav;
}

void Fms::cancelLateralMode() {
    if (FlightDirector* director = aircraft ? aircraft->flightDirector() : nullptr) {
        director->cancelLateralMode();
    }
}

void Fms::legSequenced(const Waypoint& passed) {
    perfInit.fuelAtLastFix = fuelOnBoard();
    patternPages.followSequencing();
    releasePilotPoint(passed);
}

void Fms::releasePilotPoint(const Waypoint& point) {
    if (point.kind == WaypointKind::PilotWaypoint && !isWaypointInUse(point.ident)) {
        pilotPointStore.remove(point.ident);
    }
}

bool Fms::isWaypointInUse(const std::string& ident) const {
    return activeFlightPlan.containsWaypoint(ident) ||
           missedApproachFlightPlan.containsWaypoint(ident) ||
           alternateFlightPlan.containsWaypoint(ident);
}

void Fms::updateLegEtas() {
    FlightPlan& plan = activeFlightPlan;
    if (plan.activeLeg >= plan.legCount()) {
        return;
    }
    double eta = utcTimeOfDay() + lnav.state.timeToGo;
    plan.legs[plan.activeLeg].eta = eta;
    for (std::size_t index = plan.activeLeg + 1; index < plan.legCount(); ++index) {
        eta += legFlyingTime(plan.legs[index]);
        plan.legs[index].eta = eta;
    }
}

void Fms::checkBaroSet() {
    const Baro* baro = aircraft ? aircraft->baro() : nullptr;
    if (!adc || !baro || !std::isfinite(adc->indicatedAltitude)) {
        return;
    }
    const FlightDirector* director = aircraft->flightDirector();
    BaroSetCheck::Inputs inputs;
    inputs.altitude = static_cast<int32_t>(adc->indicatedAltitude);
    inputs.transitionAltitude = perfInit.transAlt;
    inputs.altitudeHold = director && director->verticalMode() == FdVerticalMode::Alt;
    inputs.settingInHg = baro->mainSettingInHg;
    if (baroCheck.check(inputs)) {
        showMessage(BaroSetCheck::kMessage, 1);
    }
}

double Fms::legFlyingTime(const FlightPlanLeg& leg) const {
    if (perfInit.initialised) {
        return leg.tfd.time;
    }
    // Standing still gives no arrival time to divide out: the leg's planned speed stands in.
    const double groundSpeed = gps ? gps->groundSpeed : 0.0;
    const double speed = groundSpeed > 0.0 ? groundSpeed : leg.speed;
    return speed > 0.0 ? leg.distance / speed * 3600.0 : 0.0;
}

void Fms::runUnpoweredFrame() {
    screen.clear();
    if (now - powerOffTime < kStoredPlanKeptMs) {
        return;
    }
    if (hasEndpoint(selectedStoredPlan)) {
        selectedStoredPlan.clear(context);
    }
    if (flightHeldUnpowered) {
        forgetFlight();
    }
}

void Fms::updatePolarMode() {
    if (!gps) {
        return;
    }
    const bool onGround = ahrs && ahrs->onGround;
    const double gpsLatitude = gps->latitude;
    const double gpsLongitude = gps->longitude;
    if (!position.firstFix || (gpsLatitude == 0.0 && gpsLongitude == 0.0)) {
        position.latitude = gpsLatitude;
        position.longitude = gpsLongitude;
        position.offsetBearing = 0.0;
        position.offsetDistance = 0.0;
        position.firstFix = true;
        position.initialised = !onGround;
    } else {
        double latitude = gpsLatitude;
        double longitude = gpsLongitude;
        if (onGround) {
            GcNav(gpsLatitude, gpsLongitude)
                .destination(position.offsetBearing, position.offsetDistance, latitude, longitude);
        } else {
            position.offsetBearing = 0.0;
            position.offsetDistance = 0.0;
        }
        updateHeadingReference(latitude);
        postPolarRegionMessages(position.latitude, latitude);
        position.latitude = latitude;
        position.longitude = longitude;
        if (!onGround) {
            position.initialised = true;
        }
    }
    if (airborne && position.loadedFrom >= 0) {
        position.loadedFrom = -1;
    }
}

void Fms::updateHeadingReference(double latitude) {
    const bool polar = (latitude > 0.0 && latitude >= kNorthTrueFrom) ||
                       (latitude < 0.0 && latitude <= kSouthTrueFrom);
    const bool clearOfPolar = latitude > kSouthMagAbove && latitude < kNorthMagBelow;
    if (polar && heading.activeMag) {
        heading.activeMag = false;
        showMessage("ACTIVE MODE IS TRUE HDG", 1);
    } else if (clearOfPolar && !heading.activeMag && heading.isSelectedMag) {
        heading.activeMag = true;
        showMessage("ACTIVE MODE IS MAG HDG", 1);
    }
}

void Fms::postPolarRegionMessages(double previousLatitude, double latitude) {
    if (std::fabs(previousLatitude) < kPolarRegionEntry &&
        std::fabs(latitude) >= kPolarRegionEntry) {
        showMessage("ENTERING POLAR REGION", 1);
    }
    if (std::fabs(previousLatitude) >= kPolarRegionExit && std::fabs(latitude) < kPolarRegionExit) {
        showMessage("EXITING POLAR REGION", 1);
    }
}

void Fms::showMessage(const std::string& text, int32_t priority) {
    const bool wasEmpty = messages.empty();
    if (messages.post(CduMessage{text, now, priority != 0})) {
        scratchPad.endEditMode();
        if (wasEmpty) {
            messageShownTime = now;
        }
    }
    if (scratchPad.isDelete()) {
        scratchPad.take();
    }
}

void Fms::drawScratchpadLine() {
    if (hasMessage()) {
        messages.draw(screen);
    } else {
        scratchPad.draw(screen);
    }
}

bool Fms::handleKey(Aircraft&, uint32_t virtualKey, bool, bool ctrl) {
    if (!keyboardInput || ctrl) {
        return false;
    }
    if (const char character = typedCharacter(virtualKey)) {
        typeCharacter(character);
        return true;
    }
    if (const int32_t cduKey = pressedCduKey(virtualKey); cduKey >= 0) {
        pressKey(cduKey);
        return true;
    }
    return false;
}

void Fms::typeCharacter(char character) {
    if (powered && !hasMessage()) {
        scratchPad.type(character);
    }
}

void Fms::addElectricLoad(Aircraft&, BusLoads& loads) {
    if (powered) {
        loads[kCduBus] += kCduLoad;
    }
}

const Waypoint* Fms::ActivePlanView::namedFixFromActiveLeg(const std::string& ident) const {
    for (std::size_t index = activeFlightPlan.activeLeg; index < activeFlightPlan.legCount();
         ++index) {
        const FlightPlanLeg& leg = activeFlightPlan.legs[index];
        if (leg.hasNamedFix() && leg.wpt.ident == ident) {
            return &leg.wpt;
        }
    }
    return nullptr;
}

std::string Fms::ActivePlanView::destinationAirport() const {
    return activeFlightPlan.dest.kind == WaypointKind::Airport ? activeFlightPlan.dest.ident
                                                               : std::string();
}

float Fms::PlanContext::altitude() const {
    return fms.adc ? fms.adc->indicatedAltitude : 0.0f;
}

float Fms::PlanContext::magneticVariation(double latitude, double longitude) const {
    return fms.magDev.variation(static_cast<float>(latitude), static_cast<float>(longitude));
}

double Fms::PlanContext::legSpeedCommand(const FlightPlan& plan, std::size_t index) const {
    if (!fms.perfInit.initialised || index >= plan.legCount()) {
        return 0.0;
    }
    FuelPredictions& predictions = fms.fuelPredictions;
    const PlanSpeedSchedule schedule(predictions.schedules, fms.perfInit, predictions.envelope,
                                     plan);
    return schedule.speedOnLeg(index);
}

double Fms::PlanContext::turnGeometry(double courseChange, double groundSpeed, double& lead,
                                      double altitude) const {
    FlightDirector* director = fms.aircraft ? fms.aircraft->flightDirector() : nullptr;
    lead = 0.0;
    if (!director) {
        return 0.0;
    }
    float leadNm = 0.0f;
    const float radius = director->computeTurnGeometry(static_cast<float>(courseChange),
                                                       static_cast<float>(groundSpeed), leadNm,
                                                       static_cast<float>(altitude));
    lead = leadNm;
    return radius;
}

} // namespace tavi
