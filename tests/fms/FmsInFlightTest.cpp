#include "airframe/Electric.h"
#include "avionics/Adc.h"
#include "avionics/Baro.h"
#include "avionics/Gps.h"
#include "fms/Fms.h"
#include "fms/GlobalFlightPlans.h"
#include "support/FileSizeLimit.h"
#include "support/FlightScenario.h"
#include "support/PredictionRoute.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <limits>
#include <vector>

namespace tavi::test {
namespace {

constexpr double kNmPerDegree = 60.0;

class FmsInFlight : public testing::Test {
protected:
    Fms& fms() { return *flight.aircraft().fms(); }
    std::string closestAirport() {
        Waypoint airport;
        fms().navDatabase().getClosestAirport(airport);
        return airport.ident;
    }
    Waypoint firstFound(const std::string& ident) {
        std::vector<Waypoint> found;
        fms().navDatabase().findWaypoints(ident, found, true);
        return found.empty() ? Waypoint{} : found.front();
    }

    FlightScenario flight;
};

TEST_F(FmsInFlight, NearestAirportFollowsTheAircraftNorth) {
    // 2.5 nm south of ZZAB, flying north towards ZZAC 10 nm beyond it.
    flight.startInFlight(47.0 + 7.5 / kNmPerDegree, 8.0, 5000.0, 0.0, 250.0);
    EXPECT_EQ(closestAirport(), "ZZAB");
    ASSERT_TRUE(flight.flyUntil(
        200.0, [&] { return fms().position.latitude > 47.0 + 17.5 / kNmPerDegree; }));
    EXPECT_EQ(closestAirport(), "ZZAC");
}

TEST_F(FmsInFlight, IdentifierSearchAnswersTheNearestPointFirst) {
    flight.startInFlight(46.2, 7.0, 5000.0, 180.0, 250.0);
    EXPECT_DOUBLE_EQ(firstFound("TWIN").latitude, 46.0);
    flight.simulator().placeInFlight(47.8, 9.0, 5000.0, 0.0, 250.0);
    flight.fly(1.0);
    EXPECT_DOUBLE_EQ(firstFound("TWIN").latitude, 48.0);
}

TEST_F(FmsInFlight, PcKeysTypeIntoTheCduOnlyWithItsButtonOnAndItsWindowOpen) {
    constexpr int32_t kCduWindow = 10000;
    flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
    sim::Host& host = flight.simulator().host;
    flight.simulator().panel.setPanelWindowOpen(kCduWindow, true);
    EXPECT_FALSE(host.key('A', true));
    fms().toggleKeyboardInput();
    EXPECT_TRUE(host.key('A', true));
    EXPECT_TRUE(host.key('7', true));
    flight.simulator().panel.setPanelWindowOpen(kCduWindow, false);
    host.key('B', true);
    EXPECT_EQ(fms().scratchPad.text(), "A7");
    flight.simulator().panel.setPanelWindowOpen(kCduWindow, true);
    fms().toggleKeyboardInput();
    EXPECT_FALSE(host.key('C', true));
    EXPECT_EQ(fms().scratchPad.text(), "A7");
}

// The perf file where the module looks for it.
std::filesystem::path perfFile(const ModuleHarness& module) {
    return module.folder.path() / "Orvane/PerfDB/vosk300x.perf";
}

void writeFloats(const std::filesystem::path& path, const std::vector<float>& values) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(values.data()),
               static_cast<std::streamsize>(values.size() * sizeof(float)));
}

std::size_t cellIndex(FmsPerf::Table table, int32_t row, int32_t column) {
    return table * FmsPerf::kCellCount + static_cast<std::size_t>(row * FmsPerf::kColumns + column);
}

std::string bytesOf(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

TEST_F(FmsInFlight, DamagedPerfFileIsRefusedWholeKeptAsideAndNeverWrittenOver) {
    struct Row {
        const char* name;
        std::size_t floats;
        float lastCell;
    };
    const Row rows[] = {
        {"short", FmsPerf::kFileBytes / sizeof(float) - 1, 50.0f},
        {"long", FmsPerf::kFileBytes / sizeof(float) + 1, 50.0f},
        {"not a number", FmsPerf::kFileBytes / sizeof(float),
         std::numeric_limits<float>::quiet_NaN()},
        {"infinite", FmsPerf::kFileBytes / sizeof(float), std::numeric_limits<float>::infinity()},
    };
    for (const Row& row : rows) {
        FlightScenario scenario;
        // The first table's cells are sound; the damage is in the last table.
        std::vector<float> values(row.floats, 40.0f);
        values[cellIndex(FmsPerf::DescentFuel, 5, 5)] = row.lastCell;
        writeFloats(perfFile(scenario.module), values);
        const std::string refused = bytesOf(perfFile(scenario.module));
        scenario.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
        const std::vector<std::string> lines = scenario.module.logLines();
        EXPECT_EQ(std::count(lines.begin(), lines.end(),
                             "Perf file refused, kept as vosk300x.perf.refused, default tables "
                             "used"),
                  1)
            << row.name;
        FmsPerf& perf = scenario.aircraft().fms()->performance();
        EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, 5, 5), 0.0f) << row.name;
        EXPECT_EQ(perf.cell(FmsPerf::ClimbFuel, 1, 0), 1000.0f) << row.name << ": the axes";

        // What this flight learns is saved at the stop beside the refused file, not over it.
        perf.learnCruise(FmsPerf::kReferenceWeight, 250.0f, 5000.0f, 31.0f);
        scenario.module.deinit();
        const std::filesystem::path aside = perfFile(scenario.module).string() + ".refused";
        EXPECT_EQ(bytesOf(aside), refused) << row.name;
        FmsPerf fresh;
        fresh.setPath(perfFile(scenario.module));
        ASSERT_TRUE(fresh.load()) << row.name;
        EXPECT_EQ(fresh.cruiseFuelFlow(FmsPerf::kReferenceWeight, 250.0f, 5000.0f), 31.0f);
    }
}

TEST_F(FmsInFlight, ASecondRefusedPerfFileIsKeptBesideTheFirst) {
    writeFloats(perfFile(flight.module), std::vector<float>(3, 1.0f));
    writeFloats(perfFile(flight.module).string() + ".refused", std::vector<float>(2, 2.0f));
    flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
    EXPECT_EQ(bytesOf(perfFile(flight.module).string() + ".refused").size(), 2 * sizeof(float));
    EXPECT_EQ(bytesOf(perfFile(flight.module).string() + ".refused2").size(), 3 * sizeof(float));
    EXPECT_FALSE(std::filesystem::exists(perfFile(flight.module)));
}

TEST_F(FmsInFlight, APerfFileThatCannotBeSavedKeepsTheOldFileAndIsLogged) {
    std::vector<float> values(FmsPerf::kFileBytes / sizeof(float), 40.0f);
    writeFloats(perfFile(flight.module), values);
    flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
    fms().performance().learnCruise(FmsPerf::kReferenceWeight, 250.0f, 5000.0f, 31.0f);
    // Room for the log's last lines, not for a whole perf file.
    const auto logSize = std::filesystem::file_size(flight.module.folder.path() / "panel/tavi.log");
    ASSERT_LT(logSize + 2048, FmsPerf::kFileBytes);
    {
        const FileSizeLimit fullDisk(logSize + 2048);
        flight.module.deinit();
    }
    EXPECT_EQ(bytesOf(perfFile(flight.module)),
              std::string(reinterpret_cast<const char*>(values.data()), FmsPerf::kFileBytes));
    const std::vector<std::string> lines = flight.module.logLines();
    EXPECT_NE(std::find_if(lines.begin(), lines.end(),
                           [](const std::string& line) {
                               return line.rfind("Perf file not saved: ", 0) == 0;
                           }),
              lines.end());
}

TEST_F(FmsInFlight, MissingPerfFileStartsEmptyWithoutComplaint) {
    flight.startInFlight(47.0, 8.0, 5000.0, 0.0, 250.0);
    const std::vector<std::string> lines = flight.module.logLines();
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "Perf file refused, default tables used"), 0);
    EXPECT_EQ(fms().performance().cell(FmsPerf::CruiseFuel, 5, 15), 0.0f);
}

// A confirmed initialisation that matches the simulator's weight, on a plan before its end.
void confirmPerformance(FlightScenario& scenario) {
    Fms& fms = *scenario.aircraft().fms();
    NavDatabase& database = fms.navDatabase();
    std::vector<Waypoint> origin;
    std::vector<Waypoint> destination;
    std::vector<Waypoint> fix;
    database.searchAirports("ZZAA", origin);
    database.searchAirports("ZZAE", destination);
    database.searchWpts("P", fix);
    ASSERT_FALSE(origin.empty() || destination.empty() || fix.empty());
    const FlightPlanContext& context = fms.planContext();
    activeFlightPlan.setOrigin(origin.front(), context);
    activeFlightPlan.setDestination(destination.front(), context);
    activeFlightPlan.insertWaypoint(fix.front(), 0, false, context);
    activeFlightPlan.insertWaypoint(destination.front(), 1, false, context);
    ASSERT_TRUE(activeFlightPlan.isBeforeRouteEnd());
    const double weightLb = scenario.aircraft().adc()->weight / 0.453592;
    fms.perfInit.passengerCount = 0;
    fms.perfInit.cargoWeight = 0.0;
    fms.perfInit.fuelWeight = 2000.0;
    fms.perfInit.bow = weightLb - fms.perfInit.fuelWeight;
    fms.perfInit.initialised = true;
}

struct LearnedCell {
    int32_t row = 0;
    int32_t column = 0;
    float value = 0.0f;
};

// The learned cells of the cruise table.
std::vector<LearnedCell> learnedCruiseCells(FmsPerf& perf) {
    std::vector<LearnedCell> cells;
    for (int32_t row = 1; row < FmsPerf::kRows; ++row) {
        for (int32_t column = 1; column < FmsPerf::kColumns; ++column) {
            if (const float value = perf.cell(FmsPerf::CruiseFuel, row, column); value != 0.0f) {
                cells.push_back({row, column, value});
            }
        }
    }
    return cells;
}

TEST_F(FmsInFlight, CruiseLearnedInOneRunIsReadByTheNext) {
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Alt);
    confirmPerformance(flight);
    flight.fly(150.0, [this] { flight.holdSpeed(250.0); });
    const std::vector<LearnedCell> cells = learnedCruiseCells(fms().performance());
    ASSERT_EQ(cells.size(), 1u) << "steady minutes at one altitude and speed";
    const LearnedCell learned = cells.front();
    EXPECT_EQ(learned.row, 8);
    EXPECT_NEAR(learned.column, 16, 1) << "about 250 kt";
    flight.module.deinit();
    ASSERT_EQ(std::filesystem::file_size(perfFile(flight.module)), FmsPerf::kFileBytes);
    EXPECT_FALSE(std::filesystem::exists(perfFile(flight.module).string() + ".tmp"));

    FlightScenario next;
    std::filesystem::create_directories(perfFile(next.module).parent_path());
    std::filesystem::copy_file(perfFile(flight.module), perfFile(next.module));
    next.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    EXPECT_EQ(
        next.aircraft().fms()->performance().cell(FmsPerf::CruiseFuel, learned.row, learned.column),
        learned.value);
}

TEST_F(FmsInFlight, LearningOutlivesAWithdrawnInitialisation) {
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    confirmPerformance(flight);
    flight.fly(150.0, [this] { flight.holdSpeed(250.0); });
    const std::vector<LearnedCell> cells = learnedCruiseCells(fms().performance());
    ASSERT_FALSE(cells.empty());
    flight.aircraft().electric()->avionicsMaster1 = false;
    flight.fly(Fms::kStoredPlanKeptMs / 1000.0 + 0.2);
    ASSERT_FALSE(fms().perfInit.initialised) << "a power loss outlasting the memory withdraws it";
    flight.module.deinit();
    FmsPerf kept;
    kept.setPath(perfFile(flight.module).string());
    ASSERT_TRUE(kept.load());
    EXPECT_EQ(kept.cell(FmsPerf::CruiseFuel, cells.front().row, cells.front().column),
              cells.front().value);
}

// CONFIRM INIT predicts at once; the predictions then run again every minute, and between runs
// the speed targets follow the altitude: climbing through the speed-limit altitude lifts the
// climb target from the limit to the schedule's 270 kt.
TEST_F(FmsInFlight, ConfirmedPredictionsRunEveryMinuteAndTheTargetsFollowTheClimb) {
    flight.startInFlight(47.0, 8.0, 9700.0, 0.0, 250.0);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    confirmPerformance(flight);
    fms().updateFuelPredictions();
    const PerfInit& perf = fms().perfInit;
    ASSERT_TRUE(perf.initialised);
    const uint32_t confirmedAt = perf.predictionTime;
    EXPECT_EQ(perf.climbLimitedTarget.ias, 240) << "10 kt under the limit below its altitude";

    flight.setAltitudePreselect(12000);
    flight.fd().selectVerticalSpeedMode(true);
    flight.fd().setVerticalSpeedTarget(2000);
    ASSERT_TRUE(flight.flyUntil(
        40.0, [this] { return flight.altitudeFeet() > 10300.0; },
        [this] { flight.holdSpeed(250.0); }));
    EXPECT_EQ(perf.predictionTime, confirmedAt) << "not yet a minute";
    EXPECT_EQ(perf.climbLimitedTarget.ias, 270);

    flight.fly(60.0, [this] { flight.holdSpeed(250.0); });
    EXPECT_GE(perf.predictionTime - confirmedAt, Fms::kPredictionIntervalMs);
}

std::size_t baroReminders(Fms& fms) {
    const auto& queued = fms.messages.messages();
    return static_cast<std::size_t>(
        std::count_if(queued.begin(), queued.end(), [](const CduMessage& message) {
            return message.text == BaroSetCheck::kMessage;
        }));
}

TEST_F(FmsInFlight, ClimbingThroughTheTransitionAltitudeOnTheLocalSettingRemindsOnce) {
    flight.startInFlight(47.0, 8.0, 17980.0, 0.0, 250.0);
    confirmPerformance(flight);
    flight.fly(0.5);
    EXPECT_EQ(baroReminders(fms()), 0u) << "armed within 100 ft of 18000 ft";
    flight.aircraft().baro()->setBaroSetting(30.12f);
    flight.simulator().placeInFlight(47.0, 8.0, 21500.0, 0.0, 250.0);
    flight.fly(0.5);
    EXPECT_EQ(baroReminders(fms()), 1u);
    fms().messages.clear();
    flight.simulator().placeInFlight(47.0, 8.0, 23000.0, 0.0, 250.0);
    flight.fly(0.5);
    EXPECT_EQ(baroReminders(fms()), 0u) << "one reminder per crossing";
}

TEST_F(FmsInFlight, ToGaOnTheRunwayMovesTheFmsPositionToTheOriginRunway) {
    constexpr int32_t kPositionInitPage = 2;
    constexpr int32_t kGpsPositionLoadKey = 4;
    ASSERT_TRUE(flight.startOnRunway("ZZAA", "09L"));
    std::vector<Runway> runways;
    fms().navDatabase().getAirportRunways("ZZAA", runways);
    ASSERT_FALSE(runways.empty());
    // The plan's runway a tenth of a mile north of where the aircraft stands.
    Runway runway = runways.front();
    const double gpsLatitude = flight.aircraft().gps()->latitude;
    const double gpsLongitude = flight.aircraft().gps()->longitude;
    runway.latitude = gpsLatitude + 0.1 / kNmPerDegree;
    runway.longitude = gpsLongitude;
    activeFlightPlan.setOriginRunway(runway, fms().planContext());
    fms().setPage(kPositionInitPage, 1);
    fms().pressKey(kGpsPositionLoadKey);
    ASSERT_TRUE(fms().position.initialised);

    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.fly(0.5);
    flight.pressKey(FlightScenario::kToGaKey);
    flight.fly(1.0);
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Toga);
    EXPECT_EQ(fms().position.loadedFrom, 1);
    EXPECT_NEAR(fms().position.offsetDistance, 0.1, 1e-3);
    EXPECT_NEAR(fms().position.latitude, runway.latitude, 1e-5)
        << "kept on the runway while the GPS stands south of it";
    EXPECT_NEAR(fms().position.longitude, runway.longitude, 1e-5);
}

TEST_F(FmsInFlight, AGoAroundMakesTheMissedApproachTheRouteAndClimbsToItsAltitude) {
    flight.startInFlight(47.0, 8.0, 3000.0, 0.0, 180.0);
    flight.pressKey(FlightScenario::kFlightDirectorKey);
    flight.fly(0.5);
    confirmPerformance(flight);
    fillPerformanceTables(fms().performance());
    flight.setAltitudePreselect(1000);
    std::vector<Waypoint> fix;
    fms().navDatabase().searchWpts("ABC", fix);
    ASSERT_FALSE(fix.empty());
    missedApproachFlightPlan.insertWaypoint(fix.front(), 0, false, fms().planContext());
    ASSERT_GT(missedApproachFlightPlan.legCount(), 0u);
    fms().perfInit.climbDone = fms().perfInit.cruiseReached = fms().perfInit.descentStarted = true;
    // Confirmed long before: the cruise altitude was chosen then.
    fms().perfInit.optimumRequested = false;
    const int32_t elevation = static_cast<int32_t>(activeFlightPlan.dest.elevation);
    // On an approach leg, as LNAV last found it.
    fms().lnavState()->approach = true;
    flight.pressKey(FlightScenario::kToGaKey);
    flight.simulator().step();
    ASSERT_EQ(flight.fd().verticalMode(), FdVerticalMode::Toga);
    EXPECT_EQ(activeFlightPlan.org.ident, activeFlightPlan.dest.ident);
    EXPECT_EQ(activeFlightPlan.legs.front().wpt.ident, "ABC");
    EXPECT_EQ(missedApproachFlightPlan.legCount(), 0u);
    EXPECT_EQ(fms().perfInit.cruiseAltitude, std::max(elevation + 1500, 1000));
    EXPECT_EQ(fms().perfInit.initCrzAlt, fms().perfInit.cruiseAltitude);
    EXPECT_FALSE(fms().perfInit.climbDone || fms().perfInit.cruiseReached ||
                 fms().perfInit.descentStarted);
}

TEST_F(FmsInFlight, LegEtasFollowTheGroundSpeedUntilPerformanceIsConfirmed) {
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    confirmPerformance(flight);
    flight.fly(2.0);
    ASSERT_GE(activeFlightPlan.legCount(), 2u);
    const Adc& adc = *flight.aircraft().adc();
    const double groundSpeed = flight.aircraft().gps()->groundSpeed;
    fms().perfInit.initialised = false;
    flight.fly(0.1);
    const FlightPlanLeg& first = activeFlightPlan.legs[activeFlightPlan.activeLeg];
    const FlightPlanLeg& second = activeFlightPlan.legs[activeFlightPlan.activeLeg + 1];
    EXPECT_NEAR(first.eta, adc.zuluSeconds + fms().lnavState()->timeToGo, 1.0);
    EXPECT_NEAR(second.eta - first.eta, second.distance / groundSpeed * 3600.0, 2.0);

    fms().perfInit.initialised = true;
    activeFlightPlan.legs[activeFlightPlan.activeLeg + 1].tfd.time = 600.0f;
    flight.fly(0.1);
    EXPECT_NEAR(second.eta - first.eta, 600.0, 1e-6) << "the leg's predicted time";
}

TEST_F(FmsInFlight, NothingIsLearnedOrKeptUnconfirmed) {
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    flight.pressAutopilotEngage();
    flight.pressKey(FlightScenario::kAltitudeHoldKey);
    flight.fly(90.0, [this] { flight.holdSpeed(250.0); });
    EXPECT_TRUE(learnedCruiseCells(fms().performance()).empty());
    flight.module.deinit();
    EXPECT_FALSE(std::filesystem::exists(perfFile(flight.module)));
}

TEST_F(FmsInFlight, AConfirmedInitialisationPredictsTheRouteEveryTimeItChanges) {
    flight.startInFlight(47.0, 8.0, 8000.0, 0.0, 250.0);
    confirmPerformance(flight);
    fillPerformanceTables(fms().performance());
    fms().updateFuelPredictions();
    ASSERT_TRUE(fms().perfInit.initialised);
    const PerfPrediction& prediction = fms().perfInit.prediction;
    EXPECT_GT(prediction[PerfPrediction::FuelRequired], fms().perfInit.toFuel);
    EXPECT_GT(activeFlightPlan.timeToGo, 0.0);
    EXPECT_GT(fms().perfInit.cruiseAltitude, 0) << "chosen by the predictions";
    const uint32_t first = fms().perfInit.predictionTime;
    activeFlightPlan.recalculate(fms().planContext());
    flight.fly(1.0);
    EXPECT_GT(fms().perfInit.predictionTime, first);

    activeFlightPlan.clear(fms().planContext());
    fms().updateFuelPredictions();
    EXPECT_FALSE(fms().perfInit.initialised) << "no route, no performance data";
}

} // namespace
} // namespace tavi::test
